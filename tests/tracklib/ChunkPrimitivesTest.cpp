#include "tracklib/ChunkReader.h"
#include "tracklib/ChunkTags.h"
#include "tracklib/ChunkWriter.h"

#include <gtest/gtest.h>

#include <bit>
#include <vector>

namespace pw {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ChunkReaderTest, ReadsBigEndianInt32AndFloat)
{
    const Bytes bytes{0x00, 0x00, 0x80, 0x00, 0x00, 0x80, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFE,
                      0x80, 0x00, 0x00, 0x00, 0x3F, 0x80, 0x00, 0x00, 0xC1, 0x20, 0x00, 0x00};
    ChunkReader in(bytes);
    EXPECT_EQ(in.readInt32(), 32768);
    EXPECT_EQ(in.readInt32(), 8388608);
    EXPECT_EQ(in.readInt32(), -2);
    EXPECT_EQ(in.readInt32(), INT32_MIN);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(in.readFloat32()), std::bit_cast<std::uint32_t>(1.0f));
    EXPECT_EQ(std::bit_cast<std::uint32_t>(in.readFloat32()), std::bit_cast<std::uint32_t>(-10.0f));
    EXPECT_TRUE(in.ok());
    EXPECT_TRUE(in.atEnd());
}

TEST(ChunkReaderTest, ReadsFlagsBytesColoursAndTexts)
{
    const Bytes bytes{0xFF, 0x01, 0x00, 0x80, 0xFF, 0x00, 0x7F, 0x80,
                      0, 0, 0, 3, 'C', 'a', 0xE9, 0, 0, 0, 0, 'Z'};
    ChunkReader in(bytes);
    EXPECT_EQ(in.readBool(), 1);
    EXPECT_EQ(in.readBool(), 0);  // only 0xFF is true
    EXPECT_EQ(in.readBool(), 0);
    EXPECT_EQ(in.readInt8(), -128);
    EXPECT_EQ(in.readColour(), (Colour{255, 0, 127, 128}));
    EXPECT_EQ(in.readText(), "Ca\xE9");
    EXPECT_EQ(in.readText(), "");
    EXPECT_EQ(in.remaining(), 1u);
    EXPECT_TRUE(in.ok());
}

TEST(ChunkReaderTest, ReadsTagsExactly)
{
    const Bytes bytes{'N', 'L', 'I', 'M', 'E', 'N', 'V', 'C', 'n', 'l', 'i', 'm', 'C', 'S', 'T', 'M'};
    ChunkReader in(bytes);
    EXPECT_EQ(in.readTag(), TagFileHeader);
    EXPECT_EQ(in.readTag(), TagEnvironment);
    EXPECT_EQ(in.readTag(), TagNone);  // case matters
    EXPECT_EQ(in.readTag(), TagNone);  // written, never read
}

TEST(ChunkReaderTest, StopsAtTheEndAndStaysStopped)
{
    const Bytes bytes{0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
    ChunkReader in(bytes);
    EXPECT_EQ(in.readInt32(), 0x01020304);
    EXPECT_EQ(in.readInt32(), 0);
    EXPECT_EQ(in.failure(), ReadFailure::CutShort);
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(in.readInt8(), 0);
    EXPECT_EQ(in.readBool(), 0);
}

TEST(ChunkReaderTest, RefusesTextsLongerThanTheBytesLeft)
{
    const Bytes bytes{0x7F, 0xFF, 0xFF, 0xFF, 'a', 'b'};
    ChunkReader in(bytes);
    EXPECT_EQ(in.readText(), "");
    EXPECT_EQ(in.failure(), ReadFailure::CutShort);
}

TEST(ChunkReaderTest, NegativeTextLengthStopsWithoutConsumingMore)
{
    const Bytes bytes{0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c', 'd'};
    ChunkReader in(bytes);
    EXPECT_EQ(in.readText(), "");
    EXPECT_EQ(in.failure(), ReadFailure::NegativeLength);
    EXPECT_EQ(in.position(), 4u);
    EXPECT_EQ(in.readInt32(), 0);
    EXPECT_EQ(in.position(), 4u);
}

TEST(ChunkReaderTest, FieldReadsKeepTheOldValueOnFailure)
{
    const Bytes bytes{0x00, 0x00};
    ChunkReader in(bytes);
    std::int32_t value = 77;
    std::string text = "kept";
    in.read(value);
    in.read(text);
    EXPECT_EQ(value, 77);
    EXPECT_EQ(text, "kept");
}

TEST(ChunkWriterTest, WritesEachEncoding)
{
    ChunkWriter out;
    out.writeInt32(-2);
    out.writeFloat32(-10.0f);
    out.writeBool(1);
    out.writeBool(2);
    out.writeBool(-1);
    out.writeInt8(0x1FF);
    out.writeColour(Colour{256, 255, -1, 0x1234});
    out.writeText("");
    out.writeText("Ca\xE9");
    out.writeZeros(2);
    const Bytes expected{0xFF, 0xFF, 0xFF, 0xFE, 0xC1, 0x20, 0x00, 0x00, 0xFF, 0x00, 0x00,
                         0xFF, 0x00, 0xFF, 0xFF, 0x34, 0, 0, 0, 0, 0, 0, 0, 3,
                         'C', 'a', 0xE9, 0, 0};
    EXPECT_EQ(out.bytes(), expected);
}

TEST(ChunkWriterTest, WritesATextOnlyUpToAZeroByte)
{
    ChunkWriter out;
    out.writeText(std::string("ab\0cd", 5));
    const Bytes expected{0, 0, 0, 2, 'a', 'b'};
    EXPECT_EQ(out.bytes(), expected);
}

TEST(ChunkWriterTest, WritesOnlyKnownTagNumbers)
{
    ChunkWriter out;
    out.writeTag(TagNone);
    out.writeTag(16);
    out.writeTag(-1);
    EXPECT_TRUE(out.bytes().empty());
    out.writeTag(TagTerrain);
    out.writeRawTag("vrtx");
    const Bytes expected{'T', 'E', 'R', 'A', 'v', 'r', 't', 'x'};
    EXPECT_EQ(out.bytes(), expected);
}

}  // namespace
}  // namespace pw
