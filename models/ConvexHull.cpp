#include "ConvexHull.h"

#include <algorithm>
#include <cstddef>
#include <numeric>

namespace pw {

namespace {

double turn(PlanePoint o, PlanePoint a, PlanePoint b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// The corners of the hull of `points` (sorted, distinct), as indices into them.
std::vector<std::size_t> hullCorners(const std::vector<PlanePoint>& points)
{
    const std::size_t n = points.size();
    std::vector<std::size_t> hull(2 * n);
    std::size_t k = 0;
    for (std::size_t i = 0; i < n; ++i) {
        while (k >= 2 && turn(points[hull[k - 2]], points[hull[k - 1]], points[i]) <= 0)
            --k;
        hull[k++] = i;
    }
    for (std::size_t i = n - 1, lower = k + 1; i > 0; --i) {
        while (k >= lower && turn(points[hull[k - 2]], points[hull[k - 1]], points[i - 1]) <= 0)
            --k;
        hull[k++] = i - 1;
    }
    hull.resize(k - 1);
    return hull;
}

bool lexicographicLess(PlanePoint a, PlanePoint b)
{
    return a.x < b.x || (a.x == b.x && a.y < b.y);
}

}  // namespace

std::vector<bool> onConvexHull(const std::vector<PlanePoint>& points)
{
    std::vector<std::size_t> order(points.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return lexicographicLess(points[a], points[b]);
    });
    std::vector<PlanePoint> distinct;
    std::vector<std::size_t> distinctOf(points.size());
    for (const std::size_t i : order) {
        const bool same = !distinct.empty() && distinct.back().x == points[i].x &&
                          distinct.back().y == points[i].y;
        if (!same)
            distinct.push_back(points[i]);
        distinctOf[i] = distinct.size() - 1;
    }
    std::vector<bool> corner(distinct.size(), distinct.size() < 3);
    if (distinct.size() >= 3)
        for (const std::size_t c : hullCorners(distinct))
            corner[c] = true;
    std::vector<bool> result(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        result[i] = corner[distinctOf[i]];
    return result;
}

}  // namespace pw
