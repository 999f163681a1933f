#include "importers/TarReader.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <map>
#include <utility>

namespace tavrok::importers {

namespace {

using support::Error;
using support::ErrorCode;

constexpr std::size_t blockSize = 512;

// Field offsets and widths of a tar header block.
constexpr std::size_t nameOffset = 0;
constexpr std::size_t nameWidth = 100;
constexpr std::size_t sizeOffset = 124;
constexpr std::size_t sizeWidth = 12;
constexpr std::size_t checksumOffset = 148;
constexpr std::size_t checksumWidth = 8;
constexpr std::size_t typeOffset = 156;
constexpr std::size_t linkOffset = 157;
constexpr std::size_t linkWidth = 100;
constexpr std::size_t magicOffset = 257;
constexpr std::size_t prefixOffset = 345;
constexpr std::size_t prefixWidth = 155;

Error Faulty(std::string detail) {
    return Error{ErrorCode::FaultyArchiveFile, std::move(detail)};
}

// Text up to the first NUL within a field.
std::string_view CString(std::string_view field) {
    return field.substr(0, std::min(field.find('\0'), field.size()));
}

// Octal digits after blanks, or a big-endian base-256 number when the first byte's top bit is
// set. Empty when nothing fits.
std::optional<std::uint64_t> Number(std::string_view field) {
    if (!field.empty() && (static_cast<unsigned char>(field[0]) & 0x80) != 0) {
        std::uint64_t value = static_cast<unsigned char>(field[0]) & 0x3F;
        for (std::size_t i = 1; i < field.size(); ++i) {
            if (value >> 55 != 0) {
                return std::nullopt;
            }
            value = (value << 8) | static_cast<unsigned char>(field[i]);
        }
        return value;
    }
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ') {
        ++i;
    }
    std::uint64_t value = 0;
    bool any = false;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '7'; ++i) {
        if (value >> 60 != 0) {
            return std::nullopt;
        }
        value = value * 8 + static_cast<std::uint64_t>(field[i] - '0');
        any = true;
    }
    return any ? std::optional(value) : std::nullopt;
}

bool ChecksumFits(std::string_view header) {
    const auto stored = Number(header.substr(checksumOffset, checksumWidth));
    if (!stored) {
        return false;
    }
    std::uint64_t unsignedSum = 0;
    std::int64_t signedSum = 0;
    for (std::size_t i = 0; i < blockSize; ++i) {
        const bool inChecksum = i >= checksumOffset && i < checksumOffset + checksumWidth;
        const char byte = inChecksum ? ' ' : header[i];
        unsignedSum += static_cast<unsigned char>(byte);
        signedSum += static_cast<signed char>(byte);
    }
    return *stored == unsignedSum || static_cast<std::int64_t>(*stored) == signedSum;
}

bool AllZero(std::string_view block) {
    return std::all_of(block.begin(), block.end(), [](char c) { return c == '\0'; });
}

// Resolves "..", "." and empty parts; false when ".." climbs above the start.
bool Normalise(std::string_view name, std::vector<std::string>& parts) {
    std::size_t start = 0;
    while (start <= name.size()) {
        const auto stop = std::min(name.find_first_of("/\\", start), name.size());
        const auto part = name.substr(start, stop - start);
        if (part == "..") {
            if (parts.empty()) {
                return false;
            }
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.emplace_back(part);
        }
        start = stop + 1;
    }
    return true;
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string joined;
    for (const auto& part : parts) {
        joined += (joined.empty() ? "" : "/") + part;
    }
    return joined;
}

// pax extended header records: "length key=value\n".
void ReadPaxRecords(std::string_view data, std::optional<std::string>& path,
                    std::optional<std::string>& linkPath) {
    while (!data.empty()) {
        const auto space = data.find(' ');
        std::size_t length = 0;
        for (std::size_t i = 0; i < space && i < data.size(); ++i) {
            if (data[i] < '0' || data[i] > '9' || length > data.size()) {
                return;
            }
            length = length * 10 + static_cast<std::size_t>(data[i] - '0');
        }
        if (space == std::string_view::npos || length <= space + 1 || length > data.size()) {
            return;
        }
        auto record = data.substr(space + 1, length - space - 1);
        if (!record.empty() && record.back() == '\n') {
            record.remove_suffix(1);
        }
        const auto equals = record.find('=');
        if (equals != std::string_view::npos) {
            const auto key = record.substr(0, equals);
            const auto value = std::string(record.substr(equals + 1));
            if (key == "path") {
                path = value;
            } else if (key == "linkpath") {
                linkPath = value;
            }
        }
        data.remove_prefix(length);
    }
}

// A write that failed because of what the archive holds (a name too long, a folder in the
// way), not because of the disk.
bool IsArchiveFault(int error) {
    return error == ENAMETOOLONG || error == EISDIR || error == ENOTDIR || error == ELOOP ||
           error == EEXIST;
}

Error WriteFailure(const std::string& name, int error) {
    if (IsArchiveFault(error)) {
        return Faulty("cannot write " + name + ": " + std::strerror(error));
    }
    return Error{ErrorCode::CannotSaveTemporaryFiles,
                 "writing the unpacked file " + name + " failed: " + std::strerror(error)};
}

// Reads and drops count bytes; false when the source ends first.
support::Result<bool> Skip(ByteSource& source, std::uint64_t count) {
    std::array<char, 4096> buffer{};
    while (count > 0) {
        auto read = ReadFully(source, buffer.data(), std::min<std::uint64_t>(count, buffer.size()));
        if (!read) {
            return read.error();
        }
        if (*read == 0) {
            return false;
        }
        count -= *read;
    }
    return true;
}

class Extraction {
  public:
    Extraction(const std::filesystem::path& folder, const ExtractionLimits& limits,
               ExtractedFiles& extracted)
        : m_folder(folder), m_limits(limits), m_extracted(extracted) {}

    // Copies size bytes of data (all that is left when size is empty) into the file name.
    support::Status file(const std::string& name, std::optional<std::uint64_t> size,
                         ByteSource& data) {
        if (m_extracted.files.size() >= m_limits.maximumMembers) {
            return Faulty("more than " + std::to_string(m_limits.maximumMembers) +
                          " files in one archive");
        }
        if (size && *size > room()) {
            return Faulty("more data than one archive may hold");
        }
        if (auto ready = directoriesFor(name); !ready) {
            return ready;
        }
        const auto target = m_folder / name;
        const int descriptor =
            ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (descriptor < 0) {
            return WriteFailure(name, errno);
        }
        support::FileHandle output(::fdopen(descriptor, "wb"));
        if (!output) {
            ::close(descriptor);
            return WriteFailure(name, errno);
        }
        if (std::find(m_extracted.files.begin(), m_extracted.files.end(), target) ==
            m_extracted.files.end()) {
            m_extracted.files.push_back(target);
        }
        m_members[name] = target;
        if (auto copied = copy(name, size, data, output.get()); !copied) {
            return copied;
        }
        if (!support::closeChecked(output)) {
            return WriteFailure(name, errno);
        }
        return support::success();
    }

    support::Status directory(const std::string& name) {
        if (auto ready = directoriesFor(name + "/x"); !ready) {
            return ready;
        }
        std::error_code error;
        std::filesystem::create_directory(m_folder / name, error);
        std::error_code ignored;
        if (std::filesystem::is_symlink(
                std::filesystem::symlink_status(m_folder / name, ignored))) {
            return Faulty("link in the way of " + name);
        }
        return support::success();
    }

    // A link becomes a copy of the member it names; a target outside the folder makes the
    // archive faulty, one that was not extracted as a file is skipped.
    support::Status link(const std::string& name, std::string_view target, bool symbolic) {
        if (target.empty() || target.front() == '/') {
            return Faulty("link " + name + " leaves the folder");
        }
        std::vector<std::string> parts;
        if (symbolic) {
            Normalise(name, parts);
            if (!parts.empty()) {
                parts.pop_back();
            }
        }
        if (!Normalise(target, parts)) {
            return Faulty("link " + name + " leaves the folder");
        }
        const auto member = m_members.find(Joined(parts));
        if (member == m_members.end() || member->first == name) {
            return support::success();
        }
        FileSource original(member->second);
        return file(name, std::nullopt, original);
    }

  private:
    std::uint64_t room() const {
        return m_limits.maximumBytes - std::min(m_limits.maximumBytes, m_extracted.bytes);
    }

    support::Status copy(const std::string& name, std::optional<std::uint64_t> size,
                         ByteSource& data, std::FILE* output) {
        m_buffer.resize(copyChunkBytes);
        std::uint64_t left = size.value_or(UINT64_MAX);
        while (left > 0) {
            auto read =
                ReadFully(data, m_buffer.data(), std::min<std::uint64_t>(left, m_buffer.size()));
            if (!read) {
                return read.error();
            }
            if (*read == 0) {
                return size ? Faulty("member data cut short") : support::success();
            }
            if (!size && *read > room()) {
                return Faulty("more data than one archive may hold");
            }
            if (std::fwrite(m_buffer.data(), 1, *read, output) != *read) {
                return WriteFailure(name, errno);
            }
            m_extracted.bytes += *read;
            left -= *read;
        }
        return support::success();
    }

    // Creates the parent folders of a member, refusing to pass through a link.
    support::Status directoriesFor(const std::string& name) {
        std::filesystem::path current = m_folder;
        std::vector<std::string> parts;
        Normalise(name, parts);
        for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
            current /= parts[i];
            std::error_code error;
            const auto status = std::filesystem::symlink_status(current, error);
            if (std::filesystem::is_symlink(status)) {
                return Faulty("link in the way of " + name);
            }
            if (!std::filesystem::exists(status) &&
                !std::filesystem::create_directory(current, error)) {
                return WriteFailure(name, error.value());
            }
            if (!std::filesystem::is_directory(std::filesystem::symlink_status(current, error))) {
                return Faulty("a file is in the way of " + name);
            }
        }
        return support::success();
    }

    static constexpr std::size_t copyChunkBytes = 256 * 1024;
    const std::filesystem::path& m_folder;
    const ExtractionLimits& m_limits;
    ExtractedFiles& m_extracted;
    std::map<std::string, std::filesystem::path> m_members;
    std::string m_buffer;
};

}  // namespace

bool LooksLikeTar(std::string_view bytes) {
    return bytes.size() >= blockSize && !AllZero(bytes.substr(0, blockSize)) &&
           ChecksumFits(bytes.substr(0, blockSize));
}

std::optional<std::string> SafeMemberName(std::string_view name) {
    if (name.empty() || name.front() == '/' || name.front() == '\\' ||
        (name.size() >= 2 && name[1] == ':')) {
        return std::nullopt;
    }
    std::vector<std::string> parts;
    if (!Normalise(name, parts) || parts.empty()) {
        return std::nullopt;
    }
    // Any ".." at all is refused, even one that would stay inside.
    for (std::size_t start = 0; start <= name.size();) {
        const auto stop = std::min(name.find_first_of("/\\", start), name.size());
        if (name.substr(start, stop - start) == "..") {
            return std::nullopt;
        }
        start = stop + 1;
    }
    return Joined(parts);
}

namespace {

// The longest GNU long name or pax record block read into memory.
constexpr std::uint64_t maximumRecordBytes = 1 << 20;

std::uint64_t Padded(std::uint64_t size) {
    return (size + blockSize - 1) / blockSize * blockSize;
}

// The data of a long-name or pax member, read whole.
support::Result<std::string> Record(ByteSource& tar, std::uint64_t size) {
    if (size > maximumRecordBytes) {
        return Faulty("name record too long");
    }
    std::string data(Padded(size), '\0');
    auto read = ReadFully(tar, data.data(), data.size());
    if (!read) {
        return read.error();
    }
    if (*read < data.size()) {
        return Faulty("member data cut short");
    }
    data.resize(size);
    return data;
}

// Reads a member that only describes what follows (GNU long names, pax records); false for any
// other member, whose data are still to be read.
support::Result<bool> ReadDescription(char type, std::uint64_t size, ByteSource& tar,
                                      std::optional<std::string>& longName,
                                      std::optional<std::string>& longLink) {
    if (type != 'L' && type != 'K' && type != 'x' && type != 'g') {
        return false;
    }
    auto record = Record(tar, size);
    if (!record) {
        return record.error();
    }
    if (type == 'x') {
        ReadPaxRecords(record.value(), longName, longLink);
    } else if (type != 'g') {
        (type == 'L' ? longName : longLink) = std::string(CString(record.value()));
    }
    return true;
}

// The name a header gives, unless a long-name record came before it.
std::string MemberName(std::string_view header, std::optional<std::string>& longName) {
    if (longName) {
        return *std::exchange(longName, std::nullopt);
    }
    std::string name(CString(header.substr(nameOffset, nameWidth)));
    if (header.substr(magicOffset, 5) == "ustar") {
        const auto prefix = CString(header.substr(prefixOffset, prefixWidth));
        if (!prefix.empty()) {
            name = std::string(prefix) + "/" + name;
        }
    }
    return name;
}

// Writes or skips one member whose header was read; its data follow in tar.
support::Status ExtractMember(std::string_view header, std::uint64_t size,
                              const std::string& rawName, const std::string& linkTarget,
                              ByteSource& tar, Extraction& extraction) {
    const char type = header[typeOffset];
    const auto name = SafeMemberName(rawName);
    if (!name && rawName != "./" && rawName != ".") {
        return Faulty("member name \"" + rawName + "\" leaves the folder");
    }
    const bool directory =
        type == '5' || ((type == '\0' || type == '0') && !rawName.empty() && rawName.back() == '/');
    const bool regular = !directory && (type == '0' || type == '\0' || type == '7');
    support::Status done = support::success();
    if (name && directory) {
        done = extraction.directory(*name);
    } else if (name && regular) {
        done = extraction.file(*name, size, tar);
    } else if (name && (type == '1' || type == '2')) {
        done = extraction.link(*name, linkTarget, type == '2');
    }
    if (!done) {
        return done;
    }
    auto skipped = Skip(tar, Padded(size) - (name && regular ? size : 0));
    if (!skipped) {
        return skipped.error();
    }
    return *skipped ? support::success() : Faulty("member data cut short");
}

}  // namespace

support::Status ExtractTarStream(ByteSource& tar, const std::filesystem::path& folder,
                                 const ExtractionLimits& limits, ExtractedFiles& extracted) {
    Extraction extraction(folder, limits, extracted);
    std::optional<std::string> longName;
    std::optional<std::string> longLink;
    std::string header(blockSize, '\0');
    for (std::size_t members = 0;;) {
        auto read = ReadFully(tar, header.data(), blockSize);
        if (!read) {
            return read.error();
        }
        if (*read == 0 || AllZero(header)) {
            break;
        }
        if (*read < blockSize) {
            return Faulty("header block cut short");
        }
        if (!ChecksumFits(header)) {
            return Faulty("header checksum");
        }
        const auto size = Number(std::string_view(header).substr(sizeOffset, sizeWidth));
        if (!size) {
            return Faulty("member size unreadable");
        }
        auto description = ReadDescription(header[typeOffset], *size, tar, longName, longLink);
        if (!description) {
            return description.error();
        }
        if (*description) {
            continue;
        }
        if (++members > limits.maximumMembers) {
            return Faulty("more than " + std::to_string(limits.maximumMembers) +
                          " members in one archive");
        }
        const std::string rawName = MemberName(header, longName);
        const std::string linkTarget =
            longLink ? *longLink
                     : std::string(CString(std::string_view(header).substr(linkOffset, linkWidth)));
        longLink.reset();
        if (auto done = ExtractMember(header, *size, rawName, linkTarget, tar, extraction); !done) {
            return done;
        }
    }
    return support::success();
}

support::Status ExtractSingleFile(const std::string& name, ByteSource& data,
                                  const std::filesystem::path& folder,
                                  const ExtractionLimits& limits, ExtractedFiles& extracted) {
    const auto safe = SafeMemberName(name);
    if (!safe) {
        return Faulty("member name \"" + name + "\" leaves the folder");
    }
    Extraction extraction(folder, limits, extracted);
    return extraction.file(*safe, std::nullopt, data);
}

}  // namespace tavrok::importers
