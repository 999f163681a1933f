#include "app/dialogs/DemSpecsView.h"

#include <QDialogButtonBox>
#include <QLabel>
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
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

}  // namespace tavrok::app
