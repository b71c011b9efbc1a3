#include "view3d/DrawingPath.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

TEST(DrawingPath, SoftwareRenderersDrawOnTheProcessor)
{
    struct Case {
        const char* renderer;
        const char* vendor;
        bool software;
    };
    const Case cases[] = {
        {"llvmpipe (LLVM 15.0.6, 256 bits)", "Mesa", true},
        {"softpipe", "Mesa/X.org", true},
        {"Software Rasterizer", "Mesa swrast", true},
        {"GDI Generic", "Microsoft Corporation", true},
        {"D3D12 (Microsoft Basic Render Driver)", "Microsoft Corporation", true},
        {"Apple Software Renderer", "Apple Inc.", true},
        {"zink (LLVMPIPE (LLVM 15.0.6, 256 bits))", "Collabora Ltd", true},
        {"NVIDIA GeForce RTX 3060/PCIe/SSE2", "NVIDIA Corporation", false},
        {"AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6, DRM 3.49, 6.1.0)", "AMD", false},
        {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", "Intel", false},
        {"Intel(R) Iris(R) Xe Graphics", "Intel", false},
        {"Apple M1", "Apple", false},
        {"", "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isSoftwareRenderer(c.renderer, c.vendor), c.software) << c.renderer;
}

TEST(DrawingPath, TheVariableForcesEitherPath)
{
    EXPECT_EQ(forcedDrawingPath("software"), DrawingPath::Software);
    EXPECT_EQ(forcedDrawingPath("Hardware"), DrawingPath::Hardware);
    for (const char* unknown : {"", "gpu", "soft", "software "})
        EXPECT_EQ(forcedDrawingPath(unknown), std::nullopt) << '"' << unknown << '"';

    EXPECT_EQ(chooseDrawingPath("llvmpipe", "Mesa", std::nullopt), DrawingPath::Software);
    EXPECT_EQ(chooseDrawingPath("llvmpipe", "Mesa", DrawingPath::Hardware), DrawingPath::Hardware);
    EXPECT_EQ(chooseDrawingPath("Radeon", "AMD", std::nullopt), DrawingPath::Hardware);
    EXPECT_EQ(chooseDrawingPath("Radeon", "AMD", DrawingPath::Software), DrawingPath::Software);
}

}  // namespace
}  // namespace pw
