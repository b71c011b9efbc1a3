#include "SupportPicking.h"

#include "plan/PlanHitTest.h"

#include <QCoreApplication>
#include <QLineF>

#include <cmath>
#include <limits>

namespace pw {

namespace {

// The first fundament at exactly this point: a placement moves a footer's origin onto it.
std::optional<std::int32_t> fundamentAt(const Track& track, Vector3 position)
{
    for (std::size_t i = 0; i < track.fundaments.size(); ++i)
        if (track.fundaments[i].position == position)
            return static_cast<std::int32_t>(i);
    return std::nullopt;
}

}  // namespace

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

std::optional<std::optional<SupportChoice>> supportChoiceForKey(int key)
{
    if (key == Qt::Key_Delete || key == Qt::Key_0)
        return std::optional<SupportChoice>(SupportChoice::noFooter());
    if (key == Qt::Key_Backspace)
        return std::optional<SupportChoice>();
    const int classIndex = key - Qt::Key_1;
    if (classIndex >= 0 && classIndex < static_cast<int>(sizeClassCount))
        return std::optional<SupportChoice>(
            SupportChoice::modelOf(static_cast<TubeSizeClass>(classIndex)));
    return std::nullopt;
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
