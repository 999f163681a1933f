#pragma once
#include <string>

#include "shell/SettingsFile.h"

namespace tavrok::shell {

// The first placement of the main window on a screen: 96 % of its width; 90 % of its height
// on a landscape screen, three quarters of the width otherwise; centred (a negative top
// becomes 0 on a portrait screen).
WindowRectangle defaultPlacement(int screenWidth, int screenHeight);

struct WindowChange {
    bool creating = false;  // the window is still being set up
    bool maximized = false;
    bool minimized = false;
    bool overlayView = false;  // the map-overlay view is shown
    bool fromResize = false;   // a size change (a move is recorded under fewer conditions)
};

// Whether a new window rectangle becomes the remembered one: a normal, reasonably sized
// placement that fits the screen.
bool shouldRememberRectangle(const WindowRectangle& rectangle, const WindowChange& change,
                             int screenWidth, int screenHeight);

// The placement to open with: the stored rectangle when both its width and height are set.
WindowRectangle startupPlacement(const SettingsFile* settings, int screenWidth, int screenHeight);

// A command line with every double-quote character removed.
std::string withoutQuotes(std::string commandLine);

}  // namespace tavrok::shell
