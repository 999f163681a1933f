#include "importers/GzipInflate.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

namespace tavrok::importers {

namespace {

using support::Error;
using support::ErrorCode;

constexpr unsigned char methodDeflate = 8;
constexpr std::size_t headerBytes = 10;
constexpr std::size_t inputChunkBytes = 64 * 1024;
constexpr int gzipWindowBits = 15 + 16;  // zlib reads the gzip header and trailer itself

Error Faulty(std::string detail) {
    return Error{ErrorCode::FaultyArchiveFile, std::move(detail)};
}

}  // namespace

bool IsGzip(std::string_view bytes) {
    return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0x1F &&
           static_cast<unsigned char>(bytes[1]) == 0x8B;
}

struct GzipSource::Inflater {
    Inflater(ByteSource& source, const InflationLimits& inflationLimits)
        : compressed(source), limits(inflationLimits), input(inputChunkBytes, '\0') {
        ready = inflateInit2(&stream, gzipWindowBits) == Z_OK;
    }
    ~Inflater() {
        if (ready) {
            inflateEnd(&stream);
        }
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // Keeps at least wanted unread bytes in the input buffer unless the source ends first.
    support::Status topUp(std::size_t wanted) {
        if (stream.avail_in >= wanted || inputEnded) {
            return support::success();
        }
        if (stream.avail_in > 0) {
            std::memmove(input.data(), stream.next_in, stream.avail_in);
        }
        std::size_t held = stream.avail_in;
        while (held < wanted && !inputEnded) {
            auto count = compressed.read(input.data() + held, input.size() - held);
            if (!count) {
                return count.error();
            }
            inputEnded = *count == 0;
            held += *count;
            compressedBytes += *count;
        }
        stream.next_in = reinterpret_cast<Bytef*>(input.data());
        stream.avail_in = static_cast<uInt>(held);
        return support::success();
    }

    // At the start of a member: checks its header. False once the members have ended.
    support::Result<bool> beginMember() {
        if (auto filled = topUp(headerBytes); !filled) {
            return filled.error();
        }
        const std::string_view head(reinterpret_cast<const char*>(stream.next_in), stream.avail_in);
        if (!IsGzip(head) || head.size() < headerBytes) {
            if (members == 0) {
                return Faulty("not gzip");
            }
            return false;
        }
        if (static_cast<unsigned char>(head[2]) != methodDeflate) {
            return Faulty("gzip method is not deflate");
        }
        if (members > 0 && inflateReset(&stream) != Z_OK) {
            return Faulty("damaged gzip data");
        }
        ++members;
        atMemberStart = false;
        return true;
    }

    support::Status checkLimits() const {
        if (inflatedBytes > limits.maximumBytes) {
            return Faulty("the data inflate beyond " + std::to_string(limits.maximumBytes) +
                          " bytes");
        }
        if (inflatedBytes > limits.ratioFreeBytes &&
            inflatedBytes / std::max<std::uint64_t>(compressedBytes, 1) >= limits.maximumRatio) {
            return Faulty("the data inflate more than " + std::to_string(limits.maximumRatio) +
                          " times: a compression bomb");
        }
        return support::success();
    }

    support::Result<std::size_t> read(char* buffer, std::size_t size) {
        if (!ready) {
            return Error{ErrorCode::NotEnoughMemory, "inflate"};
        }
        const auto wanted = static_cast<uInt>(std::min<std::size_t>(size, UINT_MAX));
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = wanted;
        while (!finished && stream.avail_out == wanted && wanted > 0) {
            if (atMemberStart) {
                auto begun = beginMember();
                if (!begun) {
                    return begun.error();
                }
                finished = !*begun;
                continue;
            }
            if (auto filled = topUp(1); !filled) {
                return filled.error();
            }
            const int status = inflate(&stream, Z_NO_FLUSH);
            if (status == Z_STREAM_END) {
                atMemberStart = true;
            } else if (status == Z_BUF_ERROR && stream.avail_in == 0 && inputEnded) {
                return Faulty("gzip data cut short");
            } else if (status == Z_MEM_ERROR) {
                return Error{ErrorCode::NotEnoughMemory, "inflate"};
            } else if (status != Z_OK && status != Z_BUF_ERROR) {
                return Faulty(stream.msg != nullptr ? stream.msg : "damaged gzip data");
            }
        }
        const std::size_t produced = wanted - stream.avail_out;
        inflatedBytes += produced;
        if (auto within = checkLimits(); !within) {
            return within.error();
        }
        return produced;
    }

    ByteSource& compressed;
    InflationLimits limits;
    std::string input;
    z_stream stream{};
    bool ready = false;
    bool inputEnded = false;
    bool atMemberStart = true;
    bool finished = false;
    std::size_t members = 0;
    std::uint64_t compressedBytes = 0;
    std::uint64_t inflatedBytes = 0;
};

GzipSource::GzipSource(ByteSource& compressed, const InflationLimits& limits)
    : m_inflater(std::make_unique<Inflater>(compressed, limits)) {}

GzipSource::~GzipSource() = default;

support::Result<std::size_t> GzipSource::read(char* buffer, std::size_t size) {
    return m_inflater->read(buffer, size);
}

}  // namespace tavrok::importers
