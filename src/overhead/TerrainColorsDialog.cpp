#include "overhead/TerrainColorsDialog.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace tavrok::overhead {

namespace {

// Box text read as a signed integer the way the dialog reads it: leading digits, 0 otherwise.
std::int32_t readInteger(const std::string& text) {
    return static_cast<std::int32_t>(std::strtol(text.c_str(), nullptr, 10));
}

std::uint8_t& channelOf(support::Rgb& colour, TerrainColorsDialog::Channel channel) {
    switch (channel) {
        case TerrainColorsDialog::Channel::Red:
            return colour.red;
        case TerrainColorsDialog::Channel::Green:
            return colour.green;
        case TerrainColorsDialog::Channel::Blue:
            break;
    }
    return colour.blue;
}

constexpr support::Rgb forestColor{117, 115, 73};
constexpr support::Rgb snowColor{220, 220, 220};

}  // namespace

TerrainColorsDialog::TerrainColorsDialog(OverheadState& state, bool sceneMode, bool mars,
                                         double terrainMinimum, double terrainMaximum)
    : m_state(state),
      m_sceneMode(sceneMode),
      m_mars(mars),
      m_terrainMinimum(terrainMinimum),
      m_terrainMaximum(terrainMaximum) {
    m_backup = workingTable();
    for (int i = 0; i < 4; ++i) {
        m_others[i] = m_backup.entries[colour::gridEntry + i];
    }
    m_minimum = state.scale.scaleMinimum;
    m_maximum = state.scale.scaleMaximum;
    showRange();
    setTerrainType(state.scale.terrainType);
}

colour::ColorScale& TerrainColorsDialog::workingTable() {
    return m_sceneMode ? m_state.sceneScale : m_state.overheadScale;
}

const colour::ColorScale& TerrainColorsDialog::table() const {
    return m_sceneMode ? m_state.sceneScale : m_state.overheadScale;
}

support::Rgb TerrainColorsDialog::selectedColor() const {
    return isTerrainSlot(m_selected) ? table().entries[m_selected] : otherColor(m_selected);
}

std::string TerrainColorsDialog::slotLabel(int slot) const {
    const auto range = static_cast<std::int64_t>(m_maximum) - m_minimum;
    char text[32];
    std::snprintf(text, sizeof text, "%-6d m",
                  static_cast<int>(m_minimum + slot * range / (colour::terrainColorCount - 1)));
    return text;
}

bool TerrainColorsDialog::enabled(Control control) const {
    if (m_editingRange) {
        return control == Control::MinimumMaximum || control == Control::ModifyApply;
    }
    if (m_pending != Pending::None) {
        return control == Control::SlotButtons || control == Control::CancelOperation;
    }
    switch (control) {
        case Control::MinimumMaximum:
            return false;
        case Control::CopyTo:
        case Control::SpreadTo:
            return isTerrainSlot(m_selected);
        case Control::SeaLevel:
            return m_terrainType != colour::TerrainType::MountainPlain;
        default:
            return true;
    }
}

void TerrainColorsDialog::setSlotColor(int slot, support::Rgb colour) {
    auto& entries = workingTable().entries;
    entries[slot] = colour;
    if (slot == colour::terrainColorCount - 1) {
        entries[colour::topBandEntry] = colour;
    }
}

void TerrainColorsDialog::colorsChanged() {
    if (m_sceneMode) {
        m_state.sceneShades = colour::buildSceneShades(m_state.sceneScale);
    } else {
        m_state.palette = colour::buildOverheadPalette(m_state.overheadScale);
        m_state.sceneShades = colour::buildSceneShades(m_state.sceneScale);
    }
}

void TerrainColorsDialog::showRange() {
    minimumText = std::to_string(m_minimum);
    maximumText = std::to_string(m_maximum);
}

void TerrainColorsDialog::selectSlot(int slot) {
    const bool terrainSlot = isTerrainSlot(slot);
    if (!terrainSlot && (slot < colour::gridEntry || slot > colour::skyEntry)) {
        return;
    }
    if (m_editingRange || (m_pending != Pending::None && !terrainSlot)) {
        return;
    }
    const int before = m_selected;
    if (m_pending == Pending::Copy) {
        setSlotColor(slot, table().entries[before]);
        colorsChanged();
    } else if (m_pending == Pending::Spread) {
        spread(before, slot);
    }
    m_pending = Pending::None;
    m_selected = slot;
}

void TerrainColorsDialog::spread(int from, int to) {
    if (from == to) {
        return;
    }
    const int low = std::min(from, to);
    const int high = std::max(from, to);
    const int n = high - low;
    const support::Rgb a = table().entries[low];
    const support::Rgb b = table().entries[high];
    const auto ramp = [n](std::uint8_t start, std::uint8_t end, int i) {
        const double value = start + i * (static_cast<double>(end) - start) / n;
        return static_cast<std::uint8_t>(std::clamp(static_cast<int>(value), 0, 255));
    };
    for (int i = 0; i < n; ++i) {
        setSlotColor(low + i,
                     {ramp(a.red, b.red, i), ramp(a.green, b.green, i), ramp(a.blue, b.blue, i)});
    }
    colorsChanged();
}

void TerrainColorsDialog::scroll(Channel channel, ScrollAction action, int thumbPosition) {
    if (!enabled(Control::ScrollBars)) {
        return;
    }
    support::Rgb colour = selectedColor();
    std::uint8_t& value = channelOf(colour, channel);
    int next = value;
    switch (action) {
        case ScrollAction::LineLeft:
            next -= 1;
            break;
        case ScrollAction::LineRight:
            next += 1;
            break;
        case ScrollAction::PageLeft:
            next -= 10;
            break;
        case ScrollAction::PageRight:
            next += 10;
            break;
        case ScrollAction::Thumb:
            next = thumbPosition;
            break;
    }
    // The channel is a byte: stepping past either end wraps round.
    value = static_cast<std::uint8_t>(next & 0xFF);
    if (isTerrainSlot(m_selected)) {
        setSlotColor(m_selected, colour);
        colorsChanged();
    } else {
        m_others[m_selected - colour::gridEntry] = colour;
    }
}

void TerrainColorsDialog::armCopy() {
    if (enabled(Control::CopyTo)) {
        m_pending = Pending::Copy;
    }
}

void TerrainColorsDialog::armSpread() {
    if (enabled(Control::SpreadTo)) {
        m_pending = Pending::Spread;
    }
}

void TerrainColorsDialog::cancelOperation() {
    if (!m_editingRange) {
        m_pending = Pending::None;
    }
}

void TerrainColorsDialog::forest() {
    if (!enabled(Control::Forest)) {
        return;
    }
    setSlotColor(0, forestColor);
    setSlotColor(1, forestColor);
    spread(1, 5);
    colorsChanged();
}

void TerrainColorsDialog::snow() {
    if (!enabled(Control::Snow)) {
        return;
    }
    // Entry 14 keeps its colour here, unlike every other change of slot 13.
    auto& entries = workingTable().entries;
    entries[12] = snowColor;
    entries[13] = snowColor;
    spread(12, 9);
    colorsChanged();
}

void TerrainColorsDialog::resetColors() {
    if (!enabled(Control::ResetColors)) {
        return;
    }
    colour::ColorScale defaults =
        m_sceneMode ? colour::sceneDefaultScale() : colour::overheadDefaultScale();
    if (!m_sceneMode && m_mars) {
        std::copy_n(colour::marsOverheadDefaultScale().entries.begin(), colour::topBandEntry + 1,
                    defaults.entries.begin());
    }
    auto& entries = workingTable().entries;
    std::copy_n(defaults.entries.begin(), colour::skyEntry + 1, entries.begin());
    for (int i = 0; i < 4; ++i) {
        m_others[i] = defaults.entries[colour::gridEntry + i];
    }
    m_selected = 0;
    colorsChanged();
}

void TerrainColorsDialog::store(int which) {
    if (!enabled(Control::StoreRecall) || which < 0 || which > 1) {
        return;
    }
    colour::ColorScale& buffer = m_state.colorStores[which];
    std::copy_n(table().entries.begin(), colour::topBandEntry + 1, buffer.entries.begin());
    std::copy(m_others.begin(), m_others.end(), buffer.entries.begin() + colour::gridEntry);
}

void TerrainColorsDialog::recall(int which) {
    if (!enabled(Control::StoreRecall) || which < 0 || which > 1) {
        return;
    }
    const colour::ColorScale& buffer = m_state.colorStores[which];
    workingTable() = buffer;
    std::copy_n(buffer.entries.begin() + colour::gridEntry, 4, m_others.begin());
    m_selected = 0;
    colorsChanged();
}

void TerrainColorsDialog::modifyOrApply() {
    if (m_pending != Pending::None) {
        return;
    }
    if (!m_editingRange) {
        m_editingRange = true;
        return;
    }
    m_minimum = readInteger(minimumText);
    m_maximum = readInteger(maximumText);
    m_editingRange = false;
}

void TerrainColorsDialog::resetRange() {
    if (!enabled(Control::ResetRange)) {
        return;
    }
    m_minimum = static_cast<std::int32_t>(m_terrainMinimum);
    m_maximum = static_cast<std::int32_t>(m_terrainMaximum);
    showRange();
}

void TerrainColorsDialog::setTerrainType(colour::TerrainType type) {
    if (m_editingRange || m_pending != Pending::None) {
        return;
    }
    m_terrainType = type;
    seaLevelText = type == colour::TerrainType::MountainPlain
                       ? std::string()
                       : std::to_string(m_state.scale.seaLevel);
}

support::Status TerrainColorsDialog::saveFile(const std::filesystem::path& path) const {
    colour::ColorScaleFile contents;
    contents.scale = table();
    std::copy(m_others.begin(), m_others.end(), contents.scale.entries.begin() + colour::gridEntry);
    contents.scaleMinimum = readInteger(minimumText);
    contents.scaleMaximum = readInteger(maximumText);
    return colour::saveColorScale(colour::withColorScaleExtension(path), contents);
}

support::Status TerrainColorsDialog::loadFile(const std::filesystem::path& path) {
    auto loaded = colour::loadColorScale(path);
    if (!loaded.ok()) {
        return loaded.error();
    }
    workingTable() = loaded->scale;
    std::copy_n(loaded->scale.entries.begin() + colour::gridEntry, 4, m_others.begin());
    m_minimum = loaded->scaleMinimum;
    m_maximum = loaded->scaleMaximum;
    showRange();
    m_selected = 0;
    colorsChanged();
    return support::success();
}

support::Status TerrainColorsDialog::accept() {
    if (m_editingRange) {
        return support::Error{support::ErrorCode::SilentFailure, "the range is being edited"};
    }
    m_state.scale.seaLevel = readInteger(seaLevelText);
    m_state.scale.terrainType = m_terrainType;
    m_state.scale.scaleMinimum = m_minimum;
    m_state.scale.scaleMaximum = m_maximum;
    auto& entries = workingTable().entries;
    std::copy(m_others.begin(), m_others.end(), entries.begin() + colour::gridEntry);
    colorsChanged();
    return support::success();
}

bool TerrainColorsDialog::cancel() {
    if (m_editingRange) {
        return false;
    }
    restore();
    return true;
}

void TerrainColorsDialog::restore() {
    workingTable() = m_backup;
    colorsChanged();
}

}  // namespace tavrok::overhead
