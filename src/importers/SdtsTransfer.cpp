#include "importers/SdtsTransfer.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <optional>

#include "geodesy/Ellipsoid.h"
#include "geodesy/Utm.h"
#include "importers/Iso8211Module.h"
#include "importers/MatrixHeaderWriter.h"
#include "importers/MatrixSamples.h"
#include "support/Text.h"

namespace tavrok::importers {

namespace {

using support::Error;
using support::ErrorCode;
using support::Result;

constexpr std::size_t prefixLength = 4;
constexpr float lowestElevation = -1000.0f;
constexpr double onGrid = 0.0001;

std::string Upper(std::string_view text) {
    return support::upperCase(text);
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\0')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) {
        text.remove_suffix(1);
    }
    return text;
}

std::uint32_t BigEndian(std::string_view bytes) {
    std::uint32_t value = 0;
    for (const char byte : bytes) {
        value = (value << 8) | static_cast<unsigned char>(byte);
    }
    return value;
}

// A subfield as a number: text is read as a real; 4-byte binary as a signed 32-bit integer,
// 2-byte binary as a signed 16-bit one.
std::optional<double> NumberOf(const Iso8211Subfield& subfield) {
    if (subfield.binary) {
        if (subfield.value.size() == 4) {
            return static_cast<double>(std::bit_cast<std::int32_t>(BigEndian(subfield.value)));
        }
        if (subfield.value.size() == 2) {
            return static_cast<double>(static_cast<std::int16_t>(BigEndian(subfield.value)));
        }
        return std::nullopt;
    }
    auto text = Trimmed(subfield.value);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (status != std::errc{} || end == text.data() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// A cell of the cell module: 16-bit integers or 32-bit floats, anything else missing.
float CellOf(std::string_view bytes) {
    float value = SdtsTransfer::missingCell;
    if (bytes.size() == 2) {
        value = static_cast<std::int16_t>(BigEndian(bytes));
    } else if (bytes.size() == 4) {
        value = std::bit_cast<float>(BigEndian(bytes));
    }
    return value < lowestElevation || value != value ? SdtsTransfer::missingCell : value;
}

// The file of a module in the folder, the name compared without regard to case.
std::optional<std::filesystem::path> FindModule(const std::filesystem::path& folder,
                                                const std::string& prefix,
                                                std::string_view module) {
    const std::string wanted = Upper(prefix) + std::string(module) + ".DDF";
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (Upper(entry.path().filename().string()) == wanted) {
            return entry.path();
        }
    }
    return std::nullopt;
}

using SubfieldHandler = std::function<void(const Iso8211Subfield&)>;

// Feeds every subfield of a module to handle; false when the module is missing or damaged.
bool ReadModule(const std::filesystem::path& folder, const std::string& prefix,
                std::string_view module, const SubfieldHandler& handle) {
    const auto path = FindModule(folder, prefix, module);
    if (!path) {
        return false;
    }
    auto opened = Iso8211Module::Open(*path);
    if (!opened) {
        return false;
    }
    Iso8211Subfield subfield;
    while (opened->NextSubfield(subfield)) {
        handle(subfield);
    }
    const bool read = !opened->failed();
    opened->Close();
    return read;
}

struct ModuleReader {
    SdtsTransfer& transfer;
    bool unitKnown = false;
    double sadrX = 0;
    double sadrY = 0;
    long domainRecord = 0;
    bool pairOpen = false;

    void ddsh(const Iso8211Subfield& s) {
        if (s.fieldTag != "DDSH") {
            return;
        }
        if (s.label == "UNIT") {
            const auto unit = Trimmed(s.value);
            transfer.feet = unit == "FEET";
            unitKnown = unit == "FEET" || unit == "METERS";
        } else if (s.label == "FMT") {
            transfer.float32Cells = Trimmed(s.value) == "BFP32";
        }
    }
    void iden(const Iso8211Subfield& s) {
        if (s.fieldTag != "IDEN") {
            return;
        }
        if (s.label == "TITL") {
            transfer.title = std::string(Trimmed(s.value));
        } else if (s.label == "SCAL") {
            transfer.scale = static_cast<long>(NumberOf(s).value_or(0));
        } else if (s.label == "DAID") {
            transfer.dataId = std::string(Trimmed(s.value));
        } else if (s.label == "DCDT") {
            transfer.date = std::string(Trimmed(s.value));
        }
    }
    void ddom(const Iso8211Subfield& s) {
        if (s.fieldTag != "DDOM") {
            return;
        }
        if (s.label == "RCID") {
            domainRecord = static_cast<long>(NumberOf(s).value_or(0));
        } else if (s.label == "DVAL" && domainRecord >= 1 && domainRecord <= 4) {
            transfer.domainValues[domainRecord - 1] = NumberOf(s).value_or(0);
        }
    }
    void iref(const Iso8211Subfield& s) {
        if (s.fieldTag != "IREF") {
            return;
        }
        const auto value = NumberOf(s);
        const std::pair<std::string_view, double*> targets[] = {
            {"SFAX", &transfer.scaleX},   {"SFAY", &transfer.scaleY},
            {"XORG", &transfer.offsetX},  {"YORG", &transfer.offsetY},
            {"XHRS", &transfer.spacingX}, {"YHRS", &transfer.spacingY}};
        for (const auto& [label, target] : targets) {
            if (s.label == label && value) {
                *target = *value;
            }
        }
    }
    void xref(const Iso8211Subfield& s) {
        if (s.fieldTag != "XREF") {
            return;
        }
        if (s.label == "RSNM") {
            transfer.referenceSystem = std::string(Trimmed(s.value));
        } else if (s.label == "ZONE") {
            const auto zone = NumberOf(s).value_or(0);
            transfer.zone = std::fabs(zone) <= 100 ? static_cast<int>(zone) : 0;
        } else if (s.label == "HDAT") {
            const auto datum = Trimmed(s.value);
            transfer.datumCode = datum == "NAS"     ? 1
                                 : datum == "WGS72" ? 2
                                 : datum == "WGS84" ? 3
                                 : datum == "NAX"   ? 4
                                                    : 0;
        }
    }
    void rsdf(const Iso8211Subfield& s) {
        if (s.fieldTag != "SADR") {
            return;
        }
        // Text coordinates are truncated like binary ones, which are whole numbers.
        const auto value = NumberOf(s);
        if (s.label == "X" && value) {
            sadrX = std::trunc(*value);
        } else if (s.label == "Y" && value) {
            sadrY = std::trunc(*value);
        }
    }
    void spdm(const Iso8211Subfield& s) {
        if (s.fieldTag != "DMSA") {
            return;
        }
        const auto value = NumberOf(s).value_or(0);
        if (s.label == "X" && transfer.domainCorners.size() < 4) {
            transfer.domainCorners.push_back(SdtsPoint{value, 0});
            pairOpen = true;
        } else if (s.label == "Y" && pairOpen) {
            transfer.domainCorners.back().y = value;
            pairOpen = false;
        }
    }
    void ldef(const Iso8211Subfield& s) {
        if (s.fieldTag != "LDEF") {
            return;
        }
        const auto value = NumberOf(s).value_or(0);
        const int count = value >= 0 && value <= 1000000 ? static_cast<int>(value) : 0;
        if (s.label == "NROW") {
            transfer.rows = count;
        } else if (s.label == "NCOL") {
            transfer.columns = count;
        }
    }
};

// The zone (XREF) and the corners (RSDF through IREF) must place the grid on the globe, or the
// matrix written from the transfer could not be loaded.
support::Status CheckPlacement(const SdtsTransfer& transfer) {
    if (transfer.zone < 1 || transfer.zone > 60) {
        return Error{
            ErrorCode::ErrorReadingSdts, "zone",
            transfer.prefix + "XREF.DDF: there is no UTM zone " + std::to_string(transfer.zone)};
    }
    geodesy::UtmConverter converter;
    converter.setUtmParameters(geodesy::EllipsoidId::Clarke1866, 0);
    const auto corners = SdtsHeaderCorners(transfer);
    const std::string zoneText = std::to_string(transfer.zone) + 'N';
    for (const auto& [x, y] :
         {std::pair{corners.left, corners.lower}, std::pair{corners.left, corners.upper},
          std::pair{corners.right, corners.upper}, std::pair{corners.right, corners.lower}}) {
        if (converter.utmToLatLon(zoneText, static_cast<double>(x), static_cast<double>(y)).flags !=
            0) {
            return Error{ErrorCode::ErrorReadingSdts, "corners",
                         support::formatText("%sRSDF.DDF: the corner %ld, %ld lies outside UTM "
                                             "zone %d",
                                             transfer.prefix.c_str(), x, y, transfer.zone)};
        }
    }
    return support::success();
}

std::string PrefixOf(const std::filesystem::path& modulePath) {
    return modulePath.filename().string().substr(0, prefixLength);
}

}  // namespace

Result<SdtsTransfer> ReadSdtsTransfer(const std::filesystem::path& modulePath) {
    SdtsTransfer transfer;
    transfer.prefix = PrefixOf(modulePath);
    const auto folder =
        modulePath.parent_path().empty() ? std::filesystem::path(".") : modulePath.parent_path();
    const auto cellPath = FindModule(folder, transfer.prefix, "CEL0");
    if (!cellPath) {
        return Error{ErrorCode::CannotOpenDemCellFile, transfer.prefix + "CEL0.DDF"};
    }
    auto cellModule = Iso8211Module::Open(*cellPath);
    if (!cellModule) {
        return Error{ErrorCode::CannotOpenDemCellFile, cellModule.error().detail};
    }

    ModuleReader reader{transfer};
    using Member = void (ModuleReader::*)(const Iso8211Subfield&);
    const std::pair<std::string_view, Member> modules[] = {
        {"DDSH", &ModuleReader::ddsh}, {"IDEN", &ModuleReader::iden}, {"DDOM", &ModuleReader::ddom},
        {"IREF", &ModuleReader::iref}, {"XREF", &ModuleReader::xref}, {"RSDF", &ModuleReader::rsdf},
        {"SPDM", &ModuleReader::spdm}, {"LDEF", &ModuleReader::ldef}};
    int read = 0;
    for (const auto& entry : modules) {
        const Member member = entry.second;
        read += ReadModule(folder, transfer.prefix, entry.first,
                           [&reader, member](const Iso8211Subfield& s) { (reader.*member)(s); })
                    ? 1
                    : 0;
    }
    if (read != 8) {
        return Error{ErrorCode::ErrorReadingSdts, "a required module is missing or damaged"};
    }
    if (!reader.unitKnown) {
        return Error{ErrorCode::ErrorReadingSdts, "elevation unit"};
    }
    transfer.origin = {reader.sadrX * transfer.scaleX + transfer.offsetX,
                       reader.sadrY * transfer.scaleY + transfer.offsetY};
    const auto cells = static_cast<std::uint64_t>(transfer.rows) * transfer.columns;
    // Every cell takes at least two bytes of the cell module.
    std::error_code sizeError;
    const auto cellBytes = std::filesystem::file_size(*cellPath, sizeError);
    if (cells == 0 || sizeError || cells > cellBytes / 2) {
        return Error{ErrorCode::ErrorReadingSdts, "raster size"};
    }
    if (!(transfer.spacingX > 0) || !(transfer.spacingY > 0) ||
        !(std::fabs(transfer.origin.x) < 1e9) || !(std::fabs(transfer.origin.y) < 1e9)) {
        return Error{ErrorCode::ErrorReadingSdts, "spacing or origin"};
    }
    if (auto placed = CheckPlacement(transfer); !placed) {
        return placed.error();
    }
    transfer.cells.assign(cells, SdtsTransfer::missingCell);
    std::size_t count = 0;
    Iso8211Subfield subfield;
    while (count < cells && cellModule->NextSubfield(subfield)) {
        if (subfield.format.find('B') != std::string_view::npos ||
            subfield.format.find('b') != std::string_view::npos) {
            transfer.cells[count++] = CellOf(subfield.value);
        }
    }
    if (count < 1) {
        return Error{ErrorCode::ErrorReadingSdts, "no cells"};
    }
    return transfer;
}

SdtsCorners SdtsHeaderCorners(const SdtsTransfer& transfer) {
    const double westOrigin = transfer.origin.x;
    const double southOrigin = transfer.origin.y - (transfer.rows - 1) * transfer.spacingY;
    double west = westOrigin;
    double south = southOrigin;
    if (!(std::fmod(westOrigin, transfer.spacingX) <= onGrid &&
          std::fmod(southOrigin, transfer.spacingY) <= onGrid)) {
        const auto corner = [&](std::size_t index) {
            return index < transfer.domainCorners.size() ? transfer.domainCorners[index]
                                                         : SdtsPoint{};
        };
        const auto raise = [](double value, double spacing) {
            return std::trunc(value / spacing + 1) * spacing;
        };
        west = raise(std::min(corner(0).x, corner(1).x), transfer.spacingX);
        south = raise(std::min(corner(0).y, corner(3).y), transfer.spacingY);
    }
    const double east = west + (transfer.columns - 1) * transfer.spacingX;
    const double north = south + (transfer.rows - 1) * transfer.spacingY;
    return {static_cast<long>(west), static_cast<long>(south), static_cast<long>(east),
            static_cast<long>(north)};
}

MatrixHeader SdtsMatrixHeader(const SdtsTransfer& transfer, const std::string& fallbackTitle) {
    MatrixHeader header;
    header.title = transfer.title.empty() ? fallbackTitle : transfer.title;
    header.encoding = MatrixEncoding::Float32;
    header.projection = terrain::ProjectionKind::UTM;
    header.zone = transfer.zone;
    header.hemisphere = 'N';
    header.zoneText = std::to_string(transfer.zone) + 'N';
    header.ellipsoid = geodesy::ellipsoidForDatumCode(transfer.datumCode)
                           .value_or(geodesy::EllipsoidId::Clarke1866);
    const auto corners = SdtsHeaderCorners(transfer);
    header.left = static_cast<double>(corners.left);
    header.lower = static_cast<double>(corners.lower);
    header.right = static_cast<double>(corners.right);
    header.upper = static_cast<double>(corners.upper);
    header.rows = transfer.rows;
    header.columns = transfer.columns;
    header.elevationUnit =
        transfer.feet ? terrain::ElevationUnit::Feet : terrain::ElevationUnit::Meters;
    header.missingFlag = static_cast<int>(SdtsTransfer::missingCell);
    return header;
}

Result<SdtsMatrixPair> WriteSdtsMatrix(const SdtsTransfer& transfer,
                                       const std::filesystem::path& outputFolder,
                                       const std::string& name) {
    SdtsMatrixPair pair{outputFolder / (name + ".bin"), outputFolder / (name + ".hdr")};
    auto grid = support::openForWriting(pair.grid);
    if (!grid) {
        return Error{ErrorCode::CannotOpenFile, pair.grid.string()};
    }
    // The transfer's first row is its northern one; the matrix starts in the south.
    std::vector<float> row(static_cast<std::size_t>(transfer.columns));
    for (int fileRow = transfer.rows - 1; fileRow >= 0; --fileRow) {
        const auto* source = transfer.cells.data() + static_cast<std::size_t>(fileRow) * row.size();
        std::copy(source, source + row.size(), row.begin());
        if constexpr (littleEndianNeedsSwap) {
            ReverseBytes(std::span(reinterpret_cast<std::uint32_t*>(row.data()), row.size()));
        }
        if (std::fwrite(row.data(), sizeof(float), row.size(), grid.get()) != row.size()) {
            return Error{ErrorCode::CannotOpenFile, pair.grid.string()};
        }
    }
    if (std::fclose(grid.release()) != 0) {
        return Error{ErrorCode::CannotOpenFile, pair.grid.string()};
    }
    const MatrixElevationRange range{transfer.domainValues[2], transfer.domainValues[3]};
    auto written = WriteMatrixHeaderFile(
        pair.header, SdtsMatrixHeader(transfer, pair.grid.filename().string()), range);
    if (!written) {
        return written.error();
    }
    return pair;
}

std::vector<std::filesystem::path> SdtsTransfersIn(const std::filesystem::path& folder) {
    std::map<std::string, std::filesystem::path> transfers;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        const auto& path = it->path();
        std::error_code ignored;
        if (!it->is_regular_file(ignored) || Upper(path.extension().string()) != ".DDF") {
            continue;
        }
        const auto key = Upper(path.parent_path().string() + '/' + PrefixOf(path));
        if (!transfers.contains(key)) {
            transfers.emplace(key, path);
        }
    }
    std::vector<std::filesystem::path> result;
    for (auto& [key, path] : transfers) {
        result.push_back(path);
    }
    return result;
}

}  // namespace tavrok::importers
