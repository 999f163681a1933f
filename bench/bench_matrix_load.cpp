// Times the loading of one terrain matrix (header and data file) in process, without the
// overhead map that the command line draws after a load: prints the best and the median of the
// runs in milliseconds, and the figures the load found.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "importers/MatrixImporter.h"

int main(int argc, char** argv) {
    using namespace tavrok;
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_matrix_load DATA_FILE [RUNS]\n");
        return 2;
    }
    const std::filesystem::path path = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    std::vector<double> times;
    double minimum = 0;
    double maximum = 0;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        auto outcome =
            importers::LoadMatrixFiles({path}, std::filesystem::temp_directory_path(), {});
        const auto end = std::chrono::steady_clock::now();
        if (!outcome.terrain) {
            std::fprintf(stderr, "cannot load %s\n", path.c_str());
            return 1;
        }
        minimum = outcome.terrain->header.minElevation;
        maximum = outcome.terrain->header.maxElevation;
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    std::printf("load %s: best %.1f ms, median %.1f ms (minimum %g, maximum %g)\n",
                path.filename().c_str(), times.front(), times[times.size() / 2], minimum, maximum);
    return 0;
}
