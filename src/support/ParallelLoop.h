#pragma once
#include <algorithm>
#include <thread>
#include <type_traits>
#include <vector>

#include "support/Progress.h"

namespace tavrok::support {

// The number of threads the hot loops use: every core, at least one.
inline int defaultThreadCount() {
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

// Runs work(part, first, last) over [begin, end) split into `threads` contiguous parts, the
// first part on the calling thread. Each index belongs to exactly one part, and the parts do
// not depend on timing, so results that are combined in part order do not depend on the
// thread count. Returns false when any part returned false (work may also return void).
template <typename Work>
bool parallelParts(long begin, long end, int threads, const Work& work) {
    const long count = end - begin;
    const int parts = count < 2 ? 1 : static_cast<int>(std::clamp<long>(threads, 1, count));
    std::vector<char> finished(static_cast<std::size_t>(parts), 1);
    // Captured by default: work returning void leaves `finished` unused, which clang reports
    // for an explicit capture.
    auto run = [&](int part, long first, long last) {
        if constexpr (std::is_void_v<decltype(work(part, first, last))>) {
            work(part, first, last);
        } else {
            finished[static_cast<std::size_t>(part)] = work(part, first, last) ? 1 : 0;
        }
    };
    {
        std::vector<std::jthread> helpers;
        helpers.reserve(static_cast<std::size_t>(parts - 1));
        for (int part = 1; part < parts; ++part) {
            const long first = begin + count * part / parts;
            const long last = begin + count * (part + 1) / parts;
            helpers.emplace_back([&run, part, first, last] { run(part, first, last); });
        }
        run(0, begin, begin + count / parts);
    }
    return std::all_of(finished.begin(), finished.end(), [](char done) { return done != 0; });
}

// Runs work(first, last) over rows 0 .. count − 1 in bands of rowsPerBand rows, each band split
// over the threads (≤ 0: every core), and reports progress after each band; false when the
// callback asked to stop.
template <typename Work>
bool inReportedBands(int count, int threads, const ProgressCallback& progress, const Work& work,
                     int rowsPerBand = 256) {
    const int threadCount = threads > 0 ? threads : defaultThreadCount();
    for (int begin = 0; begin < count; begin += rowsPerBand) {
        const int end = std::min(count, begin + rowsPerBand);
        parallelParts(begin, end, std::min(threadCount, std::max(1, (end - begin) / 16)),
                      [&work](int, long first, long last) {
                          work(static_cast<int>(first), static_cast<int>(last));
                      });
        if (!reportProgress(progress, end, count)) {
            return false;
        }
    }
    return true;
}

}  // namespace tavrok::support
