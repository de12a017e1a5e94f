#include "core/Core_MemoryFile.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_MenuWidget.h"
#include "mygame/MyGame_VolumeControl.h"
#include "os/OS_Image.h"
#include "os/OS_Path.h"
#include "support/MyGame_FrameStep.h"
#include "support/MyGame_HudClick.h"
#include "support/MyGame_WidgetFixture.h"
#include "tundra/Tundra_Sound.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

namespace mygametest {
namespace {


// The title level's 200 x 72 wedge moved to the centre and shown, with its
// fill bar, the level past its first frames.
class VolumeControlTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        ASSERT_TRUE(EnterTitle());
        m_slider = Find<VolumeControl>("VolumeBG");
        ASSERT_NE(m_slider, nullptr);
        m_fill = m_slider->GetFillBar();
        ASSERT_NE(m_fill, nullptr);
        m_slider->SetPosition({0.0f, 0.0f});
        m_slider->SetVisible(true);
        // The first frame after a level change runs nothing.
        Step();
    }

    // Held over the HUD point for one frame, then let go.
    void HoldAt(const Vector2D& hudPoint) {
        PointAt(hudPoint);
        HoldLeftButton(true);
        Step();
        HoldLeftButton(false);
    }

    std::uint32_t FillWidth() const {
        return m_fill->GetEngineSprite()->GetCurrentAnimation()->GetFrameWidth();
    }

    VolumeControl* m_slider = nullptr;
    InternalSprite* m_fill = nullptr;
};

TEST_F(VolumeControlTest, HoldingTheButtonOverTheWedgeSetsTheFractionUnderTheCursor) {
    EXPECT_EQ(m_slider->GetValue(), 0.8f);  // the game's volume at start
    Tundra::Sound* hover = Globals().buttonHoverSound;
    ASSERT_NE(hover, nullptr);
    hover->Rewind();
    hover->Play(false);
    struct Case {
        Vector2D at;
        float value;
        std::uint32_t width;
        float x;
        Color color;
    };
    // Above the diagonal nothing changes: the bar stays at 0.25.
    const Case cases[] = {{{-100.0f, -36.0f}, 0.0f, 0, -100.0f, {1.0f, 0.0f, 0.0f, 1.0f}},
                          {{100.0f, 0.0f}, 1.0f, 200, 0.0f, {0.0f, 1.0f, 0.0f, 1.0f}},
                          {{0.0f, -20.0f}, 0.5f, 100, -50.0f, {1.0f, 1.0f, 0.0f, 1.0f}},
                          {{-50.0f, 30.0f}, 0.25f, 50, -75.0f, {1.0f, 0.5f, 0.0f, 1.0f}}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.at.x);
        m_slider->SetValue(0.25f);
        HoldAt(test.at);
        EXPECT_EQ(m_slider->GetValue(), test.value);
        EXPECT_EQ(FillWidth(), test.width);
        EXPECT_EQ(m_fill->GetPositionX(), test.x);
        const Color& color = m_fill->GetModulationColor();
        EXPECT_EQ((std::vector<float>{color.r, color.g, color.b, color.a}),
                  (std::vector<float>{test.color.r, test.color.g, test.color.b, test.color.a}));
        EXPECT_EQ(Game().GetVolume(), test.value);
        EXPECT_EQ(hover->GetVolume(), test.value);
    }

    // Muted, the game keeps the value but the hover sound keeps its volume.
    Game().SetMuted(true);
    HoldAt({0.0f, -20.0f});
    EXPECT_EQ(Game().GetVolume(), 0.5f);
    HoldAt({100.0f, 0.0f});
    EXPECT_EQ(Game().GetVolume(), 1.0f);
    EXPECT_EQ(hover->GetVolume(), 0.25f);

    // Hidden, a press where it was changes nothing.
    m_slider->SetVisible(false);
    EXPECT_FALSE(m_fill->GetVisible());
    HoldAt({0.0f, -20.0f});
    EXPECT_EQ(m_slider->GetValue(), 1.0f);
}

// The generated fill picture against the wedge's hit test: in every column
// the top inked pixel (the one nearest the slope; those under it lie nearer
// the ramp's base) sets the volume of its column, and the ink runs unbroken
// from the ramp's first tenth to its last.
TEST_F(VolumeControlTest, EveryInkedColumnOfTheGeneratedRampSetsItsShare) {
    os::Image ramp;
    ASSERT_TRUE(os::DecodeImageFile(os::ExecutableDirectory() + "/Resources/Animations/Volume.png", ramp));
    ASSERT_EQ(ramp.width, 200u);
    ASSERT_EQ(ramp.height, 72u);
    std::vector<std::uint32_t> inkedColumns;
    for (std::uint32_t x = 0; x < ramp.width; ++x) {
        std::uint32_t top = 0;
        while (top < ramp.height && ramp.pixels[(top * ramp.width + x) * 4 + 3] < 128) {
            ++top;
        }
        if (top == ramp.height) {
            continue;
        }
        SCOPED_TRACE(x);
        inkedColumns.push_back(x);
        m_slider->SetValue(1.5f);
        // The wedge spans (-100, -36) to (100, 36); a cursor over a pixel
        // reads the pixel's bottom-left corner.
        HoldAt({-100.0f + static_cast<float>(x), 35.0f - static_cast<float>(top)});
        EXPECT_EQ(m_slider->GetValue(), static_cast<float>(x) / 200.0f);
    }
    ASSERT_FALSE(inkedColumns.empty());
    EXPECT_LT(inkedColumns.front(), 20u);
    EXPECT_GE(inkedColumns.back(), 180u);
    EXPECT_EQ(inkedColumns.size(), inkedColumns.back() - inkedColumns.front() + 1);
}

// A slider still fading in, as the page that has just opened brings it,
// takes no press: the second click of a double click on "volume" sets
// nothing.
TEST_F(VolumeControlTest, ASliderStillFadingInTakesNoPress) {
    m_slider->SetValue(0.25f);
    m_slider->SetOpacity(-1.0f);
    HoldAt({0.0f, -20.0f});
    EXPECT_EQ(m_slider->GetValue(), 0.25f);
    ASSERT_TRUE(RunUntil([this] { return IsFadedIn(m_slider->GetOpacity()); }, 60).has_value());
    HoldAt({0.0f, -20.0f});
    EXPECT_EQ(m_slider->GetValue(), 0.5f);
}

// A press held on while the slider comes in is not the slider's, however
// long it is held; one that begins on the shown slider drags it, down to 0
// at its left end.
TEST_F(VolumeControlTest, APressHeldSinceBeforeTheSliderWasShownNeverSetsIt) {
    m_slider->SetValue(0.1f);
    EnterLate(m_slider);
    PointAt({0.0f, -20.0f});
    HoldLeftButton(true);
    ASSERT_TRUE(RunUntil([this] { return IsFadedIn(m_slider->GetOpacity()); }, 60).has_value());
    Step(60);
    EXPECT_EQ(m_slider->GetValue(), 0.1f);
    HoldLeftButton(false);
    Step();

    HoldLeftButton(true);
    Step();
    EXPECT_EQ(m_slider->GetValue(), 0.5f);
    PointAt({-100.0f, -36.0f});
    Step();
    HoldLeftButton(false);
    EXPECT_EQ(m_slider->GetValue(), 0.0f);
}

// A stop long enough to fade the slider in within one frame does not let it
// take a press made during the stop: it was never drawn shown before it.
TEST_F(VolumeControlTest, APressDuringTheLongFrameThatFadesTheSliderInSetsNothing) {
    m_slider->SetValue(0.1f);
    EnterLate(m_slider);
    PointAt({0.0f, -20.0f});
    Step();
    ASSERT_FALSE(IsFadedIn(m_slider->GetOpacity()));

    StepWithStop(1200.0);
    HoldLeftButton(true);
    Step();
    EXPECT_TRUE(IsFadedIn(m_slider->GetOpacity()));
    Step();
    HoldLeftButton(false);
    Step();
    EXPECT_EQ(m_slider->GetValue(), 0.1f);

    HoldAt({0.0f, -20.0f});
    EXPECT_EQ(m_slider->GetValue(), 0.5f);
}

TEST_F(VolumeControlTest, AValueAboveOneDrawsTheFullWidthOnlyAndNaNIsRefused) {
    m_slider->SetValue(1.5f);
    EXPECT_EQ(m_slider->GetValue(), 1.5f);
    EXPECT_EQ(FillWidth(), 200u);
    EXPECT_EQ(m_fill->GetPositionX(), 0.0f);
    EXPECT_EQ(m_fill->GetModulationColor().r, -1.0f);
    m_slider->SetValue(-2.0f);
    EXPECT_EQ(m_slider->GetValue(), 0.0f);
    m_slider->SetValue(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(m_slider->GetValue(), 0.0f);
}

TEST_F(VolumeControlTest, APendingShowBringsSliderAndBarInTogetherAndFadesThemIn) {
    m_slider->SetVisible(false);
    m_slider->SetOpacity(-3.0f);
    m_slider->SetShowPending(true);
    Step();
    EXPECT_TRUE(m_slider->GetVisible() && m_fill->GetVisible());
    EXPECT_FALSE(m_slider->IsShowPending());
    const float expected = -3.0f + (1.0f - -3.0f) * kDt * 5.0f;
    EXPECT_EQ(m_slider->GetOpacity(), expected);
    EXPECT_EQ(m_fill->GetOpacity(), expected);
}

TEST_F(VolumeControlTest, AWedgeWithoutWidthSetsNoValue) {
    m_textures->SetSize("test/flat.png", 0, 72);
    const Core::RefPtr<VolumeControl> flat = TUN_NEW(
        VolumeControl, std::vector<Core::RefPtr<Tundra::SpriteAnimation>>{
                           TUN_NEW(Tundra::SpriteAnimation, "test/flat.png", 1, 1, std::vector<float>{1.0f})});
    Game().GetHudLayer()->AddGameObject(flat.Get());
    Step();
    flat->SetValue(0.3f);
    flat->SetVisible(true);
    flat->SetPosition({0.0f, 0.0f});
    HoldAt({0.0f, 0.0f});
    EXPECT_EQ(flat->GetValue(), 0.3f);
}

TEST_F(VolumeControlTest, TheValueAndItsCutComeBackFromAStreamAndBadValuesAreRefused) {
    m_slider->SetValue(0.5f);
    m_slider->SetShowPending(true);
    Game().RequestSave("slider");
    Step();
    m_slider->SetValue(0.9f);
    Game().RequestLoad("slider");
    Step();
    m_slider = Find<VolumeControl>("VolumeBG");
    ASSERT_NE(m_slider, nullptr);
    m_fill = m_slider->GetFillBar();
    ASSERT_EQ(m_fill, Find<InternalSprite>("Volume"));
    EXPECT_EQ(m_slider->GetValue(), 0.5f);
    EXPECT_EQ(FillWidth(), 100u);

    // Standalone, without a bar: value, flag and half sizes are checked.
    const Core::RefPtr<VolumeControl> source = TUN_NEW(VolumeControl, TestAnimations(1));
    Core::MemoryFile file;
    source->Save(file);
    const std::vector<std::uint8_t> bytes(file.GetData(), file.GetData() + file.GetSize());
    // The tail: value, show-pending, half height, half width, bar.
    const std::size_t tail = bytes.size() - 14;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float negative = -1.0f;
    std::vector<std::vector<std::uint8_t>> damaged;
    for (const std::size_t at : {tail, tail + 5, tail + 9}) {
        for (const float bad : {nan, negative}) {
            damaged.push_back(bytes);
            std::memcpy(damaged.back().data() + at, &bad, sizeof bad);
        }
    }
    damaged.push_back(bytes);
    damaged.back()[tail + 4] = 2;
    for (std::size_t size = tail; size < bytes.size(); ++size) {
        damaged.emplace_back(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
    }
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        const Core::RefPtr<VolumeControl> read = TUN_NEW(VolumeControl, TestAnimations(1));
        read->SetValue(0.75f);
        Core::MemoryFile reader(damaged[i].data(), static_cast<std::uint32_t>(damaged[i].size()));
        read->Load(reader);
        EXPECT_TRUE(reader.HasFailed()) << i;
        EXPECT_EQ(read->GetValue(), 0.75f) << i;
        EXPECT_FALSE(read->IsShowPending()) << i;
    }
}

}  // namespace
}  // namespace mygametest
