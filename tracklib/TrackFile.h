#pragma once
// Reading and writing whole track files.

#include "FileError.h"
#include "Result.h"
#include "Track.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace pw {

// What the reader passed over. It never changes the reader's result: a file that opened reads
// as well as it can.
struct ReadDiagnostics {
    std::uint64_t bytesSkipped = 0;  // bytes passed over by the tag scan as unknown
    int chunksCutShort = 0;          // recognised chunks that ended before their layout did
    int negativeTextLengths = 0;     // recognised chunks whose decoding stopped at a text whose
                                     // length was below zero
    int textsCutAtZero = 0;          // texts holding a zero byte, which saving cuts there
};

// Whether the reader passed over or cut anything, so that a saved copy would not hold all of the
// file: front ends warn about such a file.
bool isDamaged(const ReadDiagnostics& diagnostics);

// Larger files are refused unread: the largest tracks designers build take a few megabytes.
inline constexpr std::uint64_t largestTrackFileSize = std::uint64_t{256} << 20;

// Fills `track` from the file, read in one pass (also a pipe or a device). Fails when the file
// cannot be opened, holds more than largestTrackFileSize bytes or cannot be held in memory (the
// track is then untouched); succeeds however damaged the contents. The caller passes an empty
// Track.
Result<void> readTrackFile(const std::filesystem::path& path, Track& track,
                           ReadDiagnostics* diagnostics = nullptr);

// The same from the process's standard input.
Result<void> readTrackFromStandardInput(Track& track, ReadDiagnostics* diagnostics = nullptr);

// The same from a file already opened (and checked) by the caller, read from where it stands;
// `expectedSize` (0 when unknown) sizes the buffer, `path` names the file in errors.
Result<void> readTrackFromOpenFile(std::FILE* in, std::uint64_t expectedSize,
                                   const std::filesystem::path& path, Track& track,
                                   ReadDiagnostics* diagnostics = nullptr);

// The same decoding over bytes already in memory.
void readTrackBytes(std::span<const std::uint8_t> bytes, Track& track,
                    ReadDiagnostics* diagnostics = nullptr);

// Whether the reader recognised anything at all: a file of unrelated bytes reads as an empty
// record, and saving that record would replace the file with an empty track.
bool holdsTrackData(const Track& track);

// The whole file as the writer lays it out.
std::vector<std::uint8_t> encodeTrack(const Track& track);

// Writes atomically (AtomicFile.h): on failure the previous file is untouched and no temporary
// file remains. Through a symbolic link the file it names is replaced. A path that exists and is
// not a regular file (a directory, a FIFO, a device) is refused and left alone.
Result<void> writeTrackFile(const std::filesystem::path& path, const Track& track);

}  // namespace pw
