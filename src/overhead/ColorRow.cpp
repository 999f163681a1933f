#include "overhead/ColorRow.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define TAVROK_HAVE_AVX2_PATH 1
#endif

namespace tavrok::overhead {

namespace {

void colorRowScalar(const float* cells, const int* columns, const float* shades, int first,
                    int width, float minimum, const colour::ColorScale& scale,
                    const colour::ScaleSettings& settings, std::uint8_t* out) {
    for (int x = first; x < width; ++x) {
        const float elevation = (columns != nullptr ? cells[columns[x]] : cells[x]) + minimum;
        const auto colour = colour::colorForElevation(scale, settings, elevation,
                                                      shades != nullptr ? shades[x] : 1.0f);
        out[3 * x] = colour.color.red;
        out[3 * x + 1] = colour.color.green;
        out[3 * x + 2] = colour.color.blue;
    }
}

#ifdef TAVROK_HAVE_AVX2_PATH

// The terrain colours as float tables indexed by the band k = 0..14 of the scale: the colour
// where the band starts and the step to the next one, each channel split into entries 0..7
// and 8..15 for two eight-way permutes.
struct BandTables {
    __m256 start[3][2];
    __m256 step[3][2];
};

__attribute__((target("avx2"))) BandTables bandTablesOf(const colour::ColorScale& scale) {
    alignas(32) float start[3][16] = {};
    alignas(32) float step[3][16] = {};
    for (int k = 0; k < 15; ++k) {
        const support::Rgb& from = scale.entries[k];
        const support::Rgb& to = scale.entries[k + 1];
        const std::uint8_t fromChannels[3] = {from.red, from.green, from.blue};
        const std::uint8_t toChannels[3] = {to.red, to.green, to.blue};
        for (int c = 0; c < 3; ++c) {
            start[c][k] = static_cast<float>(fromChannels[c]);
            step[c][k] = static_cast<float>(toChannels[c]) - static_cast<float>(fromChannels[c]);
        }
    }
    BandTables tables;
    for (int c = 0; c < 3; ++c) {
        for (int half = 0; half < 2; ++half) {
            tables.start[c][half] = _mm256_load_ps(&start[c][8 * half]);
            tables.step[c][half] = _mm256_load_ps(&step[c][8 * half]);
        }
    }
    return tables;
}

__attribute__((target("avx2"))) inline __m256 lookUp(const __m256 (&table)[2], __m256i band,
                                                     __m256 upperHalf) {
    return _mm256_blendv_ps(_mm256_permutevar8x32_ps(table[0], band),
                            _mm256_permutevar8x32_ps(table[1], band), upperHalf);
}

// Eight pixels at a time; returns the first pixel left for the scalar loop. Each 128-bit half
// is stored as 16 bytes of which 12 are pixels, so a block is only taken while two more
// pixels follow it in the row.
__attribute__((target("avx2"))) int colorRowAvx2(const float* cells, const int* columns,
                                                 const float* shades, int width, float minimum,
                                                 const colour::ColorScale& scale,
                                                 const colour::ScaleSettings& settings,
                                                 std::uint8_t* out) {
    const BandTables tables = bandTablesOf(scale);
    const auto lo = static_cast<float>(settings.scaleMinimum);
    const auto hi = static_cast<float>(settings.scaleMaximum);
    const bool spread = hi > lo;
    const bool oceanPossible = settings.terrainType != colour::TerrainType::MountainPlain;
    const __m256 minimumV = _mm256_set1_ps(minimum);
    const __m256 loV = _mm256_set1_ps(lo);
    const __m256 rangeV = _mm256_set1_ps(hi - lo);
    const __m256 zero = _mm256_setzero_ps();
    const __m256 fourteen = _mm256_set1_ps(14.0f);
    const __m256 one = _mm256_set1_ps(1.0f);
    const __m256 seaV = _mm256_set1_ps(static_cast<float>(settings.seaLevel));
    const support::Rgb& ocean = scale.entries[colour::oceanEntry];
    const __m256i oceanPixel =
        _mm256_set1_epi32(ocean.red | (ocean.green << 8) | (ocean.blue << 16));
    const __m256i seven = _mm256_set1_epi32(7);
    const __m256i packRgb =
        _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0, 1, 2, 4, 5, 6,
                         8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int x = 0;
    for (; x + 10 <= width; x += 8) {
        __m256 elevation =
            columns != nullptr
                ? _mm256_i32gather_ps(
                      cells, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns + x)), 4)
                : _mm256_loadu_ps(cells + x);
        elevation = _mm256_add_ps(elevation, minimumV);
        __m256 f =
            spread ? _mm256_div_ps(_mm256_mul_ps(_mm256_sub_ps(elevation, loV), fourteen), rangeV)
                   : zero;
        f = _mm256_min_ps(_mm256_max_ps(f, zero), fourteen);
        const __m256i band = _mm256_cvttps_epi32(f);
        const __m256 t = _mm256_sub_ps(f, _mm256_cvtepi32_ps(band));
        const __m256 upperHalf = _mm256_castsi256_ps(_mm256_cmpgt_epi32(band, seven));
        const __m256 shade = shades != nullptr ? _mm256_loadu_ps(shades + x) : one;
        __m256i pixel = _mm256_setzero_si256();
        for (int c = 0; c < 3; ++c) {
            const __m256 start = lookUp(tables.start[c], band, upperHalf);
            const __m256 step = lookUp(tables.step[c], band, upperHalf);
            const __m256 value = _mm256_mul_ps(_mm256_add_ps(start, _mm256_mul_ps(step, t)), shade);
            pixel = _mm256_or_si256(
                pixel,
                _mm256_slli_epi32(
                    _mm256_and_si256(_mm256_cvttps_epi32(value), _mm256_set1_epi32(0xff)), 8 * c));
        }
        if (oceanPossible) {
            const __m256 isOcean = _mm256_cmp_ps(elevation, seaV, _CMP_LE_OQ);
            pixel = _mm256_castps_si256(_mm256_blendv_ps(_mm256_castsi256_ps(pixel),
                                                         _mm256_castsi256_ps(oceanPixel), isOcean));
        }
        const __m256i packed = _mm256_shuffle_epi8(pixel, packRgb);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x), _mm256_castsi256_si128(packed));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x + 12),
                         _mm256_extracti128_si256(packed, 1));
    }
    return x;
}

bool processorHasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

#endif

}  // namespace

void colorRow(const float* cells, const int* columns, const float* shades, int width, float minimum,
              const colour::ColorScale& scale, const colour::ScaleSettings& settings,
              std::uint8_t* out) {
    int first = 0;
#ifdef TAVROK_HAVE_AVX2_PATH
    if (processorHasAvx2()) {
        first = colorRowAvx2(cells, columns, shades, width, minimum, scale, settings, out);
    }
#endif
    colorRowScalar(cells, columns, shades, first, width, minimum, scale, settings, out);
}

}  // namespace tavrok::overhead
