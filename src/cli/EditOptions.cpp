#include "cli/EditOptions.h"

#include <array>
#include <cstdio>
#include <iostream>
#include <optional>
#include <sstream>

#include "edit/Crop.h"
#include "edit/EllipsoidDialog.h"
#include "edit/Patch.h"
#include "edit/UtmConversion.h"
#include "shell/KeepAlive.h"
#include "shell/TerrainLoading.h"
#include "support/Text.h"
#include "terrain/UtmZoneDialog.h"

namespace tavrok::cli {

namespace {

using support::ErrorCode;

constexpr const char* cropOption = "crop";
constexpr const char* patchOption = "patch";
constexpr const char* toUtmOption = "to-utm";
constexpr const char* changeEllipsoidOption = "change-ellipsoid";
constexpr const char* utmZoneOption = "utm-zone";

int usage(const std::string& text) {
    std::cerr << "tavrok-cli: " << text << '\n';
    return 2;
}

int refused(CliUi& ui, ErrorCode code) {
    ui.showMessage(support::messageText(code));
    return 1;
}

// Four comma-separated numbers.
std::optional<std::array<double, 4>> parseFour(const std::string& text) {
    std::array<double, 4> values{};
    std::stringstream stream(text);
    std::string item;
    std::size_t count = 0;
    while (std::getline(stream, item, ',')) {
        const auto number = parseNumber(item);
        if (!number || count == values.size()) {
            return std::nullopt;
        }
        values[count++] = *number;
    }
    if (count != values.size()) {
        return std::nullopt;
    }
    return values;
}

// The four datums the conversion and the ellipsoid change offer.
std::optional<geodesy::EllipsoidId> datumEllipsoid(const std::string& name) {
    for (const char* datum : {"NAD27", "NAD83", "WGS72", "WGS84"}) {
        if (name == datum) {
            return geodesy::ellipsoidForDatumName(datum);
        }
    }
    return std::nullopt;
}

void install(shell::AppState& state, terrain::Terrain edited) {
    edited.header.title.clear();
    state.document.replace(std::move(edited.grid), std::move(edited.header),
                           state.document.source());
}

int crop(const Arguments& arguments, shell::AppState& state, CliUi& ui) {
    const auto values = parseFour(arguments.value(cropOption).value_or(""));
    if (!values) {
        return usage("--crop needs WEST,SOUTH,EAST,NORTH");
    }
    const auto& header = state.document.header();
    const auto kind = edit::cropKindOf(header);
    if (kind == edit::CropKind::Refused) {
        return refused(ui, ErrorCode::CannotSelectAreaSinusoidal);
    }
    if (kind == edit::CropKind::MarsPolar) {
        return usage("--crop: a Mars polar terrain is cut with --window when it is loaded");
    }
    const auto [west, south, east, north] = *values;
    auto cropped = edit::cropTerrain(state.document.terrain(), {west, south, east, north});
    if (!cropped) {
        return refused(ui, cropped.error().code);
    }
    install(state, std::move(cropped.value()));
    return 0;
}

int patch(const Arguments& arguments, shell::AppState& state, CliUi& ui) {
    const auto values = parseFour(arguments.value(patchOption).value_or(""));
    if (!values) {
        return usage("--patch needs COLUMN0,ROW0,COLUMN1,ROW1");
    }
    const auto [column0, row0, column1, row1] = *values;
    const edit::PatchRectangle rectangle{
        static_cast<int>(std::min(column0, column1)), static_cast<int>(std::min(row0, row1)),
        static_cast<int>(std::max(column0, column1)), static_cast<int>(std::max(row0, row1))};
    const long patched = edit::patchMissingData(state.document.edit().grid, rectangle);
    // JSON output stays one object.
    if (!arguments.has("json")) {
        char text[64];
        std::snprintf(text, sizeof text, "%-ld Points Patched", patched);
        ui.showInformation(text);
    }
    return 0;
}

int convertToUtm(const Arguments& arguments, shell::AppState& state, CliUi& ui) {
    const auto ellipsoid = datumEllipsoid(arguments.value(toUtmOption).value_or(""));
    if (!ellipsoid) {
        return usage("--to-utm needs NAD27, NAD83, WGS72 or WGS84");
    }
    const auto& header = state.document.header();
    if (auto allowed = edit::checkUtmConversion(header); !allowed) {
        return refused(ui, allowed.error().code);
    }
    if (edit::isPlanarMatrix(header)) {
        terrain::UtmZoneDialog zone;
        if (!zone.setZoneText(arguments.value(utmZoneOption).value_or(""))) {
            return usage("\"UTM Global Coordinates\" needs --utm-zone ZONE (such as 13N)");
        }
        terrain::declareUtm(state.document.edit().header, zone.zone, zone.hemisphere);
        return 0;
    }
    const auto plan = edit::planUtmConversion(header, *ellipsoid);
    if (!plan && plan.error().code == ErrorCode::AreaTooWideForUtm) {
        if (!arguments.has(allowSinusoidalSwitch)) {
            ui.showMessage(
                "Area is too wide for UTM conversion. (--allow-sinusoidal lays it out "
                "in the Sinusoidal projection instead)");
            return 1;
        }
        auto laidOut = edit::sinusoidalLayout(state.document.terrain());
        if (!laidOut) {
            return refused(ui, laidOut.error().code);
        }
        install(state, std::move(laidOut.value()));
        return 0;
    }
    if (!plan) {
        return refused(ui, plan.error().code);
    }
    auto converted = edit::convertToUtm(state.document.terrain(), plan.value(),
                                        shell::keepAlive(state, ui, "Lines Remaining %-ld"));
    if (!converted) {
        return refused(ui, converted.error().code);
    }
    install(state, std::move(converted.value()));
    return 0;
}

int changeEllipsoid(const Arguments& arguments, shell::AppState& state, CliUi& ui) {
    const auto ellipsoid = datumEllipsoid(arguments.value(changeEllipsoidOption).value_or(""));
    if (!ellipsoid) {
        return usage("--change-ellipsoid needs NAD27, NAD83, WGS72 or WGS84");
    }
    auto changed = edit::changeUtmEllipsoid(state.document.header(), *ellipsoid);
    if (!changed) {
        return refused(ui, changed.error().code);
    }
    state.document.edit().header = std::move(changed.value());
    return 0;
}

}  // namespace

std::set<std::string> editOptionNames() {
    return {cropOption,    patchOption,          toUtmOption, changeEllipsoidOption,
            utmZoneOption, allowSinusoidalSwitch};
}

const char* editOptionsHelp() {
    return R"(
Edits, made in this order before anything is printed or written (each at most once; a
refused edit prints the program's message, exits with 1 and writes nothing):
  --crop W,S,E,N          cut the terrain to these limits, in its own units as "Adjust
                          Limits" shows them (metres, or decimal degrees); clamped to the
                          terrain and snapped to its spacing
  --patch C0,R0,C1,R1     fill missing cells inside this rectangle of grid columns and rows
                          (row 0 south) from their nearest valid neighbours; the rectangle's
                          edge rows and columns are searched up to, never filled
  --to-utm DATUM          convert a Lat/Lon terrain to UTM (NAD27, NAD83, WGS72, WGS84); an
                          X/Y matrix is declared UTM on WGS84 in the zone of --utm-zone
  --allow-sinusoidal      when the area is too wide for one zone, lay it out sinusoidally
  --change-ellipsoid DATUM  move a UTM terrain's corners to another ellipsoid
)";
}

int applyEditOptions(const Arguments& arguments, shell::AppState& state, CliUi& ui) {
    for (const auto& name : editOptionNames()) {
        if (arguments.repeated(name)) {
            return usage("--" + name + " may be given only once");
        }
    }
    using Step = int (*)(const Arguments&, shell::AppState&, CliUi&);
    constexpr std::pair<const char*, Step> steps[] = {
        {cropOption, crop},
        {patchOption, patch},
        {toUtmOption, convertToUtm},
        {changeEllipsoidOption, changeEllipsoid},
    };
    for (const auto& [name, step] : steps) {
        if (!arguments.has(name)) {
            continue;
        }
        if (const int status = step(arguments, state, ui); status != 0) {
            return status;
        }
    }
    return 0;
}

std::optional<support::Status> fillEditDialog(const Arguments& arguments,
                                              support::DialogModel& dialog) {
    const auto missing = [&dialog](const char* option, const char* values) {
        return support::Status(support::Error{
            ErrorCode::IncorrectValues, support::quotedThen(dialog.title(), " needs --") + option +
                                            " " + values + " on the command line"});
    };
    const std::string_view id = dialog.dialogId();
    if (id == "IDD_ELLIPSOID1" || id == "IDD_ELLIPSOID2") {
        const char* option = id == "IDD_ELLIPSOID1" ? toUtmOption : changeEllipsoidOption;
        const auto ellipsoid = datumEllipsoid(arguments.value(option).value_or(""));
        if (!ellipsoid) {
            return missing(option, "NAD27|NAD83|WGS72|WGS84");
        }
        static_cast<edit::EllipsoidDialog&>(dialog).ellipsoid = *ellipsoid;
        return support::success();
    }
    return std::nullopt;
}

}  // namespace tavrok::cli
