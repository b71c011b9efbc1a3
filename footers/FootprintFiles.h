#pragma once
// Which model files a plan or 3D view of a track can ask of each footprint source, so that they
// can all be read ahead of the drawing, off the window's thread.

#include "tracklib/Track.h"

#include <string>
#include <vector>

namespace pw {

struct FootprintFiles {
    // The six footer models a generation may add, then the other models the track's footers
    // name, for a footer whose installed copy cannot be read.
    std::vector<std::string> modelDirectory;
    // Each footer's stored path, relative to the simulator's objects directory.
    std::vector<std::string> installed;
};

// Each file once.
FootprintFiles footprintFilesOf(const Track& track);

}  // namespace pw
