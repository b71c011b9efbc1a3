#pragma once
// A file's length and a 64-bit FNV-1a hash of its bytes: enough to tell whether a file still holds
// what this program wrote there, against accidental change rather than a forger.

#include <cstddef>
#include <cstdint>
#include <span>

namespace pw {

struct FileDigest {
    std::uint64_t size = 0;
    std::uint64_t hash = 0xcbf29ce484222325;  // FNV-1a's offset basis: no bytes yet

    // Takes in the next bytes of the file.
    void add(std::span<const std::uint8_t> bytes)
    {
        for (const std::uint8_t byte : bytes)
            hash = (hash ^ byte) * 0x100000001b3;
        size += bytes.size();
    }

    friend bool operator==(const FileDigest&, const FileDigest&) = default;
};

inline FileDigest digestOf(std::span<const std::uint8_t> bytes)
{
    FileDigest digest;
    digest.add(bytes);
    return digest;
}

}  // namespace pw
