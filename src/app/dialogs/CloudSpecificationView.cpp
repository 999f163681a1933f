#include "app/dialogs/CloudSpecificationView.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tavrok::app {

namespace {

QString text(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

constexpr int allReturnsId = 0;
constexpr int bareEarthId = 2;

}  // namespace

CloudSpecificationView::CloudSpecificationView(importers::CloudSpecificationDialog& model,
                                               support::Ui& ui, QWidget* parent)
    : ModelDialog(model, ui, parent),
      m_model(model),
      m_density(new QLabel(this)),
      m_spacings(new QButtonGroup(this)),
      m_returns(new QButtonGroup(this)) {
    auto* body = new QVBoxLayout;
    m_density->setObjectName("density");
    body->addWidget(m_density);
    if (model.lidar()) {
        auto* returns = new QGroupBox("Returns", this);
        auto* returnsLayout = new QVBoxLayout(returns);
        auto* all = new QRadioButton("All Returns", returns);
        auto* ground = new QRadioButton("Bare Earth Returns", returns);
        ground->setEnabled(model.bareEarthAvailable());
        m_returns->addButton(all, allReturnsId);
        m_returns->addButton(ground, bareEarthId);
        returnsLayout->addWidget(all);
        returnsLayout->addWidget(ground);
        body->addWidget(returns);
        connect(m_returns, &QButtonGroup::idClicked, this, [this](int id) {
            m_model.chooseReturns(id == bareEarthId ? importers::ReturnFilter::BareEarth
                                                    : importers::ReturnFilter::AllReturns);
            showChoice();
        });
    }
    auto* spacings = new QGroupBox("Grid Spacing", this);
    auto* spacingLayout = new QVBoxLayout(spacings);
    for (std::size_t index = 0; index < importers::offeredSpacings.size(); ++index) {
        auto* button = new QRadioButton(
            text(importers::spacingLabel(importers::offeredSpacings[index])), spacings);
        m_spacings->addButton(button, static_cast<int>(index));
        spacingLayout->addWidget(button);
    }
    body->addWidget(spacings);
    showChoice();
    setBodyWithOkCancel(body);
}

void CloudSpecificationView::showChoice() {
    m_density->setText(text(m_model.densityText()));
    for (std::size_t index = 0; index < importers::offeredSpacings.size(); ++index) {
        if (importers::offeredSpacings[index] == m_model.spacing) {
            m_spacings->button(static_cast<int>(index))->setChecked(true);
        }
    }
    if (auto* returns = m_returns->button(static_cast<int>(m_model.returns()))) {
        returns->setChecked(true);
    }
}

bool CloudSpecificationView::readFields() {
    const int checked = m_spacings->checkedId();
    if (checked >= 0) {
        m_model.spacing = importers::offeredSpacings[static_cast<std::size_t>(checked)];
    }
    return true;
}

}  // namespace tavrok::app
