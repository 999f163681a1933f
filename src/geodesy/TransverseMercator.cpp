#include "geodesy/TransverseMercator.h"

#include <cmath>
#include <numbers>

namespace tavrok::geodesy {

namespace {

constexpr double pi = std::numbers::pi;
constexpr double twoPi = 2.0 * std::numbers::pi;
constexpr double halfPi = std::numbers::pi / 2.0;
constexpr double nineDegrees = 0.15707963267948966;
// Longitude offsets below this are treated as exactly on the central meridian.
constexpr double negligibleLongitude = 2.0e-10;
// Easting offsets below this (metres) are treated as exactly on the central meridian.
constexpr double negligibleEasting = 0.0001;
constexpr int footpointIterations = 5;

}  // namespace

int TransverseMercator::setTransverseMercatorParameters(double a, double b,
                                                        double originLatitudeRadians,
                                                        double centralMeridianRadians,
                                                        double falseEasting, double falseNorthing,
                                                        double scaleFactor) {
    int flags = 0;
    if (!(a > 0)) {
        flags |= tmflags::SemiMajorAxis;
    }
    if (!(b > 0)) {
        flags |= tmflags::SemiMinorAxis;
    }
    if (a < b) {
        flags |= tmflags::AxisOrder;
    }
    if (!(originLatitudeRadians >= -halfPi && originLatitudeRadians <= halfPi)) {
        flags |= tmflags::OriginLatitudeRange;
    }
    if (!(centralMeridianRadians >= -pi && centralMeridianRadians <= twoPi)) {
        flags |= tmflags::CentralMeridianRange;
    }
    if (!(scaleFactor >= 0.3 && scaleFactor <= 3.0)) {
        flags |= tmflags::ScaleFactor;
    }
    if (flags != 0) {
        return flags;
    }

    m_a = a;
    m_b = b;
    m_es = (a * a - b * b) / (a * a);
    m_ebs = (a * a - b * b) / (b * b);
    const double n = (a - b) / (a + b);
    const double n2 = n * n;
    const double n3 = n2 * n;
    const double n4 = n3 * n;
    const double n5 = n4 * n;
    m_ap = a * (1.0 - n + 5.0 / 4.0 * (n2 - n3) + 81.0 / 64.0 * (n4 - n5));
    m_bp = 3.0 / 2.0 * a * (n - n2 + 7.0 / 8.0 * (n3 - n4) + 55.0 / 64.0 * n5);
    m_cp = 15.0 / 16.0 * a * (n2 - n3 + 3.0 / 4.0 * (n4 - n5));
    m_dp = 35.0 / 48.0 * a * (n3 - n4 + 11.0 / 16.0 * n5);
    m_ep = 315.0 / 512.0 * a * (n4 - n5);
    m_originLatitude = originLatitudeRadians;
    m_centralMeridian =
        centralMeridianRadians > pi ? centralMeridianRadians - twoPi : centralMeridianRadians;
    m_falseEasting = falseEasting;
    m_falseNorthing = falseNorthing;
    m_scaleFactor = scaleFactor;

    // The inverse accepts what the forward projection can produce: up to the poles and up
    // to a quarter turn from the central meridian. With an origin latitude off the equator
    // the two poles lie at different distances, and the farther one bounds both.
    const double north = seriesOffsets(halfPi, halfPi).northing;
    const double south = seriesOffsets(-halfPi, halfPi).northing;
    m_northingExtent = std::fmax(std::fabs(north), std::fabs(south));
    m_eastingExtent = std::fabs(seriesOffsets(0.0, halfPi).easting);
    return 0;
}

double TransverseMercator::meridianDistance(double latitudeRadians) const {
    return m_ap * latitudeRadians - m_bp * std::sin(2.0 * latitudeRadians) +
           m_cp * std::sin(4.0 * latitudeRadians) - m_dp * std::sin(6.0 * latitudeRadians) +
           m_ep * std::sin(8.0 * latitudeRadians);
}

double TransverseMercator::footpointRadius(double latitudeRadians) const {
    const double sinLatitude = std::sin(latitudeRadians);
    const double denominator = 1.0 - m_es * sinLatitude * sinLatitude;
    return m_a * (1.0 - m_es) / (denominator * std::sqrt(denominator));
}

ProjectedPoint TransverseMercator::seriesOffsets(double latitudeRadians,
                                                 double deltaLongitudeRadians) const {
    const double s = std::sin(latitudeRadians);
    const double c = std::cos(latitudeRadians);
    const double t = std::tan(latitudeRadians);
    const double c2 = c * c;
    const double c3 = c2 * c;
    const double c5 = c3 * c2;
    const double c7 = c5 * c2;
    const double t2 = t * t;
    const double t4 = t2 * t2;
    const double t6 = t4 * t2;
    const double eta = m_ebs * c2;
    const double eta2 = eta * eta;
    const double eta3 = eta2 * eta;
    const double eta4 = eta3 * eta;
    const double radius = m_a / std::sqrt(1.0 - m_es * s * s);
    const double k0 = m_scaleFactor;

    const double term2 = radius * s * c * k0 / 2.0;
    const double term3 = radius * s * c3 * k0 * (5.0 - t2 + 9.0 * eta + 4.0 * eta2) / 24.0;
    const double term4 =
        radius * s * c5 * k0 *
        (61.0 - 58.0 * t2 + t4 + 270.0 * eta - 330.0 * t2 * eta + 445.0 * eta2 + 324.0 * eta3 -
         680.0 * t2 * eta2 + 88.0 * eta4 - 600.0 * t2 * eta3 - 192.0 * t2 * eta4) /
        720.0;
    const double term5 = radius * s * c7 * k0 * (1385.0 - 3111.0 * t2 + 543.0 * t4 - t6) / 40320.0;
    const double term6 = radius * c * k0;
    const double term7 = radius * c3 * k0 * (1.0 - t2 + eta) / 6.0;
    const double term8 = radius * c5 * k0 *
                         (5.0 - 18.0 * t2 + t4 + 14.0 * eta - 58.0 * t2 * eta + 13.0 * eta2 +
                          4.0 * eta3 - 64.0 * t2 * eta2 - 24.0 * t2 * eta3) /
                         120.0;
    const double term9 = radius * c7 * k0 * (61.0 - 479.0 * t2 + 179.0 * t4 - t6) / 5040.0;

    const double dl = deltaLongitudeRadians;
    const double dl2 = dl * dl;
    const double dl3 = dl2 * dl;
    const double dl4 = dl3 * dl;
    const double dl5 = dl4 * dl;
    const double dl6 = dl5 * dl;
    const double dl7 = dl6 * dl;
    const double dl8 = dl7 * dl;

    ProjectedPoint offsets;
    offsets.northing =
        k0 * (meridianDistance(latitudeRadians) - meridianDistance(m_originLatitude)) +
        dl2 * term2 + dl4 * term3 + dl6 * term4 + dl8 * term5;
    offsets.easting = dl * term6 + dl3 * term7 + dl5 * term8 + dl7 * term9;
    return offsets;
}

ProjectedPoint TransverseMercator::forward(double latitudeRadians, double longitudeRadians,
                                           double centralMeridianRadians,
                                           double falseNorthing) const {
    ProjectedPoint result;
    if (!(std::fabs(latitudeRadians) <= halfPi)) {
        result.flags |= tmflags::LatitudeRange;
    }
    if (longitudeRadians > pi) {
        longitudeRadians -= twoPi;
    }
    if (!(longitudeRadians >= centralMeridianRadians - halfPi &&
          longitudeRadians <= centralMeridianRadians + halfPi)) {
        // A central meridian near the antimeridian: compare again with both in 0..2pi.
        const double wrappedLongitude =
            longitudeRadians < 0 ? longitudeRadians + twoPi : longitudeRadians;
        const double wrappedMeridian =
            centralMeridianRadians < 0 ? centralMeridianRadians + twoPi : centralMeridianRadians;
        if (!(wrappedLongitude >= wrappedMeridian - halfPi &&
              wrappedLongitude <= wrappedMeridian + halfPi)) {
            result.flags |= tmflags::LongitudeRange;
        }
    }
    if (result.flags != 0) {
        return result;
    }

    double deltaLongitudeRadians = longitudeRadians - centralMeridianRadians;
    if (deltaLongitudeRadians > pi) {
        deltaLongitudeRadians -= twoPi;
    }
    if (deltaLongitudeRadians < -pi) {
        deltaLongitudeRadians += twoPi;
    }
    if (std::fabs(deltaLongitudeRadians) > nineDegrees) {
        result.flags |= tmflags::LongitudeWarning;
    }
    if (std::fabs(deltaLongitudeRadians) < negligibleLongitude) {
        deltaLongitudeRadians = 0.0;
    }
    const ProjectedPoint offsets = seriesOffsets(latitudeRadians, deltaLongitudeRadians);
    result.easting = m_falseEasting + offsets.easting;
    result.northing = falseNorthing + offsets.northing;
    return result;
}

GeodeticRadians TransverseMercator::inverse(double easting, double northing,
                                            double centralMeridianRadians,
                                            double falseNorthing) const {
    GeodeticRadians result;
    if (!(easting >= m_falseEasting - m_eastingExtent &&
          easting <= m_falseEasting + m_eastingExtent)) {
        result.flags |= tmflags::EastingRange;
    }
    if (!(northing >= falseNorthing - m_northingExtent &&
          northing <= falseNorthing + m_northingExtent)) {
        result.flags |= tmflags::NorthingRange;
    }
    if (result.flags != 0) {
        return result;
    }

    const double k0 = m_scaleFactor;
    const double targetDistance =
        meridianDistance(m_originLatitude) + (northing - falseNorthing) / k0;
    // Newton steps on the meridian distance; five are far more than double precision needs.
    double footpoint = targetDistance / footpointRadius(0.0);
    for (int i = 0; i < footpointIterations; ++i) {
        footpoint += (targetDistance - meridianDistance(footpoint)) / footpointRadius(footpoint);
    }

    const double s = std::sin(footpoint);
    const double c = std::cos(footpoint);
    const double t = std::tan(footpoint);
    const double t2 = t * t;
    const double t4 = t2 * t2;
    const double t6 = t4 * t2;
    const double eta = m_ebs * c * c;
    const double eta2 = eta * eta;
    const double eta3 = eta2 * eta;
    const double eta4 = eta3 * eta;
    const double rho = footpointRadius(footpoint);
    const double nu = m_a / std::sqrt(1.0 - m_es * s * s);
    const double nu3 = nu * nu * nu;
    const double nu5 = nu3 * nu * nu;
    const double nu7 = nu5 * nu * nu;
    const double k2 = k0 * k0;
    const double k3 = k2 * k0;
    const double k4 = k3 * k0;
    const double k5 = k4 * k0;
    const double k6 = k5 * k0;
    const double k7 = k6 * k0;
    const double k8 = k7 * k0;

    double de = easting - m_falseEasting;
    if (std::fabs(de) < negligibleEasting) {
        de = 0.0;
    }
    const double de2 = de * de;
    const double de3 = de2 * de;
    const double de4 = de3 * de;
    const double de5 = de4 * de;
    const double de6 = de5 * de;
    const double de7 = de6 * de;
    const double de8 = de7 * de;

    double latitudeRadians =
        footpoint - de2 * t / (2.0 * rho * nu * k2) +
        de4 * t * (5.0 + 3.0 * t2 + eta - 4.0 * eta2 - 9.0 * t2 * eta) / (24.0 * rho * nu3 * k4) -
        de6 * t *
            (61.0 + 90.0 * t2 + 46.0 * eta + 45.0 * t4 - 252.0 * t2 * eta - 3.0 * eta2 +
             100.0 * eta3 - 66.0 * t2 * eta2 - 90.0 * t4 * eta + 88.0 * eta4 + 225.0 * t4 * eta2 +
             84.0 * t2 * eta3 - 192.0 * t2 * eta4) /
            (720.0 * rho * nu5 * k6) +
        de8 * t * (1385.0 + 3633.0 * t2 + 4095.0 * t4 + 1575.0 * t6) / (40320.0 * rho * nu7 * k8);

    double longitudeRadians =
        centralMeridianRadians + de / (c * nu * k0) -
        de3 * (1.0 + 2.0 * t2 + eta) / (6.0 * c * nu3 * k3) +
        de5 *
            (5.0 + 6.0 * eta + 28.0 * t2 - 3.0 * eta2 + 8.0 * t2 * eta + 24.0 * t4 - 4.0 * eta3 +
             4.0 * t2 * eta2 + 24.0 * t2 * eta3) /
            (120.0 * c * nu5 * k5) -
        de7 * (61.0 + 662.0 * t2 + 1320.0 * t4 + 720.0 * t6) / (5040.0 * c * nu7 * k7);

    // Far from the central meridian the series can run over a pole: fold back onto the
    // other side of the globe. Whole turns are removed first so that the folding ends
    // after one step whatever the value (and at once for NaN).
    latitudeRadians = std::remainder(latitudeRadians, twoPi);
    longitudeRadians = std::remainder(longitudeRadians, twoPi);
    while (latitudeRadians > halfPi) {
        latitudeRadians = pi - latitudeRadians;
        longitudeRadians += pi;
    }
    while (latitudeRadians < -halfPi) {
        latitudeRadians = -(latitudeRadians + pi);
        longitudeRadians += pi;
    }
    while (longitudeRadians > pi) {
        longitudeRadians -= twoPi;
    }
    while (longitudeRadians < -pi) {
        longitudeRadians += twoPi;
    }
    result.latitudeRadians = latitudeRadians;
    result.longitudeRadians = longitudeRadians;
    return result;
}

ProjectedPoint TransverseMercator::geodeticToTransverseMercator(double latitudeRadians,
                                                                double longitudeRadians) const {
    return forward(latitudeRadians, longitudeRadians, m_centralMeridian, m_falseNorthing);
}

GeodeticRadians TransverseMercator::transverseMercatorToGeodetic(double easting,
                                                                 double northing) const {
    return inverse(easting, northing, m_centralMeridian, m_falseNorthing);
}

}  // namespace tavrok::geodesy
