#pragma once
// Appends big-endian values to a growing byte buffer.

#include "Track.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pw {

class ChunkWriter {
public:
    void writeInt32(std::int32_t value);
    void writeFloat32(float value);
    void writeBool(Flag value);          // 0xFF for exactly 1, 0x00 for anything else
    void writeInt8(std::int32_t value);  // the low 8 bits
    void writeColour(const Colour& colour);
    void writeText(const std::string& text);  // up to the first zero byte
    void writeTag(int number);                // a ChunkTag number; nothing for any other number
    void writeRawTag(const char (&letters)[5]);
    void writeZeros(std::size_t count);
    void reserve(std::size_t byteCount) { bytes_.reserve(byteCount); }

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace pw
