#include "app/dialogs/DialogViews.h"
#include "support/Text.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "app/dialogs/AreaLimitsView.h"
#include "app/dialogs/AreaSelectionView.h"
#include "app/dialogs/CloudSpecificationView.h"
#include "app/dialogs/DemSpecsView.h"
#include "app/dialogs/EllipsoidView.h"
#include "app/dialogs/ExportDialogViews.h"
#include "app/dialogs/FileTypeView.h"
#include "app/dialogs/LightingView.h"
#include "app/dialogs/MapScaleView.h"
#include "app/dialogs/MolaPolarView.h"
#include "app/dialogs/MovementView.h"
#include "app/dialogs/RawMatrixView.h"
#include "app/dialogs/TerrainColorsView.h"
#include "app/dialogs/TerrainProjectionView.h"

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

namespace {

template <typename View, typename Model>
std::unique_ptr<QDialog> makeView(support::DialogModel& model, support::Ui& ui, QWidget* parent) {
    // The entry was found by the model's own dialog id, which names exactly one model class.
    return std::make_unique<View>(static_cast<Model&>(model), ui, parent);
}

struct ViewEntry {
    std::string_view dialogId;
    std::unique_ptr<QDialog> (*make)(support::DialogModel&, support::Ui&, QWidget*);
};

// Every dialog model with its Qt view, by the model's dialog id.
constexpr std::array views{
    ViewEntry{"IDD_FILETYPE", makeView<FileTypeView, terrain::FileTypeDialog>},
    ViewEntry{"IDD_GEOCOORD", makeView<AreaSelectionView, terrain::AreaSelectionDialog>},
    ViewEntry{"IDD_MPGEOCOORD", makeView<MolaPolarView, importers::MolaPolarSelection>},
    ViewEntry{"IDD_DIALOG1", makeView<RawMatrixView, importers::RawMatrixDescription>},
    ViewEntry{"IDD_DEMSPECS", makeView<DemSpecsView, terrain::DemSpecsDialog>},
    ViewEntry{"IDD_SCENECOLOR", makeView<TerrainColorsView, overhead::TerrainColorsDialog>},
    ViewEntry{"IDD_MAPSCALE", makeView<MapScaleView, overhead::MapScaleDialog>},
    ViewEntry{"IDD_SHADING", makeView<LightingView, overhead::LightingDialog>},
    ViewEntry{"IDD_GEOLIMITS1", makeView<AreaLimitsView, edit::AreaLimitsDialog>},
    ViewEntry{"IDD_GEOLIMITS2", makeView<AreaLimitsView, edit::AreaLimitsDialog>},
    ViewEntry{"IDD_ELLIPSOID1", makeView<EllipsoidView, edit::EllipsoidDialog>},
    ViewEntry{"IDD_ELLIPSOID2", makeView<EllipsoidView, edit::EllipsoidDialog>},
    ViewEntry{"IDD_FILEFORMAT", makeView<FileFormatView, exporters::FileFormatDialog>},
    ViewEntry{"IDD_ZONE", makeView<UtmZoneView, terrain::UtmZoneDialog>},
    ViewEntry{"IDD_LIDAR", makeView<CloudSpecificationView, importers::CloudSpecificationDialog>},
    ViewEntry{"IDD_XYZPOINTS",
              makeView<CloudSpecificationView, importers::CloudSpecificationDialog>},
    ViewEntry{"IDD_TERRAIN", makeView<TerrainProjectionView, scene::TerrainProjectionDialog>},
    ViewEntry{"IDD_VIEWPOINT", makeView<MovementView, scene::MovementDialog>},
    ViewEntry{"IDD_OBSERVER", makeView<MovementView, scene::MovementDialog>},
};

}  // namespace

bool runDialogView(support::DialogModel& model, QWidget& parent, support::Ui& ui) {
    const auto entry = std::find_if(views.begin(), views.end(), [&](const ViewEntry& view) {
        return view.dialogId == model.dialogId();
    });
    if (entry == views.end()) {
        ui.showMessage(support::quotedThen(model.title(), " is not available yet"));
        return false;
    }
    return entry->make(model, ui, &parent)->exec() == QDialog::Accepted;
}

}  // namespace tavrok::app
