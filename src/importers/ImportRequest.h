#pragma once
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "importers/CloudImporter.h"
#include "importers/GlobalTileImporter.h"
#include "importers/ImportOutcome.h"
#include "importers/MolaImporter.h"
#include "importers/RawMatrixDescription.h"
#include "terrain/ProjectionKind.h"

namespace tavrok::importers {

// Everything an importer needs from the program, gathered by the shell before the load, so
// that no importer reads the program's state or asks the user anything.
struct ImportRequest {
    // The files chosen, in the order given; the tile sets read only the first as a hint.
    std::vector<std::filesystem::path> files;
    // The run's private work folder: intermediate files go here, never beside the user's data.
    std::filesystem::path temporaryDirectory;

    // GLOBE, GTOPO30 and MOLA MEG: the square chosen on the map, whole degrees. A MOLA width of
    // 60 or more reads the MEG 064 set, otherwise MEG 128.
    int centreLatitude = 0;
    int centreLongitude = 0;
    int widthDegrees = 24;
    terrain::ProjectionKind projection = terrain::ProjectionKind::LatLon;
    // GLOBE and GTOPO30: finds (and unpacks) each tile; the shell prompts inside it.
    TileLocator locateTile;
    // MOLA: the folder holding the MEG tiles or the polar image.
    std::filesystem::path tileFolder;
    MolaPole pole = MolaPole::North;
    int polarSamplesPerDegree = 128;  // 128, 256 or 512
    MolaPolarWindow polarWindow{0, 0, 0, 0};

    // Raw matrix: the accepted description. GeoTIFF: supplies the ellipsoid kept for projected
    // systems outside the families the importer knows.
    RawMatrixDescription rawDescription;
    // Raw matrix: the file was written by another importer; it is deleted whatever happens.
    bool temporaryInput = false;
    // Raw matrix: the name the window shows instead of the file's, and a listing carried over.
    std::string title;
    std::string listing;

    // Point clouds: the area to grid (a cropped LAS terrain's), or the files' whole extent.
    std::optional<CloudArea> cloudArea;
    // Point clouds: shows the survey and takes the spacing and returns; none: the proposal.
    CloudGridChooser chooseCloudGrid;

    // Stage texts of multi-step loads ("Reading SDTS File 1 of 2"); may be empty.
    std::function<void(std::string_view)> announce;
};

}  // namespace tavrok::importers
