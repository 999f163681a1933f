#pragma once
#include <limits>
#include <numbers>

namespace tavrok::geodesy {

inline constexpr double pi = std::numbers::pi;
inline constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// Degrees to radians with the full double pi; multiplying before dividing reproduces the
// exact radian limits of the UTM grid (-80.5 and 84.5 degrees).
inline double radians(double degrees) {
    return degrees * pi / 180.0;
}

}  // namespace tavrok::geodesy
