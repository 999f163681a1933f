#include "terrain/ProjectionKind.h"

namespace tavrok::terrain {

std::string_view projectionName(ProjectionKind projection) {
    switch (projection) {
        case ProjectionKind::UTM:
            return "UTM";
        case ProjectionKind::LatLon:
            return "Lat/Lon";
        case ProjectionKind::Sinusoidal:
            return "Sinusoidal";
        case ProjectionKind::XY:
            return "X/Y";
    }
    return "";
}

}  // namespace tavrok::terrain
