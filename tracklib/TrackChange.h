#pragma once
// One edit of a track kept so that it can be undone and done again exactly: reverted, the track
// saves the very bytes it saved before the edit; reapplied, those it saved after it. A change holds
// only what the track does not: while applied, what the edit removed and the tubes and chunk
// lengths as they were; while reverted, what the edit added and the tubes and lengths as it left
// them. Edits that append scenery objects and free nodes, remove scenery objects and fundaments
// and change tubes in place (a generation of footers) are recorded by TrackChangeRecorder.

#include "Track.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace pw {

class TrackChange {
public:
    // A change of nothing: reverting and reapplying leave the track as it is.
    TrackChange() = default;

    // Only on the track as this change left it, and not twice in a row.
    void revert(Track& track);
    // Only on the track as it was before this change, that is as revert left it.
    void reapply(Track& track);
    bool isApplied() const { return applied_; }

    // Where the fundaments and scenery objects the edit removed stood before it, ascending: a
    // front end renumbers what it keeps per fundament by them.
    const std::vector<std::size_t>& removedFundaments() const { return fundaments_.removedAt; }
    const std::vector<std::size_t>& removedSceneryObjects() const
    {
        return sceneryObjects_.removedAt;
    }
    std::size_t appendedSceneryObjects() const { return sceneryObjects_.appended; }
    std::size_t appendedFreeNodes() const { return freeNodes_.appended; }
    std::size_t changedTubes() const { return tubesAt_.size(); }

    // The memory this change holds: its arrays' capacities and the texts kept out of their
    // string objects.
    std::size_t heldBytes() const;

    // The number of chunk length fields a track has.
    static constexpr std::size_t chunkLengthCount = 12;
    using ChunkLengths = std::array<std::int32_t, chunkLengthCount>;

private:
    friend class TrackChangeRecorder;

    // Elements taken from one list at `removedAt` (in the list before the edit) and `appended`
    // elements added at its end. `held` is the side the track lacks: the removed elements while
    // applied, the appended ones while reverted.
    template <class Element>
    struct ListEdit {
        std::vector<std::size_t> removedAt;
        std::size_t appended = 0;
        std::vector<Element> held;
    };

    template <class Element>
    static void revertList(ListEdit<Element>& edit, std::vector<Element>& list);
    template <class Element>
    static void reapplyList(ListEdit<Element>& edit, std::vector<Element>& list);
    void swapTubesAndLengths(Track& track);
    // The track taken to the other side of this change: reverted when applied, else reapplied.
    void switchSides(Track& track);

    ListEdit<SceneryObject> sceneryObjects_;
    ListEdit<Fundament> fundaments_;
    ListEdit<FreeNode> freeNodes_;
    std::vector<std::size_t> tubesAt_;  // ascending
    std::vector<Tube> tubesHeld_;       // the other side of the tubes at tubesAt_
    std::optional<ChunkLengths> lengthsHeld_;  // none in a change of nothing
    bool applied_ = true;
};

// Watches one edit of a track: made right before it, finished right after it. The edit may append
// scenery objects and free nodes, remove scenery objects (through takeSceneryObjects here) and
// fundaments, and change tubes in place, adding or removing none; the change it gives reverts
// exactly that.
class TrackChangeRecorder {
public:
    explicit TrackChangeRecorder(const Track& before);

    // takeSceneryObjects, noted; at most once, before the edit appends any object.
    void takeSceneryObjects(std::vector<std::size_t> indices, Track& track);

    // `removedFundaments`: the fundaments the edit removed, by their indices before it, ascending.
    TrackChange finish(const Track& after, std::vector<std::size_t> removedFundaments);

private:
    TrackChange change_;
    std::size_t sceneryObjectsBefore_;
    std::size_t freeNodesBefore_;
    std::vector<Fundament> fundamentsBefore_;
    std::vector<Tube> tubesBefore_;
};

// Takes the scenery objects at `indices` out of the track as takeSceneryObjects does, as a change
// that can be reverted: a footer removed by hand.
TrackChange takeSceneryObjectsChange(std::vector<std::size_t> indices, Track& track);

}  // namespace pw
