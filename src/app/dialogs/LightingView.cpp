#include "app/dialogs/LightingView.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QVBoxLayout>

namespace tavrok::app {

namespace {

QLineEdit* numberBox(const char* name, std::int32_t value, QWidget* parent) {
    auto* box = new QLineEdit(QString::number(value), parent);
    box->setObjectName(name);
    box->setValidator(new QIntValidator(box));
    return box;
}

}  // namespace

LightingView::LightingView(overhead::LightingDialog& model, support::Ui& ui, QWidget* parent)
    : ModelDialog(model, ui, parent),
      m_model(model),
      m_azimuth(numberBox("azimuth", model.parameters.azimuth, this)),
      m_elevation(numberBox("elevation", model.parameters.elevation, this)),
      m_depth(numberBox("depth", model.parameters.shadeDepth, this)) {
    auto* form = new QFormLayout;
    form->addRow("Deg Azimuth", m_azimuth);
    form->addRow("Deg Elevation", m_elevation);
    form->addRow("Shade Depth (%)", m_depth);
    setBodyWithOkCancel(form);
}

bool LightingView::readFields() {
    bool azimuthOk = false;
    bool elevationOk = false;
    bool depthOk = false;
    const int azimuth = m_azimuth->text().toInt(&azimuthOk);
    const int elevation = m_elevation->text().toInt(&elevationOk);
    const int depth = m_depth->text().toInt(&depthOk);
    if (!azimuthOk || !elevationOk || !depthOk) {
        m_ui.showMessage("Enter Whole Numbers");
        return false;
    }
    m_model.parameters.azimuth = azimuth;
    m_model.parameters.elevation = elevation;
    m_model.parameters.shadeDepth = depth;
    return true;
}

}  // namespace tavrok::app
