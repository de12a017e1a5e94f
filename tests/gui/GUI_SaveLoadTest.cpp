#include "GUI_WidgetScene.h"

#include "core/Core_MemoryFile.h"
#include "gui/GUI_Button.h"
#include "gui/GUI_Form.h"
#include "gui/GUI_RadioButton.h"
#include "support/DamagedBytes.h"

#include <array>
#include <vector>

using Core::RefPtr;
using GUI::Control;
using GUI::Form;
using guitest::New;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Everything of the HUD a refused read must leave as it found it.
struct HudState {
    std::vector<Control*> forms;
    std::uint32_t registered;
    std::array<Control*, 7> specials;
    bool cursorVisible;
    float counter;
    bool operator==(const HudState&) const = default;
};

HudState StateOf(const GUI::HUD& hud) {
    HudState state{{},
                   hud.GetRegisteredCount(),
                   {hud.GetActiveForm(), hud.GetActiveControl(), hud.GetFocusedControl(), hud.GetPressedControl(),
                    hud.GetHoveredControl(), hud.GetFrontRequest(), hud.GetModalForm()},
                   hud.IsCursorVisible(),
                   GUI::HUD::GetUpdateCounter()};
    for (std::uint32_t index = 0; index < hud.GetFormCount(); ++index) {
        state.forms.push_back(hud.GetForm(index));
    }
    return state;
}

// The game's windows: a main form at (10, 10) holding a button and three
// radio buttons (the second checked, the button focused), and a modal
// dialog at (160, 20); the pointer rests on the button, which the modal
// dialog keeps from being hovered.
class SaveLoad : public guitest::WidgetScene {
protected:
    SaveLoad() {
        main->SetName("Main");
        main->SetPosition({10, 10});
        main->SetSize({140, 120});
        main->SetCaptionHeight(20);
        hud->AddForm(main.Get());
        button->SetName("Button");
        button->SetPosition({8, 60});
        button->SetFocusedPieceSet(7);
        main->AddControl(button.Get());
        for (int index = 0; index < 3; ++index) {
            radios[index] = New<GUI::RadioButton>();
            radios[index]->SetName(index == 0 ? "One" : index == 1 ? "Two" : "Three");
            radios[index]->SetPosition({8.0f + 20 * index, 20});
            main->AddControl(radios[index].Get());
        }
        dialog->SetName("Dialog");
        dialog->SetPosition({160, 20});
        dialog->SetSize({120, 100});
        hud->AddForm(dialog.Get());
        Frame();
        radios[1]->SetChecked(true);
        button->GainFocus();
        dialog->SetModal(true);
        hud->SetCursorVisible(false);
        MoveTo(30, 80);
        Frame();
        Frame();
    }

    Bytes Write() const {
        Core::MemoryFile file;
        hud->WriteInformation(file);
        EXPECT_FALSE(file.HasFailed());
        return {file.GetData(), file.GetData() + file.GetSize()};
    }
    bool Read(const Bytes& bytes) {
        Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        hud->ReadInformation(file);
        return !file.HasFailed();
    }
    // The HUD as a level change leaves it, holding one form of its own.
    void ClearHoldingAForm() {
        hud->Clear();
        hud->AddForm(present.Get());
    }

    RefPtr<Form> main = New<Form>();
    RefPtr<Form> dialog = New<Form>();
    RefPtr<GUI::Button> button = New<GUI::Button>();
    std::array<RefPtr<GUI::RadioButton>, 3> radios;
    RefPtr<Control> present = guitest::MakeControl(0, 0, 5, 5);
};

// Read into a HUD that holds a form, the windows are appended and come back
// whole: geometry, the special pointers, flags, tab order, the piece sets
// shown and the counter; the loaded close button closes its own form.
TEST_F(SaveLoad, TheWindowsComeBackAppendedAndWhole) {
    const HudState saved = StateOf(*hud);
    const std::uint32_t focusedSet = button->GetSkinImage()->GetPieceSet();
    ASSERT_EQ(focusedSet, 7u);
    const Bytes written = Write();
    ClearHoldingAForm();
    ASSERT_TRUE(Read(written));

    ASSERT_EQ(hud->GetFormCount(), 3u);
    EXPECT_EQ(hud->GetForm(0u), present.Get());
    auto* loadedMain = dynamic_cast<Form*>(hud->GetForm(1u));
    auto* loadedDialog = dynamic_cast<Form*>(hud->GetForm(2u));
    ASSERT_TRUE(loadedMain != nullptr && loadedDialog != nullptr);
    EXPECT_TRUE(loadedMain->GetName() == "Main" && loadedDialog->GetName() == "Dialog");
    EXPECT_EQ(loadedMain->GetRectangle(), main->GetRectangle());
    EXPECT_EQ(loadedMain->GetClientRectangle(), main->GetClientRectangle());
    EXPECT_EQ(loadedDialog->GetRectangle(), dialog->GetRectangle());
    auto* loadedButton = dynamic_cast<GUI::Button*>(loadedMain->GetControl("Button"));
    ASSERT_NE(loadedButton, nullptr);
    EXPECT_EQ(loadedButton->GetRectangle(), button->GetRectangle());
    EXPECT_EQ(loadedButton->GetSkinImage()->GetPieceSet(), focusedSet);
    EXPECT_EQ(loadedButton->GetSkinImage()->GetPosition(), button->GetSkinImage()->GetPosition());
    for (int index = 0; index < 3; ++index) {
        const auto* loaded = dynamic_cast<GUI::RadioButton*>(loadedMain->GetControl(radios[index]->GetName()));
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(loaded->GetChecked(), index == 1);
        EXPECT_EQ(loaded->GetSkinImage()->GetPieceSet(), radios[index]->GetSkinImage()->GetPieceSet());
        EXPECT_EQ(loaded->GetRectangle(), radios[index]->GetRectangle());
    }
    const auto namesOf = [](const Control& form) {
        std::vector<Core::String> names;
        for (const auto& entry : form.GetTabOrder()) {
            names.push_back(entry->GetName());
        }
        return names;
    };
    EXPECT_EQ(namesOf(*loadedMain), namesOf(*main));
    EXPECT_EQ(loadedMain->GetTabCursor(), main->GetTabCursor());

    const HudState loaded = StateOf(*hud);
    const auto same = [&](Control* original) -> Control* {
        if (original == nullptr) {
            return nullptr;
        }
        Control* form = original->GetRoot() == main.Get() ? loadedMain : loadedDialog;
        return original == original->GetRoot() ? form : form->GetControl(original->GetName());
    };
    for (std::size_t index = 0; index < saved.specials.size(); ++index) {
        EXPECT_EQ(loaded.specials[index], same(saved.specials[index])) << index;
    }
    EXPECT_TRUE(hud->GetModalForm() == loadedDialog && hud->GetFocusedControl() == loadedButton);
    EXPECT_FALSE(loaded.cursorVisible);
    EXPECT_EQ(loaded.counter, saved.counter);
    EXPECT_EQ(loaded.registered, 1 + saved.registered);

    // The modal dialog's close button closes the dialog, and only it.
    loadedDialog->GetCloseButton()->FireClick();
    Frame();
    Frame();
    ASSERT_EQ(hud->GetFormCount(), 2u);
    EXPECT_EQ(hud->GetForm(1u), loadedMain);
    EXPECT_EQ(hud->GetModalForm(), nullptr);
}

// Every truncation and ten thousand seeded mutations of the windows' state,
// read into a HUD that holds a form: each loads (and then runs a frame) or
// is refused, leaving the HUD exactly as it was.
TEST_F(SaveLoad, DamagedStatesLoadOrLeaveTheHudAsItWas) {
    const Bytes written = Write();
    main = dialog = nullptr;
    button = nullptr;
    radios = {};
    ClearHoldingAForm();
    HudState before = StateOf(*hud);
    int loads = 0;
    const auto check = [&](const Bytes& bytes, const char* what, std::size_t case_) {
        if (Read(bytes)) {
            ++loads;
            Frame();
            ClearHoldingAForm();
            before = StateOf(*hud);
            return;
        }
        EXPECT_FALSE(hud->IsLoading());
        ASSERT_TRUE(StateOf(*hud) == before) << what << " " << case_;
    };
    testsupport::ForEachDamaged(written, 10000, 8, 1019, check);
    EXPECT_GT(loads, 0);
}

}  // namespace
