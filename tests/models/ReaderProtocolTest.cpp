// The reader's answers as the window and the command line decode them: what a reader encodes comes
// back the same, and an answer cut short, lying about its counts or holding what no footprint
// holds is refused before anything it claims is allocated.

#include "models/ReaderProtocol.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

namespace pw {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Two meshes: one placed once, in place, and a triangle placed twice.
ModelFootprint instancedFootprint()
{
    ModelFootprint footprint;
    footprint.readable = true;
    footprint.points = {{0, 0, 0}, {2, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    footprint.minimum = {0, 0, 0};
    footprint.maximum = {2, 1, 1};
    const ModelMesh triangle{
        {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}, {0, 1, 2}};
    Placement moved = identityPlacement;
    moved[3] = 1.0f;
    footprint.meshes = {{triangle, {identityPlacement}}, {triangle, {identityPlacement, moved}}};
    footprint.warnings = {"read without its keyframer: more than 512 nodes"};
    return footprint;
}

ModelFootprint decoded(const Bytes& answer)
{
    const std::span<const std::uint8_t> all(answer);
    EXPECT_EQ(decodeAnswerHeader(all.first<readerAnswerHeaderBytes>()),
              answer.size() - readerAnswerHeaderBytes);
    const std::optional<ReaderAnswer> read = decodeAnswerBody(all.subspan(readerAnswerHeaderBytes));
    return read ? read->footprint
                : unitSquareFootprint(CoreError(ModelError::ReaderSaid, {}, {}, {}, 0, "refused"));
}

std::optional<ReaderAnswer> body(const Bytes& answer)
{
    return decodeAnswerBody(std::span<const std::uint8_t>(answer).subspan(readerAnswerHeaderBytes));
}

void setU32(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

TEST(ReaderProtocol, FootprintsComeBackAsEncoded)
{
    const ModelFootprint sent = instancedFootprint();
    const ModelFootprint got = decoded(encodeAnswer({ReaderOutcome::Read, sent}));
    EXPECT_TRUE(got.readable);
    EXPECT_EQ(got.points, sent.points);
    EXPECT_EQ(got.minimum, sent.minimum);
    EXPECT_EQ(got.maximum, sent.maximum);
    ASSERT_EQ(got.meshes.size(), 2u);
    for (std::size_t m = 0; m < 2; ++m) {
        EXPECT_EQ(got.meshes[m].mesh.positions, sent.meshes[m].mesh.positions);
        EXPECT_EQ(got.meshes[m].mesh.normals, sent.meshes[m].mesh.normals);
        EXPECT_EQ(got.meshes[m].mesh.indices, sent.meshes[m].mesh.indices);
        EXPECT_EQ(got.meshes[m].placements, sent.meshes[m].placements);
    }
    EXPECT_EQ(got.warnings, sent.warnings);

    const ModelFootprint square = decoded(
        encodeAnswer({ReaderOutcome::Read, unitSquareFootprint(CoreError(ModelError::NotFound))}));
    EXPECT_FALSE(square.readable);
    EXPECT_EQ(square.problem, "not found");
    EXPECT_EQ(
        square.points,
        (std::vector<Vector3>{
            {-0.5f, 0.0f, -0.5f}, {0.5f, 0.0f, -0.5f}, {0.5f, 0.0f, 0.5f}, {-0.5f, 0.0f, 0.5f}}));

    const Bytes outOfMemory = encodeAnswer({ReaderOutcome::OutOfMemory, {}});
    ASSERT_TRUE(body(outOfMemory));
    EXPECT_EQ(body(outOfMemory)->outcome, ReaderOutcome::OutOfMemory);
}

TEST(ReaderProtocol, RequestHeadersComeBackOrAreRefused)
{
    const auto header = encodeRequestHeader({2, 1234});
    const std::optional<ReaderRequest> request = decodeRequestHeader(header);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->processorSeconds, 2u);
    EXPECT_EQ(request->fileBytes, 1234u);

    auto tooLarge = encodeRequestHeader({2, static_cast<std::uint32_t>(largestModelFileBytes) + 1});
    EXPECT_FALSE(decodeRequestHeader(tooLarge));
    auto otherVersion = header;
    otherVersion[4] = 2;
    EXPECT_FALSE(decodeRequestHeader(otherVersion));
    auto otherMagic = header;
    otherMagic[0] = 'X';
    EXPECT_FALSE(decodeRequestHeader(otherMagic));
}

// Every length short of the whole, and one byte more, is refused.
TEST(ReaderProtocol, CutOrLengthenedAnswersAreRefused)
{
    const Bytes answer = encodeAnswer({ReaderOutcome::Read, instancedFootprint()});
    for (std::size_t length = readerAnswerHeaderBytes; length < answer.size(); ++length)
        EXPECT_FALSE(
            body(Bytes(answer.begin(), answer.begin() + static_cast<std::ptrdiff_t>(length))))
            << length;
    Bytes longer = answer;
    longer.push_back(0);
    EXPECT_FALSE(body(longer));
}

// Each change makes the answer say something no reader may say; the offsets follow the layout of
// instancedFootprint's answer.
TEST(ReaderProtocol, LyingAnswersAreRefused)
{
    const Bytes answer = encodeAnswer({ReaderOutcome::Read, instancedFootprint()});
    // Header 12, outcome and readable 2, problem 4, bounds 24: the points' count at 42.
    constexpr std::size_t points = 42;
    constexpr std::size_t meshes = points + 4 + 4 * 12;
    constexpr std::size_t firstPositions = meshes + 4;
    constexpr std::size_t firstIndices = firstPositions + 4 + 3 * 24;
    constexpr std::size_t firstPlacements = firstIndices + 4 + 3 * 4;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        const char* name;
        std::size_t at;
        std::uint32_t value;
    } cases[] = {
        {"another outcome", 12, 7},
        {"readable is neither 0 nor 1", 13, 2},
        {"more points than the bytes hold", points, 5},
        {"points over the bound", points, static_cast<std::uint32_t>(mostOutlinePoints) + 1},
        {"a point beyond reach", points + 4, std::bit_cast<std::uint32_t>(modelReachMetres * 2)},
        {"a bound that is not a number", 18, std::bit_cast<std::uint32_t>(nan)},
        {"meshes past the bytes", meshes, 0xFFFFFFFF},
        {"positions past the bytes", firstPositions, 1000},
        {"a normal that is infinite", firstPositions + 4 + 12,
         std::bit_cast<std::uint32_t>(std::numeric_limits<float>::infinity())},
        {"an index past the positions", firstIndices + 4, 3},
        {"placements past the bytes", firstPlacements, 2},
        {"a placement that is not affine", firstPlacements + 4 + 15 * 4,
         std::bit_cast<std::uint32_t>(2.0f)},
    };
    for (const auto& c : cases) {
        Bytes lying = answer;
        setU32(lying, c.at, c.value);
        EXPECT_FALSE(body(lying)) << c.name;
    }

    // A readable model says no problem and has points; an unreadable one says why.
    ModelFootprint noPoints = instancedFootprint();
    noPoints.points.clear();
    EXPECT_FALSE(body(encodeAnswer({ReaderOutcome::Read, noPoints})));
    ModelFootprint silent = unitSquareFootprint(CoreError(ModelError::NotFound));
    silent.problem.clear();
    EXPECT_FALSE(body(encodeAnswer({ReaderOutcome::Read, silent})));
    ModelFootprint triangleCutShort = instancedFootprint();
    triangleCutShort.meshes[0].mesh.indices.pop_back();
    EXPECT_FALSE(body(encodeAnswer({ReaderOutcome::Read, triangleCutShort})));
}

// A reader never answers beyond the bounds: a footprint over them becomes the square saying so.
TEST(ReaderProtocol, FootprintsOverTheBoundsAreAnsweredAsTheSquare)
{
    ModelFootprint tooManyPlaces = instancedFootprint();
    tooManyPlaces.meshes[1].placements.assign(mostAnswerPositions / 3 + 1, identityPlacement);
    ModelFootprint tooManyPoints = instancedFootprint();
    tooManyPoints.points.assign(mostOutlinePoints + 1, {0, 0, 0});
    for (const ModelFootprint& over : {tooManyPlaces, tooManyPoints}) {
        const Bytes answer = encodeAnswer({ReaderOutcome::Read, over});
        EXPECT_LT(answer.size(), 200u);
        EXPECT_EQ(decoded(answer).problem, "more than a reader may answer");
    }
    EXPECT_LE(encodeAnswer({ReaderOutcome::Read, instancedFootprint()}).size(),
              largestReaderAnswerBytes);
    Bytes header = encodeAnswer({});
    setU32(header, 8, static_cast<std::uint32_t>(largestReaderAnswerBytes));
    EXPECT_FALSE(
        decodeAnswerHeader(std::span<const std::uint8_t>(header).first<readerAnswerHeaderBytes>()));
}

}  // namespace
}  // namespace pw
