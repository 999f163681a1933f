#pragma once
#include <algorithm>
#include <thread>
#include <vector>

#include "support/Progress.h"

namespace tavrok::overhead {

// The number of threads the hot loops use: every core, at least one.
inline int defaultThreadCount() {
    return std::max(1u, std::thread::hardware_concurrency());
}

// Runs work(first, last) over [begin, end) split into `threads` contiguous parts, the first
// part on the calling thread. Each row is computed by exactly one call, so results do not
// depend on the thread count.
template <typename Work>
void parallelRows(int begin, int end, int threads, const Work& work) {
    const int count = end - begin;
    threads = std::clamp(threads, 1, std::max(1, count / 16));
    if (threads == 1 || count < 2) {
        work(begin, end);
        return;
    }
    std::vector<std::jthread> helpers;
    helpers.reserve(threads - 1);
    for (int part = 1; part < threads; ++part) {
        const int first = begin + count * part / threads;
        const int last = begin + count * (part + 1) / threads;
        helpers.emplace_back([&work, first, last] { work(first, last); });
    }
    work(begin, begin + count / threads);
}

// Runs work(first, last) over rows 0 .. count − 1 in bands of 256 rows, each band split over
// the threads (≤ 0: every core), and reports progress after each band; false when the
// callback asked to stop.
template <typename Work>
bool inReportedBands(int count, int threads, const support::ProgressCallback& progress,
                     const Work& work) {
    constexpr int rowsPerBand = 256;
    const int threadCount = threads > 0 ? threads : defaultThreadCount();
    for (int begin = 0; begin < count; begin += rowsPerBand) {
        const int end = std::min(count, begin + rowsPerBand);
        parallelRows(begin, end, threadCount, work);
        if (!support::reportProgress(progress, end, count)) {
            return false;
        }
    }
    return true;
}

}  // namespace tavrok::overhead
