#include "importers/ParallelParts.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace tavrok::importers {

namespace {

// Below this many items a thread costs more than it saves.
constexpr std::size_t smallestSharedSamples = 1 << 20;
constexpr unsigned mostParts = 8;

}  // namespace

std::size_t PartsFor(std::size_t count, std::size_t samplesPerItem) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    return count * samplesPerItem < smallestSharedSamples || count < cores
               ? 1
               : std::min(cores, mostParts);
}

bool RunInParts(
    std::size_t count, std::size_t samplesPerItem,
    const std::function<bool(std::size_t part, std::size_t first, std::size_t last)>& work) {
    const std::size_t parts = PartsFor(count, samplesPerItem);
    const std::size_t partSize = (count + parts - 1) / parts;
    std::vector<char> finished(parts, 1);
    std::vector<std::thread> helpers;
    for (std::size_t part = 1; part < parts; ++part) {
        const auto first = std::min(count, part * partSize);
        const auto last = std::min(count, first + partSize);
        helpers.emplace_back([&, part, first, last] { finished[part] = work(part, first, last); });
    }
    finished[0] = work(0, 0, std::min(count, partSize));
    for (auto& helper : helpers) {
        helper.join();
    }
    return std::all_of(finished.begin(), finished.end(), [](char done) { return done != 0; });
}

}  // namespace tavrok::importers
