#include "core/Core_MemoryFile.h"
#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"
#include "os/OS_Cursor.h"
#include "os/OS_HeadlessInput.h"
#include "tundra/Tundra_ReplayDataFile.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace ReplayDataFile = Tundra::ReplayDataFile;

Bytes Written(const std::vector<Tundra::ReplayFrame>& frames) {
    Core::MemoryFile file;
    ReplayDataFile::Write(file, frames);
    return Bytes(file.GetData(), file.GetData() + file.GetSize());
}

class ReplayDataFileTest : public testing::Test {
protected:
    void SetUp() override {
        os::headless::ResetKeys();
        os::headless::ResetCursor();
        Poll();  // new devices wait for a poll with nothing held
    }
    void TearDown() override { os::headless::ResetKeys(); }
    void Poll() {
        m_keyboard->Update();
        m_mouse->Update();
    }
    Tundra::ReplayFrame Capture(float dt) const { return Tundra::CaptureReplayFrame(m_keyboard.Get(), m_mouse.Get(), dt); }
    // A few frames of held and released keys, clicks and moves.
    std::vector<Tundra::ReplayFrame> Varied() {
        std::vector<Tundra::ReplayFrame> frames;
        const std::pair<os::VirtualKey, bool> presses[] = {{os::VK_A, true},     {os::VK_RBUTTON, true},
                                                          {os::VK_SPACE, true}, {os::VK_A, false},
                                                          {os::VK_RBUTTON, false}, {os::VK_SPACE, false}};
        int step = 0;
        for (const auto& [key, down] : presses) {
            os::headless::SetKey(key, down);
            os::SetCursorPos(-5 + step * 40, 7 - step);
            Poll();
            frames.push_back(Capture(0.01f * static_cast<float>(++step)));
        }
        return frames;
    }

    Core::RefPtr<Input::KeyboardImp> m_keyboard = Input::KeyboardImp::CreateInstance();
    Core::RefPtr<Input::MouseImp> m_mouse = Input::MouseImp::CreateInstance();
};

TEST_F(ReplayDataFileTest, TwoFramesWriteTheFirstAsTheDevicesReportedIt) {
    os::SetCursorPos(10, 20);
    Poll();
    os::headless::SetKey(os::VK_A, true);
    Poll();
    std::vector<Tundra::ReplayFrame> frames = {Capture(1.0f / 60.0f), Capture(0.5f)};
    const Bytes expected = {0x01, 0x00, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x41, 0x01,
                            0x00, 0x00, 0x00, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x0A, 0x00,
                            0x00, 0x00, 0x14, 0x00, 0x00, 0x00, 0x89, 0x88, 0x88, 0x3C};
    EXPECT_EQ(Written(frames), expected);
    std::vector<Tundra::ReplayFrame> read;
    std::string reason;
    ASSERT_TRUE(ReplayDataFile::Read(expected, read, reason)) << reason;
    ASSERT_EQ(read.size(), 1u);
    EXPECT_TRUE(read[0].keys == Bytes{0x41} && read[0].keyStates == frames[0].keyStates && read[0].mousePresent == 0 &&
                read[0].GetMouseX() == 10 && read[0].GetMouseY() == 20 && read[0].dt == 1.0f / 60.0f);
    // Neither no frame nor one frame leaves any to write.
    EXPECT_EQ(Written({}), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(Written({frames[0]}), (Bytes{0, 0, 0, 0}));
    ASSERT_TRUE(ReplayDataFile::Read(Bytes{0, 0, 0, 0}, read, reason));
    EXPECT_TRUE(read.empty());
}

TEST_F(ReplayDataFileTest, MalformedFilesAreRefusedWithTheReasonAndTheFramesUntouched) {
    // One frame, keyboard listing one key; its fields patched below.
    const Bytes good = {1, 0, 0, 0, 1, 1, 0, 0, 0, 0x41, 1, 0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const auto patched = [&good](std::size_t at, std::initializer_list<std::uint8_t> bytes) {
        Bytes out = good;
        std::copy(bytes.begin(), bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
        return out;
    };
    Bytes trailing = good;
    trailing.push_back(0);
    const std::pair<Bytes, const char*> cases[] = {
        {patched(0, {0xFF, 0xFF, 0xFF, 0xFF}), "count larger than the file"},
        {patched(4, {2}), "presence byte not 0 or 1"},
        {patched(19, {7}), "presence byte not 0 or 1"},
        {patched(5, {0xF0, 0xFF, 0xFF, 0x7F}), "count larger than the file"},
        {patched(10, {4}), "count larger than the file"},
        {patched(10, {0}), "index and state counts differ"},
        {patched(28, {0x00, 0x00, 0xC0, 0x7F}), "dt not a finite time"},
        {patched(28, {0x00, 0x00, 0x80, 0xBF}), "dt not a finite time"},
        {patched(28, {0x00, 0x00, 0x80, 0x7F}), "dt not a finite time"},
        {patched(28, {0x00, 0x00, 0x74, 0x42}), "dt longer than any frame"},  // 61 s
        {patched(28, {0x28, 0x6B, 0x6E, 0x4E}), "dt longer than any frame"},  // 1e9 s
        {trailing, "trailing bytes"},
        {Bytes(good.begin(), good.end() - 1), "truncated"},
        {Bytes{}, "truncated"},
    };
    std::vector<Tundra::ReplayFrame> frames(2);
    std::string reason;
    ASSERT_TRUE(ReplayDataFile::Read(good, frames, reason));
    for (const auto& [bytes, why] : cases) {
        std::string refused;
        EXPECT_FALSE(ReplayDataFile::Read(bytes, frames, refused));
        EXPECT_EQ(refused, why);
        EXPECT_EQ(frames.size(), 1u);
    }
}

// A minute is the longest frame read; a recording that stalled for longer
// writes the stall as a minute, so that it can still be played.
TEST_F(ReplayDataFileTest, AFrameOfAMinuteIsReadAndALongerStallIsWrittenAsOne) {
    std::vector<Tundra::ReplayFrame> frames = {Capture(60.0f), Capture(3600.0f), Capture(0.0f)};
    std::vector<Tundra::ReplayFrame> read;
    std::string reason;
    ASSERT_TRUE(ReplayDataFile::Read(Written(frames), read, reason)) << reason;
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].dt, 60.0f);
    EXPECT_EQ(read[1].dt, 60.0f);
}

// Any file is either refused, leaving the frames as they were, or read into
// frames that write back to the same bytes.
TEST_F(ReplayDataFileTest, TruncatedAndMutatedFilesAreRefusedOrReadBackExactly) {
    const Bytes file = Written(Varied());
    const auto check = [](const Bytes& bytes, bool mustRefuse) {
        std::vector<Tundra::ReplayFrame> frames(3);
        std::string reason;
        if (!ReplayDataFile::Read(bytes, frames, reason)) {
            return frames.size() == 3 && !reason.empty();
        }
        frames.emplace_back();  // the unwritten last frame
        return !mustRefuse && Written(frames) == bytes;
    };
    EXPECT_TRUE(check(file, false));
    for (std::size_t length = 0; length < file.size(); ++length) {
        EXPECT_TRUE(check(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length)), true)) << length;
    }
    std::mt19937 random(17);
    for (int round = 0; round < 3000; ++round) {
        Bytes mutated = file;
        for (int flips = 1 + static_cast<int>(random() % 3); flips > 0; --flips) {
            mutated[random() % mutated.size()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
        }
        EXPECT_TRUE(check(mutated, false)) << round;
    }
}

}  // namespace
