#include "FooterStyles.h"

#include "models/ModelFootprints.h"
#include "footers/ObjectDirectory.h"
#include "footers/TubeEndPoints.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>
#include <utility>

namespace pw {

namespace {

std::tuple<float, float, float> key(Vector3 p) { return {p.x, p.y, p.z}; }

int styleOfModel(const std::string& modelFile)
{
    for (const TubeSizeClass sizeClass : allSizeClasses)
        if (modelFile == ownModelFile(sizeClass))
            return static_cast<int>(sizeClass);
    return otherFooterStyle;
}

}  // namespace

FooterStyles::FooterStyles(const Track& track)
{
    // Non-finite positions would break the ordering; no footer stands there anyway.
    const auto add = [this](Vector3 p, TubeSizeClass sizeClass) {
        if (isFinite(p))
            entries_.push_back({p, static_cast<int>(sizeClass)});
    };
    for (const Tube& tube : track.tubes) {
        const std::optional<TubeSizeClass> sizeClass = sizeClassOfCode(tube.sizeClass);
        if (!sizeClass)
            continue;
        for (const TubeEnd* end : {&tube.endA, &tube.endB}) {
            if (end->kind == TubeEndFundament && hasIndex(track.fundaments, end->index))
                add(track.fundaments[static_cast<std::size_t>(end->index)].position, *sizeClass);
            else if (end->kind == TubeEndFreeNode && hasIndex(track.freeNodes, end->index))
                add(track.freeNodes[static_cast<std::size_t>(end->index)].position, *sizeClass);
        }
    }
    std::sort(entries_.begin(), entries_.end(),
              [](const Entry& a, const Entry& b) { return key(a.position) < key(b.position); });
}

std::optional<int> FooterStyles::styleAt(Vector3 p) const
{
    if (!isFinite(p))
        return std::nullopt;
    const auto found =
        std::lower_bound(entries_.begin(), entries_.end(), p,
                         [](const Entry& e, Vector3 q) { return key(e.position) < key(q); });
    if (found == entries_.end() || !(found->position == p))
        return std::nullopt;
    return found->style;
}

int FooterStyles::styleOf(Vector3 position, const std::string& modelFile) const
{
    return styleAt(position).value_or(styleOfModel(modelFile));
}

std::optional<PlanFooter> footerFacts(const SceneryObject& object, const FooterStyles& styles)
{
    std::optional<std::string> modelFile = footerModelFileOf(object.textB);
    if (!modelFile)
        return std::nullopt;
    const auto& e = object.matrix;
    PlanFooter footer;
    footer.modelFile = std::move(*modelFile);
    footer.position = {e[3], e[7], e[11]};
    footer.style = styles.styleOf(footer.position, footer.modelFile);

    const float scale = std::sqrt(e[0] * e[0] + e[4] * e[4] + e[8] * e[8]);
    footer.scale = scale;
    const float up = scale > 0.0f ? std::clamp(e[5] / scale, -1.0f, 1.0f) : 1.0f;
    const float tilt = std::acos(up) * 180.0f / std::numbers::pi_v<float>;
    footer.tilted = tilt > 0.01f;
    footer.angleDegrees =
        footer.tilted ? tilt : std::atan2(e[2], e[0]) * 180.0f / std::numbers::pi_v<float>;
    return footer;
}

const ModelFootprint& footprintFor(const std::string& modelFile, const std::string& modelPath,
                                   FootprintSources footprints, bool installed)
{
    // Without a model directory no model is read.
    static const ModelFootprint unitSquare = unitSquareFootprint(CoreError(ModelError::NotReadYet));
    if (installed && footprints.installed != nullptr) {
        const ModelFootprint& copy = footprints.installed->of(modelPath);
        if (copy.readable || footprints.modelDirectory == nullptr)
            return copy;
    }
    return footprints.modelDirectory != nullptr ? footprints.modelDirectory->of(modelFile)
                                                : unitSquare;
}

}  // namespace pw
