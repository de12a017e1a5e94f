#include "support/Renderer_OffscreenFixture.h"

#include "core/Core_ClassRegistry.h"
#include "os/OS_GLFunctions.h"
#include "pal/PAL_Window.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_States.h"
#include "support/VideoDriver.h"

#include <cmath>
#include <memory>
#include <string>

namespace testsupport {
namespace {

struct Shared {
    ScopedVideoDriver driver{"offscreen"};
    Renderer::AdapterInformation adapter;
    PAL::Window window{OffscreenRendererTest::kWidth, OffscreenRendererTest::kHeight};
    Core::RefPtr<Renderer::OGLRenderer> renderer;
};
Shared* g_shared = nullptr;

constexpr int kGridVertices = 32;

// Vertex i sits at (2i + 0.5, 0.5 or 8.5): recognisable from its window x.
std::array<float, kGridVertices * 3> MakeGrid() {
    std::array<float, kGridVertices * 3> grid{};
    for (int i = 0; i < kGridVertices; ++i) {
        grid[static_cast<std::size_t>(i) * 3] = 2.0f * static_cast<float>(i) + 0.5f;
        grid[static_cast<std::size_t>(i) * 3 + 1] = (i % 2 == 0 ? 0.5f : 8.5f);
    }
    return grid;
}

}  // namespace

void OffscreenRendererTest::SetUpTestSuite() {
    g_shared = new Shared;
    Renderer::DisplaySettings settings(kWidth, kHeight);
    settings.window = &g_shared->window;
    g_shared->renderer = TUN_NEW(Renderer::OGLRenderer, settings);
    // Effects and textures reach the renderer through Renderer::GetRenderer.
    g_shared->renderer->Install();
}

void OffscreenRendererTest::TearDownTestSuite() {
    g_shared->renderer = nullptr;
    delete g_shared;
    g_shared = nullptr;
}

Renderer::OGLRenderer& OffscreenRendererTest::Renderer() { return *g_shared->renderer; }

void OffscreenRendererTest::SetUp() {
    Renderer::OGLRenderer& r = Renderer();
    r.SetViewport({0, 0, kWidth, kHeight, 0.0f, 1.0f});
    r.SetProjectionMatrix(Matrix4::Orthographic(0.0f, kWidth, 0.0f, kHeight));
    r.SetViewMatrix(Matrix4());
    r.SetWorldMatrix(Matrix4());
    // Every state type at its reset values, then depth testing and culling off.
    for (const char* type : {"AlphaBlendingState", "AlphaTestingState", "ColorMaskState", "ScissorState",
                             "StencilBufferState", "FogState", "LightingState", "FillingState", "ShadingState",
                             "TriangleOffsetState", "DitheringState", "NormalizeNormalsState", "LineState",
                             "PointState"}) {
        const std::unique_ptr<Core::Object> state(CreateObjectByName(("Renderer::" + std::string(type)).c_str()));
        static_cast<const Renderer::State&>(*state).Apply(r);
    }
    Renderer::DepthBufferState depth;
    depth.enabled = false;
    r.SetDepthBufferState(depth);
    Renderer::CullingState culling;
    culling.enabled = false;
    r.SetCullingState(culling);
    for (std::uint32_t unit = 0; unit < 8; ++unit) {
        r.SetTexture(unit, nullptr);
        r.SetTexCoordArray(unit, nullptr);
    }
    r.SetVertexArray(nullptr);
    r.SetColorArray(nullptr);
    r.SetNormalArray(nullptr);
    r.SetIndexArray16(nullptr);
    r.SetPrimitiveType(Renderer::kTriangleList);
    r.SetCurrentColor({1.0f, 1.0f, 1.0f, 1.0f});
    // Smoothed points may light a neighbour; counting needs one pixel per point.
    os::gl::Disable(GL_POINT_SMOOTH);
    os::gl::Disable(GL_LINE_SMOOTH);
    r.ClearBuffers({0.0f, 0.0f, 0.0f, 0.0f}, 1.0f, 0);
}

std::array<std::uint8_t, 4> OffscreenRendererTest::PixelAt(std::int32_t x, std::int32_t y) {
    std::array<std::uint8_t, 4> pixel{};
    os::gl::ReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
    return pixel;
}

GLint OffscreenRendererTest::Integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

void OffscreenRendererTest::ExpectGL(const std::vector<GLValue>& values) {
    for (const GLValue& value : values) {
        std::array<GLfloat, 16> read{};
        glGetFloatv(value.name, read.data());
        EXPECT_EQ(std::vector<GLfloat>(read.begin(), read.begin() + static_cast<std::ptrdiff_t>(value.expected.size())),
                  value.expected)
            << "OpenGL value 0x" << std::hex << value.name;
    }
}

int OffscreenRendererTest::CountLitPixels() {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kWidth) * kHeight * 4);
    os::gl::ReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int lit = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        lit += (pixels[i] | pixels[i + 1] | pixels[i + 2]) != 0 ? 1 : 0;
    }
    return lit;
}

std::vector<std::vector<int>> OffscreenRendererTest::Primitives(const std::function<void()>& draw) {
    std::vector<GLfloat> buffer(8192);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_2D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<std::vector<int>> primitives;
    auto vertexAt = [&buffer](std::size_t i) {
        return static_cast<int>(std::lround((buffer[i] - 0.5f) / 2.0f));
    };
    for (std::size_t i = 0; i < static_cast<std::size_t>(std::max(used, 0));) {
        const auto token = static_cast<GLenum>(buffer[i++]);
        std::size_t count = 0;
        if (token == GL_POINT_TOKEN) {
            count = 1;
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            count = 2;
        } else if (token == GL_POLYGON_TOKEN) {
            count = static_cast<std::size_t>(buffer[i++]);
        } else {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
        std::vector<int> vertices;
        for (std::size_t v = 0; v < count; ++v, i += 2) {
            vertices.push_back(vertexAt(i));
        }
        primitives.push_back(vertices);
    }
    return primitives;
}

std::set<int> OffscreenRendererTest::VerticesUsed(const std::function<void()>& draw) {
    std::set<int> used;
    for (const std::vector<int>& primitive : Primitives(draw)) {
        used.insert(primitive.begin(), primitive.end());
    }
    return used;
}

const float* OffscreenRendererTest::VertexGrid() {
    static const std::array<float, kGridVertices * 3> grid = MakeGrid();
    return grid.data();
}

}  // namespace testsupport
