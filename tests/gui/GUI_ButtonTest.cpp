#include "GUI_WidgetScene.h"

#include "gui/GUI_Button.h"
#include "gui/GUI_Form.h"
#include "gui/GUI_ImageEffect.h"
#include "gui/GUI_ResourcePaths.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>

using Core::RefPtr;
using GUI::Button;
using GUI::ControlEvent;
using guitest::New;
using State = GUI::Button::State;

namespace {

// Cells of 16, lines 20 apart; "W" is 10 wide with no offset or lead.
Engine::FontFile LabelFont() {
    Engine::FontFile file{{0, 0, 0, 16, 0, 0, 20, 0}};
    file.glyphs['W' - 32] = {87, 10, 10, 16, 0, 0, 0.0f, 0, 0};
    return file;
}

class Buttons : public guitest::WidgetScene {
protected:
    Buttons() {
        resources.WriteFont("DefaultFont", LabelFont());
        const std::filesystem::path overlays = std::filesystem::path(resources.Root()) / "Resources/Skins/Overlays";
        std::filesystem::create_directories(overlays);
        testsupport::SavePng(testsupport::FlatImage(16, 16, {255, 255, 255, 255}), overlays / Button::kArrowImage);
        form = New<GUI::Form>();
        button = New<Button>();
        form->SetPosition({10, 10});
        hud->AddForm(form.Get());
        button->SetSize({80, 30});
        button->SetPosition({20, 20});  // at (38, 38) on screen
        form->AddControl(button.Get());
        Frame();
    }
    // Enough frames for the hover to reach the button.
    void Settle() {
        Frame();
        Frame();
    }

    RefPtr<GUI::Form> form;
    RefPtr<Button> button;
};

TEST_F(Buttons, EachLookShowsItsPieceSet) {
    const std::uint32_t fields[] = {5, 6, 7, 8, 9};  // normal, pressed, hover, disabled, focused
    button->SetNormalPieceSet(fields[0]);
    button->SetPressedPieceSet(fields[1]);
    button->SetHoverPieceSet(fields[2]);
    button->SetDisabledPieceSet(fields[3]);
    button->SetFocusedPieceSet(fields[4]);
    const std::pair<std::function<void()>, State> steps[] = {
        {[] {}, State::Focused},  // the form's first update focused it
        {[&] { form->LoseFocus(); }, State::Normal},
        {[&] { MoveTo(60, 50); }, State::Hover},
        {[&] { HoldLeft(true); }, State::Pressed},  // focused by the press, still pressed-looking
        {[&] { HoldLeft(false); }, State::Hover},
        {[&] { MoveTo(200, 150); }, State::Focused},  // leaving while focused
        {[&] { form->LoseFocus(); }, State::Normal},
        {[&] { MoveTo(60, 50); }, State::Hover},
        {[&] { MoveTo(200, 150); }, State::Normal},  // leaving unfocused
        {[&] { button->SetEnabled(false); }, State::Disabled},
        {[&] { MoveTo(60, 50); }, State::Disabled},  // ignored while disabled
        {[&] {
             MoveTo(200, 150);
             button->SetEnabled(true);
         },
         State::Normal},
    };
    for (int step = 0; const auto& [act, state] : steps) {
        act();
        Settle();
        EXPECT_EQ(button->GetState(), state) << step;
        EXPECT_EQ(button->GetSkinImage()->GetPieceSet(), fields[static_cast<int>(state)]) << step;
        ++step;
    }
}

TEST_F(Buttons, NotEnabledRaisesNoClick) {
    const std::function<void(bool)> disablers[] = {[&](bool on) { button->SetEnabled(on); },
                                                   [&](bool on) { form->SetEnabled(on); }};
    for (const auto& enable : disablers) {
        std::vector<int> clicks;
        button->AddEventHandler(ControlEvent::Click, std::make_shared<guitest::LoggedEvent>(clicks, 1));
        button->AddEventHandler(ControlEvent::DoubleClick, std::make_shared<guitest::LoggedEvent>(clicks, 2));
        enable(false);
        Click(60, 50);
        button->FireClick();
        button->FireEvent2();
        EXPECT_EQ(clicks, std::vector<int>{});
        enable(true);
        button->FireClick();
        EXPECT_EQ(clicks, std::vector<int>{1});
        button->RemoveEventHandlersFor(&clicks);
    }
}

TEST_F(Buttons, EnablingAHoveredButtonShowsNormal) {
    MoveTo(60, 50);
    Settle();
    ASSERT_EQ(button->GetState(), State::Hover);
    button->SetEnabled(false);
    button->SetEnabled(true);
    Settle();
    EXPECT_EQ(button->GetState(), State::Normal);
}

TEST_F(Buttons, LabelCentresOnTheCentrePieceOrStartsAtItsEdge) {
    auto label = New<Button>();
    label->SetSize({40, 20});
    label->SetPosition({100, 50});
    const Engine::StringRenderContext& text = *label->GetTextRenderer();
    const struct {
        const char* text;
        bool enabled;
        float firstX;
    } cases[] = {
        {"W", true, 100 + 15 + 2},           // (40 - 10) / 2 in, then 2 more
        {"WWWWWW", true, 102},               // wider than the centre: its edge + 2
        {"WWWWWW", false, 102},
    };
    for (const auto& c : cases) {
        label->SetText(c.text);
        label->SetEnabled(c.enabled);
        label->UpdateVisual(0);
        ASSERT_FALSE(text.vertices.empty()) << c.text;
        EXPECT_EQ(text.vertices[0].x, c.firstX) << c.text;
        EXPECT_EQ(text.vertices[0].y, 50) << c.text;
        const float right = std::max_element(text.vertices.begin(), text.vertices.end(), [](auto& a, auto& b) {
                                return a.x < b.x;
                            })->x;
        EXPECT_LE(right, 140) << c.text;  // clipped to the centre piece
        const Color colour = c.enabled ? Color{1, 1, 1, 1} : Button::DisabledTextColor();
        EXPECT_TRUE(text.color.r == colour.r && text.color.g == colour.g && text.color.b == colour.b) << c.text;
        EXPECT_EQ(text.depth, label->GetDepth() + 0.1f);
    }
}

TEST_F(Buttons, DropDownArrowIsCentredAtMostImageSizedAndSmooth) {
    const struct {
        float width;
        float side;
        Vector2D corner;
    } cases[] = {{40, 16, {12, 2}}, {12, 12, {0, 4}}};
    for (const auto& c : cases) {
        auto dropDown = New<Button>();
        dropDown->SetSize({c.width, 20});
        dropDown->SetPosition({200, 300});
        dropDown->SetPassActivationToParent(true);
        dropDown->UpdateVisual(0);
        const Engine::TextRenderContext& quad = *dropDown->GetArrowRenderer();
        EXPECT_EQ(quad.corners[0].x, 200 + c.corner.x);
        EXPECT_EQ(quad.corners[0].y, 300 + c.corner.y);
        EXPECT_EQ(quad.corners[2].x - quad.corners[0].x, c.side);
        EXPECT_EQ(quad.corners[2].y - quad.corners[0].y, c.side);
        EXPECT_EQ(quad.effect.Get(), GUI::Graphics::GetInstance()->GetSmoothImageEffect().Get());
        EXPECT_EQ(quad.texture->GetWidth(), 16u);  // the enabled arrow
    }
}

// A new skin keeps the look and the place, for a child as for a button alone.
TEST_F(Buttons, SkinChangeKeepsLookAndAbsolutePlace) {
    const GUI::PieceSet two[] = {{0, 0, 8, 8, 0, 8, 0, 8}, {8, 0, 8, 8, 0, 8, 0, 8}};
    resources.WriteSkin("Small", two, 16, 8);
    button->SetPosition({30, 40});
    EXPECT_EQ(button->GetSkinImage()->GetPosition(), Vector2D(48, 58));
    button->SetModulationColor({1, 0, 0, 1});
    button->SetSkin("Small");
    const GUI::GuiImage& skin = *button->GetSkinImage();
    EXPECT_EQ(skin.GetName(), GUI::GetSkinFilePath("Small"));
    EXPECT_EQ(skin.GetPosition(), Vector2D(48, 58));
    EXPECT_EQ(skin.GetWidth(), 80);
    EXPECT_EQ(skin.GetColor().g, 0);
}

}  // namespace
