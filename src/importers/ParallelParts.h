#pragma once
#include <cstddef>
#include <functional>

namespace tavrok::importers {

// How many parts RunInParts makes of count items of the given size (in samples): one per core,
// one for small amounts of work.
std::size_t PartsFor(std::size_t count, std::size_t samplesPerItem = 1);

// Splits [0, count) into PartsFor(count, samplesPerItem) contiguous parts and runs work(part,
// first, last) on each at the same time. The part numbered 0 runs on the calling thread, so only it
// may report progress. work must not throw; it returns false to stop, and the result is false when
// any part stopped.
bool RunInParts(
    std::size_t count, std::size_t samplesPerItem,
    const std::function<bool(std::size_t part, std::size_t first, std::size_t last)>& work);

}  // namespace tavrok::importers
