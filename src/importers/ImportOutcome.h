#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "importers/LoadedTerrain.h"
#include "importers/RawMatrixDescription.h"
#include "support/Result.h"

namespace tavrok::importers {

// What the raw matrix builder needs when an importer hands its file over: after a header that
// could not be used (the error was returned beside it), or by design (a GeoTIFF's first band
// written as a headerless grid with its description already filled in).
struct RawMatrixFallback {
    std::filesystem::path file;
    // A description to use without showing "Matrix Data Format"; none: the user describes it.
    std::optional<RawMatrixDescription> preset;
    bool temporaryInput = false;
    std::string title;    // shown in the window title; the file's name when empty
    std::string listing;  // carried into the source record (a GeoTIFF's definition)
};

// The fallback after a header that could not be used: the user describes the file by hand.
inline RawMatrixFallback DescribeByHand(const std::filesystem::path& file) {
    return {file, std::nullopt, false, file.filename().string(), {}};
}

// The one result every importer's load returns.
struct ImportOutcome {
    // The terrain to install, or the error to show (nothing for SilentFailure).
    support::Result<LoadedTerrain> terrain;
    // Set when the shell should continue with the raw matrix builder (after showing the error
    // above unless it is silent).
    std::optional<RawMatrixFallback> fallback = std::nullopt;
    // The key of another importer that should take the files ("globe", "gtopo30"): the shell
    // asks the user before it goes on. The error above is then SilentFailure.
    std::string_view handOverTo = {};
};

}  // namespace tavrok::importers
