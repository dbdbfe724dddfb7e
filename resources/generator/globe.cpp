#include "globe.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kOutlineWeight = 1.3;
constexpr double kMeridianWidthRatio = 0.45;

double DistanceToCircle(double x, double y, double radius) { return std::abs(std::hypot(x, y) - radius); }

// First-order distance to the ellipse x²/a² + y²/b² = 1: |f| / |grad f|, exact enough
// for strokes a few pixels wide.
double DistanceToEllipse(double x, double y, double a, double b) {
    const double f = x * x / (a * a) + y * y / (b * b) - 1.0;
    const double gradient = 2.0 * std::hypot(x / (a * a), y / (b * b));
    return gradient > 0.0 ? std::abs(f) / gradient : std::min(a, b);
}

double DistanceToHorizontalSegment(double x, double y, double halfLength) {
    const double beyond = std::max(std::abs(x) - halfLength, 0.0);
    return std::hypot(beyond, y);
}

}  // namespace

GlobeStroke NearestGlobeStroke(double x, double y, double radius) {
    const double outline = DistanceToCircle(x, y, radius) / kOutlineWeight;
    // The inner lines end at the outline instead of poking through it.
    if (std::hypot(x, y) >= radius)
        return {GlobePart::Outline, outline};
    const double inner = std::min(DistanceToEllipse(x, y, radius * kMeridianWidthRatio, radius),
                                  DistanceToHorizontalSegment(x, y, radius));
    if (outline <= inner)
        return {GlobePart::Outline, outline};
    return {GlobePart::Inner, inner};
}
