// Turning and zooming the model in place, and the mapping of model coordinates to screen pixels.
#include "rotation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kesmora {

namespace {

struct PlaneTurns {
    long double sinA, cosA, sinB, cosB, sinG, cosG;
};

// Each intermediate is stored as a double before the next turn reads it, so a call with two zero
// angles gives exactly the same result as a single-plane call.
void turn(Point3D& p, const PlaneTurns& t) {
    const double x1 = static_cast<double>(t.cosA * p.x - t.sinA * p.y);
    const double y1 = static_cast<double>(t.sinA * p.x + t.cosA * p.y);
    const double y2 = static_cast<double>(t.cosB * y1 - t.sinB * p.z);
    const double z1 = static_cast<double>(t.sinB * y1 + t.cosB * p.z);
    const double x2 = static_cast<double>(t.cosG * x1 - t.sinG * z1);
    const double z2 = static_cast<double>(t.sinG * x1 + t.cosG * z1);
    p = {x2, y2, z2};
}

} // namespace

void rechnen(SolidModel& model, double alphaDeg, double betaDeg, double gammaDeg) {
    constexpr long double kRadiansPerDegree = std::numbers::pi_v<long double> / 180.0L;
    const long double a = alphaDeg * kRadiansPerDegree;
    const long double b = betaDeg * kRadiansPerDegree;
    const long double g = gammaDeg * kRadiansPerDegree;
    const PlaneTurns t{std::sin(a), std::cos(a), std::sin(b), std::cos(b), std::sin(g), std::cos(g)};

    for (Figure* figure : model.figures()) {
        for (Point3D& p : figure->vertices)
            turn(p, t);
        for (FaceRecord& r : figure->faceRecords)
            turn(r.centroid, t);
    }
}

double zoomFactor(ZoomCommand command, double scale) {
    switch (command) {
    case ZoomCommand::Enlarge:
        return kEnlargeFactor;
    case ZoomCommand::Reduce:
        return kReduceFactor;
    case ZoomCommand::Reset:
        break;
    }
    return kResetScale / scale;
}

bool zoom(SolidModel& model, ZoomCommand command) {
    const double f = zoomFactor(command, model.scale);
    const double newScale = model.scale * f;
    if (!std::isfinite(f) || f == 0.0 || !std::isfinite(newScale) || newScale == 0.0) return false;

    model.scale = newScale;
    for (Figure* figure : model.figures())
        for (Point3D& p : figure->vertices)
            p = {p.x * f, p.y * f, p.z * f};
    return true;
}

int toScreen(int origin, double coordinate) {
    if (std::isnan(coordinate)) return origin;
    const double limit = kScreenCoordinateLimit;
    const double rounded = std::clamp(std::nearbyint(coordinate), -limit, limit);
    return origin + static_cast<int>(rounded);
}

} // namespace kesmora
