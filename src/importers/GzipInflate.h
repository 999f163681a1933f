#pragma once
#include <cstdint>
#include <memory>
#include <string_view>

#include "importers/ByteSource.h"

namespace tavrok::importers {

// True when the bytes begin with the gzip magic 1F 8B.
bool IsGzip(std::string_view bytes);

// What one gzip stream may inflate to: at most maximumBytes, and beyond the first
// ratioFreeBytes no more than maximumRatio times the compressed bytes read so far.
struct InflationLimits {
    std::uint64_t maximumBytes = 0;
    std::uint64_t ratioFreeBytes = 0;
    std::uint64_t maximumRatio = 0;
};

// The inflated contents of gzip data, a piece at a time with only a small buffer held; members
// that follow one another are joined, the name stored in a header is skipped and anything after
// the last member that is not gzip is ignored. Errors of read: FaultyArchiveFile when the magic
// is missing, the compression method is not 8 (deflate), the data are damaged or cut short, or
// the limits are passed; NotEnoughMemory; the compressed source's own errors.
class GzipSource final : public ByteSource {
  public:
    GzipSource(ByteSource& compressed, const InflationLimits& limits);
    ~GzipSource() override;
    GzipSource(const GzipSource&) = delete;
    GzipSource& operator=(const GzipSource&) = delete;

    support::Result<std::size_t> read(char* buffer, std::size_t size) override;

  private:
    struct Inflater;
    std::unique_ptr<Inflater> m_inflater;
};

}  // namespace tavrok::importers
