#include "FooterModels.h"

namespace pw {

namespace {

// A concrete footer sits a quarter of its height in the ground and narrows towards its top.
FooterModelFile plinth(const std::string& fileName, const std::string& meshName, float width)
{
    const float height = 0.5f * width + 0.3f;
    return {fileName, plinthMesh(meshName, width, 0.7f * width, -0.25f * height, height)};
}

}  // namespace

std::vector<FooterModelFile> sampleFooterModels()
{
    return {
        plinth("small.3ds", "small", 0.6f),
        plinth("medium.3ds", "medium", 0.9f),
        plinth("large.3ds", "large", 1.3f),
        plinth("xlarge.3ds", "xlarge", 1.8f),
        plinth("xxlarge.3ds", "xxlarge", 2.4f),
        // One metre wide so that the scale percentage reads as centimetres.
        {"default.3ds", plinthMesh("default", 1.0f, 1.0f, -0.15f, 0.6f)},
    };
}

}  // namespace pw
