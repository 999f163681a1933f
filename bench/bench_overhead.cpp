// Times command 21 (shading, colouring, grid and labels) for the bundled sample in the default
// 1024 x 768 window: prints the best and the median of the runs in milliseconds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "shell/Dispatch.h"
#include "support/ScriptedUi.h"

#ifdef TAVROK_WITH_PAINT
#include <QGuiApplication>

#include "paint/QtPainter.h"
#endif

int main(int argc, char** argv) {
    using namespace tavrok;
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
#ifdef TAVROK_WITH_PAINT
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
#endif
    shell::AppState state;
    support::ScriptedUi ui;
    state.shell.tempDir = std::filesystem::temp_directory_path();
#ifdef TAVROK_WITH_PAINT
    state.overhead.painterFactory = paint::QtPainter::factory();
#endif
    shell::runImport(state, ui,
                     shell::LoadRequest{shell::CommandId::LoadMatrixFiles, 0, {TAVROK_SAMPLE}});
    if (!state.document.loaded()) {
        std::fprintf(stderr, "cannot load %s\n", TAVROK_SAMPLE);
        return 1;
    }
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        // The shading is part of what is measured: forget the shade grid's revision.
        state.overhead.shadedRevision = 0;
        const auto start = std::chrono::steady_clock::now();
        shell::dispatch(state, ui, shell::CommandId::BuildOverhead, 1);
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    std::printf(
        "command 21, sample %d x %d at zoom %.2f -> %d x %d image: best %.1f ms, median %.1f ms\n",
        state.document.grid().columns(), state.document.grid().rows(), state.map.overheadZoom,
        state.overhead.image.width(), state.overhead.image.height(), times.front(),
        times[times.size() / 2]);
    return 0;
}
