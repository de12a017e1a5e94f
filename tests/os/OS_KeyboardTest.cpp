#include "os/OS_Cursor.h"
#include "os/OS_Error.h"
#include "os/OS_KeyMap.h"
#include "os/OS_Keyboard.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <array>

namespace {

// A US layout, except where a test swaps a key.
SDL_Scancode g_swappedScancode = SDL_SCANCODE_UNKNOWN;
SDL_Keycode g_swappedKeycode = SDLK_UNKNOWN;

SDL_Keycode UsLayout(SDL_Scancode scancode) {
    if (scancode == g_swappedScancode) {
        return g_swappedKeycode;
    }
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        return SDLK_a + (scancode - SDL_SCANCODE_A);
    }
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
        return SDLK_1 + (scancode - SDL_SCANCODE_1);
    }
    if (scancode == SDL_SCANCODE_0) {
        return SDLK_0;
    }
    return SDL_SCANCODE_TO_KEYCODE(scancode);
}

class KeyMapper : public testing::Test {
protected:
    void SetUp() override {
        g_swappedScancode = SDL_SCANCODE_UNKNOWN;
        m_input.keys = m_keys.data();
        m_input.keyCount = static_cast<int>(m_keys.size());
        m_input.keycodeOf = &UsLayout;
    }

    std::array<std::uint8_t, 256> Build() {
        std::array<std::uint8_t, 256> state{};
        os::BuildKeyboardState(m_input, state.data());
        return state;
    }

    std::array<std::uint8_t, SDL_NUM_SCANCODES> m_keys{};
    os::SdlInputState m_input;
};

TEST_F(KeyMapper, SpotChecks) {
    const struct {
        SDL_Scancode scancode;
        bool numLock;
        os::VirtualKey expected;
    } cases[] = {
        {SDL_SCANCODE_A, false, 0x41},        {SDL_SCANCODE_Z, false, 0x5A},
        {SDL_SCANCODE_0, false, 0x30},        {SDL_SCANCODE_1, false, 0x31},
        {SDL_SCANCODE_RETURN, false, 0x0D},   {SDL_SCANCODE_KP_ENTER, false, 0x0D},
        {SDL_SCANCODE_ESCAPE, false, 0x1B},   {SDL_SCANCODE_SPACE, false, 0x20},
        {SDL_SCANCODE_LEFT, false, 0x25},     {SDL_SCANCODE_DOWN, false, 0x28},
        {SDL_SCANCODE_F1, false, 0x70},       {SDL_SCANCODE_F12, false, 0x7B},
        {SDL_SCANCODE_F13, false, 0x7C},      {SDL_SCANCODE_F24, false, 0x87},
        {SDL_SCANCODE_KP_4, true, 0x64},      {SDL_SCANCODE_KP_4, false, 0x25},
        {SDL_SCANCODE_KP_0, true, 0x60},      {SDL_SCANCODE_KP_0, false, 0x2D},
        {SDL_SCANCODE_KP_9, true, 0x69},      {SDL_SCANCODE_KP_9, false, 0x21},
        {SDL_SCANCODE_KP_5, false, 0x0C},     {SDL_SCANCODE_KP_PERIOD, true, 0x6E},
        {SDL_SCANCODE_KP_PERIOD, false, 0x2E}, {SDL_SCANCODE_KP_MULTIPLY, false, 0x6A},
        {SDL_SCANCODE_SEMICOLON, false, 0xBA}, {SDL_SCANCODE_APOSTROPHE, false, 0xDE},
        {SDL_SCANCODE_GRAVE, false, 0xC0},    {SDL_SCANCODE_BACKSLASH, false, 0xDC},
        {SDL_SCANCODE_CAPSLOCK, false, 0x14}, {SDL_SCANCODE_NUMLOCKCLEAR, false, 0x90},
        {SDL_SCANCODE_RSHIFT, false, 0xA1},   {SDL_SCANCODE_RALT, false, 0xA5},
        {SDL_SCANCODE_AUDIOPLAY, false, 0},   {SDL_SCANCODE_LANG1, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(SDL_GetScancodeName(c.scancode));
        EXPECT_EQ(os::VirtualKeyFromSdl(c.scancode, UsLayout(c.scancode), c.numLock), c.expected);
    }
}

TEST_F(KeyMapper, LettersFollowTheLayout) {
    // On a French layout the key right of L types 'm', and the US M key ','.
    EXPECT_EQ(os::VirtualKeyFromSdl(SDL_SCANCODE_SEMICOLON, SDLK_m, false), 0x4D);
    EXPECT_EQ(os::VirtualKeyFromSdl(SDL_SCANCODE_M, SDLK_COMMA, false), 0xBC);
    // A letter key of another script keeps its position.
    EXPECT_EQ(os::VirtualKeyFromSdl(SDL_SCANCODE_F, 0x0430, false), 0x46);
    // The digit row gives digits whatever it types unshifted.
    EXPECT_EQ(os::VirtualKeyFromSdl(SDL_SCANCODE_2, 0xE9, false), 0x32);
}

TEST_F(KeyMapper, StateHoldsKeysButtonsAndToggles) {
    m_keys[SDL_SCANCODE_LSHIFT] = 1;
    m_keys[SDL_SCANCODE_RCTRL] = 1;
    m_keys[SDL_SCANCODE_KP_4] = 1;
    m_input.mouseButtons = SDL_BUTTON_LMASK | SDL_BUTTON_MMASK | SDL_BUTTON_X2MASK;
    m_input.modifiers = KMOD_CAPS | KMOD_SCROLL;
    const auto state = Build();
    const struct {
        int key;
        std::uint8_t expected;
    } cases[] = {
        {0xA0, 0x80}, {0x10, 0x80}, {0xA1, 0}, {0xA3, 0x80}, {0x11, 0x80}, {0x12, 0},  // sides hold the shared key
        {0x25, 0x80}, {0x64, 0},                                                      // keypad, Num Lock off
        {1, 0x80},    {2, 0},       {4, 0x80},    {5, 0},       {6, 0x80},             // mouse buttons
        {0x14, 0x01}, {0x91, 0x01}, {0x90, 0},                                         // toggles
    };
    for (const auto& c : cases) {
        EXPECT_EQ(state[c.key], c.expected) << c.key;
    }
    m_input.modifiers = KMOD_NUM;
    EXPECT_EQ(Build()[0x64], 0x80);

    // A layout that puts 'a' on the Q key holds A, not Q.
    g_swappedScancode = SDL_SCANCODE_Q;
    g_swappedKeycode = SDLK_a;
    m_keys[SDL_SCANCODE_Q] = 1;
    EXPECT_EQ(Build()[0x41], 0x80);
    EXPECT_EQ(Build()[0x51], 0);
}

// The headless key and cursor state itself is exercised through the input devices.
TEST(HeadlessInput, BadArgumentsAreRefused) {
    os::SetLastError(0);
    EXPECT_EQ(os::GetKeyState(256), 0);
    EXPECT_EQ(os::GetKeyState(-1), 0);
    EXPECT_EQ(os::GetAsyncKeyState(1000), 0);
    EXPECT_EQ(os::GetLastError(), os::ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(os::GetKeyboardState(nullptr));
    EXPECT_FALSE(os::GetCursorInfo(nullptr));
    EXPECT_FALSE(os::GetCursorPos(nullptr));
}

}  // namespace
