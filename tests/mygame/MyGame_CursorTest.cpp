#include "gui/GUI_HUD.h"
#include "mygame/MyGame_CursorClass.h"
#include "mygame/MyGame_CursorSprite.h"
#include "mygame/MyGame_WidgetStreamChecks.h"
#include "os/OS_Cursor.h"
#include "os/OS_HeadlessDisplayHooks.h"
#include "support/MyGame_HudClick.h"
#include "support/MyGame_TestGame.h"
#include "support/MyGame_WidgetFixture.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Sprite.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace mygametest {
namespace {

// Bit 4 in the left (high) half, bit 8 in the right.
constexpr std::uint32_t kFlamerLeftLaserRight = (4u << 16) | 8u;
const Color kFlamerColour{0.99607843f, 0.4745098f, 0.15686275f, 1.0f};
const Color kLaserColour{0.99607843f, 0.9882353f, 0.0f, 1.0f};

bool SameColour(const Color& a, const Color& b) { return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a; }

class CursorTest : public MyGameTest {
protected:
    // The intro's HUD holds the cursor and, unless left out, its two gauges,
    // each on a 6 x 26 sheet of its own.
    void Enter(bool withGauges = true, std::uint32_t selectedWeapons = kFlamerLeftLaserRight) {
        Content().ThenBuild(0, 0, [this, withGauges](const LayerBuild& build) {
            PlaceSprite<CursorClass>(build, "MainCursor");
            if (!withGauges) {
                return;
            }
            for (const char* name : {"LeftCursor", "RightCursor"}) {
                const std::string sheet = std::string("test/") + name + ".png";
                m_textures->SetSize(sheet, 6, 26);
                auto* gauge = TUN_NEW(CursorSprite, std::vector<Core::RefPtr<Tundra::SpriteAnimation>>{TUN_NEW(
                                                        Tundra::SpriteAnimation, Core::String(sheet.c_str()), 1, 1,
                                                        std::vector<float>{1.0f})});
                gauge->SetName(name);
                gauge->SetOldPosition({20.0f, -10.0f});
                build.layer.AddGameObject(gauge);
            }
        });
        StartGame();
        Game().GetProfile().selectedWeapons = selectedWeapons;
        // The intro's build, a frame without time, then its first update.
        Step(3);
    }

    CursorClass& Cursor() { return *Tundra::FindObject<CursorClass>("MainCursor"); }
    CursorSprite& Gauge(const char* name) { return *Tundra::FindObject<CursorSprite>(name); }

    // Client pixels, y from the bottom of the 768-pixel window.
    void MoveMouse(int x, int y) {
        SetCursor(x, static_cast<int>(MyGame::kHeight) - 1 - y);
        Step();
    }
};

TEST_F(CursorTest, StartingSwitchesTheGuiCursorOffMountsAndTintsTheGauges) {
    Enter();
    ASSERT_NE(GUI::HUD::GetInstance(), nullptr);
    EXPECT_FALSE(GUI::HUD::GetInstance()->IsCursorVisible());
    EXPECT_EQ(Cursor().GetLeftGaugeSprite(), &Gauge("LeftCursor"));
    EXPECT_EQ(Cursor().GetRightGaugeSprite(), &Gauge("RightCursor"));
    EXPECT_EQ(Gauge("LeftCursor").GetMount(), &Cursor());
    EXPECT_EQ(Gauge("RightCursor").GetMount(), &Cursor());
    EXPECT_TRUE(SameColour(Gauge("LeftCursor").GetModulationColor(), kFlamerColour));
    EXPECT_TRUE(SameColour(Gauge("RightCursor").GetModulationColor(), kLaserColour));
    EXPECT_EQ(Gauge("LeftCursor").GetFullHeight(), 26.0f);

    // A half naming no weapon leaves that gauge as it is.
    Game().GetProfile().selectedWeapons = 1u << 16;
    Cursor().UpdateGaugeColours();
    EXPECT_TRUE(SameColour(Gauge("LeftCursor").GetModulationColor(), {0.79607844f, 0.20392157f, 0.9490196f, 1.0f}));
    EXPECT_TRUE(SameColour(Gauge("RightCursor").GetModulationColor(), kLaserColour));
}

TEST_F(CursorTest, TheCursorFollowsTheMouseFromTheScreensCentreWithItsGauges) {
    Enter();
    MoveMouse(512, 384);
    EXPECT_EQ(Cursor().GetPosition(), (Vector2D{0.0f, 0.0f}));
    const Vector2D gaugeAtCentre = Gauge("LeftCursor").GetPosition();
    MoveMouse(0, 0);
    EXPECT_EQ(Cursor().GetPosition(), (Vector2D{-512.0f, -384.0f}));
    EXPECT_EQ(Gauge("LeftCursor").GetPosition(), (gaugeAtCentre - Vector2D{512.0f, 384.0f}));
}

TEST_F(CursorTest, AGaugeFillsFromABottomEdgeThatNeverMoves) {
    Enter();
    MoveMouse(600, 300);
    const float cursorY = Cursor().GetPositionY();
    CursorSprite& gauge = Gauge("LeftCursor");
    struct Case {
        float fill;
        int height;
    };
    // A flamer's charge runs above 1: the gauge still draws its cell only.
    for (const Case& c : {Case{0.0f, 0}, Case{0.5f, 13}, Case{1.0f, 26}, Case{1.7f, 26}, Case{-0.2f, 0}}) {
        SCOPED_TRACE(c.fill);
        Cursor().SetLeftGauge(c.fill);
        EXPECT_EQ(Cursor().GetLeftGauge(), c.fill);
        EXPECT_EQ(gauge.GetFrameHeight(0), c.height);
        EXPECT_EQ(gauge.GetPositionY() - static_cast<float>(c.height) / 2.0f, cursorY - 13.0f);
    }
    Cursor().SetRightGauge(0.5f);
    EXPECT_EQ(Gauge("RightCursor").GetFrameHeight(0), 13);
    for (const float refused : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        Cursor().SetLeftGauge(refused);
        EXPECT_EQ(Cursor().GetLeftGauge(), -0.2f);
    }
}

TEST_F(CursorTest, WithoutGaugesNothingFaults) {
    Enter(false, 0);
    Cursor().SetLeftGauge(0.5f);
    Cursor().SetRightGauge(1.0f);
    Cursor().UpdateGaugeColours();
    MoveMouse(10, 10);
    EXPECT_EQ(Cursor().GetPosition(), (Vector2D{-502.0f, -374.0f}));
    EXPECT_EQ(Cursor().GetLeftGaugeSprite(), nullptr);
}

TEST_F(CursorTest, ASavedCursorFindsItsGaugesAgainAndASavedGaugeKeepsItsCrop) {
    Enter();
    // Saved alone, without the gauges the level's cursor carries.
    const Core::RefPtr<CursorClass> saved = TUN_NEW(CursorClass, TestAnimations(1));
    saved->SetLeftGauge(0.5f);
    ExpectStreamRoundTrip(*saved);
    const StreamBytes cursorBytes = SavedBytes(*saved);
    const Core::RefPtr<CursorClass> cursor = ReadBack<CursorClass>(cursorBytes);
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->GetLeftGauge(), 0.5f);
    cursor->SetRightGauge(0.25f);
    EXPECT_EQ(cursor->GetRightGaugeSprite(), &Gauge("RightCursor"));
    EXPECT_EQ(Gauge("RightCursor").GetFrameHeight(0), 6);
    EXPECT_EQ(ReadBack<CursorClass>(WithFieldFromEnd(cursorBytes, 4, std::numeric_limits<float>::quiet_NaN())),
              nullptr);

    Cursor().SetLeftGauge(0.5f);
    ExpectStreamRoundTrip(Gauge("LeftCursor"));
    const StreamBytes gaugeBytes = SavedBytes(Gauge("LeftCursor"));
    const Core::RefPtr<CursorSprite> gauge = ReadBack<CursorSprite>(gaugeBytes);
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(gauge->GetFullHeight(), 26.0f);
    EXPECT_EQ(gauge->GetFillHeight(), 13.0f);
    EXPECT_EQ(gauge->GetFrameHeight(0), 13);
    EXPECT_EQ(ReadBack<CursorSprite>(WithFieldFromEnd(gaugeBytes, 8, -26.0f)), nullptr);
}

}  // namespace
}  // namespace mygametest

namespace mygametest {
namespace {

// The title level's cursor, drawn as a flat 28 x 26 block, read back where
// the pointer stands.
class CursorPixelTest : public WidgetPixelTest {
protected:
    static constexpr testsupport::Rgba kBlock{255, 0, 255, 255};

    void SetUp() override {
        WidgetPixelTest::SetUp();
        ASSERT_TRUE(Resources().WriteFlatSheet("Cursor", {kBlock}));
        ASSERT_TRUE(EnterTitle());
        for (const char* hidden : {"FadeTransition", "LeftCursor", "RightCursor"}) {
            Find<Tundra::Sprite>(hidden)->SetVisible(false);
        }
    }

    // The middle of the block's run of pixels from the HUD point along the
    // direction, both ways, within 40 pixels.
    static float MiddleOfBlock(const Vector2D& hudPoint, const Vector2D& direction) {
        float ends[2] = {0.0f, 0.0f};
        for (int side = 0; side < 2; ++side) {
            const float sign = side == 0 ? -1.0f : 1.0f;
            int reach = 0;
            while (reach < 40 && IsNear(PixelAt(hudPoint + direction * (sign * static_cast<float>(reach + 1))), kBlock)) {
                ++reach;
            }
            ends[side] = sign * static_cast<float>(reach);
        }
        return (ends[0] + ends[1]) / 2.0f;
    }
};

// The cursor stands in front of the other widgets, where the HUD's
// perspective draws objects larger: it is still drawn under the pointer,
// near the centre and out at the corners.
TEST_F(CursorPixelTest, TheCursorIsDrawnUnderThePointerAllOverTheScreen) {
    for (const Vector2D& at : {Vector2D{0.0f, 0.0f}, Vector2D{-57.0f, 87.0f}, Vector2D{-470.0f, -340.0f},
                               Vector2D{470.0f, 340.0f}, Vector2D{480.0f, -100.0f}}) {
        SCOPED_TRACE(testing::Message() << at.x << ", " << at.y);
        PointAt(at);
        Step(2);
        ASSERT_TRUE(IsNear(PixelAt(at), kBlock));
        // A block of even size has its middle between two pixels.
        EXPECT_NEAR(MiddleOfBlock(at, {1.0f, 0.0f}), -0.5f, 1.0f);
        EXPECT_NEAR(MiddleOfBlock(at, {0.0f, 1.0f}), -0.5f, 1.0f);
    }
}

constexpr os::DisplayMode kCursorPictureMode{1024, 768, 32, 60};
constexpr os::DisplayMode kCursorDesktop{1920, 1080, 32, 60};

// Full screen over a 1920 x 1080 desktop: the picture is shown 1.40625
// times larger between bars 240 pixels wide.
class FullScreenCursorPixelTest : public CursorPixelTest {
protected:
    void SetUp() override {
        os::headless::ResetDisplay();
        os::headless::SetDisplayModes({kCursorPictureMode}, kCursorDesktop);
        CursorPixelTest::SetUp();
        if (!Game().IsFullScreen()) {
            Game().AutoToggleFullScreen();
        }
        Step(2);
    }
    void TearDown() override {
        CursorPixelTest::TearDown();
        os::headless::ResetDisplay();
    }

    // The HUD point of the picture pixel under a desktop point.
    static Vector2D HudPointUnder(int x, int y) {
        const float column = std::floor(static_cast<float>(x - 240) * 1024.0f / 1440.0f);
        const float row = std::floor(static_cast<float>(y) * 768.0f / 1080.0f);
        return {column - 512.0f, 767.0f - row - 384.0f};
    }
};

// The pointer put on desktop points: the cursor is drawn where the pointer
// is, within a pixel of the picture (1.4 desktop pixels).
TEST_F(FullScreenCursorPixelTest, TheCursorIsDrawnUnderThePointerOnTheScaledPicture) {
    ASSERT_TRUE(Game().IsFullScreen());
    for (const os::Point& at : {os::Point{880, 418}, os::Point{290, 40}, os::Point{1640, 1040}, os::Point{1660, 300}}) {
        SCOPED_TRACE(testing::Message() << at.x << ", " << at.y);
        ASSERT_TRUE(os::SetCursorPos(at.x, at.y));
        Step(2);
        const Vector2D hud = HudPointUnder(at.x, at.y);
        ASSERT_TRUE(IsNear(PixelAt(hud), kBlock));
        EXPECT_NEAR(MiddleOfBlock(hud, {1.0f, 0.0f}), -0.5f, 1.0f);
        EXPECT_NEAR(MiddleOfBlock(hud, {0.0f, 1.0f}), -0.5f, 1.0f);
    }
}

}  // namespace
}  // namespace mygametest
