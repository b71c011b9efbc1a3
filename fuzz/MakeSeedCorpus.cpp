// Writes the fuzzers' seed corpus into the directory given as the only argument.

#include "SeedTracks.h"
#include "tracklib/TrackFile.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::filesystem::path directory = argv[1];
    int failures = 0;
    for (const auto& seed : pw::hardening::seedTracks()) {
        const pw::WriteResult result = pw::writeTrackFile(directory / seed.fileName, seed.track);
        if (!result.ok) {
            std::fprintf(stderr, "%s\n", pw::errorText(result.error).c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
