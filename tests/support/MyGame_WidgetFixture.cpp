#include "support/MyGame_WidgetFixture.h"

#include "support/MyGame_HudClick.h"
#include "os/OS_GLFunctions.h"
#include "support/Renderer_ManifestSizes.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>

namespace mygametest {

void WidgetTest::SetUp() {
    StageFixture::SetUp();
    testsupport::SizeSheetsAsManifest(*m_textures);
}

bool WidgetTest::ClickAt(const Vector2D& hudPoint) { return mygametest::ClickAt(hudPoint); }

void WidgetPixelTest::SetUp() {
    WidgetTest::SetUp();
    m_textures.reset();
}

testsupport::Rgba WidgetPixelTest::PixelAt(const Vector2D& hudPoint) {
    const Vector2D pixel = ClientPixelOf(hudPoint);
    testsupport::Rgba colour{};
    os::gl::ReadPixels(static_cast<GLint>(std::floor(pixel.x)), static_cast<GLint>(std::floor(pixel.y)), 1, 1, GL_RGBA,
                       GL_UNSIGNED_BYTE, colour.data());
    return colour;
}

bool WidgetPixelTest::IsNear(const testsupport::Rgba& pixel, const testsupport::Rgba& colour, int tolerance) {
    for (std::size_t channel = 0; channel < 3; ++channel) {
        if (std::abs(int{pixel[channel]} - int{colour[channel]}) > tolerance) {
            return false;
        }
    }
    return true;
}

}  // namespace mygametest
