#include "SupportPicking.h"

#include "footers/PlacedFooters.h"
#include "plan/PlanHitTest.h"
#include "view3d/Picking3d.h"

#include <QCoreApplication>
#include <QLineF>

#include <cmath>
#include <limits>

namespace pw {

std::optional<std::int32_t> supportAt(const Track& track, const PlanScene& scene, QPointF world,
                                      double reach)
{
    if (const PlanHit hit = footerAt(scene, world, reach); hit.footer != nullptr)
        return fundamentAt(track, hit.footer->position);
    std::optional<std::int32_t> nearest;
    double nearestDistance = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < track.fundaments.size(); ++i) {
        const QPointF marker = projected(scene.view, track.fundaments[i].position);
        const double distance = QLineF(marker, world).length();
        // A non-finite position is never within reach.
        if (distance <= reach && distance < nearestDistance) {
            nearestDistance = distance;
            nearest = static_cast<std::int32_t>(i);
        }
    }
    return nearest;
}

std::optional<std::int32_t> supportAt3d(const Track& track, const Scene3d& scene,
                                        const OrbitCamera& camera, QPointF pixel, QSize size,
                                        double reachPixels)
{
    const Pick3d hit = pick3d(scene, camera, pixel, size);
    if (hit.kind == Pick3d::Kind::Footer)
        return fundamentAt(track, scene.footers[hit.index].facts.position);
    if (hit.kind == Pick3d::Kind::PreviewFooter)
        return fundamentAt(track, scene.preview[hit.index].facts.position);
    // Fundaments are small blocks: near enough on screen picks one, as in the plan.
    std::optional<std::int32_t> nearest;
    double nearestDistance = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < track.fundaments.size(); ++i) {
        const std::optional<QPointF> shown = camera.pixelOf(track.fundaments[i].position, size);
        if (!shown)
            continue;  // behind the eye
        const double distance = QLineF(*shown, pixel).length();
        if (distance <= reachPixels && distance < nearestDistance) {
            nearestDistance = distance;
            nearest = static_cast<std::int32_t>(i);
        }
    }
    return nearest;
}

QString supportChoiceText(std::int32_t fundament, const SupportChoice* choice)
{
    const auto tr = [](const char* text) {
        return QCoreApplication::translate("SupportPicking", text);
    };
    QString what;
    if (choice == nullptr)
        what = tr("as its size class");
    else if (!choice->model)
        what = tr("no footer");
    else
        what = tr("the %1 model").arg(QLatin1String(sizeClassLabel(*choice->model)));
    return tr("support %1: %2").arg(fundament).arg(what);
}

}  // namespace pw
