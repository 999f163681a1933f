#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "importers/GeoTiffDemImporter.h"
#include "importers/RawMatrixBuilder.h"
#include "importers/Registry.h"
#include "terrain/TerrainModel.h"

namespace tavrok::importers {
namespace {

using support::ErrorCode;

template <typename T>
std::string packed(const std::vector<T>& values) {
    return {reinterpret_cast<const char*>(values.data()), values.size() * sizeof(T)};
}

// A little-endian TIFF assembled by hand, so that hostile tag values can be written too.
class TiffBuilder {
  public:
    void shorts(std::uint16_t tag, const std::vector<std::uint16_t>& values) {
        put(tag, 3, values);
    }
    void longs(std::uint16_t tag, const std::vector<std::uint32_t>& values) { put(tag, 4, values); }
    void doubles(std::uint16_t tag, const std::vector<double>& values) { put(tag, 12, values); }
    void text(std::uint16_t tag, const std::string& value) {
        m_entries[tag] = {2, static_cast<std::uint32_t>(value.size() + 1), value + '\0'};
    }
    // Adds a block of data and returns its offset in the file.
    std::uint32_t data(const std::string& bytes) {
        const auto offset = static_cast<std::uint32_t>(8 + m_data.size());
        m_data += bytes;
        if (m_data.size() % 2) {
            m_data += '\0';
        }
        return offset;
    }
    // Geographic (model 2) or projected (model 1, with its code) georeference.
    void georeference(int model, int projectedCode, double originX, double originY, double pixelX,
                      double pixelY) {
        doubles(33550, {pixelX, pixelY, 0});
        doubles(33922, {0, 0, 0, originX, originY, 0});
        std::vector<std::uint16_t> keys{1,    1, 0, 2, 1024, 0, 1, std::uint16_t(model),
                                        1025, 0, 1, 1};
        if (projectedCode != 0) {
            keys[3] = 3;
            keys.insert(keys.end(), {3072, 0, 1, std::uint16_t(projectedCode)});
        }
        shorts(34735, keys);
    }
    std::string bytes() const {
        std::string file = "II";
        append16(file, 42);
        std::string blobs = m_data;
        const auto ifdOffset = [&] { return static_cast<std::uint32_t>(8 + blobs.size()); };
        std::string ifd;
        append16(ifd, static_cast<std::uint16_t>(m_entries.size()));
        std::vector<std::string> outOfLine;
        for (const auto& [tag, entry] : m_entries) {
            append16(ifd, tag);
            append16(ifd, entry.type);
            append32(ifd, entry.count);
            if (entry.bytes.size() <= 4) {
                std::string inline4 = entry.bytes;
                inline4.resize(4, '\0');
                ifd += inline4;
            } else {
                append32(ifd, 0);  // patched below
                outOfLine.push_back(entry.bytes);
            }
        }
        append32(ifd, 0);
        // Out-of-line values follow the directory.
        const std::uint32_t directoryAt = ifdOffset();
        std::uint32_t valueAt = directoryAt + static_cast<std::uint32_t>(ifd.size());
        std::size_t next = 0;
        std::size_t position = 2;
        for (const auto& [tag, entry] : m_entries) {
            if (entry.bytes.size() > 4) {
                std::memcpy(ifd.data() + position + 8, &valueAt, 4);
                valueAt += static_cast<std::uint32_t>(outOfLine[next++].size());
            }
            position += 12;
        }
        append32(file, directoryAt);
        file += blobs + ifd;
        for (const auto& value : outOfLine) {
            file += value;
        }
        return file;
    }

  private:
    template <typename T>
    void put(std::uint16_t tag, std::uint16_t type, const std::vector<T>& values) {
        m_entries[tag] = {type, static_cast<std::uint32_t>(values.size()), packed(values)};
    }
    struct Entry {
        std::uint16_t type;
        std::uint32_t count;
        std::string bytes;
    };
    static void append16(std::string& out, std::uint16_t v) {
        out.append(reinterpret_cast<char*>(&v), 2);
    }
    static void append32(std::string& out, std::uint32_t v) {
        out.append(reinterpret_cast<char*>(&v), 4);
    }
    std::map<std::uint16_t, Entry> m_entries;
    std::string m_data;
};

// A one-strip raster of the given sample type.
template <typename T>
TiffBuilder stripRaster(std::uint32_t width, std::uint32_t height, const std::vector<T>& samples,
                        std::uint16_t bits, std::uint16_t format) {
    TiffBuilder tiff;
    const auto offset = tiff.data(packed(samples));
    tiff.longs(256, {width});
    tiff.longs(257, {height});
    tiff.shorts(258, {bits});
    tiff.shorts(259, {1});
    tiff.shorts(262, {1});
    tiff.longs(273, {offset});
    tiff.shorts(277, {1});
    tiff.longs(278, {height});
    tiff.longs(279, {static_cast<std::uint32_t>(samples.size() * sizeof(T))});
    tiff.shorts(339, {format});
    return tiff;
}

class GeoTiffSyntheticTest : public test::TemporaryFolderTest {
  protected:
    support::Result<GeoTiffDemGrid> convert(const TiffBuilder& tiff) {
        const auto file = writeFile("dem.tif", tiff.bytes());
        return ConvertGeoTiffDem(file, temporaries(), RawMatrixDescription{});
    }
    support::Result<LoadedTerrain> load(const TiffBuilder& tiff, GeoTiffDemGrid* kept = nullptr) {
        auto grid = convert(tiff);
        if (!grid) {
            return grid.error();
        }
        auto loaded = BuildRawMatrix(grid->gridFile, grid->description, true, {});
        if (kept != nullptr) {
            *kept = std::move(grid).value();
        }
        return loaded;
    }
    std::filesystem::path temporaries() {
        std::filesystem::create_directories(path("tmp"));
        return path("tmp");
    }
    bool temporariesEmpty() { return std::filesystem::is_empty(temporaries()); }
};

TEST_F(GeoTiffSyntheticTest, UtmZone13NorthOnWgs84HasCornersAtPixelCentres) {
    std::vector<std::int16_t> samples{10, 11, 12, 13, 14, 15};
    auto tiff = stripRaster<std::int16_t>(3, 2, samples, 16, 1);
    tiff.georeference(1, 32613, 500000, 4400000, 30, 30);
    GeoTiffDemGrid grid;
    auto loaded = load(tiff, &grid);
    ASSERT_TRUE(loaded) << loaded.error().detail;
    EXPECT_EQ(grid.description.zoneText, "13N");
    EXPECT_EQ(grid.description.ellipsoidText, "WGS84");
    EXPECT_DOUBLE_EQ(grid.description.west, 500015);
    EXPECT_DOUBLE_EQ(grid.description.east, 500075);
    EXPECT_DOUBLE_EQ(grid.description.north, 4399985);
    EXPECT_DOUBLE_EQ(grid.description.south, 4399955);
    EXPECT_EQ(loaded->header.zoneText, "13N");
    EXPECT_EQ(loaded->grid.at(0, 1), 0.0f);  // first file row is the north edge
    EXPECT_EQ(loaded->grid.at(2, 0), 5.0f);
    EXPECT_TRUE(temporariesEmpty());
}

TEST_F(GeoTiffSyntheticTest, SouthernHemisphereAndNad27CodesChooseEllipsoidAndHemisphere) {
    struct Case {
        int code;
        const char* zone;
        const char* ellipsoid;
    };
    const Case cases[] = {{32733, "33S", "WGS84"},
                          {26711, "11N", "NAD27"},
                          {26910, "10N", "NAD83"},
                          {32305, "5S", "WGS72"}};
    for (const auto& c : cases) {
        auto tiff = stripRaster<std::int16_t>(2, 2, {1, 2, 3, 4}, 16, 1);
        tiff.georeference(1, c.code, 400000, 7000000, 10, 10);
        auto grid = convert(tiff);
        ASSERT_TRUE(grid) << c.code << " " << grid.error().detail;
        EXPECT_EQ(grid->description.zoneText, c.zone);
        EXPECT_EQ(grid->description.ellipsoidText, c.ellipsoid);
        std::filesystem::remove(grid->gridFile);
    }
}

TEST_F(GeoTiffSyntheticTest, BottomUpGeographicRasterKeepsItsSouthernRowFirst) {
    std::vector<float> samples{1, 2, 3, 4, 5, 6};  // first stored row is the south edge
    auto tiff = stripRaster<float>(3, 2, samples, 32, 3);
    tiff.shorts(274, {4});
    const double second = 1.0 / 3600;
    tiff.georeference(2, 0, -105.0, 40.0, second, second);
    GeoTiffDemGrid grid;
    auto loaded = load(tiff, &grid);
    ASSERT_TRUE(loaded) << loaded.error().detail;
    EXPECT_EQ(grid.description.rowOrder, RawRowOrder::SouthToNorth);
    EXPECT_NEAR(grid.description.west, -105.0 + second / 2, 1e-12);
    EXPECT_NEAR(grid.description.north, 40.0 - second / 2, 1e-12);
    EXPECT_NEAR(loaded->header.spacingX, 1.0, 1e-3);  // one arc-second
    EXPECT_EQ(loaded->grid.at(0, 0), 0.0f);
    EXPECT_EQ(loaded->grid.at(2, 1), 5.0f);
}

TEST_F(GeoTiffSyntheticTest, TiledRasterDropsThePaddingOfEdgeTiles) {
    // 20 x 3 image in 16 x 16 tiles: two tiles, the second mostly padding.
    TiffBuilder tiff;
    std::vector<float> left(256, 999), right(256, 999);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 20; ++c) {
            (c < 16 ? left[r * 16 + c] : right[r * 16 + c - 16]) = static_cast<float>(r * 100 + c);
        }
    }
    const auto first = tiff.data(packed(left));
    const auto second = tiff.data(packed(right));
    tiff.longs(256, {20});
    tiff.longs(257, {3});
    tiff.shorts(258, {32});
    tiff.shorts(259, {1});
    tiff.shorts(262, {1});
    tiff.shorts(277, {1});
    tiff.longs(322, {16});
    tiff.longs(323, {16});
    tiff.longs(324, {first, second});
    tiff.longs(325, {1024, 1024});
    tiff.shorts(339, {3});
    tiff.georeference(2, 0, 10.0, 50.0, 0.5, 0.5);
    auto loaded = load(tiff);
    ASSERT_TRUE(loaded) << loaded.error().detail;
    ASSERT_EQ(loaded->grid.columns(), 20);
    ASSERT_EQ(loaded->grid.rows(), 3);
    EXPECT_EQ(loaded->header.maxElevation, 219.0);
    EXPECT_EQ(loaded->grid.at(19, 0), 219.0f);  // last stored row is the south edge
    EXPECT_EQ(loaded->grid.at(17, 2), 17.0f);
}

TEST_F(GeoTiffSyntheticTest, GdalNoDataTagMarksMissingSamples) {
    auto tiff = stripRaster<std::int16_t>(2, 2, {32767, 100, 200, 32767}, 16, 2);
    tiff.georeference(2, 0, 0.0, 1.0, 0.5, 0.5);
    tiff.text(42113, "32767");
    auto loaded = load(tiff);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->header.maxElevation, 200.0);
    EXPECT_EQ(loaded->grid.at(0, 1), terrain::missingCell);
    EXPECT_EQ(loaded->grid.at(1, 0), terrain::missingCell);
}

TEST_F(GeoTiffSyntheticTest, HostileOrUnsupportedRastersAreRefusedWithoutGrid) {
    struct Case {
        const char* what;
        TiffBuilder tiff;
        ErrorCode code;
    };
    // A raster of 2 x 2 samples placed on the globe, with its tags then changed.
    const auto placed = [](TiffBuilder tiff, auto change) {
        tiff.georeference(2, 0, 0, 1, 0.5, 0.5);
        change(tiff);
        return tiff;
    };
    const auto int16 = stripRaster<std::int16_t>(2, 2, {1, 2, 3, 4}, 16, 2);
    const auto unchanged = [](TiffBuilder&) {};
    TiffBuilder bigTiles;
    const auto at = bigTiles.data(std::string(64, '\0'));
    bigTiles.longs(256, {4});
    bigTiles.longs(257, {4});
    bigTiles.shorts(258, {16});
    bigTiles.shorts(277, {1});
    bigTiles.longs(322, {1u << 20});
    bigTiles.longs(323, {1u << 20});
    bigTiles.longs(324, {at});
    bigTiles.longs(325, {64});
    const Case cases[] = {
        {"huge dimensions",
         placed(int16,
                [](TiffBuilder& t) {
                    t.longs(256, {100000u});
                    t.longs(257, {100000u});
                }),
         ErrorCode::NotEnoughMemory},
        {"8-bit", placed(stripRaster<std::uint8_t>(2, 2, {1, 2, 3, 4}, 8, 1), unchanged),
         ErrorCode::NotAGeoTiffDem},
        {"64-bit", placed(stripRaster<double>(2, 2, {1, 2, 3, 4}, 64, 3), unchanged),
         ErrorCode::NotAGeoTiffDem},
        {"tile far larger than the image", placed(bigTiles, unchanged), ErrorCode::NotEnoughMemory},
        {"strips shorter than the image",
         placed(int16, [](TiffBuilder& t) { t.longs(257, {400}); }), ErrorCode::FileError},
        {"no georeference", int16, ErrorCode::FileError},
    };
    for (const auto& c : cases) {
        auto grid = convert(c.tiff);
        ASSERT_FALSE(grid) << c.what;
        EXPECT_EQ(grid.error().code, c.code) << c.what << ": " << grid.error().detail;
        EXPECT_TRUE(temporariesEmpty()) << c.what;
    }
    const auto notTiff = writeFile("plain.tif", "GIF89a....");
    auto refused = ConvertGeoTiffDem(notTiff, temporaries(), RawMatrixDescription{});
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().code, ErrorCode::GeoTiffFileError);
}

// Through the registry as the shell goes: the GeoTIFF's grid handed to the raw builder, whose
// terrain the shared checks then refuse.
TEST_F(GeoTiffSyntheticTest, GeographicRastersThatPlaceNothingAreRefusedOnceBuilt) {
    struct Case {
        double pixelX, pixelY;
        const char* shown;
    };
    const Case cases[] = {
        {1.0, 1e-300, "Improper Georeferencing: y spacing 0 is not a positive distance"},
        {380.0, 1.0, "Improper Georeferencing: longitude 980 lies outside -360 to 360"},
    };
    for (const auto& c : cases) {
        auto tiff = stripRaster<float>(3, 2, {1, 2, 3, 4, 5, 6}, 32, 3);
        tiff.georeference(2, 0, 30.0, 0.0, c.pixelX, c.pixelY);
        ImportRequest request;
        request.files = {writeFile("odd.tif", tiff.bytes())};
        request.temporaryDirectory = temporaries();
        const auto converted = importerFor("geotiff")->load(request, {});
        ASSERT_TRUE(converted.fallback && converted.fallback->preset)
            << c.shown << ": " << converted.terrain.error().shownText();
        request.files = {converted.fallback->file};
        request.rawDescription = *converted.fallback->preset;
        request.temporaryInput = true;
        const auto built = importerFor("raw")->load(request, {});
        ASSERT_FALSE(built.terrain) << c.shown;
        EXPECT_EQ(built.terrain.error().shownText(), c.shown);
        EXPECT_TRUE(temporariesEmpty()) << c.shown;
    }
}

}  // namespace
}  // namespace tavrok::importers
