// Writes a synthetic LAS 1.2 point format 1 file: points spread at random over a rectangle on
// a gently rolling surface, every third one ground (class 2). With a third argument it also
// writes the points as "x,y,z" lines for other programs.
//   make_cloud OUT.las POINTS WIDTH HEIGHT [OUT.csv]
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr double scale = 0.01;
constexpr double originX = 500000;
constexpr double originY = 4000000;
constexpr std::size_t recordLength = 28;

template <typename T>
void put(std::vector<unsigned char>& bytes, std::size_t at, T value) {
    std::memcpy(bytes.data() + at, &value, sizeof(T));
}

double surface(double x, double y) {
    return 300 + 40 * std::sin(x / 310) + 25 * std::cos(y / 190) + 0.002 * x;
}

std::vector<unsigned char> header(std::uint32_t points, double width, double height) {
    std::vector<unsigned char> bytes(227, 0);
    std::memcpy(bytes.data(), "LASF", 4);
    bytes[24] = 1;
    bytes[25] = 2;
    put<std::uint16_t>(bytes, 94, 227);
    put<std::uint32_t>(bytes, 96, 227);
    bytes[104] = 1;
    put<std::uint16_t>(bytes, 105, recordLength);
    put<std::uint32_t>(bytes, 107, points);
    const double extents[] = {originX + width, originX, originY + height, originY, 400, 200};
    for (int axis = 0; axis < 3; ++axis) {
        put<double>(bytes, 131 + axis * 8, scale);
        put<double>(bytes, 155 + axis * 8, 0.0);
    }
    for (int index = 0; index < 6; ++index) {
        put<double>(bytes, 179 + index * 8, extents[index]);
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: make_cloud OUT.las POINTS WIDTH HEIGHT [OUT.csv]\n");
        return 2;
    }
    const auto points = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10));
    const double width = std::atof(argv[3]);
    const double height = std::atof(argv[4]);
    std::FILE* out = std::fopen(argv[1], "wb");
    std::FILE* csv = argc > 5 ? std::fopen(argv[5], "w") : nullptr;
    if (out == nullptr || (argc > 5 && csv == nullptr)) {
        std::perror("make_cloud");
        return 1;
    }
    const auto head = header(points, width, height);
    std::fwrite(head.data(), 1, head.size(), out);
    if (csv != nullptr) {
        std::fputs("x,y,z\n", csv);
    }
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> along(0, 1);
    std::vector<unsigned char> record(recordLength, 0);
    for (std::uint32_t n = 0; n < points; ++n) {
        const double x = originX + along(random) * width;
        const double y = originY + along(random) * height;
        const double z = surface(x - originX, y - originY);
        const auto xi = static_cast<std::int32_t>(std::lround(x / scale));
        const auto yi = static_cast<std::int32_t>(std::lround(y / scale));
        const auto zi = static_cast<std::int32_t>(std::lround(z / scale));
        put(record, 0, xi);
        put(record, 4, yi);
        put(record, 8, zi);
        record[14] = 0x09;
        record[15] = n % 3 == 0 ? 2 : 1;
        std::fwrite(record.data(), 1, record.size(), out);
        if (csv != nullptr) {
            std::fprintf(csv, "%.2f,%.2f,%.2f\n", xi * scale, yi * scale, zi * scale);
        }
    }
    std::fclose(out);
    if (csv != nullptr) {
        std::fclose(csv);
    }
    return 0;
}
