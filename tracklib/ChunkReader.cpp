#include "ChunkReader.h"

#include "ChunkTags.h"

#include <bit>
#include <cstring>
#include <utility>

namespace pw {

const std::uint8_t* ChunkReader::take(std::size_t count)
{
    if (!ok()) {
        return nullptr;
    }
    if (count > remaining()) {
        // What is left belongs to the value that did not fit.
        failure_ = ReadFailure::CutShort;
        position_ = bytes_.size();
        return nullptr;
    }
    const std::uint8_t* data = bytes_.data() + position_;
    position_ += count;
    return data;
}

std::int32_t ChunkReader::readInt32()
{
    const std::uint8_t* b = take(4);
    if (b == nullptr) {
        return 0;
    }
    const std::uint32_t value = (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) |
                                (std::uint32_t{b[2]} << 8) | std::uint32_t{b[3]};
    return static_cast<std::int32_t>(value);
}

float ChunkReader::readFloat32() { return std::bit_cast<float>(readInt32()); }

Flag ChunkReader::readBool()
{
    const std::uint8_t* b = take(1);
    return (b != nullptr && *b == 0xFF) ? 1 : 0;
}

std::int8_t ChunkReader::readInt8()
{
    const std::uint8_t* b = take(1);
    return b == nullptr ? 0 : static_cast<std::int8_t>(*b);
}

Colour ChunkReader::readColour()
{
    const std::uint8_t* b = take(4);
    if (b == nullptr) {
        return Colour{};
    }
    return Colour{b[0], b[1], b[2], b[3]};
}

std::string ChunkReader::readText()
{
    const std::int32_t length = readInt32();
    if (!ok() || length == 0) {
        return std::string();
    }
    if (length < 0) {
        failure_ = ReadFailure::NegativeLength;
        return std::string();
    }
    const std::uint8_t* b = take(static_cast<std::size_t>(length));
    if (b == nullptr) {
        return std::string();
    }
    return std::string(reinterpret_cast<const char*>(b), static_cast<std::size_t>(length));
}

int ChunkReader::readTag()
{
    const std::uint8_t* b = take(4);
    if (b == nullptr) {
        return TagNone;
    }
    for (int number = TagFileHeader; number <= TagEnvironment; ++number) {
        if (std::memcmp(b, chunkTagNames[number], 4) == 0) {
            return number;
        }
    }
    return TagNone;
}

void ChunkReader::skipBytes(std::size_t count) { take(count); }

void ChunkReader::read(std::int32_t& field) { keepIfRead(field, readInt32()); }

void ChunkReader::read(float& field) { keepIfRead(field, readFloat32()); }

void ChunkReader::read(std::int8_t& field) { keepIfRead(field, readInt8()); }

void ChunkReader::read(Colour& field) { keepIfRead(field, readColour()); }

void ChunkReader::read(std::string& field) { keepIfRead(field, readText()); }

void ChunkReader::readFlag(Flag& field) { keepIfRead(field, readBool()); }

}  // namespace pw
