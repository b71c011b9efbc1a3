// bench_make_track <track name> <file>: writes one of the synthetic tracks, for the programs
// that must not build it themselves.

#include "RawFileCopy.h"
#include "SyntheticTrack.h"

#include "tracklib/TrackFile.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_make_track <large|realistic|large-clustered> <file>\n");
        return 2;
    }
    const pw::bench::SyntheticTrackSize size = pw::bench::trackSizeNamed(argv[1]);
    if (size.name.empty()) {
        std::fprintf(stderr, "no track named %s\n", argv[1]);
        return 2;
    }
    const std::filesystem::path file = argv[2];
    if (!pw::bench::writeWholeFile(file, pw::encodeTrack(pw::bench::makeSyntheticTrack(size)))) {
        std::fprintf(stderr, "cannot write %s\n", file.string().c_str());
        return 1;
    }
    return 0;
}
