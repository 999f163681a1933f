#pragma once
#include <array>
#include <filesystem>
#include <string>

#include "colour/ColorScaleFile.h"
#include "overhead/OverheadState.h"
#include "support/DialogModel.h"

namespace tavrok::overhead {

// "Terrain Colors": edits the colour table of the current view in place (the overhead table,
// or the scene table when opened from the 3D scene) and the scale settings. Slots 0..13 are
// the terrain colours; gridEntry, waypointEntry, oceanEntry and skyEntry select the other four
// colours, which are edited in working values and written only by OK.
class TerrainColorsDialog : public support::DialogModel {
  public:
    enum class Control {
        SlotButtons,
        OtherColorButtons,  // "Sky", "Ocean", "Waypoint", "Grid"/"Text"
        ScrollBars,         // with their numeric boxes
        CopyTo,
        SpreadTo,
        CancelOperation,
        Forest,
        Snow,
        ResetColors,
        StoreRecall,  // "Store 1", "Store 2", "Recall 1", "Recall 2"
        ModifyApply,
        ResetRange,
        MinimumMaximum,  // "Min (meters)", "Max (meters)"
        SaveLoadFile,
        TerrainTypes,
        SeaLevel,
        Ok,
        Cancel,
    };
    enum class Channel { Red, Green, Blue };
    enum class ScrollAction { LineLeft, LineRight, PageLeft, PageRight, Thumb };
    enum class Pending { None, Copy, Spread };

    // terrainMinimum, terrainMaximum: the loaded terrain's extremes (metres) for "Reset" of the
    // altitude range; mars selects the Mars terrain colours for "Reset" in overhead mode.
    TerrainColorsDialog(OverheadState& state, bool sceneMode, bool mars, double terrainMinimum,
                        double terrainMaximum);

    std::string_view dialogId() const override { return "IDD_SCENECOLOR"; }
    std::string_view title() const override { return "Terrain Colors"; }
    // "OK": sea level from its box (0 when blank), terrain type, minimum and maximum, the four
    // other colours; rebuilds the palette or the scene shades. Refused while the range is
    // being edited.
    support::Status accept() override;
    // "Cancel": restores the table as it was when the dialog opened. Returns false (and does
    // nothing) while the range is being edited.
    bool cancel();
    // Puts the table back as it was when the dialog opened, whatever the dialog's state: what a
    // caller does after the dialog was closed without OK.
    void restore();

    // What the view shows.
    const colour::ColorScale& table() const;
    int selectedSlot() const { return m_selected; }
    support::Rgb selectedColor() const;
    // The elevation written beside slot button k (0..13): lo + trunc(k·(hi − lo)/13), "%-6d m".
    std::string slotLabel(int slot) const;
    std::string_view gridButtonText() const { return m_sceneMode ? "Text" : "Grid"; }
    std::string_view modifyButtonText() const { return m_editingRange ? "Apply" : "Modify"; }
    bool enabled(Control control) const;
    Pending pending() const { return m_pending; }
    colour::TerrainType terrainType() const { return m_terrainType; }
    support::Rgb otherColor(int entry) const { return m_others[entry - colour::gridEntry]; }
    std::int32_t minimum() const { return m_minimum; }
    std::int32_t maximum() const { return m_maximum; }
    // Height of one swatch band for a column of the given height (pixels).
    static int swatchBandHeight(int columnHeight) {
        return columnHeight / colour::terrainColorCount;
    }

    // The edit boxes, as text the view edits: "Min (meters)", "Max (meters)",
    // "Sea Level (meters)" (blank while MountainPlain is chosen).
    std::string minimumText;
    std::string maximumText;
    std::string seaLevelText;

    // Controls.
    void selectSlot(int slot);  // 0..13, or gridEntry .. skyEntry
    void scroll(Channel channel, ScrollAction action, int thumbPosition = 0);
    void armCopy();
    void armSpread();
    void cancelOperation();
    void forest();
    void snow();
    void resetColors();
    void store(int which);   // 0 or 1
    void recall(int which);  // 0 or 1
    void modifyOrApply();
    void resetRange();
    void setTerrainType(colour::TerrainType type);
    // Saves under the name with ".dat" added when it lacks it. CannotOpenFile when the file
    // cannot be written.
    support::Status saveFile(const std::filesystem::path& path) const;
    // CannotOpenFile, or NotAColorScaleFile for a file that is not 88 bytes; nothing changes
    // on failure.
    support::Status loadFile(const std::filesystem::path& path);

  private:
    colour::ColorScale& workingTable();
    bool isTerrainSlot(int slot) const { return slot >= 0 && slot < colour::terrainColorCount; }
    void setSlotColor(int slot, support::Rgb colour);
    void spread(int from, int to);
    void colorsChanged();
    void showRange();

    OverheadState& m_state;
    bool m_sceneMode;
    bool m_mars;
    double m_terrainMinimum;
    double m_terrainMaximum;
    colour::ColorScale m_backup;
    std::array<support::Rgb, 4> m_others{};
    int m_selected = 0;
    Pending m_pending = Pending::None;
    bool m_editingRange = false;
    std::int32_t m_minimum = 0;
    std::int32_t m_maximum = 0;
    colour::TerrainType m_terrainType = colour::TerrainType::MountainPlain;
};

}  // namespace tavrok::overhead
