#include "shell/WindowPlacement.h"

#include <algorithm>

namespace tavrok::shell {

WindowRectangle defaultPlacement(int screenWidth, int screenHeight) {
    WindowRectangle rectangle;
    rectangle.width = screenWidth * 96 / 100;
    const bool landscape = screenWidth > screenHeight;
    rectangle.height = landscape ? screenHeight * 9 / 10 : rectangle.width * 3 / 4;
    rectangle.left = (screenWidth - rectangle.width) / 2;
    rectangle.top = (screenHeight - rectangle.height) / 2;
    if (!landscape) {
        rectangle.top = std::max(rectangle.top, 0);
    }
    return rectangle;
}

bool shouldRememberRectangle(const WindowRectangle& rectangle, const WindowChange& change,
                             int screenWidth, int screenHeight) {
    if (change.creating || rectangle.width <= 200 || rectangle.height <= 150 ||
        rectangle.width >= screenWidth || rectangle.height >= screenHeight) {
        return false;
    }
    if (change.fromResize && (change.maximized || change.minimized || change.overlayView)) {
        return false;
    }
    return true;
}

WindowRectangle startupPlacement(const SettingsFile* settings, int screenWidth, int screenHeight) {
    if (settings != nullptr && settings->window.width != 0 && settings->window.height != 0) {
        return settings->window;
    }
    return defaultPlacement(screenWidth, screenHeight);
}

std::string withoutQuotes(std::string commandLine) {
    commandLine.erase(std::remove(commandLine.begin(), commandLine.end(), '"'), commandLine.end());
    return commandLine;
}

}  // namespace tavrok::shell
