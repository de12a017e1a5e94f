#include "core/Core_MemoryFile.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_ButtonClass.h"
#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_LabeledButtonTestHooks.h"
#include "mygame/MyGame_Templates.h"
#include "support/MyGame_ButtonPress.h"
#include "support/MyGame_FrameStep.h"
#include "support/MyGame_HudClick.h"
#include "support/MyGame_WidgetFixture.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Sound.h"

#include <gtest/gtest.h>

#include <vector>

namespace mygametest {
namespace {


// A button that counts the reports of its presses.
class CountingButton : public ButtonClass {
public:
    using ButtonClass::ButtonClass;
    void OnStateChange() override {
        ButtonClass::OnStateChange();
        ++stateChanges;
    }
    void OnPress() override {
        ButtonClass::OnPress();
        ++presses;
    }
    int stateChanges = 0;
    int presses = 0;
};

class ButtonTest : public WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        m_textures->SetSize("test/button.png", 300, 60);
        ASSERT_TRUE(EnterTitle());
        // The level's first frame runs no update.
        Step();
    }

    // A three-frame button of 100 x 60 at the HUD point, started.
    template <class T>
    T& AddButton(const Vector2D& at = {}) {
        const std::vector<Core::RefPtr<Tundra::SpriteAnimation>> animations{
            TUN_NEW(Tundra::SpriteAnimation, Core::String("test/button.png"), 3, 1, std::vector<float>(3, 1.0f))};
        auto* button = TUN_NEW(T, animations);
        button->SetPosition(at);
        Game().GetHudLayer()->AddGameObject(button);
        Step();
        return *button;
    }

    LabeledButton& AddLabeledButton(const Vector2D& at = {}) {
        auto& button = AddButton<LabeledButton>(at);
        button.SetScreenSpace(true);
        return button;
    }

    // The cursor at a client pixel (y from the bottom) for the next frame.
    static void PointAtPixel(float x, float y) { PointAt(Vector2D{x, y} - kCentre); }

    static inline const Vector2D kCentre{512.0f, 384.0f};
};

// Edges of a plain button's box count as inside, those of a labelled
// button as outside.
TEST_F(ButtonTest, TheTwoKindsDisagreeOnlyOnTheirEdges) {
    auto& plain = AddButton<ButtonClass>();
    auto& labelled = AddLabeledButton();
    struct Case {
        float x, y;
        std::uint32_t plainState, labelledState;
    };
    const Case cases[] = {
        {562.0f, 414.0f, ButtonClass::kHovered, 0}, {462.0f, 354.0f, ButtonClass::kHovered, 0},
        {561.0f, 413.0f, ButtonClass::kHovered, 1}, {563.0f, 384.0f, ButtonClass::kIdle, 0},
        {512.0f, 415.0f, ButtonClass::kIdle, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        PointAtPixel(c.x, c.y);
        Step();
        EXPECT_EQ(plain.GetState(), c.plainState);
        EXPECT_EQ(plain.GetCurrentFrameIndex(), c.plainState == ButtonClass::kHovered ? 1 : 0);
        EXPECT_EQ(labelled.GetState(), c.labelledState);
        PointAtPixel(0.0f, 0.0f);
        Step();
    }
}

TEST_F(ButtonTest, ALabelledClickTakesEnterDownAndUp) {
    auto& button = AddLabeledButton();
    int clicks = 0;
    button.SetClickCallback([&] { ++clicks; });
    Tundra::Sound* hover = Globals().buttonHoverSound;
    ASSERT_NE(hover, nullptr);
    hover->Stop();

    PointAt({10.0f, 10.0f});
    Step();
    EXPECT_EQ(button.GetState(), 1u);
    EXPECT_EQ(button.GetCurrentFrameIndex(), 1);
    EXPECT_TRUE(hover->IsPlaying());
    hover->Stop();

    HoldLeftButton(true);
    Step();
    EXPECT_EQ(button.GetState(), 2u);
    EXPECT_EQ(button.GetCurrentFrameIndex(), 2);
    Step();
    EXPECT_EQ(button.GetState(), 2u) << "held, the button stays down";

    HoldLeftButton(false);
    Step();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button.GetState(), 0u);
    EXPECT_EQ(button.GetCurrentFrameIndex(), 0);
    EXPECT_FALSE(hover->IsPlaying()) << "the hover sound plays once per entry";
}

// A button still fading in takes no press, nor, once shown, the release of
// a press that began before: only a press that begins while it is shown
// clicks.
TEST_F(ButtonTest, APressBeforeTheButtonIsShownClicksNothing) {
    int clicks = 0;
    LabeledButton* button = MakeLabeledButton({0.0f, 0.0f}, "Windowed", 0, [&] { ++clicks; });
    ASSERT_NE(button, nullptr);
    PointAt({0.0f, 0.0f});
    Step();
    ASSERT_EQ(button->GetState(), 1u);
    EXPECT_FALSE(button->IsShown());

    HoldLeftButton(true);
    Step();
    EXPECT_EQ(button->GetState(), 1u);
    HoldLeftButton(false);
    Step();
    EXPECT_EQ(clicks, 0);

    HoldLeftButton(true);
    ASSERT_TRUE(StepUntilButtonsShown());
    HoldLeftButton(false);
    Step();
    EXPECT_EQ(clicks, 0);

    PressAndRelease();
    EXPECT_EQ(clicks, 1);
}

// A frame longer than the fade's fifth of a second lands the button on full
// opacity and its label on the state's colour, where the next leaves them:
// no swing that hides the button and drops presses.
TEST_F(ButtonTest, ALongFrameLandsTheFadesAndTheButtonTakesAPress) {
    int clicks = 0;
    LabeledButton* button = MakeLabeledButton({0.0f, 0.0f}, "Play", 0, [&] { ++clicks; });
    ASSERT_NE(button, nullptr);
    PointAt({0.0f, 0.0f});
    Step();
    ASSERT_EQ(button->GetState(), 1u);
    for (const float dt : {0.6f, 1.5f}) {
        SCOPED_TRACE(dt);
        button->SetOpacity(-3.0f);
        button->GetLabel()->SetModulationColor({0.0f, 0.0f, 0.0f, 1.0f});
        for (int frame = 0; frame < 2; ++frame) {
            button->Update(dt);
            EXPECT_EQ(button->GetOpacity(), 1.0f);
            const Color colour = button->GetLabel()->GetModulationColor();
            EXPECT_EQ((std::vector<float>{colour.r, colour.g, colour.b}), (std::vector<float>{1.0f, 0.8784314f, 0.2f}));
        }
    }
    PressAndRelease();
    EXPECT_EQ(clicks, 1);
}

// A press that goes down in the frame the pointer arrives (a tap, a move
// and click within one slow frame) is a press on the shown button.
TEST_F(ButtonTest, APressArrivingWithThePointerIsAPress) {
    auto& button = AddLabeledButton();
    int clicks = 0;
    button.SetClickCallback([&] { ++clicks; });
    PointAt({200.0f, 0.0f});
    Step();
    ASSERT_TRUE(button.IsShown());

    PointAt({0.0f, 0.0f});
    HoldLeftButton(true);
    Step();
    EXPECT_EQ(button.GetState(), 2u);
    EXPECT_EQ(button.GetCurrentFrameIndex(), 2);
    HoldLeftButton(false);
    Step();
    EXPECT_EQ(clicks, 1);
}

// A frame long enough to fade the button in at once does not let it take a
// press made during that frame: it was never drawn shown before it.
TEST_F(ButtonTest, APressDuringTheLongFrameThatFadesTheButtonInClicksNothing) {
    int clicks = 0;
    LabeledButton* button = MakeLabeledButton({0.0f, 0.0f}, "Back", 0, [&] { ++clicks; });
    ASSERT_NE(button, nullptr);
    PointAt({0.0f, 0.0f});
    Step();
    ASSERT_FALSE(button->IsShown());

    StepWithStop(1200.0);
    HoldLeftButton(true);
    Step();
    EXPECT_TRUE(button->IsShown());
    EXPECT_EQ(button->GetState(), 1u);
    HoldLeftButton(false);
    Step();
    EXPECT_EQ(clicks, 0);

    PressAndRelease();
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonTest, PressesThatDoNotEndInsideClickNothing) {
    auto& capture = AddLabeledButton();
    int clicks = 0;
    int leaves = 0;
    capture.SetClickCallback([&] { ++clicks; });
    capture.SetLeaveCallback([&] { ++leaves; });

    // Entering with the button already held only hovers it.
    PointAt({200.0f, 0.0f});
    HoldLeftButton(true);
    Step();
    PointAt({0.0f, 0.0f});
    Step(2);
    EXPECT_EQ(capture.GetState(), 1u);
    HoldLeftButton(false);
    Step();
    EXPECT_EQ(clicks, 0);

    // Pressed, then the cursor leaves: the leave callback once, no click.
    HoldLeftButton(true);
    Step();
    ASSERT_EQ(capture.GetState(), 2u);
    PointAt({200.0f, 0.0f});
    Step();
    HoldLeftButton(false);
    Step(2);
    EXPECT_EQ(capture.GetState(), 0u);
    EXPECT_EQ(leaves, 1);
    EXPECT_EQ(clicks, 0);
}

TEST_F(ButtonTest, APlainButtonEnteredHeldIsPressedAndReportsTheRelease) {
    auto& button = AddButton<CountingButton>();
    HoldLeftButton(true);
    PointAt({0.0f, 0.0f});
    Step();
    EXPECT_EQ(button.GetState(), ButtonClass::kPressed);
    EXPECT_EQ(button.GetCurrentFrameIndex(), 2);
    HoldLeftButton(false);
    Step();
    EXPECT_EQ(button.GetState(), ButtonClass::kReleased);
    EXPECT_EQ(button.GetCurrentFrameIndex(), 0);
    EXPECT_EQ(button.stateChanges, 1);
    EXPECT_GE(button.presses, 1);
    EXPECT_EQ(button.GetCursorPosition(), kCentre);

    // Hidden, it keeps its state and frame whatever the mouse does.
    Step();
    ASSERT_EQ(button.GetState(), ButtonClass::kHovered);
    button.SetVisible(false);
    HoldLeftButton(true);
    PointAt({300.0f, 0.0f});
    Step();
    EXPECT_EQ(button.GetState(), ButtonClass::kHovered);
    EXPECT_EQ(button.GetCurrentFrameIndex(), 1);
}

TEST_F(ButtonTest, TheLabelEasesTowardItsStatesColourWhileShown) {
    LabeledButton* button = MakeLabeledButton({0.0f, 0.0f}, "Play", 0, [] {});
    ASSERT_NE(button, nullptr);
    CenteredText* label = button->GetLabel();
    ASSERT_NE(label, nullptr);
    PointAt({0.0f, 0.0f});
    Step();
    ASSERT_EQ(button->GetState(), 1u);
    label->SetModulationColor({0.0f, 0.0f, 0.0f, 0.5f});
    button->Update(kDt);
    const Color eased = label->GetModulationColor();
    EXPECT_EQ(eased.r, 0.25f);
    EXPECT_EQ(eased.g, 0.8784314f * kDt * 15.0f);
    EXPECT_EQ(eased.g, 0.21960786f);
    EXPECT_EQ(eased.b, 0.2f * kDt * 15.0f);
    EXPECT_EQ(eased.a, 0.5f);

    // Hidden: no hit test, no colour change, the state and frame stay.
    button->SetVisible(false);
    EXPECT_FALSE(label->GetVisible());
    PointAt({300.0f, 0.0f});
    Step();
    EXPECT_EQ(button->GetState(), 1u);
    EXPECT_EQ(button->GetCurrentFrameIndex(), 1);
    EXPECT_EQ(label->GetModulationColor().r, eased.r);

    // A pending show brings both back on the next update.
    button->SetShowPending(true);
    Step();
    EXPECT_TRUE(button->GetVisible());
    EXPECT_TRUE(label->GetVisible());
    EXPECT_FALSE(button->IsShowPending());
}

TEST_F(ButtonTest, MadeButtonsAreTemplateClonesThatFadeInWithTheirLabel) {
    int clicks = 0;
    LabeledButton* button = MakeLabeledButton({100.0f, -50.0f}, "Shop", 1, [&] { ++clicks; });
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetLayer(), Game().GetHudLayer());
    EXPECT_EQ(button->GetCurrentAnimationIndex(), 1);
    EXPECT_EQ(button->GetName(), Game().GetTemplate(kButtonTemplate)->GetName());
    CenteredText* label = button->GetLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetAnchor(), (Vector2D{100.0f, -50.0f}));
    EXPECT_EQ(button->GetOpacity(), 0.0f);
    EXPECT_EQ(label->GetOpacity(), 0.0f);
    Step();
    EXPECT_GT(button->GetOpacity(), 0.0f);
    EXPECT_LT(button->GetOpacity(), 1.0f);
    EXPECT_GT(label->GetOpacity(), 0.0f);

    ASSERT_TRUE(StepUntilButtonsShown());
    ClickAt({100.0f, -50.0f});
    EXPECT_EQ(clicks, 1);

    const Core::RefPtr<LabeledButton> clone(static_cast<LabeledButton*>(button->Clone()));
    EXPECT_EQ(clone->GetLabel(), nullptr);
    EXPECT_FALSE(clone->IsScreenSpace());
    EXPECT_FALSE(clone->HasLeaveCallback());
    EXPECT_FALSE(clone->IsShowPending());
    EXPECT_FALSE(LabeledButtonTestAccess::GetClickCallback(*clone));

    button->Destroy();
    EXPECT_TRUE(label->IsDestroyRequested());
}

// Buttons without a callback or label, and one that another button's
// callback destroyed earlier in the same frame, fire nothing.
TEST_F(ButtonTest, BareAndDestroyedButtonsFireNothing) {
    auto& bare = AddLabeledButton({0.0f, 0.0f});
    auto& destroyer = AddLabeledButton({0.0f, 0.0f});
    auto& victim = AddLabeledButton({0.0f, 0.0f});
    int victimClicks = 0;
    victim.SetClickCallback([&] { ++victimClicks; });
    destroyer.SetClickCallback([&] { victim.Destroy(); });
    const Core::RefPtr<LabeledButton> heldVictim(&victim);
    ASSERT_TRUE(ClickAt({0.0f, 0.0f}));
    EXPECT_EQ(bare.GetState(), 0u);
    EXPECT_TRUE(victim.IsDestroyRequested());
    EXPECT_EQ(victimClicks, 0);
    EXPECT_NE(victim.GetState(), 0u) << "its update ended before the release";

    // A button whose callback destroys it ends its update there.
    LabeledButton* self = MakeLabeledButton({0.0f, 0.0f}, "Exit", 0, nullptr);
    ASSERT_NE(self, nullptr);
    self->SetClickCallback([self] { self->Destroy(); });
    const Core::RefPtr<LabeledButton> heldSelf(self);
    ASSERT_TRUE(StepUntilButtonsShown());
    ASSERT_TRUE(ClickAt({0.0f, 0.0f}));
    EXPECT_TRUE(self->IsDestroyRequested());
    EXPECT_TRUE(self->GetLabel() == nullptr);
}

TEST_F(ButtonTest, StreamsKeepTheStateAndRefuseWhatTheyCannotHold) {
    LabeledButton* button = MakeKeyCaptureButton({0.0f, 0.0f}, "Jump - w", 0, [] {}, [] {});
    ASSERT_NE(button, nullptr);
    PointAt({0.0f, 0.0f});
    ASSERT_TRUE(StepUntilButtonsShown());
    HoldLeftButton(true);
    Step();
    ASSERT_EQ(button->GetState(), 2u);
    auto& plain = AddButton<ButtonClass>({30.0f, 0.0f});
    ASSERT_EQ(plain.GetState(), ButtonClass::kPressed);

    Core::MemoryFile saved;
    saved.WriteObject(button);
    saved.WriteObject(&plain);
    Core::MemoryFile reader(saved.GetData(), saved.GetSize());
    const Core::RefPtr<LabeledButton> read(reader.ReadObjectAs<LabeledButton>());
    const Core::RefPtr<ButtonClass> readPlain(reader.ReadObjectAs<ButtonClass>());
    ASSERT_NE(read, nullptr);
    ASSERT_NE(readPlain, nullptr);
    EXPECT_EQ(read->GetState(), 2u);
    EXPECT_TRUE(read->IsScreenSpace());
    EXPECT_TRUE(read->HasLeaveCallback());
    ASSERT_NE(read->GetLabel(), nullptr);
    EXPECT_EQ(read->GetLabel()->GetText(), "Jump - w");
    EXPECT_FALSE(LabeledButtonTestAccess::GetClickCallback(*read)) << "callbacks are rebuilt by their owner";
    EXPECT_EQ(readPlain->GetState(), ButtonClass::kPressed);
    EXPECT_EQ(readPlain->GetWidth(), 100.0f);
    EXPECT_EQ(readPlain->GetHeight(), 60.0f);

    // The state is the last field of a plain button; a labelled button's
    // flags are its last three bytes.
    struct Damage {
        const Core::Object* object;
        std::size_t fromEnd;
        std::uint8_t value;
    };
    const Damage damages[] = {{button, 1, 2}, {button, 3, 7}, {&plain, 4, 4}};
    for (const Damage& damage : damages) {
        Core::MemoryFile one;
        one.WriteObject(damage.object);
        std::vector<std::uint8_t> bytes(one.GetData(), one.GetData() + one.GetSize());
        bytes[bytes.size() - damage.fromEnd] = damage.value;
        Core::MemoryFile bad(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        EXPECT_EQ(bad.ReadObject(), nullptr) << damage.object->GetType() << " " << damage.fromEnd;
    }
}

}  // namespace
}  // namespace mygametest

namespace mygametest {
namespace {

class ButtonPixelTest : public WidgetPixelTest {
protected:
    static constexpr testsupport::Rgba kIdle{255, 0, 0, 255};
    static constexpr testsupport::Rgba kHovered{0, 255, 0, 255};
    static constexpr testsupport::Rgba kPressed{0, 0, 255, 255};

    void SetUp() override {
        WidgetPixelTest::SetUp();
        ASSERT_TRUE(Resources().WriteFlatSheet("ButtonTemplate", {kIdle, kHovered, kPressed}));
        Resources().WriteSolidFont();
        ASSERT_TRUE(EnterTitle());
        Find<Tundra::Sprite>("FadeTransition")->SetVisible(false);
        m_button = MakeLabeledButton({0.0f, 0.0f}, "Play", 0, [] {});
        ASSERT_NE(m_button, nullptr);
    }

    // Inside the 228 x 60 button, clear of its label and of the game's
    // cursor.
    static inline const Vector2D kFrameProbe{80.0f, 20.0f};
    static inline const Vector2D kCursorAt{-80.0f, -20.0f};
    LabeledButton* m_button = nullptr;
};

TEST_F(ButtonPixelTest, EachStateShowsItsFrame) {
    PointAt({400.0f, -300.0f});
    Step(90);
    EXPECT_TRUE(IsNear(PixelAt(kFrameProbe), kIdle));
    PointAt(kCursorAt);
    Step(2);
    EXPECT_TRUE(IsNear(PixelAt(kFrameProbe), kHovered));
    HoldLeftButton(true);
    Step(2);
    ASSERT_EQ(m_button->GetState(), 2u);
    EXPECT_TRUE(IsNear(PixelAt(kFrameProbe), kPressed));
    HoldLeftButton(false);
    Step();
}

TEST_F(ButtonPixelTest, AHoveredLabelTurnsGold) {
    PointAt(kCursorAt);
    Step(120);
    ASSERT_EQ(m_button->GetState(), 1u);
    const CenteredText* label = m_button->GetLabel();
    EXPECT_TRUE(IsNear(PixelAt(label->GetPosition() + Vector2D{8.0f, 8.0f}), {255, 224, 51, 255}));
}

}  // namespace
}  // namespace mygametest
