#include "FundamentRemoval.h"

#include "tracklib/Track.h"
#include "tracklib/TrackOperations.h"

#include <cstddef>
#include <cstdint>

namespace pw {

void removeFundaments(std::vector<int> indices, Track& track)
{
    if (indices.empty())
        return;
    const std::size_t count = track.fundaments.size();
    std::vector<char> removed(count, 0);
    for (const int index : indices)
        removed[static_cast<std::size_t>(index)] = 1;

    // removedBelow[i]: how many removed indices are smaller than i, for i up to count.
    std::vector<std::int32_t> removedBelow(count + 1, 0);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < count; ++i) {
        removedBelow[i + 1] = removedBelow[i] + removed[i];
        if (!removed[i])
            track.fundaments[kept++] = track.fundaments[i];
    }
    track.fundaments.resize(kept);
    const std::int32_t removedCount = removedBelow[count];
    moveChunkLength(track.fundamentLength, -std::int64_t{removedCount} * fundamentEncodedSize);

    // Ends naming no fundament of the track keep naming none: below 0 they stay, at or above
    // the old count they move down by every removal, as one removal at a time would move them.
    for (Tube& tube : track.tubes) {
        for (TubeEnd* end : {&tube.endA, &tube.endB}) {
            if (end->kind != TubeEndFundament || end->index <= 0)
                continue;
            if (static_cast<std::size_t>(end->index) >= count)
                end->index -= removedCount;
            else
                end->index -= removedBelow[static_cast<std::size_t>(end->index)];
        }
    }
}

}  // namespace pw
