// The globe of the status icons and the logo: an outline, an equator and one pair of
// meridians, drawn as strokes around these centre lines.
#pragma once

enum class GlobePart { Outline, Inner };

struct GlobeStroke {
    GlobePart part;
    // Distance to the nearest centre line divided by that line's weight: every point with a
    // distance below w lies on a stroke w wide (the outline's strokes come out heavier).
    double distance;
};

// The stroke nearest to (x, y), relative to the centre of a globe of the given radius.
GlobeStroke NearestGlobeStroke(double x, double y, double radius);
