#include "app/dialogs/DialogViews.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/dialogs/AreaSelectionView.h"
#include "app/dialogs/DemSpecsView.h"
#include "app/dialogs/FileTypeView.h"
#include "app/dialogs/LightingView.h"
#include "app/dialogs/MapScaleView.h"
#include "app/dialogs/MolaPolarView.h"
#include "app/dialogs/RawMatrixView.h"
#include "app/dialogs/TerrainColorsView.h"

namespace tavrok::app {

void centreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    const QSize size = window.frameGeometry().size();
    window.move(std::max(area.x() + (area.width() - size.width()) / 2, 0),
                std::max(area.y() + (area.height() - size.height()) / 2, 0));
}

ModelDialog::ModelDialog(support::DialogModel& model, support::Ui& ui, QWidget* parent)
    : QDialog(parent), m_ui(ui), m_model(model) {
    setWindowTitle(QString::fromUtf8(model.title().data(), qsizetype(model.title().size())));
    setObjectName(QString::fromUtf8(model.dialogId().data(), qsizetype(model.dialogId().size())));
}

void ModelDialog::accept() {
    if (!readFields()) {
        return;
    }
    const support::Status accepted = m_model.accept();
    if (!accepted) {
        m_ui.showMessage(accepted.error().message());
        return;
    }
    QDialog::accept();
}

void ModelDialog::setBodyWithOkCancel(QLayout* body) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &ModelDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(buttons);
}

void ModelDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(*this);
}

bool runDialogView(support::DialogModel& model, QWidget& parent, support::Ui& ui) {
    std::unique_ptr<QDialog> view;
    if (auto* fileType = dynamic_cast<terrain::FileTypeDialog*>(&model)) {
        view = std::make_unique<FileTypeView>(*fileType, ui, &parent);
    } else if (auto* area = dynamic_cast<terrain::AreaSelectionDialog*>(&model)) {
        view = std::make_unique<AreaSelectionView>(*area, ui, &parent);
    } else if (auto* polar = dynamic_cast<importers::MolaPolarSelection*>(&model)) {
        view = std::make_unique<MolaPolarView>(*polar, ui, &parent);
    } else if (auto* raw = dynamic_cast<importers::RawMatrixDescription*>(&model)) {
        view = std::make_unique<RawMatrixView>(*raw, ui, &parent);
    } else if (auto* specs = dynamic_cast<terrain::DemSpecsDialog*>(&model)) {
        view = std::make_unique<DemSpecsView>(*specs, ui, &parent);
    } else if (auto* colors = dynamic_cast<overhead::TerrainColorsDialog*>(&model)) {
        view = std::make_unique<TerrainColorsView>(*colors, ui, &parent);
    } else if (auto* mapScale = dynamic_cast<overhead::MapScaleDialog*>(&model)) {
        view = std::make_unique<MapScaleView>(*mapScale, ui, &parent);
    } else if (auto* lighting = dynamic_cast<overhead::LightingDialog*>(&model)) {
        view = std::make_unique<LightingView>(*lighting, ui, &parent);
    } else {
        ui.showMessage("\"" + std::string(model.title()) + "\" is not available yet");
        return false;
    }
    return view->exec() == QDialog::Accepted;
}

}  // namespace tavrok::app
