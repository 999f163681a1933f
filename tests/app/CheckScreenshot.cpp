// Reads a screenshot and fails unless its middle holds a picture: many distinct colours. With
// "scene" a tenth of the middle must also be the 3D scene's sky, which the overhead map never
// shows.
#include <QCoreApplication>
#include <QImage>
#include <cstdio>
#include <set>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: check_screenshot IMAGE [map|scene]\n");
        return 2;
    }
    const QImage shot(argv[1]);
    if (shot.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const bool scene = argc == 3 && std::string(argv[2]) == "scene";
    const QRgb sky = qRgb(142, 162, 180);
    long skyPixels = 0;
    long pixels = 0;
    std::set<QRgb> colours;
    const QRect middle(shot.width() / 4, shot.height() / 4, shot.width() / 2, shot.height() / 2);
    for (int y = middle.top(); y <= middle.bottom(); y += 2) {
        for (int x = middle.left(); x <= middle.right(); x += 2) {
            colours.insert(shot.pixel(x, y));
            skyPixels += shot.pixel(x, y) == sky;
            ++pixels;
        }
    }
    std::printf("%zu distinct colours in the middle, %ld of %ld pixels sky\n", colours.size(),
                skyPixels, pixels);
    return colours.size() >= 50 && (!scene || skyPixels * 10 >= pixels) ? 0 : 1;
}
