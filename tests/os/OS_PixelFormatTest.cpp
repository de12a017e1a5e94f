#include "os/OS_Message.h"
#include "os/OS_PixelFormat.h"
#include "os/OS_Window.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

// The synthetic pixel-format table on the headless backend, through both
// query forms, and the once-per-window rule of SetPixelFormat.
namespace {

constexpr const char* kClass = "OSPixelFormatTestClass";

std::intptr_t Procedure(os::WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    return os::DefWindowProc(window, message, wParam, lParam);
}

class PixelFormats : public testing::Test {
protected:
    static void SetUpTestSuite() { os::RegisterWindowClass(kClass, &Procedure); }

    void SetUp() override { window = os::CreateWindow(kClass, os::WS_OVERLAPPEDWINDOW, {0, 0, 64, 64}, nullptr); }

    void TearDown() override {
        os::DestroyWindow(window);
        os::headless::SetMultisampleCounts({});
    }

    static os::PixelFormatDescriptor Request(std::uint32_t flags) {
        os::PixelFormatDescriptor request;
        request.size = os::kPixelFormatDescriptorSize;
        request.version = 1;
        request.flags = flags;
        request.colorBits = 32;
        request.depthBits = 24;
        request.stencilBits = 8;
        return request;
    }

    os::WindowHandle window = os::kNoWindow;
};

TEST_F(PixelFormats, TheDescriptorFormDescribesFormatOne) {
    EXPECT_EQ(os::DescribePixelFormat(window, 1, 0, nullptr), 1);
    os::PixelFormatDescriptor descriptor;
    ASSERT_EQ(os::DescribePixelFormat(window, 1, os::kPixelFormatDescriptorSize, &descriptor), 1);
    EXPECT_EQ(descriptor.flags,
              os::PFD_DRAW_TO_WINDOW | os::PFD_SUPPORT_OPENGL | os::PFD_DOUBLEBUFFER | os::PFD_SWAP_EXCHANGE);
    EXPECT_EQ(descriptor.pixelType, os::PFD_TYPE_RGBA);
    EXPECT_EQ(descriptor.colorBits, 32);
    EXPECT_EQ(descriptor.redBits, 8);
    EXPECT_EQ(descriptor.alphaBits, 8);
    EXPECT_EQ(descriptor.depthBits, 24);
    EXPECT_EQ(descriptor.stencilBits, 8);

    // The renderer's request (with and without the generic flag) gets format 1.
    const os::PixelFormatDescriptor game = Request(os::PFD_DRAW_TO_WINDOW | os::PFD_SUPPORT_OPENGL |
                                                   os::PFD_DOUBLEBUFFER | os::PFD_GENERIC_ACCELERATED);
    EXPECT_EQ(os::ChoosePixelFormat(window, &game), 1);
}

TEST_F(PixelFormats, RequestsNoFormatCanDrawAreRefused) {
    os::PixelFormatDescriptor colorIndex = Request(os::PFD_DRAW_TO_WINDOW | os::PFD_SUPPORT_OPENGL);
    colorIndex.pixelType = os::PFD_TYPE_COLORINDEX;
    for (const os::PixelFormatDescriptor& request :
         {colorIndex, Request(os::PFD_SUPPORT_OPENGL | os::PFD_STEREO), Request(os::PFD_SUPPORT_GDI)}) {
        os::SetLastError(0);
        EXPECT_EQ(os::ChoosePixelFormat(window, &request), 0);
        EXPECT_EQ(os::GetLastError(), os::ERROR_INVALID_PIXEL_FORMAT);
    }
    os::SetLastError(0);
    EXPECT_EQ(os::ChoosePixelFormat(window, nullptr), 0);
    EXPECT_EQ(os::GetLastError(), os::ERROR_INVALID_PARAMETER);

    os::PixelFormatDescriptor descriptor;
    EXPECT_EQ(os::DescribePixelFormat(window, 2, os::kPixelFormatDescriptorSize, &descriptor), 0);
    EXPECT_EQ(os::GetLastError(), os::ERROR_INVALID_PIXEL_FORMAT);
    EXPECT_EQ(os::DescribePixelFormat(window, 1, 8, &descriptor), 0);
    EXPECT_EQ(os::GetLastError(), os::ERROR_INVALID_PARAMETER);
    EXPECT_EQ(os::DescribePixelFormat(os::kNoWindow, 1, 0, nullptr), 0);
    EXPECT_EQ(os::GetLastError(), os::ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(PixelFormats, AttributeListsMatchMinimumsAndExactValues) {
    os::headless::SetMultisampleCounts({4, 8, 4});
    std::array<std::int32_t, 4> found{};
    std::uint32_t count = 0;
    const std::int32_t any[] = {os::WGL_SUPPORT_OPENGL_ARB, 1, os::WGL_DEPTH_BITS_ARB, 16, 0};
    ASSERT_TRUE(os::ChoosePixelFormatARB(window, any, nullptr, 4, found.data(), &count));
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(found[0], 1);

    const std::int32_t atLeastFour[] = {os::WGL_SAMPLE_BUFFERS_ARB, 1, os::WGL_SAMPLES_ARB, 4, 0};
    ASSERT_TRUE(os::ChoosePixelFormatARB(window, atLeastFour, nullptr, 1, found.data(), &count));
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(found[0], 2);

    const std::int32_t copySwap[] = {os::WGL_SWAP_METHOD_ARB, os::WGL_SWAP_COPY_ARB, 0};
    found[0] = -1;
    ASSERT_TRUE(os::ChoosePixelFormatARB(window, copySwap, nullptr, 1, found.data(), &count));
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(found[0], -1);

    const std::int32_t unknown[] = {0x9999, 1, 0};
    os::SetLastError(0);
    EXPECT_FALSE(os::ChoosePixelFormatARB(window, unknown, nullptr, 1, found.data(), &count));
    EXPECT_EQ(os::GetLastError(), os::ERROR_INVALID_PARAMETER);
    const float floats[] = {1.0f, 2.0f, 0.0f};
    EXPECT_FALSE(os::ChoosePixelFormatARB(window, any, floats, 1, found.data(), &count));
    EXPECT_FALSE(os::ChoosePixelFormatARB(window, any, nullptr, 1, nullptr, &count));
}

TEST_F(PixelFormats, AttributesAreAnsweredPerFormat) {
    os::headless::SetMultisampleCounts({4});
    const std::int32_t number = os::WGL_NUMBER_PIXEL_FORMATS_ARB;
    std::int32_t formats = 0;
    ASSERT_TRUE(os::GetPixelFormatAttribivARB(window, 1, 0, 1, &number, &formats));
    EXPECT_EQ(formats, 2);

    const std::array<std::int32_t, 6> attributes{os::WGL_ACCELERATION_ARB, os::WGL_SWAP_METHOD_ARB,
                                                 os::WGL_PIXEL_TYPE_ARB,   os::WGL_COLOR_BITS_ARB,
                                                 os::WGL_SAMPLE_BUFFERS_ARB, os::WGL_SAMPLES_ARB};
    std::array<std::int32_t, 6> values{};
    ASSERT_TRUE(os::GetPixelFormatAttribivARB(window, 2, 0, 6, attributes.data(), values.data()));
    EXPECT_EQ(values, (std::array<std::int32_t, 6>{os::WGL_FULL_ACCELERATION_ARB, os::WGL_SWAP_EXCHANGE_ARB,
                                                   os::WGL_TYPE_RGBA_ARB, 32, 1, 4}));

    // A failure leaves the values as they were.
    const std::array<std::int32_t, 2> withUnknown{os::WGL_COLOR_BITS_ARB, 0x9999};
    std::array<std::int32_t, 2> untouched{-1, -1};
    EXPECT_FALSE(os::GetPixelFormatAttribivARB(window, 1, 0, 2, withUnknown.data(), untouched.data()));
    EXPECT_EQ(untouched, (std::array<std::int32_t, 2>{-1, -1}));
    EXPECT_FALSE(os::GetPixelFormatAttribivARB(window, 3, 0, 1, &number, &formats));
    EXPECT_EQ(os::GetLastError(), os::ERROR_INVALID_PIXEL_FORMAT);
    EXPECT_FALSE(os::GetPixelFormatAttribivARB(window, 1, 1, 1, &number, &formats));
}

TEST_F(PixelFormats, AWindowTakesOneFormatOnce) {
    os::headless::SetMultisampleCounts({4});
    os::SetLastError(0);
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
