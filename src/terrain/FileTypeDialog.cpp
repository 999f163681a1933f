#include "terrain/FileTypeDialog.h"

#include <algorithm>

namespace tavrok::terrain {

namespace {

bool isChoice(int id) {
    return std::any_of(fileTypeChoices.begin(), fileTypeChoices.end(),
                       [id](const FileTypeChoice& choice) { return choice.id == id; });
}

}  // namespace

FileTypeDialog::FileTypeDialog(int lastFileType)
    : m_choice(isChoice(lastFileType) ? lastFileType : fileTypeMatrix) {}

void FileTypeDialog::choose(int id) {
    if (isChoice(id)) {
        m_choice = id;
    }
}

}  // namespace tavrok::terrain
