#include "TracklibTestSupport.h"
#include "tracklib/ChunkReader.h"
#include "tracklib/ChunkTags.h"
#include "tracklib/ChunkWriter.h"

#include <bit>

namespace pw {
namespace {

TEST(ChunkReaderTest, ReadsEachEncoding)
{
    const Bytes bytes{0x00, 0x00, 0x80, 0x00, 0x00, 0x80, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFE,
                      0x80, 0x00, 0x00, 0x00, 0x3F, 0x80, 0x00, 0x00, 0xC1, 0x20, 0x00, 0x00,
                      0xFF, 0x01, 0x00, 0x80, 0xFF, 0x00, 0x7F, 0x80, 0,    0,    0,    3,
                      'C',  'a',  0xE9, 0,    0,    0,    0,    'N',  'L',  'I',  'M',  'E',
                      'N',  'V',  'C',  'n',  'l',  'i',  'm',  'C',  'S',  'T',  'M',  'Z'};
    ChunkReader in(bytes);
    EXPECT_EQ(in.readInt32(), 32768);
    EXPECT_EQ(in.readInt32(), 8388608);
    EXPECT_EQ(in.readInt32(), -2);
    EXPECT_EQ(in.readInt32(), INT32_MIN);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(in.readFloat32()), std::bit_cast<std::uint32_t>(1.0f));
    EXPECT_EQ(std::bit_cast<std::uint32_t>(in.readFloat32()), std::bit_cast<std::uint32_t>(-10.0f));
    EXPECT_EQ(in.readBool(), 1);
    EXPECT_EQ(in.readBool(), 0);  // only 0xFF is true
    EXPECT_EQ(in.readBool(), 0);
    EXPECT_EQ(in.readInt8(), -128);
    EXPECT_EQ(in.readColour(), (Colour{255, 0, 127, 128}));
    EXPECT_EQ(in.readText(), "Ca\xE9");
    EXPECT_EQ(in.readText(), "");
    EXPECT_EQ(in.readTag(), TagFileHeader);
    EXPECT_EQ(in.readTag(), TagEnvironment);
    EXPECT_EQ(in.readTag(), TagNone);  // case matters
    EXPECT_EQ(in.readTag(), TagNone);  // written, never read
    EXPECT_EQ(in.remaining(), 1u);
    EXPECT_TRUE(in.ok());
}

TEST(ChunkReaderTest, StopsAtTheEndAndStaysStopped)
{
    const Bytes bytes{0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
    ChunkReader in(bytes);
    EXPECT_EQ(in.readInt32(), 0x01020304);
    std::int32_t value = 77;
    in.read(value);  // a field read that fails keeps the old value
    EXPECT_EQ(value, 77);
    EXPECT_EQ(in.failure(), ReadFailure::CutShort);
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(in.readInt32(), 0);
    EXPECT_EQ(in.readInt8(), 0);
    EXPECT_EQ(in.readBool(), 0);
    std::string text = "kept";
    in.read(text);
    EXPECT_EQ(text, "kept");
}

TEST(ChunkReaderTest, RefusesTextLengthsBeyondTheBytesOrBelowZero)
{
    const Bytes tooLong{0x7F, 0xFF, 0xFF, 0xFF, 'a', 'b'};
    ChunkReader in(tooLong);
    EXPECT_EQ(in.readText(), "");
    EXPECT_EQ(in.failure(), ReadFailure::CutShort);

    // A negative length stops without consuming more.
    const Bytes negative{0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c', 'd'};
    ChunkReader stopped(negative);
    EXPECT_EQ(stopped.readText(), "");
    EXPECT_EQ(stopped.failure(), ReadFailure::NegativeLength);
    EXPECT_EQ(stopped.position(), 4u);
    EXPECT_EQ(stopped.readInt32(), 0);
    EXPECT_EQ(stopped.position(), 4u);
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
    out.writeText(std::string("ab\0cd", 5));  // up to the zero byte
    out.writeZeros(2);
    for (const int unknown : {int{TagNone}, 16, -1})
        out.writeTag(unknown);  // writes nothing
    out.writeTag(TagTerrain);
    out.writeRawTag("vrtx");
    const Bytes expected{0xFF, 0xFF, 0xFF, 0xFE, 0xC1, 0x20, 0x00, 0x00, 0xFF, 0x00, 0x00,
                         0xFF, 0x00, 0xFF, 0xFF, 0x34, 0,    0,    0,    0,    0,    0,
                         0,    3,    'C',  'a',  0xE9, 0,    0,    0,    2,    'a',  'b',
                         0,    0,    'T',  'E',  'R',  'A',  'v',  'r',  't',  'x'};
    EXPECT_EQ(out.bytes(), expected);
}

}  // namespace
}  // namespace pw
