#include "os/OS_Cursor.h"
#include "os/OS_Error.h"
#include "os/OS_KeyMap.h"
#include "os/OS_Keyboard.h"
#include "os/OS_Message.h"
#include "os/OS_Window.h"
#include "support/VideoDriver.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <array>

namespace {

// A US layout, except for the scan code a test gives another key code.
std::pair<SDL_Scancode, SDL_Keycode> g_swapped{SDL_SCANCODE_UNKNOWN, SDLK_UNKNOWN};

SDL_Keycode UsLayout(SDL_Scancode scancode) {
    if (scancode == g_swapped.first) {
        return g_swapped.second;
    }
    const bool letter = scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z;
    return letter ? SDLK_a + (scancode - SDL_SCANCODE_A) : SDL_SCANCODE_TO_KEYCODE(scancode);
}

// Letters follow the layout, the digit row and the other keys their
// position, the keypad Num Lock; a key without a virtual key gives 0.
TEST(KeyMapper, KeysFollowTheLayoutForLettersAndThePositionOtherwise) {
    const struct {
        SDL_Scancode scancode;
        SDL_Keycode keycode;  // 0: the US layout's
        bool numLock;
        os::VirtualKey expected;
    } cases[] = {
        {SDL_SCANCODE_A, 0, false, 0x41},      {SDL_SCANCODE_Z, 0, false, 0x5A},
        {SDL_SCANCODE_0, 0, false, 0x30},      {SDL_SCANCODE_1, 0, false, 0x31},
        {SDL_SCANCODE_F13, 0, false, 0x7C},    {SDL_SCANCODE_F24, 0, false, 0x87},
        {SDL_SCANCODE_KP_4, 0, true, 0x64},    {SDL_SCANCODE_KP_4, 0, false, 0x25},
        {SDL_SCANCODE_KP_0, 0, true, 0x60},    {SDL_SCANCODE_KP_0, 0, false, 0x2D},
        {SDL_SCANCODE_KP_PERIOD, 0, true, 0x6E}, {SDL_SCANCODE_AUDIOPLAY, 0, false, 0},
        // French: right of L types 'm', the US M key ','; another script.
        {SDL_SCANCODE_SEMICOLON, SDLK_m, false, 0x4D}, {SDL_SCANCODE_M, SDLK_COMMA, false, 0xBC},
        {SDL_SCANCODE_F, 0x0430, false, 0x46},         {SDL_SCANCODE_2, 0xE9, false, 0x32},
    };
    for (const auto& c : cases) {
        const SDL_Keycode keycode = c.keycode != 0 ? c.keycode : UsLayout(c.scancode);
        EXPECT_EQ(os::VirtualKeyFromSdl(c.scancode, keycode, c.numLock), c.expected) << SDL_GetScancodeName(c.scancode);
    }
}

TEST(KeyMapper, StateHoldsKeysButtonsAndTogglesAndBadArgumentsAreRefused) {
    std::array<std::uint8_t, SDL_NUM_SCANCODES> keys{};
    keys[SDL_SCANCODE_LSHIFT] = keys[SDL_SCANCODE_RCTRL] = keys[SDL_SCANCODE_KP_4] = keys[SDL_SCANCODE_Q] = 1;
    g_swapped = {SDL_SCANCODE_Q, SDLK_a};  // a layout that puts 'a' on the Q key holds A
    const os::SdlInputState input{keys.data(), int(keys.size()), &UsLayout, KMOD_CAPS | KMOD_SCROLL,
                                  SDL_BUTTON_LMASK | SDL_BUTTON_MMASK | SDL_BUTTON_X2MASK};
    std::array<std::uint8_t, 256> state{};
    os::BuildKeyboardState(input, state.data());
    g_swapped = {};
    const std::pair<int, std::uint8_t> cases[] = {
        {0xA0, 0x80}, {0x10, 0x80}, {0xA1, 0}, {0xA3, 0x80}, {0x11, 0x80}, {0x12, 0},  // sides hold the shared key
        {0x25, 0x80}, {0x64, 0},    {0x41, 0x80}, {0x51, 0},                            // Num Lock off; layout
        {1, 0x80},    {2, 0},       {4, 0x80},    {6, 0x80},                            // mouse buttons
        {0x14, 0x01}, {0x91, 0x01}, {0x90, 0},                                          // toggles
    };
    for (const auto& [key, expected] : cases) {
        EXPECT_EQ(state[key], expected) << key;
    }
    os::SetLastError(0);  // bad arguments are refused
    EXPECT_EQ(os::GetKeyState(256) | os::GetKeyState(-1) | os::GetAsyncKeyState(1000), 0);
    EXPECT_EQ(os::GetLastError(), os::ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(os::GetKeyboardState(nullptr) || os::GetCursorInfo(nullptr) || os::GetCursorPos(nullptr));
}

// The dummy driver never sets SDL's key state itself: events pushed into its
// queue reach the polls only through the pump's tap latch.
TEST(SdlInput, TapWithinOnePumpReadsHeldAtTheNextPoll) {
    const testsupport::ScopedVideoDriver driver("dummy");
    os::RegisterWindowClass("OSKeyboardTest", &os::DefWindowProc);
    const os::WindowHandle window = os::CreateWindow("OSKeyboardTest", os::WS_OVERLAPPED, {0, 0, 64, 64}, nullptr);
    ASSERT_NE(window, os::kNoWindow) << os::ErrorText(os::GetLastError());
    os::Message message;
    const auto pump = [&message] { for (int guard = 0; guard < 1000 && os::PeekMessage(&message); ++guard) {} };
    const auto held = [] { return std::pair(os::GetAsyncKeyState(os::VK_A) < 0, os::GetKeyState(os::VK_LBUTTON) < 0); };
    SDL_Event key{}, click{};
    key.key.keysym = {SDL_SCANCODE_A, SDLK_a, KMOD_NONE, 0};
    click.button.button = SDL_BUTTON_LEFT;
    for (const Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
        key.type = type;
        click.type = type == SDL_KEYDOWN ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        ASSERT_EQ(SDL_PushEvent(&key) + SDL_PushEvent(&click), 2);
    }
    pump();
    pump();  // a second pump before any poll keeps the tap
    EXPECT_EQ(held(), std::pair(true, true));
    os::DestroyWindow(window);
}

}  // namespace
