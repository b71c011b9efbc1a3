#pragma once
// The convex hull of points in the plane, for the outlines of footer models.

#include <QPointF>
#include <vector>

namespace pw {

// Replaces `points` by their convex hull, counter-clockwise in a y-up frame, without repeating
// the first point. Fewer than three distinct points stay as they are (deduplicated).
void convexHullInPlace(std::vector<QPointF>& points);

}  // namespace pw
