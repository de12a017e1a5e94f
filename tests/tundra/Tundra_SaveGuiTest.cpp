#include "Tundra_SaveLoadTest.h"

#include "gui/GUI_Button.h"
#include "gui/GUI_Form.h"
#include "gui/GUI_HUD.h"
#include "gui/GUI_Input.h"
#include "gui/GUI_RadioButton.h"

using namespace tundratest;

// The HUD's windows travel in the game's save: a saved state with a modal
// dialog, a focused button and a radio group loads and saves again to the
// same bytes, and the windows are what the game holds afterwards.
TEST_F(SaveLoadTest, TheHudsWindowsRoundTripThroughTheGamesSave) {
    SavingGame& game = StartScene();
    GUI::HUD& hud = *game.GetHUD();
    const Core::RefPtr<GUI::Form> main(TUN_NEW(GUI::Form));
    const Core::RefPtr<GUI::Form> dialog(TUN_NEW(GUI::Form));
    const Core::RefPtr<GUI::Button> button(TUN_NEW(GUI::Button));
    hud.AddForm(main.Get());
    main->AddControl(button.Get());
    for (int index = 0; index < 3; ++index) {
        main->AddControl(Core::RefPtr<GUI::RadioButton>(TUN_NEW(GUI::RadioButton)).Get());
    }
    dialog->SetPosition({300, 100});
    hud.AddForm(dialog.Get());
    Step(2);
    button->GainFocus();
    dialog->SetModal(true);
    Step(2);

    ASSERT_TRUE(game.SaveStateTo(EnginePath("first")));
    const std::uint64_t hash = game.GetStateHash();
    ASSERT_TRUE(game.LoadStateFrom(EnginePath("first")));
    EXPECT_EQ(game.GetStateHash(), hash);
    ASSERT_TRUE(game.SaveStateTo(EnginePath("second")));
    EXPECT_EQ(ReadBytes("second"), ReadBytes("first"));
    ASSERT_EQ(hud.GetFormCount(), 2u);
    EXPECT_TRUE(hud.GetForm(0u) != main.Get() && hud.GetModalForm() == hud.GetForm(1u));
    EXPECT_EQ(hud.GetForm(0u)->GetControlsCount(), 5u);
    Step(3);
}

// A file refused after its HUD part was read leaves the pointer where the
// player had it, also when the running game has no window to place it.
TEST_F(SaveLoadTest, ARefusedSaveLeavesThePointerWhereItWas) {
    SavingGame& game = StartScene();
    game.GetHUD()->AddForm(Core::RefPtr<GUI::Form>(TUN_NEW(GUI::Form)).Get());
    GUI::input::WarpMouse({40, 30});
    Step(2);
    ASSERT_TRUE(game.SaveStateTo(EnginePath("windowed")));
    FileBytes trailing = ReadBytes("windowed");
    trailing.push_back(0);
    WriteBytes("refused", Reseal(trailing));

    game.GetHUD()->Clear();
    GUI::input::WarpMouse({200, 150});
    Step(2);
    const Vector2D pointer = GUI::input::GetMousePosition();
    EXPECT_FALSE(game.LoadStateFrom(EnginePath("refused")));
    EXPECT_EQ(GUI::input::GetMousePosition(), pointer);
}
