#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/Arguments.h"
#include "cli/CliUi.h"
#include "cli/EditOptions.h"
#include "cli/RawOptions.h"
#include "cli/Subcommands.h"
#include "cli/TerrainLoad.h"
#include "shell/Dispatch.h"
#include "shell/TemporaryDirectory.h"
#include "shell/TerrainLoading.h"
#include "terrain/TerrainHelpers.h"

namespace tavrok::cli {

namespace {

// The count the importer kept while loading; a scan of the grid for importers that keep none.
long missingCellsOf(const terrain::Terrain& terrain) {
    const auto& counted = terrain.header.missingCells;
    return counted ? *counted : terrain::MissingCellCount(terrain.grid);
}

nlohmann::json headerJson(const terrain::Terrain& terrain) {
    const auto& header = terrain.header;
    return {
        {"rows", header.rows},
        {"columns", header.columns},
        {"projection", std::string(terrain::projectionName(header.projection))},
        {"gridKind", header.gridKind},
        {"utmZone", header.utmZone},
        {"zoneText", header.zoneText},
        {"ellipsoid", std::string(geodesy::ellipsoidFor(header.ellipsoid).name)},
        {"westBound", header.westBound},
        {"eastBound", header.eastBound},
        {"southBound", header.southBound},
        {"northBound", header.northBound},
        {"westLon", header.westLon},
        {"eastLon", header.eastLon},
        {"southLat", header.southLat},
        {"northLat", header.northLat},
        {"spacingX", header.spacingX},
        {"spacingY", header.spacingY},
        {"minElevation", header.minElevation},
        {"maxElevation", header.maxElevation},
        {"missingCells", missingCellsOf(terrain)},
    };
}

void printInfo(const terrain::Terrain& terrain, const std::vector<std::string>& specsLines) {
    const auto& header = terrain.header;
    for (const auto& line : specsLines) {
        std::printf("%s\n", line.c_str());
    }
    std::printf("Rows:  %d\nColumns:  %d\nProjection:  %s\n", header.rows, header.columns,
                std::string(terrain::projectionName(header.projection)).c_str());
    if (header.projection == terrain::ProjectionKind::UTM) {
        std::printf("Zone:  %s\n", header.zoneText.c_str());
    }
    std::printf("Ellipsoid:  %s\n",
                std::string(geodesy::ellipsoidFor(header.ellipsoid).name).c_str());
    std::printf("Bounds:  west %.3f east %.3f south %.3f north %.3f\n", header.westBound,
                header.eastBound, header.southBound, header.northBound);
    std::printf("Degrees:  west %.6f east %.6f south %.6f north %.6f\n", header.westLon,
                header.eastLon, header.southLat, header.northLat);
    std::printf("Spacing:  x %g y %g\n", header.spacingX, header.spacingY);
    std::printf("Elevation:  minimum %g maximum %g\n", header.minElevation, header.maxElevation);
    std::printf("Missing cells:  %ld\n", missingCellsOf(terrain));
}

}  // namespace

int runInfo(const Arguments& arguments) {
    shell::AppState state;
    CliUi ui;
    if (!loadTerrain(arguments, state, ui)) {
        return 1;
    }
    if (const int edited = applyEditOptions(arguments, state, ui); edited != 0) {
        return edited;
    }
    if (arguments.has("json")) {
        std::printf("%s\n", headerJson(state.document.terrain()).dump(2).c_str());
        return 0;
    }
    shell::dispatch(state, ui, shell::CommandId::ShowDemSpecs, 0);
    printInfo(state.document.terrain(), ui.dialogLines());
    const auto& listing = state.document.source().listing;
    if (!listing.empty()) {
        std::printf("\nSource:\n%s\n", listing.c_str());
    }
    return 0;
}

int runElevation(const Arguments& arguments) {
    const auto at = arguments.value("at");
    const auto geo = arguments.value("geo");
    const auto pair = parsePair(at ? *at : geo.value_or(""));
    if (!pair || (at && geo)) {
        std::cerr << "tavrok-cli: give either --at COLUMN,ROW or --geo LAT,LON\n";
        return 2;
    }
    shell::AppState state;
    CliUi ui;
    if (!loadTerrain(arguments, state, ui)) {
        return 1;
    }
    terrain::GridPoint point{pair->first, pair->second};
    if (geo) {
        point = terrain::GeoToGrid(state.document.terrain(), pair->second, pair->first);
    }
    std::printf("%.3f\n",
                terrain::ElevationAt(state.document.terrain(), point.column, point.row, true));
    return 0;
}

}  // namespace tavrok::cli
