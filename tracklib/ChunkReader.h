#pragma once
// A bounded cursor over bytes in memory. Values are big-endian. A read that would pass the end
// fails instead, and so does a text with a negative length; the failure is sticky: every later
// read returns zero (or an empty text) and moves nothing, so a group of reads is checked once.

#include "Track.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>

namespace pw {

enum class ReadFailure {
    None,
    CutShort,        // the bytes ended inside a value
    NegativeLength,  // a text announced fewer than zero bytes
};

class ChunkReader {
public:
    explicit ChunkReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::int32_t readInt32();
    float readFloat32();
    Flag readBool();  // 1 for the byte 0xFF, 0 for any other byte
    std::int8_t readInt8();
    Colour readColour();
    std::string readText();
    int readTag();  // a ChunkTag number, 0 for four bytes that are no recognised tag
    void skipBytes(std::size_t count);

    // Store into `field` only when the read succeeded, so a chunk cut short keeps what it had.
    void read(std::int32_t& field);
    void read(float& field);
    void read(std::int8_t& field);
    void read(Colour& field);
    void read(std::string& field);
    void readFlag(Flag& field);

    bool ok() const { return failure_ == ReadFailure::None; }
    ReadFailure failure() const { return failure_; }
    std::size_t position() const { return position_; }
    std::size_t remaining() const { return bytes_.size() - position_; }
    bool atEnd() const { return position_ >= bytes_.size(); }

    // A fresh cursor over the bytes not yet read, for decoding one chunk on its own.
    ChunkReader rest() const { return ChunkReader(bytes_.subspan(position_)); }

private:
    // The next `count` bytes, or nullptr (and the cursor failed) when fewer are left.
    const std::uint8_t* take(std::size_t count);

    // The read(...) functions' one rule: `value` replaces `field` only when it was read whole.
    template <class T>
    void keepIfRead(T& field, T value)
    {
        if (ok()) {
            field = std::move(value);
        }
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    ReadFailure failure_ = ReadFailure::None;
};

}  // namespace pw
