#include "app/dialogs/AreaLimitsView.h"

#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tavrok::app {

namespace {

// Edit fields take at most 16 characters, as the model reads them.
QLineEdit* edgeField(const char* name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setMaxLength(16);
    return field;
}

}  // namespace

AreaLimitsView::AreaLimitsView(edit::AreaLimitsDialog& model, support::Ui& ui, QWidget* parent)
    : ModelDialog(model, ui, parent),
      m_model(model),
      m_north(edgeField("northernEdge", this)),
      m_west(edgeField("westernEdge", this)),
      m_east(edgeField("easternEdge", this)),
      m_south(edgeField("southernEdge", this)) {
    auto* form = new QFormLayout;
    form->addRow("Northern Edge", m_north);
    form->addRow("Western Edge", m_west);
    form->addRow("Eastern Edge", m_east);
    form->addRow("Southern Edge", m_south);
    auto* body = new QVBoxLayout;
    body->addLayout(form);
    if (!model.note().empty()) {
        body->addWidget(new QLabel(
            QString::fromUtf8(model.note().data(), static_cast<qsizetype>(model.note().size())),
            this));
    }
    setBodyWithOkCancel(body);
    showModel();
}

void AreaLimitsView::showModel() {
    m_north->setText(QString::fromStdString(m_model.north));
    m_west->setText(QString::fromStdString(m_model.west));
    m_east->setText(QString::fromStdString(m_model.east));
    m_south->setText(QString::fromStdString(m_model.south));
}

bool AreaLimitsView::readFields() {
    m_model.north = m_north->text().toStdString();
    m_model.west = m_west->text().toStdString();
    m_model.east = m_east->text().toStdString();
    m_model.south = m_south->text().toStdString();
    return true;
}

void AreaLimitsView::accept() {
    ModelDialog::accept();
    if (result() != QDialog::Accepted) {
        showModel();
    }
}

}  // namespace tavrok::app
