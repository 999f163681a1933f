#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "importers/RawMatrixDescription.h"
#include "shell/CommandId.h"

namespace tavrok::shell {

// A load handed from the file-type dialog, the start-up path or the command line to an
// importer command: which importer, its parameter, and what was chosen (files, or the folder
// of a tile set).
struct LoadRequest {
    CommandId importer = CommandId::BuildRawMatrix;
    int param = 0;
    std::vector<std::filesystem::path> files;
};

// A grid handed to the raw matrix builder by another importer: the file, the description when
// the importer made one, whether the file is a temporary one to delete afterwards, the name the
// window shows, and a source listing.
struct RawMatrixRequest {
    explicit RawMatrixRequest(std::filesystem::path chosen = {}) : file(std::move(chosen)) {}

    std::filesystem::path file;
    // Set when another importer described the grid: it is built from this description without
    // the dialog, and the description the user last entered stays as it was for next time.
    std::optional<importers::RawMatrixDescription> preset;
    bool temporaryInput = false;
    std::string title;
    std::string listing;
};

}  // namespace tavrok::shell
