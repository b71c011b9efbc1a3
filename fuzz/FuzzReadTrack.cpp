// Any bytes at all, read as a track file: the reader must not crash, and what it read must
// write and read back unchanged.

#include "RoundTrip.h"
#include "tracklib/TrackFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    pw::Track track;
    pw::ReadDiagnostics diagnostics;
    pw::readTrackBytes({data, size}, track, &diagnostics);
    if (diagnostics.bytesSkipped > size) {
        std::fprintf(stderr, "skipped %llu bytes of %zu\n",
                     static_cast<unsigned long long>(diagnostics.bytesSkipped), size);
        std::abort();
    }
    if (const std::string failure = pw::hardening::checkWrittenTrackReadsBack(track);
        !failure.empty()) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
