#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "support/Result.h"

namespace tavrok::importers {

// True when the bytes begin with the gzip magic 1F 8B.
bool IsGzip(std::string_view bytes);

// Inflates gzip data held in memory; members that follow one another are joined, and the name
// stored in a header is skipped. Errors: FaultyArchiveFile when the magic is missing, the
// compression method is not 8 (deflate), the data are damaged or cut short, or the output
// would exceed maximumBytes; NotEnoughMemory.
support::Result<std::string> InflateGzip(std::string_view compressed, std::uint64_t maximumBytes);

}  // namespace tavrok::importers
