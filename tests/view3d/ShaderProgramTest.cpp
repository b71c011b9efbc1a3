// Shader programs built from the resources, and the words for those that cannot be built.

#include "view3d/OffscreenRenderer.h"
#include "view3d/RendererError.h"
#include "view3d/ShaderProgram.h"

#include <gtest/gtest.h>

#include <QOpenGLContext>

namespace pw {
namespace {

TEST(ShaderProgram, SaysWhichShadersFailAndWhy)
{
    // The renderer's start leaves its context current.
    const Result<std::unique_ptr<OffscreenRenderer>> started = OffscreenRenderer::start();
    ASSERT_TRUE(started) << started.error();
    QOpenGLExtraFunctions gl(QOpenGLContext::currentContext());
    const Result<unsigned> missing = buildProgram(gl, "mesh.vert", "missing.frag");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code.as<RendererError>(), RendererError::ShaderMissing);
    EXPECT_EQ(errorText(missing.error()),
              "no 3D view: the shader missing.frag is missing from the program");

#ifndef __SANITIZE_ADDRESS__
    // Mesa 22's linker reads freed memory while it fails, which AddressSanitizer reports as
    // ours: the failing pair is tried in the other builds only.
    // A vertex shader given as the fragment shader: drivers refuse it when compiling (as the
    // shader's fault) or when linking (as the pair's), in their own words after ours.
    const Result<unsigned> wrong = buildProgram(gl, "mesh.vert", "flat.vert");
    ASSERT_FALSE(wrong);
    const RendererError code = wrong.error().code.as<RendererError>();
    const std::string text = errorText(wrong.error());
    if (code == RendererError::ShaderNotCompiled)
        EXPECT_TRUE(text.starts_with("no 3D view: the shader flat.vert does not compile: "))
            << text;
    else
        EXPECT_TRUE(
            text.starts_with("no 3D view: the shaders mesh.vert and flat.vert do not "
                             "link: error: "))
            << text;
#endif

    const Result<unsigned> built = buildProgram(gl, "mesh.vert", "shade.frag");
    ASSERT_TRUE(built) << built.error();
    EXPECT_NE(*built, 0u);
    gl.glDeleteProgram(*built);
}

}  // namespace
}  // namespace pw
