#include "PlanHitTest.h"

#include "PlanPainter.h"

#include <QLineF>

#include <cmath>
#include <limits>
#include <vector>

namespace pw {

namespace {

double distanceToOutline(const QPolygonF& outline, QPointF p)
{
    if (outline.size() == 1)
        return QLineF(outline.constFirst(), p).length();
    double nearest = std::numeric_limits<double>::infinity();
    for (qsizetype i = 0; i < outline.size(); ++i) {
        const QPointF a = outline[i];
        const QPointF b = outline[(i + 1) % outline.size()];
        const QPointF ab = b - a;
        const double lengthSquared = QPointF::dotProduct(ab, ab);
        const double t = lengthSquared > 0.0
                             ? std::clamp(QPointF::dotProduct(p - a, ab) / lengthSquared, 0.0, 1.0)
                             : 0.0;
        nearest = std::min(nearest, QLineF(a + t * ab, p).length());
    }
    return nearest;
}

const PlanFooter* search(const std::vector<PlanFooter>& footers, QPointF p, double tolerance)
{
    const PlanFooter* best = nullptr;
    double bestDistance = tolerance;
    // Later footers are drawn over earlier ones.
    for (auto it = footers.rbegin(); it != footers.rend(); ++it) {
        if (!it->bounds.adjusted(-tolerance, -tolerance, tolerance, tolerance).contains(p))
            continue;
        if (it->outline.size() >= 3 && it->outline.containsPoint(p, Qt::OddEvenFill))
            return &*it;
        const double distance = distanceToOutline(it->outline, p);
        if (distance <= bestDistance) {
            best = &*it;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace

PlanHit footerAt(const PlanScene& scene, QPointF world, double tolerance)
{
    if (const PlanFooter* footer = search(scene.preview, world, tolerance))
        return {footer, true};
    return {search(scene.footers, world, tolerance), false};
}

QString describeFooter(const PlanFooter& footer, bool preview)
{
    const Vector3 p = footer.position;
    return QStringLiteral("%1%2\n%3 at %4 %\nposition (%5, %6, %7)\n%8 %9\u00b0")
        .arg(footerStyleLabel(footer.style),
             preview ? QStringLiteral(" (generate would add it)") : QString(),
             QString::fromLatin1(footer.modelFile), QString::number(footer.scale * 100.0f, 'f', 0),
             QString::number(p.x, 'f', 2), QString::number(p.y, 'f', 2),
             QString::number(p.z, 'f', 2),
             footer.tilted ? QStringLiteral("tilted") : QStringLiteral("turned"),
             QString::number(footer.angleDegrees, 'f', 1));
}

}  // namespace pw
