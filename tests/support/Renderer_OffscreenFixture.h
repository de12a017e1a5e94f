#pragma once

#include "renderer/Renderer_OGLRenderer.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <functional>
#include <set>
#include <vector>

namespace testsupport {

// One OpenGL renderer on SDL's offscreen driver (Mesa, no display), shared
// by the tests of a suite and installed as the process-wide renderer: a
// 64 x 48 window, windowed, no vertical sync.
// Each test starts from a cleared black frame, identity world and view
// matrices, a window-pixel projection and the usual states off.
class OffscreenRendererTest : public testing::Test {
public:
    static constexpr std::int32_t kWidth = 64;
    static constexpr std::int32_t kHeight = 48;

    // An OpenGL value and what glGetFloatv should give for it: switches such
    // as GL_BLEND read 0 or 1, enumerations and small integers exactly.
    struct GLValue {
        GLenum name;
        std::vector<GLfloat> expected;
    };
    // Checks the current context's values (any context, not only the suite's).
    static void ExpectGL(const std::vector<GLValue>& values);

protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    static Renderer::OGLRenderer& Renderer();
    // Applies a state of type S after `change` has set its fields.
    template <class S, class Change>
    static void ApplyState(Change change) {
        S state;
        change(state);
        state.Apply(Renderer());
    }

    // The colour of window pixel (x, y), counted from the bottom-left.
    static std::array<std::uint8_t, 4> PixelAt(std::int32_t x, std::int32_t y);
    // Pixels whose colour is not black.
    static int CountLitPixels();
    // The integer OpenGL holds for the name (glGetIntegerv).
    static GLint Integer(GLenum name);
    // The vertices each primitive of the draw consisted of, from OpenGL's
    // feedback: vertex i of VertexGrid() is recognised by its position.
    static std::vector<std::vector<int>> Primitives(const std::function<void()>& draw);
    // Every vertex any primitive used.
    static std::set<int> VerticesUsed(const std::function<void()>& draw);
    // 32 vertices (x, y, z) along the window's bottom, none three in a line.
    static const float* VertexGrid();
};

}  // namespace testsupport
