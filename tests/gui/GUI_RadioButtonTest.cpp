#include "GUI_WidgetScene.h"

#include "gui/GUI_Button.h"
#include "gui/GUI_Form.h"
#include "gui/GUI_RadioButton.h"

#include <array>
#include <memory>
#include <vector>

using Core::RefPtr;
using GUI::RadioButton;
using guitest::New;

namespace {

// Three radio buttons in a form at (100, 100): on screen at x 118, 148, 178, y 118.
class RadioButtons : public guitest::WidgetScene {
protected:
    RadioButtons() {
        form->SetPosition({100, 100});
        for (std::size_t i = 0; i < radios.size(); ++i) {
            radios[i] = New<RadioButton>();
            radios[i]->SetPosition({10.0f + 30.0f * static_cast<float>(i), 10});
            radios[i]->AddCheckedHandler(std::make_shared<guitest::LoggedEvent>(checks[i], 0));
        }
    }
    void Show() {
        for (const RefPtr<RadioButton>& radio : radios) {
            form->AddControl(radio.Get());
        }
        hud->AddForm(form.Get());
        Frame();
    }
    std::array<bool, 3> Checked() const {
        return {radios[0]->GetChecked(), radios[1]->GetChecked(), radios[2]->GetChecked()};
    }
    std::array<std::size_t, 3> Events() const { return {checks[0].size(), checks[1].size(), checks[2].size()}; }

    RefPtr<GUI::Form> form = New<GUI::Form>();
    std::array<RefPtr<RadioButton>, 3> radios;
    std::array<std::vector<int>, 3> checks;
};

TEST_F(RadioButtons, FirstUpdateChecksTheFirstEnabledOneOnce) {
    radios[0]->SetEnabled(false);
    GUI::Control* sender = nullptr;
    radios[1]->AddCheckedHandler(std::make_shared<guitest::ActionEvent>([&](GUI::Control* s) { sender = s; }));
    Show();
    EXPECT_EQ(Checked(), (std::array{false, true, false}));
    EXPECT_EQ(Events(), (std::array<std::size_t, 3>{0, 1, 0}));
    EXPECT_EQ(sender, radios[1].Get());
    Frame();
    EXPECT_EQ(Events(), (std::array<std::size_t, 3>{0, 1, 0}));
}

TEST_F(RadioButtons, ClickChecksAndQuietlyUnchecksTheOthers) {
    Show();
    Click(150, 124);
    EXPECT_EQ(Checked(), (std::array{false, true, false}));
    EXPECT_EQ(Events(), (std::array<std::size_t, 3>{1, 1, 0}));
    Click(150, 124);  // checked already: no checked event
    EXPECT_EQ(Events(), (std::array<std::size_t, 3>{1, 1, 0}));
    radios[1]->SetChecked(false);
    Frame();
    EXPECT_EQ(Checked(), (std::array{false, false, false}));  // the group set-up ran once only
}

TEST_F(RadioButtons, OnlyRadioButtonsFormTheGroup) {
    auto button = New<GUI::Button>();
    button->SetPosition({100, 10});
    form->AddControl(button.Get());
    Show();
    EXPECT_EQ(Checked(), (std::array{true, false, false}));
    Click(220, 130);  // the push button
    EXPECT_EQ(Checked(), (std::array{true, false, false}));
    radios[2]->SetChecked(true);
    EXPECT_EQ(Checked(), (std::array{false, false, true}));
}

TEST_F(RadioButtons, LooksFollowTheCheckedFlag) {
    Show();
    const auto pieceSet = [&] { return radios[0]->GetSkinImage()->GetPieceSet(); };
    MoveTo(124, 124);
    Frame();
    Frame();
    EXPECT_EQ(pieceSet(), 8u);  // hover, checked
    HoldLeft(true);
    Frame();
    EXPECT_EQ(pieceSet(), 9u);
    HoldLeft(false);
    Frame();
    EXPECT_EQ(pieceSet(), 8u);
    radios[1]->SetChecked(true);
    EXPECT_EQ(pieceSet(), 0u);  // unchecked by the group, still focused
}

}  // namespace
