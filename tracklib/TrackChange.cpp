#include "TrackChange.h"

#include "HeldBytes.h"
#include "TrackOperations.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

namespace pw {

namespace {

// Every chunk length field of the record: an edit that adds or removes elements moves some.
constexpr std::array<std::int32_t Track::*, TrackChange::chunkLengthCount> chunkLengthFields{
    &Track::infoLength,     &Track::vertexLength,        &Track::segmentLength,
    &Track::supportLength,  &Track::fundamentLength,     &Track::railConnectorLength,
    &Track::freeNodeLength, &Track::tubeLength,          &Track::catwalkLength,
    &Track::sceneryLength,  &Track::sceneryObjectLength, &Track::environmentLength};

TrackChange::ChunkLengths chunkLengths(const Track& track)
{
    TrackChange::ChunkLengths lengths{};
    for (std::size_t i = 0; i < lengths.size(); ++i)
        lengths[i] = track.*chunkLengthFields[i];
    return lengths;
}

// Moves the elements at `at` (ascending) out of `list`, keeping the others in order.
template <class Element>
std::vector<Element> takeAt(const std::vector<std::size_t>& at, std::vector<Element>& list)
{
    std::vector<Element> taken;
    taken.reserve(at.size());
    std::size_t kept = 0;
    auto next = at.begin();
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (next != at.end() && *next == i) {
            ++next;
            taken.push_back(std::move(list[i]));
        } else if (kept++ != i) {
            list[kept - 1] = std::move(list[i]);
        }
    }
    list.resize(kept);
    return taken;
}

// Puts `elements` back into `list` so that they stand at `at` (ascending) again.
template <class Element>
void putBackAt(const std::vector<std::size_t>& at, std::vector<Element>& elements,
               std::vector<Element>& list)
{
    std::vector<Element> merged;
    merged.reserve(list.size() + elements.size());
    auto kept = list.begin();
    auto next = elements.begin();
    for (std::size_t i = 0; i < list.size() + elements.size(); ++i) {
        const std::size_t k = static_cast<std::size_t>(next - elements.begin());
        if (k < at.size() && at[k] == i)
            merged.push_back(std::move(*next++));
        else
            merged.push_back(std::move(*kept++));
    }
    list = std::move(merged);
    elements.clear();
}

}  // namespace

template <class Element>
void TrackChange::revertList(ListEdit<Element>& edit, std::vector<Element>& list)
{
    const auto tail = list.end() - static_cast<std::ptrdiff_t>(edit.appended);
    std::vector<Element> appended(std::make_move_iterator(tail),
                                  std::make_move_iterator(list.end()));
    list.erase(tail, list.end());
    putBackAt(edit.removedAt, edit.held, list);
    edit.held = std::move(appended);
}

template <class Element>
void TrackChange::reapplyList(ListEdit<Element>& edit, std::vector<Element>& list)
{
    std::vector<Element> removed = takeAt(edit.removedAt, list);
    list.insert(list.end(), std::make_move_iterator(edit.held.begin()),
                std::make_move_iterator(edit.held.end()));
    edit.held = std::move(removed);
}

void TrackChange::swapTubesAndLengths(Track& track)
{
    for (std::size_t k = 0; k < tubesAt_.size(); ++k)
        std::swap(track.tubes[tubesAt_[k]], tubesHeld_[k]);
    if (lengthsHeld_)
        for (std::size_t i = 0; i < chunkLengthFields.size(); ++i)
            std::swap(track.*chunkLengthFields[i], (*lengthsHeld_)[i]);
}

void TrackChange::switchSides(Track& track)
{
    const auto switchList = [this](auto& edit, auto& list) {
        if (applied_)
            revertList(edit, list);
        else
            reapplyList(edit, list);
    };
    switchList(sceneryObjects_, track.sceneryObjects);
    switchList(fundaments_, track.fundaments);
    switchList(freeNodes_, track.freeNodes);
    swapTubesAndLengths(track);
    applied_ = !applied_;
}

void TrackChange::revert(Track& track)
{
    if (applied_)
        switchSides(track);
}

void TrackChange::reapply(Track& track)
{
    if (!applied_)
        switchSides(track);
}

std::size_t TrackChange::heldBytes() const
{
    std::size_t bytes = arrayBytes(sceneryObjects_.removedAt) + arrayBytes(sceneryObjects_.held) +
                        arrayBytes(fundaments_.removedAt) + arrayBytes(fundaments_.held) +
                        arrayBytes(freeNodes_.removedAt) + arrayBytes(freeNodes_.held) +
                        arrayBytes(tubesAt_) + arrayBytes(tubesHeld_);
    for (const SceneryObject& object : sceneryObjects_.held)
        bytes += textBytes(object.textA) + textBytes(object.textB);
    return bytes;
}

TrackChangeRecorder::TrackChangeRecorder(const Track& before)
    : sceneryObjectsBefore_(before.sceneryObjects.size()),
      freeNodesBefore_(before.freeNodes.size()),
      fundamentsBefore_(before.fundaments),
      tubesBefore_(before.tubes)
{
    change_.lengthsHeld_ = chunkLengths(before);
}

void TrackChangeRecorder::takeSceneryObjects(std::vector<std::size_t> indices, Track& track)
{
    std::sort(indices.begin(), indices.end());
    change_.sceneryObjects_.held = pw::takeSceneryObjects(indices, track);
    change_.sceneryObjects_.removedAt = std::move(indices);
}

TrackChange TrackChangeRecorder::finish(const Track& after,
                                        std::vector<std::size_t> removedFundaments)
{
    TrackChange change = std::move(change_);
    auto& objects = change.sceneryObjects_;
    objects.appended =
        after.sceneryObjects.size() - (sceneryObjectsBefore_ - objects.removedAt.size());
    change.freeNodes_.appended = after.freeNodes.size() - freeNodesBefore_;
    change.fundaments_.held.reserve(removedFundaments.size());
    for (const std::size_t f : removedFundaments)
        change.fundaments_.held.push_back(fundamentsBefore_[f]);
    change.fundaments_.removedAt = std::move(removedFundaments);
    for (std::size_t t = 0; t < tubesBefore_.size() && t < after.tubes.size(); ++t) {
        if (tubesBefore_[t] != after.tubes[t]) {
            change.tubesAt_.push_back(t);
            change.tubesHeld_.push_back(tubesBefore_[t]);
        }
    }
    change.tubesAt_.shrink_to_fit();
    change.tubesHeld_.shrink_to_fit();
    change.applied_ = true;
    return change;
}

TrackChange takeSceneryObjectsChange(std::vector<std::size_t> indices, Track& track)
{
    TrackChangeRecorder recorder(track);
    recorder.takeSceneryObjects(std::move(indices), track);
    return recorder.finish(track, {});
}

}  // namespace pw
