// Reads a screenshot and fails unless its middle holds a picture: many distinct colours.
#include <QCoreApplication>
#include <QImage>
#include <cstdio>
#include <set>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: check_screenshot IMAGE\n");
        return 2;
    }
    const QImage shot(argv[1]);
    if (shot.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    std::set<QRgb> colours;
    const QRect middle(shot.width() / 4, shot.height() / 4, shot.width() / 2, shot.height() / 2);
    for (int y = middle.top(); y <= middle.bottom(); y += 2) {
        for (int x = middle.left(); x <= middle.right(); x += 2) {
            colours.insert(shot.pixel(x, y));
        }
    }
    std::printf("%zu distinct colours in the map area\n", colours.size());
    return colours.size() >= 50 ? 0 : 1;
}
