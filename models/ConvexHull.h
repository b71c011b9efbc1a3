#pragma once
// The corners of the convex hull of points in the plane, for the outlines of footer models.

#include <vector>

namespace pw {

struct PlanePoint {
    double x = 0.0;
    double y = 0.0;
};

// For each point, whether it lies on a corner of the hull (compared exactly). Fewer than three
// distinct points are all corners. Sorts once: n log n.
std::vector<bool> onConvexHull(const std::vector<PlanePoint>& points);

}  // namespace pw
