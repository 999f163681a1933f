#include "scene/TerrainProjectionDialog.h"

#include <algorithm>
#include <cctype>

#include "terrain/TerrainHeader.h"

namespace tavrok::scene {

namespace {

bool hasSea(colour::TerrainType type) {
    return type != colour::TerrainType::MountainPlain;
}

}  // namespace

int leadingInteger(std::string_view text, std::size_t width) {
    text = text.substr(0, width);
    std::size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) {
        ++at;
    }
    const bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        ++at;
    }
    int value = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
        value = value * 10 + (text[at] - '0');
    }
    return negative ? -value : value;
}

int terrainTypeButton(colour::TerrainType type) {
    switch (type) {
        case colour::TerrainType::MountainPlain:
            return mountainPlainButton;
        case colour::TerrainType::IslandOcean:
            return islandOceanButton;
        case colour::TerrainType::Lowlands:
            return lowlandsButton;
    }
    return mountainPlainButton;
}

std::optional<colour::TerrainType> terrainTypeForButton(int buttonId) {
    switch (buttonId) {
        case mountainPlainButton:
            return colour::TerrainType::MountainPlain;
        case islandOceanButton:
            return colour::TerrainType::IslandOcean;
        case lowlandsButton:
            return colour::TerrainType::Lowlands;
        default:
            return std::nullopt;
    }
}

TerrainProjectionDialog::TerrainProjectionDialog(const SceneParameters& current,
                                                 const colour::ScaleSettings& currentScale,
                                                 const AltitudeLimits& limits, bool lowMemory)
    : legend(current.title),
      magnificationText(std::to_string(current.verticalMagnificationPercent)),
      azimuthText(std::to_string(current.illuminationAzimuth)),
      elevationText(std::to_string(current.illuminationElevation)),
      seaLevelText(hasSea(currentScale.terrainType) ? std::to_string(currentScale.seaLevel) : ""),
      parameters(current),
      scale(currentScale),
      m_limits(limits),
      m_lowMemory(lowMemory) {
    m_limits.step = std::max(m_limits.step, 1);
    if (parameters.newScene && parameters.projectionSize == ProjectionSize::S480x360) {
        parameters.projectionSize = ProjectionSize::S640x480;
    }
    chooseColorMode(parameters.colorMode);
    if (parameters.newScene) {
        parameters.observerAltitude = m_limits.maximum - m_limits.maximum % m_limits.step;
    }
}

support::Status TerrainProjectionDialog::accept() {
    parameters.title = legend.substr(0, terrain::TerrainHeader::titleLength);
    parameters.verticalMagnificationPercent = leadingInteger(magnificationText);
    parameters.illuminationAzimuth = leadingInteger(azimuthText);
    parameters.illuminationElevation = leadingInteger(elevationText);
    if (hasSea(scale.terrainType)) {
        scale.seaLevel = leadingInteger(seaLevelText);
    }
    if (parameters.newScene) {
        resetAdjustments(parameters);
    }
    return support::success();
}

void TerrainProjectionDialog::chooseColorMode(ColorMode mode) {
    parameters.colorMode = mode;
    if (mode == ColorMode::SideBySide) {
        parameters.projectionSize = ProjectionSize::S480x360;
    }
}

void TerrainProjectionDialog::chooseProjectionSize(ProjectionSize size) {
    if (sizeEnabled(size)) {
        parameters.projectionSize = size;
    }
}

bool TerrainProjectionDialog::sizeEnabled(ProjectionSize size) const {
    return parameters.colorMode != ColorMode::SideBySide || size == ProjectionSize::S480x360;
}

void TerrainProjectionDialog::chooseTerrainPosition(TerrainPosition position) {
    parameters.terrainPosition = position;
    parameters.newScene = true;
}

void TerrainProjectionDialog::chooseResolution(MeshResolution resolution) {
    if (resolutionEnabled()) {
        parameters.resolution = resolution;
    }
}

std::optional<MeshResolution> TerrainProjectionDialog::resolutionChoice() const {
    if (!resolutionEnabled()) {
        return std::nullopt;
    }
    return parameters.resolution;
}

void TerrainProjectionDialog::chooseTerrainType(colour::TerrainType type) {
    if (!hasSea(type)) {
        seaLevelText.clear();
    } else if (!seaLevelEnabled()) {
        seaLevelText = std::to_string(scale.seaLevel);
    }
    scale.terrainType = type;
}

bool TerrainProjectionDialog::seaLevelEnabled() const {
    return hasSea(scale.terrainType);
}

bool TerrainProjectionDialog::altitudeEnabled() const {
    return parameters.terrainPosition == TerrainPosition::Background;
}

int TerrainProjectionDialog::sliderMaximum() const {
    return m_limits.maximum / m_limits.step;
}

int TerrainProjectionDialog::sliderPosition() const {
    return parameters.observerAltitude / m_limits.step;
}

std::string TerrainProjectionDialog::altitudeText() const {
    return altitudeEnabled() ? std::to_string(parameters.observerAltitude) : std::string();
}

void TerrainProjectionDialog::stepAltitude(int steps) {
    setAltitude(parameters.observerAltitude + steps * m_limits.step, m_limits.minimum);
}

void TerrainProjectionDialog::dragAltitude(int position) {
    setAltitude(position * m_limits.step, 0);
}

void TerrainProjectionDialog::setAltitude(int metres, int lowest) {
    const int roundedDown = metres - metres % m_limits.step;
    parameters.observerAltitude =
        std::clamp(roundedDown, lowest, std::max(lowest, m_limits.maximum));
}

}  // namespace tavrok::scene
