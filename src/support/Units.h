#pragma once

namespace tavrok::support {

// Unit constants with the values the program has always used; changing one moves pixels and
// stored numbers, so they are kept as they are rather than "improved".

// Degrees per radian in drawing, shading and the scene.
inline constexpr double degreesPerRadian = 57.29578;
// π in the geodesy's degree wrappers.
inline constexpr double geodesyPi = 3.14159265;
inline constexpr double metresPerFoot = 0.3048;
inline constexpr double feetPerMetre = 1.0 / metresPerFoot;
inline constexpr double metresPerMile = 1609.344;
inline constexpr double arcSecondsPerDegree = 3600.0;

}  // namespace tavrok::support
