#include "cli/TerrainLoad.h"

#include <iostream>

#include "cli/RawOptions.h"
#include "shell/Dispatch.h"
#include "shell/TemporaryDirectory.h"
#include "shell/TerrainLoading.h"

namespace tavrok::cli {

bool loadTerrain(const Arguments& arguments, shell::AppState& state, CliUi& ui) {
    if (arguments.positional().empty()) {
        std::cerr << "tavrok-cli: name at least one terrain file\n";
        return false;
    }
    for (const auto& file : arguments.positional()) {
        state.selectedFiles.emplace_back(file);
    }
    auto request = shell::loadRequestForFiles(state.selectedFiles);
    if (const auto type = arguments.value("type")) {
        const auto named = shell::loadRequestForType(*type);
        if (!named) {
            std::cerr << "tavrok-cli: unknown --type \"" << *type << "\"\n";
            return false;
        }
        request = *named;
    }
    if (const auto temporary = shell::chooseTemporaryDirectory()) {
        state.tempDir = *temporary;
    }
    ui.setDialogFiller([&arguments](support::DialogModel& dialog) {
        return fillDialogFromOptions(arguments, dialog);
    });
    shell::dispatch(state, ui, request.command, request.param);
    return state.terrain.loaded && !ui.failed();
}

}  // namespace tavrok::cli
