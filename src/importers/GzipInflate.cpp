#include "importers/GzipInflate.h"

#include <zlib.h>

#include <algorithm>
#include <new>

namespace tavrok::importers {

namespace {

using support::Error;
using support::ErrorCode;

constexpr unsigned char methodDeflate = 8;
constexpr std::size_t chunkBytes = 256 * 1024;
constexpr int gzipWindowBits = 15 + 16;  // zlib reads the gzip header and trailer itself

class InflateStream {
  public:
    InflateStream() { m_ready = inflateInit2(&m_stream, gzipWindowBits) == Z_OK; }
    ~InflateStream() {
        if (m_ready) {
            inflateEnd(&m_stream);
        }
    }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;

    bool ready() const { return m_ready; }
    z_stream& stream() { return m_stream; }

  private:
    z_stream m_stream{};
    bool m_ready = false;
};

}  // namespace

bool IsGzip(std::string_view bytes) {
    return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0x1F &&
           static_cast<unsigned char>(bytes[1]) == 0x8B;
}

support::Result<std::string> InflateGzip(std::string_view compressed, std::uint64_t maximumBytes) {
    if (!IsGzip(compressed) || compressed.size() < 10) {
        return Error{ErrorCode::FaultyArchiveFile, "not gzip"};
    }
    if (static_cast<unsigned char>(compressed[2]) != methodDeflate) {
        return Error{ErrorCode::FaultyArchiveFile, "gzip method is not deflate"};
    }
    InflateStream inflater;
    if (!inflater.ready()) {
        return Error{ErrorCode::NotEnoughMemory, "inflate"};
    }
    auto& stream = inflater.stream();
    std::string output;
    std::size_t consumed = 0;
    try {
        while (true) {
            const std::size_t available =
                std::min<std::size_t>(compressed.size() - consumed, 1u << 30);
            stream.next_in =
                reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data() + consumed));
            stream.avail_in = static_cast<uInt>(available);
            const std::size_t before = output.size();
            output.resize(before + chunkBytes);
            stream.next_out = reinterpret_cast<Bytef*>(output.data() + before);
            stream.avail_out = static_cast<uInt>(chunkBytes);
            const int status = inflate(&stream, Z_NO_FLUSH);
            output.resize(before + chunkBytes - stream.avail_out);
            consumed += available - stream.avail_in;
            if (output.size() > maximumBytes) {
                return Error{ErrorCode::FaultyArchiveFile, "inflated data exceed the limit"};
            }
            if (status == Z_STREAM_END) {
                // Another member may follow; anything else after the trailer is ignored.
                if (!IsGzip(compressed.substr(consumed))) {
                    return output;
                }
                if (static_cast<unsigned char>(compressed[consumed + 2]) != methodDeflate ||
                    inflateReset(&stream) != Z_OK) {
                    return Error{ErrorCode::FaultyArchiveFile, "gzip method is not deflate"};
                }
                continue;
            }
            if (status == Z_BUF_ERROR && consumed == compressed.size() && stream.avail_out != 0) {
                return Error{ErrorCode::FaultyArchiveFile, "gzip data cut short"};
            }
            if (status != Z_OK && status != Z_BUF_ERROR) {
                return Error{ErrorCode::FaultyArchiveFile,
                             stream.msg != nullptr ? stream.msg : "damaged gzip data"};
            }
        }
    } catch (const std::bad_alloc&) {
        return Error{ErrorCode::NotEnoughMemory, "inflated data"};
    }
}

}  // namespace tavrok::importers
