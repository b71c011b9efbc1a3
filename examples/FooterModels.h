#pragma once
// The six sample footer models: one plinth per tube size class, growing with the class, and a
// neutral box for "default.3ds", which the window scales by a percentage.

#include "ThreeDsModel.h"

#include <string>
#include <vector>

namespace pw {

struct FooterModelFile {
    std::string fileName;  // as the window looks for it in the model directory
    Mesh mesh;
};

// small, medium, large, x-large, xx-large, then default.
std::vector<FooterModelFile> sampleFooterModels();

}  // namespace pw
