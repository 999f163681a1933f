#include "app/dialogs/DemSpecsView.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace tavrok::app {

DemSpecsView::DemSpecsView(terrain::DemSpecsDialog& model, support::Ui& ui, QWidget* parent)
    : ModelDialog(model, ui, parent) {
    auto* layout = new QVBoxLayout(this);
    QFont large("Liberation Sans");
    large.setPixelSize(22);
    for (const auto& line : model.lines) {
        auto* label = new QLabel(QString::fromStdString(line));
        label->setFont(large);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(label);
    }
    if (!model.sourceListing.empty()) {
        auto* listing = new QPlainTextEdit(QString::fromStdString(model.sourceListing));
        listing->setObjectName("sourceListing");
        listing->setReadOnly(true);
        listing->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        listing->setMinimumSize(560, 240);
        layout->addWidget(listing);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

}  // namespace tavrok::app
