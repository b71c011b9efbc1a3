#include "ConvexHull.h"

#include <algorithm>
#include <cstddef>

namespace pw {

namespace {

double turn(QPointF o, QPointF a, QPointF b)
{
    return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
}

}  // namespace

// Andrew's monotone chain: sort once, then a lower and an upper chain.
void convexHullInPlace(std::vector<QPointF>& points)
{
    const auto less = [](QPointF a, QPointF b) {
        return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y());
    };
    std::sort(points.begin(), points.end(), less);
    points.erase(std::unique(points.begin(), points.end()), points.end());
    const std::size_t n = points.size();
    if (n < 3)
        return;

    std::vector<QPointF> hull(2 * n);
    std::size_t k = 0;
    for (std::size_t i = 0; i < n; ++i) {
        while (k >= 2 && turn(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    for (std::size_t i = n - 1, lower = k + 1; i > 0; --i) {
        while (k >= lower && turn(hull[k - 2], hull[k - 1], points[i - 1]) <= 0)
            --k;
        hull[k++] = points[i - 1];
    }
    hull.resize(k - 1);
    points = std::move(hull);
}

}  // namespace pw
