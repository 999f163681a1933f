#pragma once
#include <array>
#include <string_view>

#include "importers/MatrixHeader.h"
#include "support/DialogModel.h"

namespace tavrok::exporters {

// One radio button of "File Format": the group it sits in, its label, the encoding it picks.
struct FileFormatChoice {
    std::string_view group;
    std::string_view label;
    importers::MatrixEncoding encoding;
};

inline constexpr std::array fileFormatChoices{
    FileFormatChoice{"Binary", "Signed Integer", importers::MatrixEncoding::Int16},
    FileFormatChoice{"Binary", "Floating Point", importers::MatrixEncoding::Float32},
    FileFormatChoice{"ASCII", "Text String", importers::MatrixEncoding::Ascii},
};

// "File Format" of "Save Terrain Matrix": the sample encoding, starting at the last choice
// (floating point the first time).
class FileFormatDialog : public support::DialogModel {
  public:
    explicit FileFormatDialog(importers::MatrixEncoding last = importers::MatrixEncoding::Float32)
        : encoding(last) {}

    std::string_view dialogId() const override { return "IDD_FILEFORMAT"; }
    std::string_view title() const override { return "File Format"; }
    support::Status accept() override { return support::success(); }

    importers::MatrixEncoding encoding;
};

// The data file's extension for an encoding: ".txt" for text, ".bin" for the binary ones.
std::string_view matrixExtension(importers::MatrixEncoding encoding);

}  // namespace tavrok::exporters
