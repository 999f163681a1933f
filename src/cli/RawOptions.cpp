#include "cli/RawOptions.h"
#include "cli/EditOptions.h"
#include "support/Text.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>

#include "importers/CloudSpecificationDialog.h"
#include "importers/MolaPolarSelection.h"
#include "importers/RawMatrixDescription.h"
#include "terrain/AreaSelectionDialog.h"

namespace tavrok::cli {

namespace {

using importers::RawMatrixDescription;

support::Status usageError(std::string detail) {
    return support::Error{support::ErrorCode::IncorrectValues, std::move(detail)};
}

// Looks a word up in a small table of choices; false for a word that is not there.
template <typename Choice, std::size_t count>
bool choose(const std::array<std::pair<std::string_view, Choice>, count>& choices,
            const std::string& word, Choice& field) {
    for (const auto& [name, choice] : choices) {
        if (name == word) {
            field = choice;
            return true;
        }
    }
    return false;
}

struct ChoiceOption {
    const char* name;
    bool (*apply)(const std::string& word, RawMatrixDescription& description);
};

constexpr std::array choiceOptions{
    ChoiceOption{"encoding",
                 [](const std::string& word, RawMatrixDescription& description) {
                     using enum importers::RawSampleEncoding;
                     return choose(std::array{std::pair{std::string_view("int16"), Int16},
                                              std::pair{std::string_view("float32"), Float32},
                                              std::pair{std::string_view("ascii"), Ascii}},
                                   word, description.encoding);
                 }},
    ChoiceOption{"byte-order",
                 [](const std::string& word, RawMatrixDescription& description) {
                     using enum importers::RawByteOrder;
                     return choose(std::array{std::pair{std::string_view("little"), LittleEndian},
                                              std::pair{std::string_view("big"), BigEndian}},
                                   word, description.byteOrder);
                 }},
    ChoiceOption{"column-order",
                 [](const std::string& word, RawMatrixDescription& description) {
                     using enum importers::RawColumnOrder;
                     return choose(std::array{std::pair{std::string_view("we"), WestToEast},
                                              std::pair{std::string_view("ew"), EastToWest}},
                                   word, description.columnOrder);
                 }},
    ChoiceOption{"row-order",
                 [](const std::string& word, RawMatrixDescription& description) {
                     using enum importers::RawRowOrder;
                     return choose(std::array{std::pair{std::string_view("sn"), SouthToNorth},
                                              std::pair{std::string_view("ns"), NorthToSouth}},
                                   word, description.rowOrder);
                 }},
    ChoiceOption{"projection",
                 [](const std::string& word, RawMatrixDescription& description) {
                     using enum terrain::ProjectionKind;
                     return choose(std::array{std::pair{std::string_view("utm"), UTM},
                                              std::pair{std::string_view("latlon"), LatLon},
                                              std::pair{std::string_view("xy"), XY}},
                                   word, description.coordinateSystem);
                 }},
    ChoiceOption{"horizontal-units",
                 [](const std::string& word, RawMatrixDescription& description) {
                     using enum importers::RawHorizontalUnit;
                     return choose(std::array{std::pair{std::string_view("meters"), Meters},
                                              std::pair{std::string_view("feet"), Feet},
                                              std::pair{std::string_view("degrees"), Degrees}},
                                   word, description.horizontalUnit);
                 }},
    ChoiceOption{"vertical-units",
                 [](const std::string& word, RawMatrixDescription& description) {
                     using enum terrain::ElevationUnit;
                     return choose(std::array{std::pair{std::string_view("meters"), Meters},
                                              std::pair{std::string_view("feet"), Feet}},
                                   word, description.verticalUnit);
                 }},
};

constexpr std::array cornerOptions{"west", "south", "east", "north"};

support::Status applyChoices(const Arguments& arguments, RawMatrixDescription& description) {
    for (const auto& option : choiceOptions) {
        const auto word = arguments.value(option.name);
        if (word && !option.apply(*word, description)) {
            return usageError("unknown --" + std::string(option.name) + " \"" + *word + "\"");
        }
    }
    return support::success();
}

support::Status applyNumbers(const Arguments& arguments, RawMatrixDescription& description) {
    const std::array integers{std::pair{"rows", &description.rows},
                              std::pair{"columns", &description.columns},
                              std::pair{"missing", &description.missingValue}};
    for (const auto& [name, field] : integers) {
        if (const auto text = arguments.value(name)) {
            const auto number = parseInteger(*text);
            if (!number || *number != static_cast<int>(*number)) {
                return usageError("--" + std::string(name) + " needs a whole number");
            }
            *field = static_cast<int>(*number);
        }
    }
    if (const auto text = arguments.value("offset")) {
        const auto number = parseInteger(*text);
        if (!number) {
            return usageError("--offset needs a whole number of bytes");
        }
        description.offsetBytes = *number;
    }
    const std::array corners{&description.west, &description.south, &description.east,
                             &description.north};
    for (std::size_t i = 0; i < corners.size(); ++i) {
        if (const auto text = arguments.value(cornerOptions[i])) {
            const auto number = parseNumber(*text);
            if (!number) {
                return usageError("--" + std::string(cornerOptions[i]) + " needs a number");
            }
            *corners[i] = *number;
        }
    }
    return support::success();
}

}  // namespace

std::set<std::string> rawOptionNames() {
    std::set<std::string> names{"rows",      "columns",  "missing", "offset",     "zone",
                                "ellipsoid", "depth",    "centre",  "area-width", "projection",
                                "tile-dir",  "mola-set", "pole",    "resolution", "window",
                                "spacing",   "returns"};
    for (const auto& option : choiceOptions) {
        names.insert(option.name);
    }
    names.insert(cornerOptions.begin(), cornerOptions.end());
    return names;
}

const char* rawOptionsHelp() {
    return R"(
Grid options (a headerless grid, or a matrix whose header cannot be used):
  --encoding int16|float32|ascii   sample encoding (int16)
  --byte-order little|big          (little)
  --offset BYTES                   skipped before the first sample (0)
  --missing VALUE                  value of missing samples (-9999)
  --rows N --columns N             grid size (required)
  --column-order we|ew             (we)
  --row-order sn|ns                sn: the first row is the southern edge (sn)
  --projection utm|latlon|xy       (utm)
  --zone TEXT --ellipsoid DATUM    UTM zone such as 13N; NAD27, NAD83, WGS72, WGS84 ...
  --west X --south Y --east X --north Y   corner sample coordinates
  --horizontal-units meters|feet|degrees  (meters)
  --vertical-units meters|feet     (meters)
  --depth                          the samples are depths below the surface

Point clouds (LAS files, or XYZ points with --type xyz):
  --spacing METRES                 grid spacing (the proposal for the point density)
  --returns all|bare-earth         LAS: every return, or ground (class 2) only (all)
)";
}

namespace {

// The Mars area: --centre LAT,LON (longitude 0 to 360), --mola-set 064|128, --projection.
support::Status fillMarsArea(const Arguments& arguments, terrain::AreaSelectionDialog& dialog) {
    int latitude = 0;
    int longitude = 180;
    if (const auto centre = arguments.value("centre")) {
        char comma = 0;
        std::istringstream in(*centre);
        if (!(in >> latitude >> comma >> longitude) || comma != ',') {
            return usageError("--centre needs LAT,LON in whole degrees");
        }
    }
    const std::string set = arguments.value("mola-set").value_or("128");
    if (set != "064" && set != "128") {
        return usageError("--mola-set must be 064 or 128");
    }
    dialog.setWidthDegrees(set == "064" ? 60 : 30);
    // The picture is 720 x 360 pixels: two per degree, longitude 0 at its left edge.
    const int x = std::clamp(2 * longitude, 0, 719);
    const int y = std::clamp(180 - 2 * latitude, 0, 359);
    dialog.selectAt(x, y);
    const std::string projection = arguments.value("projection").value_or("sinusoidal");
    dialog.projection = projection == "latlon" ? terrain::ProjectionKind::LatLon
                                               : terrain::ProjectionKind::Sinusoidal;
    return dialog.accept();
}

// The polar window: --pole north|south, --resolution 128|256|512, --window X,Y,WIDTH in pixels
// of the 338 x 338 polar map.
support::Status fillMarsPolar(const Arguments& arguments, importers::MolaPolarSelection& dialog) {
    const std::string pole = arguments.value("pole").value_or("north");
    if (pole != "north" && pole != "south") {
        return usageError("--pole must be north or south");
    }
    dialog.pole = pole == "north" ? importers::MolaPole::North : importers::MolaPole::South;
    dialog.samplesPerDegree = std::atoi(arguments.value("resolution").value_or("128").c_str());
    if (const auto window = arguments.value("window")) {
        char comma1 = 0;
        char comma2 = 0;
        std::istringstream in(*window);
        if (!(in >> dialog.centreX >> comma1 >> dialog.centreY >> comma2 >> dialog.width) ||
            comma1 != ',' || comma2 != ',') {
            return usageError("--window needs X,Y,WIDTH in polar map pixels");
        }
    }
    if (auto accepted = dialog.accept(); !accepted) {
        return usageError("--resolution must be 128, 256 or 512 and the window wider than 0");
    }
    return support::success();
}

// The point-cloud grid: --returns all|bare-earth (LAS only), --spacing METRES; without them
// the dialog's proposal stands.
support::Status fillCloudSpecification(const Arguments& arguments,
                                       importers::CloudSpecificationDialog& dialog) {
    const std::string returns = arguments.value("returns").value_or("all");
    if (returns != "all" && returns != "bare-earth") {
        return usageError("--returns must be all or bare-earth");
    }
    if (returns == "bare-earth") {
        if (!dialog.lidar()) {
            return usageError("--returns applies to LAS files only");
        }
        dialog.chooseReturns(importers::ReturnFilter::BareEarth);
    }
    if (const auto spacing = arguments.value("spacing")) {
        char* end = nullptr;
        dialog.spacing = std::strtod(spacing->c_str(), &end);
        if (end == spacing->c_str() || *end != '\0') {
            return usageError("--spacing needs a number of metres");
        }
    }
    if (auto accepted = dialog.accept(); !accepted) {
        return usageError(accepted.error().cause);
    }
    return support::success();
}

}  // namespace

// The forms the options can fill, found by the model's dialog id (which names one class).
support::Status fillDialogFromOptions(const Arguments& arguments, support::DialogModel& dialog) {
    const std::string_view id = dialog.dialogId();
    if (id == "IDD_GEOCOORD") {
        auto& area = static_cast<terrain::AreaSelectionDialog&>(dialog);
        if (area.planet() == terrain::AreaSelectionDialog::Planet::Mars) {
            return fillMarsArea(arguments, area);
        }
    }
    if (id == "IDD_MPGEOCOORD") {
        return fillMarsPolar(arguments, static_cast<importers::MolaPolarSelection&>(dialog));
    }
    if (id == "IDD_LIDAR" || id == "IDD_XYZPOINTS") {
        return fillCloudSpecification(arguments,
                                      static_cast<importers::CloudSpecificationDialog&>(dialog));
    }
    if (auto filled = fillEditDialog(arguments, dialog)) {
        return *filled;
    }
    if (id != "IDD_DIALOG1") {
        return usageError(
            support::quotedThen(dialog.title(), " cannot be answered from the command line"));
    }
    auto* description = &static_cast<RawMatrixDescription&>(dialog);
    if (!arguments.has("rows") || !arguments.has("columns")) {
        return usageError(
            "describe the grid: --rows and --columns are needed, with the options of --help");
    }
    if (auto status = applyChoices(arguments, *description); !status) {
        return status;
    }
    if (auto status = applyNumbers(arguments, *description); !status) {
        return status;
    }
    description->zoneText = arguments.value("zone").value_or(description->zoneText);
    description->ellipsoidText = arguments.value("ellipsoid").value_or(description->ellipsoidText);
    if (arguments.has("depth")) {
        description->dataType = terrain::DataType::Depth;
    }
    return support::success();
}

}  // namespace tavrok::cli
