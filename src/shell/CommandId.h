#pragma once
#include <cstdint>

namespace tavrok::shell {

// Every command the program knows: menu items, function keys and the requests the program
// sends itself. The numbers are stable; they are what the menus and keys carry.
enum class CommandId : std::uint16_t {
    // Internal requests, never in a menu.
    LoadUsgsDem = 1,     // param 1: SDTS transfer
    BuildOverhead = 21,  // param 0 after a fresh load, 1 keeps the shading option
    BuildRawMatrix = 32,
    LoadGlobeTiles = 40,
    LoadMatrixFiles = 41,
    LoadGtopo30Tiles = 42,
    LoadMarsMola = 43,
    LoadSrtmFiles = 45,
    LoadLasCloud = 46,
    LoadXyzPoints = 47,
    LoadMarsPolarMola = 48,
    // F9: the product's page; this program's own number, outside the historical ranges.
    OpenWebPage = 40999,
    OverlayCropAndGeoreference = 40068,

    // Main menu.
    LoadTerrainModel = 39,
    SaveUsgsDem = 40097,
    SaveGeoTiffDem = 40108,
    SaveTerrainMatrix = 40103,
    SaveImage = 40012,   // "Save Map Image", "Save Scene Image", "Save Plot Image"
    PrintImage = 40036,  // "Print Map Image", "Print Scene Image", "Print Plot Image"
    SaveTerragenEntire = 40042,
    SaveTerragenSelected = 40091,
    Exit = 6,
    ShowDemSpecs = 40075,
    ConvertToUtm = 40106,
    ChangeUtmEllipsoid = 40113,
    OverheadView = 7,
    Scene3d = 10,          // "F2  3D Scene", "F2  Modify 3D Scene"
    ModifyColors = 40017,  // param 1 when sent from the 3D scene
    MapOverlay = 40019,
    AdjustMapOverlay = 40064,
    ResizeOverheadView = 40084,
    PatchMissingData = 40120,
    SelectSmallerArea = 40107,
    ViewFlyby = 40014,
    AnimateFlyby = 40087,
    StopOperation = 14,
    EnterGpsPointsByMouse = 40054,
    ReceiverToScreen = 40057,
    ReceiverToFile = 40053,
    ScreenToReceiver = 40077,
    ScreenToFile = 40078,
    FileToScreen = 40079,
    FileToReceiver = 40080,
    ProfileGpsTrack = 40105,
    ClearScreenGpsPoints = 40063,
    ShowScaleMeters = 19,
    ShowScaleFeet = 40061,
    ShowScaleCancel = 20,
    ModifyScale = 40067,
    ShadedRelief = 40110,
    DegreeMinSec = 40021,
    DecimalDegree = 40022,
    UtmMeters = 40121,
    LatLonGridOn = 40048,
    LatLonGridOff = 40049,
    HelpTopics = 40005,
    About = 24,

    // 3D scene window.
    SaveLargeFormatImage = 40089,
    SaveVrmlWorld = 40038,
    SaveRotationAnimation = 40102,
    CloseWindow = 40013,  // "Exit" of the scene and plot windows
    ChangePosition = 40043,

    // Colour dialog menu.
    SaveColors = 40116,
    RecallColors = 40117,
};

}  // namespace tavrok::shell
