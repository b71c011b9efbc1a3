// Any bytes at all, read as a track file: the reader must not crash, and what it read must
// write and read back unchanged.

#include "RoundTrip.h"
#include "StopOnFailure.h"
#include "tracklib/TrackFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    pw::Track track;
    pw::ReadDiagnostics diagnostics;
    pw::readTrackBytes({data, size}, track, &diagnostics);
    if (diagnostics.bytesSkipped > size)
        pw::hardening::stopOnFailure("skipped " + std::to_string(diagnostics.bytesSkipped) +
                                     " bytes of " + std::to_string(size));
    return pw::hardening::stopOnFailure(pw::hardening::checkWrittenTrackReadsBack(track));
}
