#include "FooterGeneration.h"

#include "FooterEnds.h"
#include "ModelDirectory.h"
#include "ModelInstallation.h"
#include "PlacedFooters.h"
#include "TubeEndPoints.h"
#include "tracklib/Track.h"
#include "tracklib/TrackOperations.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace pw {

namespace {

// A direction shorter than this (squared) has no usable orientation; same bound as normalize.
constexpr float shortestDirectionSquared = 1e-6f;

// Turns the model's local down axis (0, -1, 0) onto the line from the higher point to the lower.
void tilt(Matrix4& m, Vector3 p, Vector3 q)
{
    Vector3 d = p.y > q.y ? q - p : p - q;
    // Coincident points give no direction: the footer keeps standing upright.
    if (dot(d, d) < shortestDirectionSquared)
        return;
    normalize(d);
    Vector3 axis = cross({0.0f, -1.0f, 0.0f}, d);
    normalize(axis);
    // Rounding in normalize can push |d.y| a hair above 1, where acos has no value.
    const float cosine = std::clamp(-d.y, -1.0f, 1.0f);
    m.rotate(radiansToDegrees(std::acos(cosine)), axis);
}

// The turn about the vertical that the simulator's own fundaments use: in [0, 90) degrees.
float turnAboutVertical(Vector3 p, Vector3 q, float fundamentAngle)
{
    // A damaged file's NaN or infinite angle would make the whole placement NaN, position
    // included; such a fundament is turned like one without an angle.
    if (fundamentAngle != 0.0f && std::isfinite(fundamentAngle))
        return radiansToDegrees(fundamentAngle);
    const float a = std::fabs(p.x - q.x);
    const float b = std::fabs(p.z - q.z);
    if ((p.x > q.x && p.z > q.z) || (p.x < q.x && p.z < q.z))
        return radiansToDegrees(std::atan(a / b));
    if ((p.x > q.x && p.z < q.z) || (p.x < q.x && p.z > q.z))
        return radiansToDegrees(std::atan(b / a));
    return 0.0f;
}

CoreError supportWithoutModel(std::int32_t fundament, TubeSizeClass sizeClass)
{
    CoreError error{FooterError::SupportModelNotChosen};
    error.size = static_cast<std::uint64_t>(fundament);
    error.detail = sizeClassLabel(sizeClass);
    return error;
}

// Fundaments that a tube left without a footer still stands on must stay.
void keepFundamentsInUse(const Track& track, std::vector<int>& fundaments)
{
    std::vector<char> inUse(track.fundaments.size(), 0);
    for (const Tube& tube : track.tubes)
        for (const TubeEnd* end : {&tube.endA, &tube.endB})
            if (end->kind == TubeEndFundament && hasIndex(track.fundaments, end->index))
                inUse[static_cast<std::size_t>(end->index)] = 1;
    std::erase_if(fundaments, [&](int f) { return inUse[static_cast<std::size_t>(f)] != 0; });
}

}  // namespace

int GenerationReport::objectsAddedTotal() const
{
    int total = 0;
    for (const int count : objectsAdded)
        total += count;
    return total;
}

std::vector<std::int32_t> footerSupports(const Track& track, const GenerationOptions& options)
{
    // The walk places a footer for exactly these tubes, in tube order.
    std::vector<std::int32_t> supports;
    for (const Tube& tube : track.tubes)
        if (const std::optional<FooterEnds> ends =
                placedFooterEnds(tube, track, options.choices, options.supports))
            supports.push_back(ends->footer.index);
    return supports;
}

Matrix4 footerPlacement(Vector3 p, Vector3 q, float fundamentAngle, float scale,
                        bool alignToTangent)
{
    Matrix4 m;
    m.identity().scale(scale);
    if (alignToTangent)
        tilt(m, p, q);
    else
        m.rotate(turnAboutVertical(p, q, fundamentAngle), 0.0f, 1.0f, 0.0f);
    m.translate(p);
    return m;
}

Result<void> checkGeneration(const Track& track, const GenerationOptions& options)
{
    // Everything that costs nothing to ask comes first: the name, the choices, whether any footer
    // would be placed at all.
    if (Result<void> refused = checkObjectDirectoryName(options.objectDirectory.name); !refused)
        return refused;
    if (Result<void> chosen = checkModelsChosen(options.choices, options.modelSourceDirectory);
        !chosen)
        return chosen;
    for (const auto& [fundament, support] : options.supports) {
        if (!hasIndex(track.fundaments, fundament))
            return supportNotInTrack(fundament, track.fundaments.size());
        if (support.model && !options.choices[static_cast<std::size_t>(*support.model)].enabled)
            return supportWithoutModel(fundament, *support.model);
    }
    if (!anyFooterToPlace(track, options.choices, options.supports)) {
        // Replacing would take none of them away, and place nothing where they stand.
        if (options.earlierFooters == EarlierFooters::Replace) {
            const std::size_t stranded =
                placedFooters(track).size() - replaceableFooters(track).size();
            if (stranded > 0)
                return CoreError{FooterError::EarlierFootersNotOnFundaments, {}, {}, {}, stranded};
        }
        return CoreError{FooterError::NothingToPlace};
    }
    return {};
}

std::vector<std::size_t> earlierFootersToRemove(const Track& track,
                                                const GenerationOptions& options,
                                                GenerationReport& report)
{
    const std::size_t placed = placedFooters(track).size();
    std::vector<std::size_t> removed;
    if (options.earlierFooters == EarlierFooters::Replace)
        removed = replaceableFooters(track);
    report.earlierFootersRemoved = static_cast<int>(removed.size());
    report.earlierFootersKept = static_cast<int>(placed - removed.size());
    return removed;
}

Result<std::vector<ModelToInstall>> modelsToGenerateWith(const Track& track,
                                                         const GenerationOptions& options)
{
    if (Result<void> refused = checkGeneration(track, options); !refused)
        return refused.error();
    return openModelsToInstall(options.choices, options.modelSourceDirectory);
}

Result<GenerationReport> generateFooters(Track& track, const GenerationOptions& options)
{
    Result<std::vector<ModelToInstall>> models = modelsToGenerateWith(track, options);
    if (!models)
        return models.error();

    // Installation first: if a model cannot be put in place, the track must not refer to it.
    Result<ModelInstallation> installed =
        installFooterModels(std::move(*models), options.nolimitsDirectory,
                            objectDirectoryPath(options.objectDirectory));
    if (!installed)
        return installed.error();

    GenerationReport report;
    report.installation = std::move(*installed);
    takeSceneryObjects(earlierFootersToRemove(track, options, report), track);
    placeFooters(track, options, report);
    return report;
}

std::vector<std::size_t> placeFooters(Track& track, const GenerationOptions& options,
                                      GenerationReport& report, const TubeEndTable* tubeEnds)
{
    if (tubeEnds != nullptr && tubeEnds->tubeCount() != track.tubes.size())
        tubeEnds = nullptr;
    // Without the ends worked out beforehand, the points this walk asks for are found up front.
    std::optional<TubeEndPoints> endPoints;
    if (tubeEnds == nullptr)
        endPoints.emplace(track, options.choices, options.supports);
    std::vector<int> fundamentsToRemove;
    std::vector<char> queued(track.fundaments.size(), 0);

    // addFreeNode and addSceneryObject never touch the tubes, so the walk covers exactly the
    // tubes present at its start.
    const int tubeCount = static_cast<int>(track.tubes.size());
    for (int t = 0; t < tubeCount; ++t) {
        const Tube& tube = track.tubes[static_cast<std::size_t>(t)];
        const std::optional<FooterEnds> ends =
            servedFooterEnds(tube, track, options.choices, options.supports);
        if (!ends) {
            if (!options.supports.empty() &&
                leftOutBySupport(tube, track, options.choices, options.supports))
                ++report.footersLeftOut;
            continue;
        }
        const auto classIndex = static_cast<std::size_t>(ends->sizeClass);
        const FooterModelChoice& choice = options.choices[classIndex];
        const std::int32_t f = ends->footer.index;

        const Fundament& fundament = track.fundaments[static_cast<std::size_t>(f)];
        const Vector3 p = fundament.position;
        // An other end of no known kind gives the footer's own point: it stands upright, unturned.
        const std::optional<Vector3> q =
            !otherEndHasPosition(*ends) ? p
            : tubeEnds != nullptr
                ? tubeEnds->pointOf(static_cast<std::size_t>(t), ends->footerSide == TubeSide::A)
                : endPoints->pointOf(ends->other);
        if (!q)
            continue;

        SceneryObject object;
        object.textB = storedModelPath(options.objectDirectory, choice.modelFile);
        object.matrix =
            footerPlacement(p, *q, fundament.angle, choice.scale, options.alignToTangent).e;

        if (options.replaceFundaments) {
            const int n = addFreeNode(p.x, p.y, p.z, track);
            ++report.freeNodesAdded;
            object.textA = "fundament" + std::to_string(n);
            if (!queued[static_cast<std::size_t>(f)]) {
                queued[static_cast<std::size_t>(f)] = 1;
                fundamentsToRemove.push_back(f);
            }
            // Only the footer's end moves: a tube between two fundaments keeps its other end
            // instead of shrinking to a point on the new node and leaving that fundament bare.
            setTubeEnd(t, ends->footerSide, TubeEnd{TubeEndFreeNode, ends->footer.group, n}, track);
        }
        addSceneryObject(object, track);
        ++report.objectsAdded[classIndex];
        if (ends->chosenForSupport)
            ++report.footersOfChosenModel;
    }

    keepFundamentsInUse(track, fundamentsToRemove);
    removeFundaments(fundamentsToRemove, track);
    report.fundamentsRemoved += static_cast<int>(fundamentsToRemove.size());
    std::vector<std::size_t> removed(fundamentsToRemove.begin(), fundamentsToRemove.end());
    std::sort(removed.begin(), removed.end());
    return removed;
}

std::vector<SceneryObject> footersGenerateWouldAdd(const Track& track,
                                                   const GenerationOptions& options,
                                                   const TubeEndTable* tubeEnds)
{
    Track copy = track;
    GenerationReport report;
    placeFooters(copy, options, report, tubeEnds);
    // Generate only appends its footers to the scenery objects.
    return {std::make_move_iterator(copy.sceneryObjects.begin() +
                                    static_cast<std::ptrdiff_t>(track.sceneryObjects.size())),
            std::make_move_iterator(copy.sceneryObjects.end())};
}

}  // namespace pw
