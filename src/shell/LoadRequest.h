#pragma once
#include <filesystem>
#include <string>
#include <vector>

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

// A grid handed to the raw matrix builder by another importer: the file, whether the builder
// should use the description already in LoadMemory instead of asking, whether the file is a
// temporary one to delete afterwards, the name the window shows, and a source listing.
struct RawMatrixRequest {
    explicit RawMatrixRequest(std::filesystem::path chosen = {}) : file(std::move(chosen)) {}

    std::filesystem::path file;
    bool preset = false;
    bool temporaryInput = false;
    std::string title;
    std::string listing;
};

}  // namespace tavrok::shell
