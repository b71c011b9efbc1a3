#pragma once
// Reading and writing whole track files.

#include "CoreError.h"
#include "Track.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pw {

// What the reader passed over. It never changes the reader's result: a file that opened reads
// as well as it can.
struct ReadDiagnostics {
    std::optional<CoreError> openError;  // why the file could not be opened, when it could not
    std::uint64_t bytesSkipped = 0; // bytes passed over by the tag scan as unknown
    int chunksCutShort = 0;         // recognised chunks that ended before their layout did
    int negativeTextLengths = 0;    // recognised chunks whose decoding stopped at a text whose
                                    // length was below zero
};

// Larger files are refused unread: the largest tracks designers build take a few megabytes.
inline constexpr std::uint64_t largestTrackFileSize = std::uint64_t{256} << 20;

// Fills `track` from the file. Returns 0 when the file cannot be opened or is larger than
// largestTrackFileSize (the track is then untouched), 1 otherwise, however damaged the
// contents. The caller passes an empty Track.
int readTrackFile(const std::filesystem::path& path, Track& track,
                  ReadDiagnostics* diagnostics = nullptr);

// The same decoding over bytes already in memory.
void readTrackBytes(std::span<const std::uint8_t> bytes, Track& track,
                    ReadDiagnostics* diagnostics = nullptr);

// Whether the reader recognised anything at all: a file of unrelated bytes reads as an empty
// record, and saving that record would replace the file with an empty track.
bool holdsTrackData(const Track& track);

struct WriteResult {
    bool ok = false;
    CoreError error;  // why not, when !ok
};

// The whole file as the writer lays it out.
std::vector<std::uint8_t> encodeTrack(const Track& track);

// Writes atomically: to a temporary file beside `path`, flushed, then renamed over `path`. On
// failure the previous file is untouched and the temporary file is gone.
WriteResult writeTrackFile(const std::filesystem::path& path, const Track& track);

}  // namespace pw
