#include "support/Renderer_OffscreenFixture.h"

#include "renderer/Renderer_DepthBufferState.h"
#include "renderer/Renderer_Surface.h"

#include <climits>
#include <cstring>

#include <array>
#include <vector>

// The screen-space overlay drawn at Present: exact pixels, mirrored axes,
// clipping at every edge, and the renderer's state left as it was.
namespace {

using namespace Renderer;

class Overlay : public testsupport::OffscreenRendererTest {
protected:
    static constexpr std::int32_t kImageWidth = 4;
    static constexpr std::int32_t kImageHeight = 3;

    // Every pixel different: red from the column, green from the row.
    static std::array<std::uint8_t, 4> ImagePixel(std::int32_t column, std::int32_t row) {
        return {static_cast<std::uint8_t>(40 + 50 * column), static_cast<std::uint8_t>(30 + 70 * row), 200, 255};
    }

    Overlay() : image(TUN_NEW(Surface, kImageWidth, kImageHeight, 0)) {
        for (std::int32_t i = 0; i < kImageWidth * kImageHeight; ++i) {
            std::memcpy(image->GetPixels() + i * 4, ImagePixel(i % kImageWidth, i / kImageWidth).data(), 4);
        }
    }

    const Core::RefPtr<Surface>& Image() const { return image; }

    // Draws the whole image at (x, y) and checks every window pixel against
    // where the image should land.
    void ExpectImageAt(std::int32_t x, std::int32_t y, bool flipX, bool flipY) {
        Renderer().ClearColorBuffer({0.0f, 0.0f, 0.0f, 0.0f});
        Renderer().DrawSurface(Image(), x, y, 0, 0, kImageWidth, kImageHeight, flipX, flipY);
        Renderer().Present();
        for (std::int32_t wy = 0; wy < kHeight; ++wy) {
            for (std::int32_t wx = 0; wx < kWidth; ++wx) {
                const std::int32_t dx = wx - x;
                const std::int32_t dy = wy - y;
                const bool inside = dx >= 0 && dx < kImageWidth && dy >= 0 && dy < kImageHeight;
                const std::array<std::uint8_t, 4> expected =
                    inside ? ImagePixel(flipX ? kImageWidth - 1 - dx : dx, flipY ? kImageHeight - 1 - dy : dy)
                           : std::array<std::uint8_t, 4>{0, 0, 0, 0};
                ASSERT_EQ(PixelAt(wx, wy), expected) << "window pixel " << wx << "," << wy << " for image at " << x
                                                     << "," << y << (flipX ? " mirrored x" : "")
                                                     << (flipY ? " mirrored y" : "");
            }
        }
    }

    Core::RefPtr<Surface> image;
};

// Inside, and cut at two opposite corners, plain and mirrored (where each
// edge cut lands in the image is the placement tests' job).
TEST_F(Overlay, DrawsExactPixelsMirroredOrNotAndClipped) {
    struct Corner {
        std::int32_t x;
        std::int32_t y;
    };
    for (const Corner& corner : std::vector<Corner>{{10, 5}, {-3, -2}, {kWidth - 1, kHeight - 2}}) {
        for (const bool flipX : {false, true}) {
            for (const bool flipY : {false, true}) {
                ExpectImageAt(corner.x, corner.y, flipX, flipY);
            }
        }
    }
}

TEST_F(Overlay, NothingOutsideTheWindowAndTheQueueEmptiesEachFrame) {
    Renderer().DrawSurface(Image(), kWidth, 0, 0, 0, kImageWidth, kImageHeight, false, false);
    Renderer().DrawSurface(Image(), -10, -10, 0, 0, kImageWidth, kImageHeight, true, true);
    Renderer().DrawSurface(Image(), 5, 5, 3, 0, 1, kImageHeight, false, false);  // inverted source
    Renderer().DrawSurface(Image(), INT_MAX, INT_MAX, 0, 0, INT_MAX, INT_MAX, false, false);
    Renderer().DrawSurface(Image(), INT_MIN, INT_MIN, INT_MIN, INT_MIN, 4, 3, true, false);
    EXPECT_EQ(Image()->GetReferenceCount(), 6u);
    Renderer().Present();
    EXPECT_EQ(Renderer().GetRasterCommandCount(), 0u);
    EXPECT_EQ(Image()->GetReferenceCount(), 1u) << "a drawn command kept its surface";
    EXPECT_EQ(CountLitPixels(), 0);

    // A source rectangle reaching past the image is cut to it, never read beyond.
    Renderer().DrawSurface(Image(), 10, 5, 2, 1, 40, 40, false, false);
    Renderer().Present();
    EXPECT_EQ(PixelAt(10, 5), ImagePixel(2, 1));
    EXPECT_EQ(CountLitPixels(), 4);
    Renderer().ClearColorBuffer({0.0f, 0.0f, 0.0f, 0.0f});
    Renderer().Present();
    EXPECT_EQ(CountLitPixels(), 0) << "a command was drawn twice";
}

// The overlay sets its own matrices, depth state and unpacking for the
// draw; whatever the caller had comes back, every value to its own.
TEST_F(Overlay, TheCallersMatricesDepthAndPixelStoreComeBackAfterPresent) {
    Renderer().SetWorldMatrix(Matrix4::Translation(1.0f, 2.0f, 3.0f));
    Renderer().SetProjectionMatrix(Matrix4::Perspective(45.0f, 1.5f, 1.0f, 50.0f));
    ApplyState<DepthBufferState>([](auto& s) { s.compareFunction = 4; });
    std::array<GLfloat, 16> modelViewBefore{};
    std::array<GLfloat, 16> projectionBefore{};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelViewBefore.data());
    glGetFloatv(GL_PROJECTION_MATRIX, projectionBefore.data());
    struct Setting {
        GLenum parameter;
        GLint value;
    };
    const std::array<Setting, 4> settings{{{GL_UNPACK_ALIGNMENT, 2},
                                           {GL_UNPACK_ROW_LENGTH, 7},
                                           {GL_UNPACK_SKIP_PIXELS, 3},
                                           {GL_UNPACK_SKIP_ROWS, 1}}};
    for (const Setting& setting : settings) {
        glPixelStorei(setting.parameter, setting.value);
    }

    Renderer().DrawSurface(Image(), 10, 5, 0, 0, kImageWidth, kImageHeight, true, false);
    Renderer().Present();

    EXPECT_EQ(PixelAt(10 + kImageWidth - 1, 5), ImagePixel(0, 0)) << "the caller's settings reached the draw";
    std::array<GLfloat, 16> after{};
    glGetFloatv(GL_MODELVIEW_MATRIX, after.data());
    EXPECT_EQ(after, modelViewBefore);
    glGetFloatv(GL_PROJECTION_MATRIX, after.data());
    EXPECT_EQ(after, projectionBefore);
    ExpectGL({{GL_MATRIX_MODE, {GL_MODELVIEW}}, {GL_DEPTH_TEST, {1}}, {GL_DEPTH_FUNC, {GL_GREATER}},
              {GL_DEPTH_WRITEMASK, {1}}, {GL_ZOOM_X, {1}}, {GL_ZOOM_Y, {1}}});
    for (const Setting& setting : settings) {
        ExpectGL({{setting.parameter, {static_cast<GLfloat>(setting.value)}}});
        glPixelStorei(setting.parameter, setting.parameter == GL_UNPACK_ALIGNMENT ? 4 : 0);
    }
}

}  // namespace
