#include "tracklib/TrackChange.h"
#include "tracklib/TrackOperations.h"

#include "TracklibTestSupport.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

SceneryObject object(const std::string& name, float x)
{
    return {name, "scenery/" + name + ".3ds", {1, 0, 0, x, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
}

// The rich track holding exactly `objects` as its scenery objects, lengths to match.
Track richTrackWith(const std::vector<SceneryObject>& objects)
{
    Track track = makeRichTrack();
    for (const SceneryObject& o : track.sceneryObjects) {
        moveChunkLength(track.sceneryObjectLength, -sceneryObjectEncodedSize(o));
        moveChunkLength(track.sceneryLength, -sceneryObjectEncodedSize(o));
    }
    track.sceneryObjects.clear();
    for (const SceneryObject& o : objects)
        addSceneryObject(o, track);
    return track;
}

// The rich track's two objects (a Latin-1 text among them) and six with texts of many lengths.
std::vector<SceneryObject> eightObjects()
{
    std::vector<SceneryObject> objects = makeRichTrack().sceneryObjects;
    for (int i = 0; i < 6; ++i)
        objects.push_back(object(std::string(static_cast<std::size_t>(i * 7), 'a' + i), i));
    return objects;
}

Track trackWithScenery() { return richTrackWith(eightObjects()); }

TEST(TakeSceneryObjects, TakesInIndexOrderAndTheRestSavesAsIfNeverThere)
{
    const std::vector<SceneryObject> all = eightObjects();
    Track track = richTrackWith(all);
    std::vector<SceneryObject> kept = all;
    for (const std::size_t i : {6u, 3u, 1u})
        kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(i));

    const std::vector<SceneryObject> taken = takeSceneryObjects({6, 1, 3}, track);

    EXPECT_EQ(taken, (std::vector<SceneryObject>{all[1], all[3], all[6]}));
    // The same track built with only the others: equal record, lengths included, equal bytes.
    const Track expected = richTrackWith(kept);
    EXPECT_EQ(track, expected);
    EXPECT_EQ(encodeTrack(track), encodeTrack(expected));
    EXPECT_TRUE(takeSceneryObjects({}, track).empty());
    EXPECT_EQ(track, expected);
}

TEST(TakeSceneryObjects, AsAChangeComesBackWhereItWas)
{
    const Track before = trackWithScenery();
    Track track = before;
    TrackChange change = takeSceneryObjectsChange({7, 2}, track);
    const Track after = track;
    EXPECT_EQ(after.sceneryObjects.size(), 6u);
    change.revert(track);
    EXPECT_EQ(track, before);
    change.reapply(track);
    EXPECT_EQ(track, after);
}

// An edit of every kind a change keeps: objects taken and appended, free nodes appended, a
// fundament removed with the tube ends renumbered, a tube end moved.
struct Edited {
    Track before;
    Track after;
    TrackChange change;
};

Edited editRichTrack()
{
    Edited edited{trackWithScenery(), {}, {}};
    Track track = edited.before;
    TrackChangeRecorder recorder(track);
    recorder.takeSceneryObjects({4, 0}, track);
    addSceneryObject(object("new", 9), track);
    addSceneryObject(object("newer-with-a-long-name", 10), track);
    const int node = addFreeNode(1, 2, 3, track);
    setTubeEnd(0, TubeSide::A, TubeEnd{TubeEndFreeNode, 0, node}, track);
    removeFundaments({2}, track);
    edited.change = recorder.finish(track, {2});
    edited.after = std::move(track);
    return edited;
}

TEST(TrackChange, RevertAndReapplyGiveBackEachSideExactly)
{
    Edited edited = editRichTrack();
    const Bytes before = encodeTrack(edited.before);
    const Bytes after = encodeTrack(edited.after);
    ASSERT_NE(before, after);
    EXPECT_EQ(edited.change.removedSceneryObjects(), (std::vector<std::size_t>{0, 4}));
    EXPECT_EQ(edited.change.removedFundaments(), (std::vector<std::size_t>{2}));
    EXPECT_EQ(edited.change.appendedSceneryObjects(), 2u);
    EXPECT_EQ(edited.change.appendedFreeNodes(), 1u);
    EXPECT_GT(edited.change.changedTubes(), 1u);  // the moved end and the renumbered ones

    // Never a copy of the track: two objects, a fundament and a few tubes either way.
    EXPECT_LT(edited.change.heldBytes(), 2048u);
    Track track = edited.after;
    for (int round = 0; round < 2; ++round) {
        edited.change.revert(track);
        EXPECT_FALSE(edited.change.isApplied());
        EXPECT_LT(edited.change.heldBytes(), 2048u);
        EXPECT_EQ(track, edited.before);
        EXPECT_EQ(encodeTrack(track), before);
        edited.change.revert(track);  // not twice
        TrackChange().revert(track);  // a change of nothing
        EXPECT_EQ(track, edited.before);
        edited.change.reapply(track);
        EXPECT_TRUE(edited.change.isApplied());
        EXPECT_EQ(track, edited.after);
        EXPECT_EQ(encodeTrack(track), after);
        edited.change.reapply(track);  // not twice either
        EXPECT_TRUE(edited.change.isApplied());
        EXPECT_EQ(encodeTrack(track), after);
    }
}

}  // namespace
}  // namespace pw
