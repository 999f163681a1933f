#include "importers/Iso8211Module.h"

#include <algorithm>
#include <optional>

#include "importers/MatrixSamples.h"

namespace tavrok::importers {

namespace {

using support::Error;
using support::ErrorCode;
using support::Result;

constexpr char fieldTerminator = 0x1E;
constexpr std::size_t leaderLength = 24;
// The unit terminator ends a subfield, the field terminator a field.
constexpr std::string_view terminators("\x1f\x1e", 2);
// Repeat counts in format controls multiply; a damaged file must not ask for millions.
constexpr std::size_t mostSubfieldsPerField = 4096;

// Decimal digits at [offset, offset + length); empty when any is not a digit.
std::optional<std::size_t> Digits(std::string_view text, std::size_t offset, std::size_t length) {
    if (length == 0 || offset + length > text.size()) {
        return std::nullopt;
    }
    std::size_t value = 0;
    for (std::size_t i = offset; i < offset + length; ++i) {
        const char c = text[i];
        if (c == ' ' && value == 0) {
            continue;  // some writers pad numbers with blanks
        }
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::size_t>(c - '0');
    }
    return value;
}

struct Leader {
    std::size_t recordLength = 0;
    char leaderId = ' ';
    std::size_t fieldControlLength = 0;
    std::size_t baseAddress = 0;
    std::size_t sizeOfLength = 0;
    std::size_t sizeOfPosition = 0;
    std::size_t sizeOfTag = 0;
};

std::optional<Leader> ParseLeader(std::string_view record) {
    if (record.size() < leaderLength) {
        return std::nullopt;
    }
    Leader leader;
    const auto length = Digits(record, 0, 5);
    const auto base = Digits(record, 12, 5);
    const auto sizeOfLength = Digits(record, 20, 1);
    const auto sizeOfPosition = Digits(record, 21, 1);
    const auto sizeOfTag = Digits(record, 23, 1);
    if (!length || !base || !sizeOfLength || !sizeOfPosition || !sizeOfTag ||
        *length <= leaderLength || *base <= leaderLength || *base > *length || *sizeOfLength == 0 ||
        *sizeOfPosition == 0 || *sizeOfTag == 0) {
        return std::nullopt;
    }
    leader.recordLength = *length;
    leader.leaderId = record[6];
    leader.fieldControlLength = Digits(record, 10, 2).value_or(0);
    leader.baseAddress = *base;
    leader.sizeOfLength = *sizeOfLength;
    leader.sizeOfPosition = *sizeOfPosition;
    leader.sizeOfTag = *sizeOfTag;
    return leader;
}

struct RawEntry {
    std::string_view tag;
    std::size_t position = 0;  // from the base address
    std::size_t length = 0;
};

// The directory of a record; empty when any entry is damaged or points outside the record.
std::optional<std::vector<RawEntry>> ParseDirectory(std::string_view record, const Leader& leader) {
    const std::size_t entrySize = leader.sizeOfTag + leader.sizeOfLength + leader.sizeOfPosition;
    const std::size_t fieldArea = leader.recordLength - leader.baseAddress;
    std::vector<RawEntry> entries;
    for (std::size_t at = leaderLength; at + entrySize < leader.baseAddress + 1 &&
                                        at < record.size() && record[at] != fieldTerminator;
         at += entrySize) {
        RawEntry entry;
        entry.tag = record.substr(at, leader.sizeOfTag);
        const auto length = Digits(record, at + leader.sizeOfTag, leader.sizeOfLength);
        const auto position =
            Digits(record, at + leader.sizeOfTag + leader.sizeOfLength, leader.sizeOfPosition);
        if (!length || !position || *position > fieldArea || *length > fieldArea - *position) {
            return std::nullopt;
        }
        entry.length = *length;
        entry.position = *position;
        entries.push_back(entry);
    }
    return entries;
}

// Splits a format list at its top-level commas and expands repeat counts and groups:
// "A(4),3I(5)" becomes A(4), I(5), I(5), I(5).
bool ExpandFormats(std::string_view list, std::vector<std::string>& out, int depth = 0) {
    if (depth > 8) {
        return false;
    }
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = start;
        int nesting = 0;
        while (end < list.size() && (list[end] != ',' || nesting > 0)) {
            nesting += list[end] == '(' ? 1 : list[end] == ')' ? -1 : 0;
            ++end;
        }
        std::string_view item = list.substr(start, end - start);
        while (!item.empty() && item.front() == ' ') {
            item.remove_prefix(1);
        }
        std::size_t repeat = 0;
        std::size_t digits = 0;
        while (digits < item.size() && item[digits] >= '0' && item[digits] <= '9') {
            repeat =
                std::min<std::size_t>(repeat * 10 + (item[digits] - '0'), mostSubfieldsPerField);
            ++digits;
        }
        repeat = digits == 0 ? 1 : repeat;
        item.remove_prefix(digits);
        if (!item.empty()) {
            for (std::size_t copy = 0; copy < repeat; ++copy) {
                if (out.size() >= mostSubfieldsPerField) {
                    return false;
                }
                if (item.front() == '(') {
                    const auto close = item.rfind(')');
                    if (close == std::string_view::npos || close == 0 ||
                        !ExpandFormats(item.substr(1, close - 1), out, depth + 1)) {
                        return false;
                    }
                } else {
                    out.emplace_back(item);
                }
            }
        }
        start = end + 1;
    }
    return true;
}

}  // namespace

Result<Iso8211Module> Iso8211Module::Open(const std::filesystem::path& path) {
    auto file = support::openForReading(path);
    const auto size = support::fileSizeOf(path);
    if (!file || !size) {
        return support::unreadable(ErrorCode::CannotOpenFile, path);
    }
    auto bytes = ReadRest(file.get(), *size);
    if (!bytes) {
        return bytes.error();
    }
    return FromBytes(std::move(bytes.value()));
}

Result<Iso8211Module> Iso8211Module::FromBytes(std::string bytes) {
    Iso8211Module module;
    module.m_bytes = std::move(bytes);
    if (!module.readDescriptiveRecord()) {
        std::string detail = "damaged descriptive record";
        for (const auto& problem : module.m_problems) {
            detail += "; " + problem;
        }
        return Error{ErrorCode::FileError, detail};
    }
    module.ReadDescriptive();
    return module;
}

bool Iso8211Module::readDescriptiveRecord() {
    const std::string_view bytes = m_bytes;
    const auto leader = ParseLeader(bytes);
    if (!leader || leader->recordLength > bytes.size()) {
        m_problems.push_back("leader");
        return false;
    }
    const auto record = bytes.substr(0, leader->recordLength);
    const auto directory = ParseDirectory(record, *leader);
    if (!directory) {
        m_problems.push_back("directory");
        return false;
    }
    for (const auto& entry : *directory) {
        const auto field = record.substr(leader->baseAddress + entry.position, entry.length);
        if (entry.tag == "0000" || field.size() < leader->fieldControlLength) {
            continue;  // the file control field
        }
        auto rest = field.substr(leader->fieldControlLength);
        auto nextPart = [&rest] {
            const auto stop = rest.find_first_of(terminators);
            const auto part = rest.substr(0, stop);
            rest = stop == std::string_view::npos ? std::string_view() : rest.substr(stop + 1);
            return part;
        };
        nextPart();  // the field's name
        const auto labels = nextPart();
        auto formats = nextPart();
        FieldDefinition definition;
        definition.tag = std::string(entry.tag);
        std::vector<std::string> labelList;
        for (std::size_t start = 0; start < labels.size();) {
            const auto stop = std::min(labels.find('!', start), labels.size());
            std::string label(labels.substr(start, stop - start));
            std::erase(label, '*');
            labelList.push_back(std::move(label));
            start = stop + 1;
        }
        while (!formats.empty() && formats.front() == ' ') {
            formats.remove_prefix(1);
        }
        if (formats.size() >= 2 && formats.front() == '(' && formats.back() == ')') {
            formats = formats.substr(1, formats.size() - 2);
        }
        std::vector<std::string> formatList;
        if (!ExpandFormats(formats, formatList)) {
            m_problems.push_back("format controls of " + definition.tag);
            return false;
        }
        for (std::size_t i = 0; i < labelList.size(); ++i) {
            SubfieldDefinition subfield;
            subfield.label = labelList[i];
            subfield.format =
                formatList.empty() ? "A" : formatList[std::min(i, formatList.size() - 1)];
            subfield.type = subfield.format.front();
            subfield.binary = subfield.type == 'B' || subfield.type == 'b';
            const auto open = subfield.format.find('(');
            if (open != std::string::npos) {
                const auto width =
                    Digits(subfield.format, open + 1, subfield.format.size() - open - 2);
                if (!width || subfield.format.back() != ')') {
                    m_problems.push_back("subfield width of " + definition.tag);
                    return false;
                }
                subfield.width = subfield.type == 'B' ? *width / 8 : *width;
            } else if (subfield.type == 'b' && subfield.format.size() == 3) {
                subfield.width = static_cast<std::size_t>(subfield.format[2] - '0');
                if (subfield.width > 8) {
                    m_problems.push_back("binary width of " + definition.tag);
                    return false;
                }
            }
            if (subfield.binary && subfield.width == 0) {
                m_problems.push_back("binary subfield without width in " + definition.tag);
                return false;
            }
            definition.subfields.push_back(std::move(subfield));
        }
        m_fields.push_back(std::move(definition));
    }
    m_firstRecord = leader->recordLength;
    return true;
}

const Iso8211Module::FieldDefinition* Iso8211Module::definitionFor(std::string_view tag) const {
    for (const auto& field : m_fields) {
        if (field.tag == tag) {
            return &field;
        }
    }
    return nullptr;
}

void Iso8211Module::ReadDescriptive() {
    m_nextRecord = m_firstRecord;
    m_directory.clear();
    m_reuseDirectory = false;
    m_inRecord = false;
    m_failed = false;
}

bool Iso8211Module::readRecord() {
    const std::string_view bytes = m_bytes;
    if (m_nextRecord >= bytes.size()) {
        return false;
    }
    if (m_reuseDirectory) {
        // The previous record's leader and directory describe this one too: only its field
        // area is stored, and every field lies where it lay before.
        if (m_fieldAreaSize == 0 || bytes.size() - m_nextRecord < m_fieldAreaSize) {
            m_failed = true;
            return false;
        }
        const std::size_t area = m_nextRecord;
        for (auto& entry : m_directory) {
            entry.begin = entry.begin - m_currentArea + area;
            entry.end = entry.end - m_currentArea + area;
        }
        m_currentArea = area;
        m_nextRecord += m_fieldAreaSize;
    } else {
        const auto leader = ParseLeader(bytes.substr(m_nextRecord));
        if (!leader || leader->recordLength > bytes.size() - m_nextRecord) {
            m_failed = true;
            return false;
        }
        const auto record = bytes.substr(m_nextRecord, leader->recordLength);
        const auto directory = ParseDirectory(record, *leader);
        if (!directory) {
            m_failed = true;
            return false;
        }
        m_directory.clear();
        const std::size_t area = m_nextRecord + leader->baseAddress;
        for (const auto& entry : *directory) {
            m_directory.push_back(DirectoryEntry{definitionFor(entry.tag), area + entry.position,
                                                 area + entry.position + entry.length});
        }
        m_currentArea = area;
        m_reuseDirectory = leader->leaderId == 'R' && !m_directory.empty();
        m_fieldAreaSize = leader->recordLength - leader->baseAddress;
        m_nextRecord += leader->recordLength;
    }
    m_entry = 0;
    m_subfield = 0;
    m_position = m_directory.empty() ? 0 : m_directory.front().begin;
    m_cycleStart = m_position;
    m_inRecord = true;
    return true;
}

bool Iso8211Module::NextSubfield(Iso8211Subfield& subfield) {
    const std::string_view bytes = m_bytes;
    while (true) {
        if (!m_inRecord && !readRecord()) {
            return false;
        }
        if (m_entry >= m_directory.size()) {
            m_inRecord = false;
            continue;
        }
        const auto& entry = m_directory[m_entry];
        std::size_t contentEnd = entry.end;
        if (contentEnd > entry.begin && bytes[contentEnd - 1] == fieldTerminator) {
            --contentEnd;
        }
        const auto* definition = entry.definition;
        bool nextEntry =
            definition == nullptr || definition->subfields.empty() || m_position >= contentEnd;
        if (!nextEntry && m_subfield == definition->subfields.size()) {
            // Data left after the last subfield: the list of subfields repeats.
            nextEntry = m_position == m_cycleStart;
            m_subfield = 0;
            m_cycleStart = m_position;
        }
        if (nextEntry) {
            ++m_entry;
            m_subfield = 0;
            m_position = m_entry < m_directory.size() ? m_directory[m_entry].begin : 0;
            m_cycleStart = m_position;
            continue;
        }
        const auto& definitionOf = definition->subfields[m_subfield];
        std::size_t valueEnd = 0;
        std::size_t next = 0;
        if (definitionOf.width > 0) {
            valueEnd = std::min(m_position + definitionOf.width, contentEnd);
            next = valueEnd;
        } else {
            const auto stop =
                bytes.substr(m_position, contentEnd - m_position).find_first_of(terminators);
            valueEnd = stop == std::string_view::npos ? contentEnd : m_position + stop;
            next = valueEnd < contentEnd ? valueEnd + 1 : contentEnd;
        }
        subfield.fieldTag = definition->tag;
        subfield.label = definitionOf.label;
        subfield.format = definitionOf.format;
        subfield.value = bytes.substr(m_position, valueEnd - m_position);
        subfield.binary = definitionOf.binary;
        m_lastInfo = {subfield.label, subfield.format};
        m_position = next;
        ++m_subfield;
        return true;
    }
}

void Iso8211Module::Close() {
    m_bytes.clear();
    m_fields.clear();
    m_directory.clear();
    m_firstRecord = 0;
    ReadDescriptive();
}

}  // namespace tavrok::importers
