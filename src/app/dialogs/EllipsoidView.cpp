#include "app/dialogs/EllipsoidView.h"

#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tavrok::app {

EllipsoidView::EllipsoidView(edit::EllipsoidDialog& model, support::Ui& ui, QWidget* parent)
    : ModelDialog(model, ui, parent), m_model(model), m_choices(new QButtonGroup(this)) {
    auto* body = new QVBoxLayout;
    if (model.purpose() == edit::EllipsoidDialog::Purpose::Change) {
        const auto name = model.currentName();
        auto* current =
            new QLabel("Current Ellipsoid: " +
                           QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())),
                       this);
        current->setObjectName("currentEllipsoid");
        body->addWidget(current);
    }
    for (const auto& choice : edit::ellipsoidChoices) {
        auto* button = new QRadioButton(
            QString::fromUtf8(choice.label.data(), static_cast<qsizetype>(choice.label.size())),
            this);
        m_choices->addButton(button, choice.radioId);
        button->setChecked(choice.ellipsoid == model.ellipsoid);
        body->addWidget(button);
    }
    setBodyWithOkCancel(body);
}

bool EllipsoidView::readFields() {
    for (const auto& choice : edit::ellipsoidChoices) {
        if (m_choices->checkedId() == choice.radioId) {
            m_model.ellipsoid = choice.ellipsoid;
        }
    }
    return true;
}

}  // namespace tavrok::app
