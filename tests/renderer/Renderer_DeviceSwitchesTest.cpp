#include "os/OS_GLFunctionsTestHooks.h"
#include "renderer/Renderer_DeviceSwitches.h"

#include <gtest/gtest.h>

// Which on/off switches reach OpenGL, counted on the stub table that stands
// in while no context is current.
namespace {

using Renderer::DeviceSwitches;
namespace gl = os::gl;

struct SwitchStep {
    bool client;
    GLenum name;
    bool enabled;
    // Whether the step reaches OpenGL.
    bool sent;
};

TEST(DeviceSwitches, OnlyChangesAndUntrackedSwitchesReachOpenGL) {
    const std::uint64_t probe = gl::IgnoredCallCount();
    gl::Finish();
    if (gl::IgnoredCallCount() == probe) {
        GTEST_SKIP() << "a context is current: calls cannot be counted";
    }
    const SwitchStep steps[] = {
        {false, GL_BLEND, true, true},        {false, GL_BLEND, true, false},
        {false, GL_BLEND, false, true},       {false, GL_DEPTH_TEST, false, true},
        {false, GL_BLEND, false, false},      {false, GL_LIGHT0 + 7, true, true},
        {false, GL_LIGHT0 + 7, true, false},  {false, GL_TEXTURE_2D, true, true},
        {false, GL_TEXTURE_2D, true, false},  {false, GL_COLOR_MATERIAL, true, true},
        {false, GL_COLOR_MATERIAL, true, true}, {true, GL_VERTEX_ARRAY, true, true},
        {true, GL_VERTEX_ARRAY, true, false}, {true, GL_TEXTURE_COORD_ARRAY, false, true},
        {true, GL_TEXTURE_COORD_ARRAY, false, false}, {true, GL_INDEX_ARRAY, false, true},
        {true, GL_INDEX_ARRAY, false, true},
    };
    DeviceSwitches switches;
    for (const SwitchStep& step : steps) {
        const std::uint64_t before = gl::IgnoredCallCount();
        if (step.client) {
            switches.SetClientState(step.name, step.enabled);
        } else {
            switches.SetEnabled(step.name, step.enabled);
        }
        EXPECT_EQ(gl::IgnoredCallCount() - before, step.sent ? 1u : 0u)
            << "switch 0x" << std::hex << step.name << " to " << step.enabled;
    }
}

}  // namespace
