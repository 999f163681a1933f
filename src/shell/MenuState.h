#pragma once
#include <map>

#include "shell/CommandId.h"
#include "shell/MenuLayout.h"
#include "terrain/TerrainHeader.h"

namespace tavrok::shell {

struct MenuItemState {
    bool enabled = true;
    bool checked = false;
    bool operator==(const MenuItemState&) const = default;
};

// Which menu items and ruled popups are enabled and checked; the desktop program mirrors it
// onto its real menus after every command.
struct MenuState {
    std::map<CommandId, MenuItemState> items;
    std::map<Popup, bool> popupsEnabled;

    MenuItemState& operator[](CommandId id) { return items[id]; }
    bool enabled(CommandId id) const;
    bool checked(CommandId id) const;
    bool popupEnabled(Popup popup) const;
};

// coordinateDisplay values.
inline constexpr int displayDegreesMinutesSeconds = 40021;
inline constexpr int displayDecimalDegrees = 40022;
inline constexpr int displayUtmMetres = 40121;
// latLonGrid values.
inline constexpr int gridOn = 40048;
inline constexpr int gridOff = 40049;

// What the menu rules look at.
struct MenuContext {
    int gridKind = terrain::gridKindDem;
    terrain::Planet planet = terrain::Planet::Earth;
    terrain::ProjectionKind projection = terrain::ProjectionKind::UTM;
    int coordinateType = terrain::coordinateTypeUtm;
    int viewMode = 0;
    bool overlayExists = false;    // a map overlay image is loaded
    bool overlayMapShown = false;  // the overhead view shows the overlay map itself
    bool flightPathDefined = false;
    bool colorSceneRendered = false;  // a 3D scene of type "Color" or "S/S" was rendered
};

// Before the first load: only Load Terrain Model, Exit, Help Topics and About.
void MenusAtStartup(MenuState& menus);
// While an operation must not be disturbed: the File popup and every command greyed.
void GreyAllMenus(MenuState& menus);
// After a failed load: as GreyAllMenus, but the File popup, Load and Exit stay usable.
void MenusNoTerrain(MenuState& menus);
// While the 3D scene is shown: what would change the terrain under it is greyed.
void MenusWhileScene(MenuState& menus);
// After every completed command. Corrects coordinateDisplay when UTM metres are not available
// for the terrain. Clears nothing else; the caller clears its busy flag.
void UpdateMenus(const MenuContext& context, int& coordinateDisplay, int latLonGrid,
                 MenuState& menus);

}  // namespace tavrok::shell
