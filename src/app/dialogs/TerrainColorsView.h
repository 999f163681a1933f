#pragma once
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <array>

#include "app/dialogs/DialogViews.h"
#include "overhead/TerrainColorsDialog.h"

namespace tavrok::app {

// The colour column beside the slot buttons: the fourteen terrain colours as equal bands,
// slot 0 at the bottom, then the sky, ocean, waypoint and grid/text swatches.
class SwatchColumn : public QWidget {
    Q_OBJECT
  public:
    SwatchColumn(const overhead::TerrainColorsDialog& model, QWidget* parent);

    QSize sizeHint() const override { return {48, 14 * 24 + 4 * 28}; }
    // The height of the terrain bands together (pixels); the other swatches lie below.
    int bandColumnHeight() const { return height() - 4 * otherSwatchHeight; }

    static constexpr int otherSwatchHeight = 28;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const overhead::TerrainColorsDialog& m_model;
};

// "Terrain Colors": every button calls the model and the view then shows what the model holds.
class TerrainColorsView : public ModelDialog {
    Q_OBJECT
  public:
    TerrainColorsView(overhead::TerrainColorsDialog& model, support::Ui& ui, QWidget* parent);

    // OK is ignored while the altitude range is being edited.
    void accept() override;
    // "Cancel" restores the table; ignored while the altitude range is being edited.
    void reject() override;

  protected:
    bool readFields() override;

  private:
    using Channel = overhead::TerrainColorsDialog::Channel;
    using Control = overhead::TerrainColorsDialog::Control;

    QPushButton* button(const QString& text, const char* name, Control control,
                        std::function<void()> action);
    QScrollBar* channelBar(Channel channel, const char* name);
    void scrolled(Channel channel, int action);
    void saveFile();
    void loadFile();
    void refresh();

    overhead::TerrainColorsDialog& m_model;
    SwatchColumn* m_swatches;
    std::array<QPushButton*, colour::terrainColorCount> m_slots{};
    std::array<QPushButton*, 4> m_others{};  // grid, waypoint, ocean, sky
    std::array<QScrollBar*, 3> m_bars{};
    std::array<QLabel*, 3> m_values{};
    std::array<QRadioButton*, 3> m_types{};
    QLineEdit* m_minimum;
    QLineEdit* m_maximum;
    QLineEdit* m_seaLevel;
    QPushButton* m_ok = nullptr;
    // Each button with the control whose rule enables it.
    std::vector<std::pair<QWidget*, Control>> m_controls;
};

}  // namespace tavrok::app
