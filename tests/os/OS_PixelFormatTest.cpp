#include "os/OS_Message.h"
#include "os/OS_PixelFormat.h"
#include "os/OS_Window.h"

#include <gtest/gtest.h>

#include <array>

// The synthetic pixel-format table on the headless backend: what it refuses,
// and the once-per-window rule of SetPixelFormat. The formats it lists and
// matches are read through the renderer's adapter (Renderer_AdapterTest).
namespace {

constexpr const char* kClass = "OSPixelFormatTestClass";

std::intptr_t Procedure(os::WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    return os::DefWindowProc(window, message, wParam, lParam);
}

class PixelFormats : public testing::Test {
protected:
    static void SetUpTestSuite() { os::RegisterWindowClass(kClass, &Procedure); }

    void SetUp() override {
        window = os::CreateWindow(kClass, os::WS_OVERLAPPEDWINDOW, {0, 0, 64, 64}, nullptr);
        os::headless::SetMultisampleCounts({4});
        os::SetLastError(0);
    }

    void TearDown() override {
        os::DestroyWindow(window);
        os::headless::SetMultisampleCounts({});
    }

    os::WindowHandle window = os::kNoWindow;
};

TEST_F(PixelFormats, RequestsNoFormatCanDrawAreRefused) {
    const auto request = [](std::uint32_t flags, std::uint8_t pixelType) {
        os::PixelFormatDescriptor descriptor;
        descriptor.size = os::kPixelFormatDescriptorSize;
        descriptor.version = 1;
        descriptor.flags = flags;
        descriptor.pixelType = pixelType;
        descriptor.colorBits = 32;
        return descriptor;
    };
    for (const os::PixelFormatDescriptor& refused :
         {request(os::PFD_DRAW_TO_WINDOW | os::PFD_SUPPORT_OPENGL, os::PFD_TYPE_COLORINDEX),
          request(os::PFD_SUPPORT_OPENGL | os::PFD_STEREO, os::PFD_TYPE_RGBA),
          request(os::PFD_SUPPORT_GDI, os::PFD_TYPE_RGBA)}) {
        EXPECT_EQ(os::ChoosePixelFormat(window, &refused), 0);
        EXPECT_EQ(os::GetLastError(), os::ERROR_INVALID_PIXEL_FORMAT);
    }
    EXPECT_EQ(os::ChoosePixelFormat(window, nullptr), 0);
    EXPECT_EQ(os::GetLastError(), os::ERROR_INVALID_PARAMETER);

    os::PixelFormatDescriptor descriptor;
    EXPECT_EQ(os::DescribePixelFormat(window, 3, os::kPixelFormatDescriptorSize, &descriptor), 0);
    EXPECT_EQ(os::GetLastError(), os::ERROR_INVALID_PIXEL_FORMAT);
    EXPECT_EQ(os::DescribePixelFormat(window, 1, 8, &descriptor), 0);
    EXPECT_EQ(os::GetLastError(), os::ERROR_INVALID_PARAMETER);
    EXPECT_EQ(os::DescribePixelFormat(os::kNoWindow, 1, 0, nullptr), 0);
    EXPECT_EQ(os::GetLastError(), os::ERROR_INVALID_WINDOW_HANDLE);
}

// A failed query leaves its outputs as they were.
TEST_F(PixelFormats, UnknownAttributesAndFormatsAreRefused) {
    std::array<std::int32_t, 2> found{-1, -1};
    std::uint32_t count = 7;
    const std::int32_t unknown[] = {os::WGL_COLOR_BITS_ARB, 32, 0x9999, 1, 0};
    EXPECT_FALSE(os::ChoosePixelFormatARB(window, unknown, nullptr, 2, found.data(), &count));
    EXPECT_EQ(os::GetLastError(), os::ERROR_INVALID_PARAMETER);
    const std::int32_t any[] = {os::WGL_SUPPORT_OPENGL_ARB, 1, 0};
    const float floats[] = {1.0f, 2.0f, 0.0f};
    EXPECT_FALSE(os::ChoosePixelFormatARB(window, any, floats, 2, found.data(), &count));
    EXPECT_FALSE(os::ChoosePixelFormatARB(window, any, nullptr, 2, nullptr, &count));
    EXPECT_EQ(found, (std::array<std::int32_t, 2>{-1, -1}));
    EXPECT_EQ(count, 7u);

    const std::int32_t number = os::WGL_NUMBER_PIXEL_FORMATS_ARB;
    const std::array<std::int32_t, 2> withUnknown{os::WGL_COLOR_BITS_ARB, 0x9999};
    EXPECT_FALSE(os::GetPixelFormatAttribivARB(window, 1, 0, 2, withUnknown.data(), found.data()));
    EXPECT_FALSE(os::GetPixelFormatAttribivARB(window, 1, 1, 1, &number, found.data()));  // a layer
    EXPECT_FALSE(os::GetPixelFormatAttribivARB(window, 3, 0, 1, &number, found.data()));
    EXPECT_EQ(os::GetLastError(), os::ERROR_INVALID_PIXEL_FORMAT);
    EXPECT_EQ(found, (std::array<std::int32_t, 2>{-1, -1}));
}

TEST_F(PixelFormats, AWindowTakesOneFormatOnce) {
    EXPECT_FALSE(os::SetPixelFormat(window, 0));
    EXPECT_EQ(os::GetLastError(), os::ERROR_INVALID_PIXEL_FORMAT);
    EXPECT_FALSE(os::SetPixelFormat(window, 3));
    EXPECT_EQ(os::GetPixelFormat(window), 0);

    EXPECT_TRUE(os::SetPixelFormat(window, 2));
    EXPECT_TRUE(os::SetPixelFormat(window, 2));
    os::SetLastError(0);
    EXPECT_FALSE(os::SetPixelFormat(window, 1));
    EXPECT_NE(os::GetLastError(), 0u);
    EXPECT_EQ(os::GetPixelFormat(window), 2);
}

}  // namespace
