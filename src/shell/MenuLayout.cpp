#include "shell/MenuLayout.h"

namespace tavrok::shell {

namespace {

using enum CommandId;

MenuEntry item(CommandId command, std::string_view text) {
    return {MenuEntry::Kind::Command, text, command, {}, false, {}};
}

MenuEntry separator() {
    return {MenuEntry::Kind::Separator, {}, {}, {}, false, {}};
}

MenuEntry popup(std::string_view title, std::vector<MenuEntry> entries) {
    return {MenuEntry::Kind::Popup, title, {}, {}, false, std::move(entries)};
}

MenuEntry ruledPopup(std::string_view title, Popup rules, std::vector<MenuEntry> entries) {
    return {MenuEntry::Kind::Popup, title, {}, rules, true, std::move(entries)};
}

std::vector<MenuEntry> buildMainMenu() {
    return {
        ruledPopup(
            "File", Popup::File,
            {item(LoadTerrainModel, "Load Terrain Model"), separator(),
             item(SaveUsgsDem, "Save USGS ASCII DEM"), item(SaveGeoTiffDem, "Save GeoTiff DEM"),
             item(SaveTerrainMatrix, "Save Terrain Matrix"), separator(),
             item(SaveImage, "Save Map Image"), item(PrintImage, "Print Map Image"), separator(),
             ruledPopup("SaveTerragen Terrain", Popup::SaveTerragen,
                        {item(SaveTerragenEntire, "Entire Terrain"),
                         item(SaveTerragenSelected, "Selected Area")}),
             separator(), item(Exit, "Exit")}),
        popup("Operation", {item(ShowDemSpecs, "Show DEM Specs"),
                            ruledPopup("Change Projection", Popup::ChangeProjection,
                                       {item(ConvertToUtm, "Convert to UTM Projection"),
                                        item(ChangeUtmEllipsoid, "Change UTM Ellipsoid")}),
                            separator(), item(OverheadView, "F1  Overhead View"),
                            item(Scene3d, "F2  3D Scene"), item(ModifyColors, "F3  Modify Colors"),
                            item(MapOverlay, "F4  Apply/Remove Map Overlay"),
                            item(AdjustMapOverlay, "F5  Adjust Map Overlay"),
                            item(ResizeOverheadView, "F6  Resize Overhead View"),
                            item(PatchMissingData, "F7  Patch Missing Data"),
                            item(SelectSmallerArea, "F8  Select Smaller Area"), separator(),
                            item(ViewFlyby, "View Flyby"), item(AnimateFlyby, "Animate Flyby"),
                            separator(), item(StopOperation, "Stop Operation")}),
        popup("GPS", {item(EnterGpsPointsByMouse, "Enter GPS Points by Mouse"),
                      ruledPopup("Transfer GPS Points", Popup::TransferGpsPoints,
                                 {item(ReceiverToScreen, "Receiver To Screen"),
                                  item(ReceiverToFile, "Receiver To File"),
                                  item(ScreenToReceiver, "Screen To Receiver"),
                                  item(ScreenToFile, "ScreenTo File"),
                                  item(FileToScreen, "File To Screen"),
                                  item(FileToReceiver, "File To Receiver")}),
                      separator(), item(ProfileGpsTrack, "Profile GPS Track"),
                      item(ClearScreenGpsPoints, "Clear Screen GPS Points")}),
        popup("Color Scale",
              {ruledPopup("Show Scale", Popup::ShowScale,
                          {item(ShowScaleMeters, "Meters"), item(ShowScaleFeet, "Feet"),
                           item(ShowScaleCancel, "Cancel")}),
               item(ModifyScale, "Modify Scale"), item(ShadedRelief, "Shaded Relief")}),
        popup("Coordinates",
              {item(DegreeMinSec, "Degree Min Sec"), item(DecimalDegree, "Decimal Degree"),
               item(UtmMeters, "UTM Meters"), separator(), item(LatLonGridOn, "Lat-Lon Grid On"),
               item(LatLonGridOff, "Lat-Lon Grid Off")}),
        popup("Help", {item(HelpTopics, "Help Topics"), separator(), item(About, "About Tavrok")}),
    };
}

void collectCommands(const std::vector<MenuEntry>& entries, std::vector<const MenuEntry*>& out) {
    for (const auto& entry : entries) {
        if (entry.kind == MenuEntry::Kind::Command) {
            out.push_back(&entry);
        } else if (entry.kind == MenuEntry::Kind::Popup) {
            collectCommands(entry.entries, out);
        }
    }
}

}  // namespace

const std::vector<MenuEntry>& mainMenu() {
    static const std::vector<MenuEntry> menu = buildMainMenu();
    return menu;
}

const std::vector<MenuEntry>& sceneMenu() {
    static const std::vector<MenuEntry> menu{
        popup("File", {item(SaveImage, "Save Scene Image"),
                       item(SaveLargeFormatImage, "Save Large Format Image"),
                       item(PrintImage, "Print Scene Image"), separator(),
                       item(SaveVrmlWorld, "Save VRML World"),
                       item(SaveRotationAnimation, "Save Rotation Animation"), separator(),
                       item(CloseWindow, "Exit")}),
        popup(
            "View",
            {item(OverheadView, "F1  Overhead View"), item(Scene3d, "F2  Modify 3D Scene"),
             item(ModifyColors, "F3  Modify Colors"), item(MapOverlay, "F4  Apply/Remove Overlay"),
             item(AdjustMapOverlay, "F5  Adjust Overlay"),
             item(ChangePosition, "F6  Change Position")}),
    };
    return menu;
}

const std::vector<MenuEntry>& plotMenu() {
    static const std::vector<MenuEntry> menu{
        popup("File", {item(SaveImage, "Save Plot Image"), item(PrintImage, "Print Plot Image"),
                       separator(), item(CloseWindow, "Exit")}),
    };
    return menu;
}

const std::vector<MenuEntry>& colorDialogMenu() {
    static const std::vector<MenuEntry> menu{
        popup("Colors", {item(SaveColors, "Save Colors"), item(RecallColors, "Recall Colors")}),
    };
    return menu;
}

std::vector<const MenuEntry*> commandEntries(const std::vector<MenuEntry>& menu) {
    std::vector<const MenuEntry*> entries;
    collectCommands(menu, entries);
    return entries;
}

}  // namespace tavrok::shell
