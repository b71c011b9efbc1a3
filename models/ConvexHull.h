#pragma once
// The convex hull of points in the plane, for the outlines of footer models.

#include <QPointF>
#include <vector>

namespace pw {

// Replaces `points` by their convex hull, counter-clockwise in a y-up frame, without repeating
// the first point. Fewer than three distinct points stay as they are (deduplicated).
void convexHullInPlace(std::vector<QPointF>& points);

// For each point, whether it lies on a corner of the hull (compared exactly). Fewer than three
// distinct points are all corners. Sorts once: n log n.
std::vector<bool> onConvexHull(const std::vector<QPointF>& points);

}  // namespace pw
