#pragma once
#include <QButtonGroup>
#include <QLineEdit>
#include <QSlider>
#include <functional>
#include <initializer_list>
#include <utility>

#include "app/dialogs/DialogViews.h"
#include "scene/TerrainProjectionDialog.h"

namespace tavrok::app {

// "Terrain Projection Parameters": every choice goes to the model at once and the view then
// shows what the model holds (checked buttons, greyed sizes, the altitude slider).
class TerrainProjectionView : public ModelDialog {
    Q_OBJECT
  public:
    TerrainProjectionView(scene::TerrainProjectionDialog& model, support::Ui& ui, QWidget* parent);

  protected:
    // The text boxes are copied into the model as they are edited.
    bool readFields() override { return true; }

  private:
    using Choice = std::pair<int, QString>;  // button identifier and caption

    // A box whose edits go straight into `field`; longer texts than `maximumLength` are refused
    // while typing.
    QLineEdit* textBox(const char* name, std::string& field, std::size_t maximumLength = 32767);
    QButtonGroup* choiceGroup(QLayout& into, const QString& title,
                              std::initializer_list<Choice> choices,
                              std::function<void(int)> chosen);
    QLayout* altitudeControls();
    void sliderAction(int action);
    void refresh();
    void showAltitude();

    scene::TerrainProjectionDialog& m_model;
    QLineEdit* m_seaLevel = nullptr;
    QLineEdit* m_altitude = nullptr;
    QSlider* m_altitudeSlider = nullptr;
    QButtonGroup* m_colorModes = nullptr;
    QButtonGroup* m_sizes = nullptr;
    QButtonGroup* m_positions = nullptr;
    QButtonGroup* m_resolutions = nullptr;
    QButtonGroup* m_terrainTypes = nullptr;
};

}  // namespace tavrok::app
