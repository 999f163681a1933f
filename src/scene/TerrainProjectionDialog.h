#pragma once
#include "colour/ColorScale.h"
#include "scene/MeshGeometry.h"
#include "scene/SceneParameters.h"
#include "support/DialogModel.h"

namespace tavrok::scene {

// Placeholder until the dialog lands: OK keeps the settings as they are.
class TerrainProjectionDialog : public support::DialogModel {
  public:
    TerrainProjectionDialog(const SceneParameters& parameters, const colour::ScaleSettings& scale,
                            const AltitudeLimits&, bool)
        : parameters(parameters), scale(scale) {}
    std::string_view dialogId() const override { return "IDD_TERRAIN"; }
    std::string_view title() const override { return "Terrain Projection Parameters"; }
    support::Status accept() override { return support::success(); }
    SceneParameters parameters;
    colour::ScaleSettings scale;
};

}  // namespace tavrok::scene
