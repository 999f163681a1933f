#include "exporters/MatrixExporter.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

#include "exporters/ExportedValues.h"
#include "exporters/ReplacementFile.h"
#include "importers/MatrixHeaderWriter.h"
#include "support/NumberText.h"

namespace tavrok::exporters {

namespace {

using importers::MatrixEncoding;
using support::Error;
using support::ErrorCode;
using terrain::ProjectionKind;

constexpr int progressRows = 16;

bool fitsSignedInteger(double value) {
    const double truncated = std::trunc(value);
    return truncated >= std::numeric_limits<std::int16_t>::min() &&
           truncated <= std::numeric_limits<std::int16_t>::max();
}

// Converts the cells of one row into the bytes or text of the data file.
class SampleEncoder {
  public:
    SampleEncoder(const terrain::TerrainHeader& header, MatrixEncoding encoding)
        : m_encoding(encoding),
          m_minimum(header.minElevation),
          m_sign(header.dataType == terrain::DataType::Depth ? -1.0f : 1.0f),
          m_missing(savedMissingFlag(header)) {}

    void append(std::span<const float> cells, std::vector<char>& out) const {
        switch (m_encoding) {
            case MatrixEncoding::Int16:
                return appendBinary<std::int16_t>(cells, out);
            case MatrixEncoding::Float32:
                return appendBinary<float>(cells, out);
            case MatrixEncoding::Ascii:
                return appendText(cells, out);
        }
    }

  private:
    float sample(float cell) const {
        return missingCell(cell) ? static_cast<float>(m_missing)
                                 : m_sign * absoluteElevation(cell, m_minimum);
    }

    // The files are little-endian, as this machine is.
    template <typename Sample>
    void appendBinary(std::span<const float> cells, std::vector<char>& out) const {
        const std::size_t start = out.size();
        out.resize(start + cells.size() * sizeof(Sample));
        char* target = out.data() + start;
        for (const float cell : cells) {
            // Int16 truncates toward zero; the range was checked before writing began.
            const auto value = static_cast<Sample>(sample(cell));
            std::memcpy(target, &value, sizeof value);
            target += sizeof value;
        }
    }

    void appendText(std::span<const float> cells, std::vector<char>& out) const {
        for (const float cell : cells) {
            const std::string text = support::fixedText(sample(cell), 2, -5);
            out.insert(out.end(), text.begin(), text.end());
            out.push_back(' ');
        }
    }

    MatrixEncoding m_encoding;
    double m_minimum;
    float m_sign;
    int m_missing;
};

support::Status writeSamples(const terrain::Terrain& terrain, MatrixEncoding encoding,
                             std::FILE* stream, const support::ProgressCallback& progress) {
    const SampleEncoder encoder(terrain.header, encoding);
    const int rows = terrain.grid.rows();
    std::vector<char> buffer;
    for (int row = 0; row < rows; ++row) {
        encoder.append(terrain.grid.row(row), buffer);
        if (buffer.size() >= (1u << 20) || row == rows - 1) {
            if (!writeAll(stream, buffer.data(), buffer.size())) {
                return Error{ErrorCode::CannotWriteFile, std::strerror(errno)};
            }
            buffer.clear();
        }
        if (row % progressRows == progressRows - 1 &&
            !support::reportProgress(progress, row + 1, rows)) {
            return Error{ErrorCode::OperationCancelled, "matrix save"};
        }
    }
    return support::success();
}

}  // namespace

int savedMissingFlag(const terrain::TerrainHeader& header) {
    return header.missingFlag == 0 ? -9999 : header.missingFlag;
}

support::Status checkMatrixEncoding(const terrain::TerrainHeader& header, MatrixEncoding encoding) {
    if (encoding != MatrixEncoding::Int16) {
        return support::success();
    }
    const double sign = header.dataType == terrain::DataType::Depth ? -1.0 : 1.0;
    if (!fitsSignedInteger(sign * header.minElevation) ||
        !fitsSignedInteger(sign * header.maxElevation) ||
        !fitsSignedInteger(savedMissingFlag(header))) {
        return Error{
            ErrorCode::ElevationsBeyondSignedInteger,
            std::to_string(header.minElevation) + " to " + std::to_string(header.maxElevation)};
    }
    return support::success();
}

importers::MatrixHeader savedMatrixHeader(const terrain::TerrainHeader& header,
                                          MatrixEncoding encoding,
                                          const std::filesystem::path& dataFile) {
    importers::MatrixHeader saved;
    saved.title = header.title.empty() ? dataFile.stem().string() : header.title;
    saved.encoding = encoding;
    saved.dataType = header.dataType;
    saved.projection = header.projection;
    saved.rows = header.rows;
    saved.columns = header.columns;
    saved.missingFlag = savedMissingFlag(header);
    saved.elevationUnit = header.elevationUnit;
    switch (header.projection) {
        case ProjectionKind::LatLon:
        case ProjectionKind::Sinusoidal: {
            const auto corners = geographicCorners(header);
            saved.left = corners.west;
            saved.lower = corners.south;
            saved.right = corners.east;
            saved.upper = corners.north;
            break;
        }
        case ProjectionKind::UTM:
            saved.zone = header.utmZone;
            saved.hemisphere = header.hemisphere;
            saved.zoneText = header.zoneText;
            saved.ellipsoid = header.ellipsoid;
            saved.left = header.westBound;
            saved.lower = header.southBound;
            saved.right = header.eastBound;
            saved.upper = header.northBound;
            break;
        case ProjectionKind::XY:
            // Rows are spaced by the row spacing, columns by the column spacing.
            saved.right = std::trunc((header.columns - 1) * static_cast<double>(header.spacingX) *
                                     header.metresPerUnitX);
            saved.upper = std::trunc((header.rows - 1) * static_cast<double>(header.spacingY) *
                                     header.metresPerUnitX);
            break;
    }
    return saved;
}

support::Status SaveTerrainMatrix(const terrain::Terrain& terrain, const ExportRequest& request,
                                  const support::ProgressCallback& progress) {
    const auto& header = terrain.header;
    if (auto usable = checkMatrixEncoding(header, request.matrixEncoding); !usable) {
        return usable;
    }
    auto headerPath = request.file;
    headerPath.replace_extension(".hdr");
    if (headerPath == request.file) {
        return Error{ErrorCode::CannotOpenFile, "the data file cannot be named .hdr"};
    }
    auto data = ReplacementFile::create(request.file, ErrorCode::CannotOpenFile);
    if (!data) {
        return data.error();
    }
    auto headerFile = ReplacementFile::create(headerPath, ErrorCode::CannotOpenFile);
    if (!headerFile) {
        return headerFile.error();
    }
    if (auto written = writeSamples(terrain, request.matrixEncoding, data->stream(), progress);
        !written) {
        return written;
    }
    const auto text = importers::WriteMatrixHeader(
        savedMatrixHeader(header, request.matrixEncoding, request.file),
        importers::MatrixElevationRange{header.minElevation, header.maxElevation},
        importers::MatrixHeaderLayout::Saved);
    if (!writeAll(headerFile->stream(), text.data(), text.size())) {
        return Error{ErrorCode::CannotWriteFile, headerPath.string()};
    }
    // Both files are complete before either replaces anything.
    if (auto finished = headerFile->finish(); !finished) {
        return finished;
    }
    if (auto committed = data->commit(); !committed) {
        return committed;
    }
    return headerFile->commit();
}

}  // namespace tavrok::exporters
