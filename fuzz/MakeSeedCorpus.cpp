// Writes the fuzzers' seed corpus into the directory given as the only argument.

#include "testsupport/SeedTracks.h"
#include "tracklib/TrackFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::filesystem::path directory = argv[1];
    int failures = 0;
    for (const auto& seed : pw::hardening::seedTracks()) {
        const pw::Result<void> result = pw::writeTrackFile(directory / seed.fileName, seed.track);
        if (!result.ok()) {
            std::fprintf(stderr, "%s\n", pw::errorText(result.error()).c_str());
            ++failures;
        }
    }
    for (const auto& seed : pw::hardening::hostileSeedFiles()) {
        std::ofstream out(directory / seed.fileName, std::ios::binary);
        out.write(reinterpret_cast<const char*>(seed.bytes.data()),
                  static_cast<std::streamsize>(seed.bytes.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "cannot write %s\n", (directory / seed.fileName).string().c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
