#include "app/dialogs/FileTypeView.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tavrok::app {

FileTypeView::FileTypeView(terrain::FileTypeDialog& model, support::Ui& ui, QWidget* parent)
    : ModelDialog(model, ui, parent), m_model(model) {
    auto* grid = new QGridLayout;
    int row = 0;
    for (const auto& choice : terrain::fileTypeChoices) {
        auto* button = new QRadioButton(
            QString::fromUtf8(choice.caption.data(), qsizetype(choice.caption.size())));
        button->setObjectName(QString::number(choice.id));
        button->setChecked(choice.id == model.choice());
        m_buttons.addButton(button, choice.id);
        grid->addWidget(button, row, 0);
        grid->addWidget(
            new QLabel(QString::fromUtf8(choice.note.data(), qsizetype(choice.note.size()))), row,
            1);
        ++row;
    }
    connect(&m_buttons, &QButtonGroup::idClicked, this, [this](int id) { m_model.choose(id); });
    setBodyWithOkCancel(grid);
}

bool FileTypeView::readFields() {
    m_model.choose(m_buttons.checkedId());
    return true;
}

}  // namespace tavrok::app
