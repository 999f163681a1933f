#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "support/Result.h"

namespace tavrok::importers {

// One subfield of a data record as NextSubfield hands it out. The views point into the module
// and stay valid until it is closed.
struct Iso8211Subfield {
    std::string_view fieldTag;  // "CVLS"
    std::string_view label;     // "ELEVATION" (a leading "*" of repeating groups removed)
    std::string_view format;    // the subfield's format control: "A", "I(5)", "R", "B(16)", "b24"
    std::string_view value;     // text without its unit terminator, or raw big-endian bytes
    bool binary = false;        // B and b formats
};

// The label and format of the subfield NextSubfield returned last.
struct Iso8211SubfieldInfo {
    std::string_view label;
    std::string_view format;
};

// An ISO 8211 file (an SDTS module) held in memory: the data descriptive record's field
// definitions, then the data records subfield by subfield. Only reading is supported.
class Iso8211Module {
  public:
    // Reads the file and its data descriptive record (leader, directory, field descriptions with
    // their subfield labels and formats). Errors: CannotOpenFile; FileError when the file is not
    // ISO 8211 or its descriptive record is damaged.
    static support::Result<Iso8211Module> Open(const std::filesystem::path& path);
    // The same over bytes already in memory.
    static support::Result<Iso8211Module> FromBytes(std::string bytes);

    // Starts the iteration over the data records again from the first one.
    void ReadDescriptive();
    // The next subfield of the current data record in order, moving on to the next record when
    // one is exhausted. False at the end of the module, or at a damaged record (failed() then
    // tells them apart).
    bool NextSubfield(Iso8211Subfield& subfield);
    Iso8211SubfieldInfo SubfieldInfo() const { return m_lastInfo; }
    // True once a damaged data record ended the iteration.
    bool failed() const { return m_failed; }
    // Releases the bytes; the module reads as empty afterwards.
    void Close();

    // Every problem of the descriptive record; empty when it is usable.
    std::vector<std::string> validate() const { return m_problems; }

  private:
    struct SubfieldDefinition {
        std::string label;
        std::string format;
        char type = 'A';
        std::size_t width = 0;  // bytes; 0 means delimited by the unit terminator
        bool binary = false;
    };
    struct FieldDefinition {
        std::string tag;
        std::vector<SubfieldDefinition> subfields;
    };
    struct DirectoryEntry {
        const FieldDefinition* definition = nullptr;
        std::size_t begin = 0;  // in m_bytes
        std::size_t end = 0;
    };

    Iso8211Module() = default;
    bool readDescriptiveRecord();
    bool readRecord();
    const FieldDefinition* definitionFor(std::string_view tag) const;

    std::string m_bytes;
    std::vector<FieldDefinition> m_fields;
    std::vector<std::string> m_problems;
    std::size_t m_firstRecord = 0;

    // Iteration state.
    std::size_t m_nextRecord = 0;
    std::vector<DirectoryEntry> m_directory;
    bool m_reuseDirectory = false;
    std::size_t m_fieldAreaSize = 0;
    std::size_t m_currentArea = 0;  // where the current record's field area begins
    std::size_t m_entry = 0;
    std::size_t m_subfield = 0;
    std::size_t m_position = 0;
    std::size_t m_cycleStart = 0;
    bool m_inRecord = false;
    bool m_failed = false;
    Iso8211SubfieldInfo m_lastInfo;
};

}  // namespace tavrok::importers
