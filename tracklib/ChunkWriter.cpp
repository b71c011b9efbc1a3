#include "ChunkWriter.h"

#include "ChunkTags.h"

#include <algorithm>
#include <bit>

namespace pw {

void ChunkWriter::writeInt32(std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    const std::uint8_t bigEndian[4] = {
        static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
        static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
    bytes_.insert(bytes_.end(), bigEndian, bigEndian + 4);
}

void ChunkWriter::writeFloat32(float value) { writeInt32(std::bit_cast<std::int32_t>(value)); }

void ChunkWriter::writeBool(Flag value) { bytes_.push_back(value == 1 ? 0xFF : 0x00); }

void ChunkWriter::writeInt8(std::int32_t value)
{
    bytes_.push_back(static_cast<std::uint8_t>(value));
}

void ChunkWriter::writeColour(const Colour& colour)
{
    writeInt8(colour.c0);
    writeInt8(colour.c1);
    writeInt8(colour.c2);
    writeInt8(colour.c3);
}

void ChunkWriter::writeText(const std::string& text)
{
    const std::size_t length = std::min(text.find('\0'), text.size());
    writeInt32(static_cast<std::int32_t>(length));
    bytes_.insert(bytes_.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
}

void ChunkWriter::writeTag(int number)
{
    if (number < TagFileHeader || number > TagEnvironment) {
        return;
    }
    const char* letters = chunkTagNames[number];
    bytes_.insert(bytes_.end(), letters, letters + 4);
}

void ChunkWriter::writeRawTag(const char (&letters)[5])
{
    bytes_.insert(bytes_.end(), letters, letters + 4);
}

void ChunkWriter::writeZeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }

}  // namespace pw
