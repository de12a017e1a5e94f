#pragma once

#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_MenuPlayer.h"
#include "mygame/MyGame_OptionsUI.h"
#include "support/MyGame_ButtonPress.h"
#include "support/MyGame_WidgetFixture.h"
#include "tundra/Tundra_GameObject.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The options machine of the fixture's title level, used as a player uses
// it: the player held in front of the machine with its controls on, X, the
// cursor and the left button.
namespace mygametest {

// Holds the title's player in front of the options machine every update:
// the title's drop and the physics would carry it out of range. Found by name,
// so one read back from a save holds the player read with it.
class OptionsPlayerHolder : public Tundra::GameObject {
    TUN_DECLARE_CLASS(OptionsPlayerHolder);
    void Update(float dt) override;
};

template <class Base>
class OptionsFixtureOn : public Base {
protected:
    // The title level with the holder in its world layer; false without the
    // level or its machine.
    bool EnterAtMachine();
    // The same, and the menu opened by X on its main page.
    bool OpenMenu();
    // X goes down for a frame.
    void TapOpenKey() { this->Tap('X'); }

    OptionsUI& Machine() { return *this->template Find<OptionsUI>("OptionsUI"); }
    MenuPlayer& Player() { return *this->template Find<MenuPlayer>("Player"); }
    std::vector<LabeledButton*> PageButtons();
    std::string Label(std::size_t slot);
    // A slot's label, "" for an empty one.
    std::vector<std::string> Labels();
    // Presses the button and lets the frame after run.
    void Press(const char* label) {
        ASSERT_TRUE(PressButton(label)) << label;
        this->Step();
    }
    // The game saved and loaded back; false when no new level came.
    bool SaveAndLoad();

    std::string Settings() const { return ReadBytes(this->DataFolder() + "/settings.sav"); }
    std::string ProfileFile() const { return ReadBytes(this->DataFolder() + "/profile.sav"); }

private:
    static std::string ReadBytes(const std::string& path);
};

using OptionsFixture = OptionsFixtureOn<WidgetTest>;
using OptionsPixelFixture = OptionsFixtureOn<WidgetPixelTest>;

extern template class OptionsFixtureOn<WidgetTest>;
extern template class OptionsFixtureOn<WidgetPixelTest>;

}  // namespace mygametest
