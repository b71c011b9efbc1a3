#include "RoundTrip.h"

#include "tracklib/TrackFile.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace pw::hardening {

std::string checkWrittenTrackReadsBack(const Track& track)
{
    const std::vector<std::uint8_t> written = encodeTrack(track);
    Track reread;
    readTrackBytes(written, reread);
    const std::vector<std::uint8_t> rewritten = encodeTrack(reread);
    if (rewritten == written) {
        return {};
    }
    const auto [first, second] =
        std::mismatch(written.begin(), written.end(), rewritten.begin(), rewritten.end());
    return "written track of " + std::to_string(written.size()) + " bytes reads back as " +
           std::to_string(rewritten.size()) + " bytes, first difference at offset " +
           std::to_string(first - written.begin());
}

}  // namespace pw::hardening
