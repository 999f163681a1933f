#pragma once
#include <functional>

namespace tavrok::support {

// Called by long loops with the work done so far and the total (any unit, usually rows).
// Returns false when the user asked to stop; the loop then abandons its work.
using ProgressCallback = std::function<bool(long done, long total)>;

inline bool reportProgress(const ProgressCallback& progress, long done, long total) {
    return !progress || progress(done, total);
}

}  // namespace tavrok::support
