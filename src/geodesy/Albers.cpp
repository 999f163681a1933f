#include "geodesy/Albers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tavrok::geodesy {

namespace {

constexpr double pi = std::numbers::pi;
constexpr double twoPi = 2.0 * std::numbers::pi;
constexpr double halfPi = std::numbers::pi / 2.0;
// Below this eccentricity the ellipsoid is a sphere and q = 2 sin(latitude).
constexpr double sphericalEccentricity = 1.0e-10;
// Standard parallels closer than this are one parallel (a tangent cone).
constexpr double sameParallel = 1.0e-10;
// The latitude iteration stops once a step is below 0.0001 arc second.
constexpr double latitudeTolerance = 4.85e-10;
// q this close to its polar value means the pole itself.
constexpr double polarQTolerance = 1.0e-6;
// A guard against a hang on input the iteration cannot resolve; convergence takes a handful.
constexpr int latitudeIterationGuard = 1000;

// Authalic quantity q of a latitude given by its sine.
double authalicQ(double sinLatitude, double e, double es) {
    if (e < sphericalEccentricity) {
        return 2.0 * sinLatitude;
    }
    const double esSin = e * sinLatitude;
    return (1.0 - es) * (sinLatitude / (1.0 - esSin * esSin) -
                         1.0 / (2.0 * e) * std::log((1.0 - esSin) / (1.0 + esSin)));
}

// cos(latitude) / sqrt(1 - e² sin²(latitude)).
double parallelRadiusFactor(double latitudeRadians, double es) {
    const double sinLatitude = std::sin(latitudeRadians);
    return std::cos(latitudeRadians) / std::sqrt(1.0 - es * sinLatitude * sinLatitude);
}

double wrapLongitude(double longitudeRadians) {
    longitudeRadians = std::remainder(longitudeRadians, twoPi);
    if (longitudeRadians > pi) {
        longitudeRadians -= twoPi;
    }
    if (longitudeRadians < -pi) {
        longitudeRadians += twoPi;
    }
    return longitudeRadians;
}

}  // namespace

int Albers::setAlbersParameters(double a, double b, double originLatitudeRadians,
                                double centralMeridianRadians, double standardParallel1Radians,
                                double standardParallel2Radians, double falseEasting,
                                double falseNorthing) {
    int flags = 0;
    if (!(a > 0)) {
        flags |= albersflags::SemiMajorAxis;
    }
    if (!(b > 0)) {
        flags |= albersflags::SemiMinorAxis;
    }
    if (a < b) {
        flags |= albersflags::AxisOrder;
    }
    if (!(originLatitudeRadians >= -halfPi && originLatitudeRadians <= halfPi)) {
        flags |= albersflags::OriginLatitudeRange;
    }
    if (!(centralMeridianRadians >= -pi && centralMeridianRadians <= twoPi)) {
        flags |= albersflags::CentralMeridianRange;
    }
    if (!(standardParallel1Radians >= -halfPi && standardParallel1Radians <= halfPi)) {
        flags |= albersflags::FirstParallelRange;
    }
    if (!(standardParallel2Radians >= -halfPi && standardParallel2Radians <= halfPi)) {
        flags |= albersflags::SecondParallelRange;
    }
    if (standardParallel1Radians == 0 && standardParallel2Radians == 0) {
        flags |= albersflags::BothParallelsZero;
    }
    // Parallels symmetric about the equator give a cylinder, not a cone.
    if (standardParallel2Radians == -standardParallel1Radians) {
        flags |= albersflags::ParallelsOpposite;
    }
    if (flags != 0) {
        return flags;
    }

    const double es = (a * a - b * b) / (a * a);
    const double e = std::sqrt(es);
    const double m1 = parallelRadiusFactor(standardParallel1Radians, es);
    const double q1 = authalicQ(std::sin(standardParallel1Radians), e, es);
    double n = 0;
    if (std::fabs(standardParallel1Radians - standardParallel2Radians) > sameParallel) {
        const double m2 = parallelRadiusFactor(standardParallel2Radians, es);
        const double q2 = authalicQ(std::sin(standardParallel2Radians), e, es);
        n = (m1 * m1 - m2 * m2) / (q2 - q1);
    } else {
        n = std::sin(standardParallel1Radians);
    }
    const double c = m1 * m1 + n * q1;
    const double q0 = authalicQ(std::sin(originLatitudeRadians), e, es);

    m_a = a;
    m_es = es;
    m_e = e;
    m_oneMinusEs = 1.0 - es;
    m_centralMeridian =
        centralMeridianRadians > pi ? centralMeridianRadians - twoPi : centralMeridianRadians;
    m_falseEasting = falseEasting;
    m_falseNorthing = falseNorthing;
    m_n = n;
    m_c = c;
    m_aOverN = a / n;
    m_rho0 = m_aOverN * std::sqrt(std::max(0.0, c - n * q0));

    // The whole ellipsoid maps inside the circle around the apex that reaches the farther
    // pole; the inverse accepts that circle's bounding box.
    const double qPole = authalicQ(1.0, e, es);
    const double rhoNorthPole = std::fabs(m_aOverN * std::sqrt(std::max(0.0, c - n * qPole)));
    const double rhoSouthPole = std::fabs(m_aOverN * std::sqrt(std::max(0.0, c + n * qPole)));
    const double rhoMaximum = std::max(rhoNorthPole, rhoSouthPole);
    m_eastingExtent = rhoMaximum;
    m_northingExtent = std::fabs(m_rho0) + rhoMaximum;
    return 0;
}

ProjectedPoint Albers::geodeticToAlbers(double latitudeRadians, double longitudeRadians) const {
    ProjectedPoint result;
    if (!(latitudeRadians >= -halfPi && latitudeRadians <= halfPi)) {
        result.flags |= albersflags::LatitudeRange;
    }
    if (!(longitudeRadians >= -pi && longitudeRadians <= twoPi)) {
        result.flags |= albersflags::LongitudeRange;
    }
    if (result.flags != 0) {
        return result;
    }
    const double deltaLongitudeRadians = wrapLongitude(longitudeRadians - m_centralMeridian);
    const double theta = m_n * deltaLongitudeRadians;
    const double q = authalicQ(std::sin(latitudeRadians), m_e, m_es);
    const double rho = m_aOverN * std::sqrt(std::max(0.0, m_c - m_n * q));
    result.easting = m_falseEasting + rho * std::sin(theta);
    result.northing = m_falseNorthing + m_rho0 - rho * std::cos(theta);
    return result;
}

GeodeticRadians Albers::albersToGeodetic(double easting, double northing) const {
    GeodeticRadians result;
    if (!(easting >= m_falseEasting - m_eastingExtent &&
          easting <= m_falseEasting + m_eastingExtent)) {
        result.flags |= albersflags::EastingRange;
    }
    if (!(northing >= m_falseNorthing - m_northingExtent &&
          northing <= m_falseNorthing + m_northingExtent)) {
        result.flags |= albersflags::NorthingRange;
    }
    if (result.flags != 0) {
        return result;
    }

    double dx = easting - m_falseEasting;
    double dy = m_rho0 - (northing - m_falseNorthing);
    double rho = std::hypot(dx, dy);
    if (m_n < 0) {
        rho = -rho;
        dx = -dx;
        dy = -dy;
    }
    const double theta = std::atan2(dx, dy);
    const double rhoN = rho * m_n / m_a;
    const double q = (m_c - rhoN * rhoN) / m_n;

    double latitudeRadians = 0;
    if (m_e < sphericalEccentricity) {
        latitudeRadians = std::asin(std::clamp(q / 2.0, -1.0, 1.0));
    } else {
        const double qPole = 1.0 - m_oneMinusEs / (2.0 * m_e) * std::log((1.0 - m_e) / (1.0 + m_e));
        if (std::fabs(std::fabs(qPole) - std::fabs(q)) <= polarQTolerance) {
            latitudeRadians = q < 0 ? -halfPi : halfPi;
        } else {
            latitudeRadians = std::asin(std::clamp(q / 2.0, -1.0, 1.0));
            for (int i = 0; i < latitudeIterationGuard; ++i) {
                const double sinLatitude = std::sin(latitudeRadians);
                const double esSin = m_e * sinLatitude;
                const double oneMinusEsSin2 = 1.0 - esSin * esSin;
                const double step = oneMinusEsSin2 * oneMinusEsSin2 /
                                    (2.0 * std::cos(latitudeRadians)) *
                                    (q / m_oneMinusEs - sinLatitude / oneMinusEsSin2 +
                                     1.0 / (2.0 * m_e) * std::log((1.0 - esSin) / (1.0 + esSin)));
                latitudeRadians += step;
                if (!(std::fabs(step) > latitudeTolerance)) {
                    break;
                }
            }
        }
    }
    result.latitudeRadians = std::clamp(latitudeRadians, -halfPi, halfPi);
    result.longitudeRadians = wrapLongitude(m_centralMeridian + theta / m_n);
    return result;
}

}  // namespace tavrok::geodesy
