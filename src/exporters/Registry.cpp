#include "exporters/Registry.h"

#include <algorithm>
#include <array>

namespace tavrok::exporters {

namespace {

// Filled as the writers move here from the shell.
constexpr std::array<ExporterRecord, 0> exporters{};

}  // namespace

std::span<const ExporterRecord> Exporters() {
    return exporters;
}

const ExporterRecord* exporterFor(std::string_view key) {
    const auto found =
        std::find_if(exporters.begin(), exporters.end(),
                     [key](const ExporterRecord& record) { return record.key == key; });
    return found == exporters.end() ? nullptr : &*found;
}

}  // namespace tavrok::exporters
