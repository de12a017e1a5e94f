#pragma once

#include "GUI_ControlProbe.h"
#include "GUI_TestScene.h"

#include "gui/GUI_HUD.h"
#include "gui/GUI_SkinDescriptor.h"
#include "support/GUI_HeadlessHud.h"

#include <vector>

namespace guitest {

// The HUD over the real devices on the headless backend (a 320 x 240
// window), with the drawing scene's resources, renderer and queue. The
// default skins are flat: piece set k of a skin sits at x = 16 k of its
// texture, with no borders, so each piece set is told apart by its u.
class WidgetScene : public GuiScene {
protected:
    static constexpr std::uint32_t kPieceSetsPerSkin = 10;

    WidgetScene() {
        std::vector<GUI::PieceSet> pieceSets;
        for (std::uint32_t k = 0; k < kPieceSetsPerSkin; ++k) {
            pieceSets.push_back({16.0f * static_cast<float>(k), 0, 16, 16, 0, 16, 0, 16});
        }
        for (const char* skin : {"DefaultFormSkin", "DefaultButtonSkin", "DefaultRadioButtonSkin"}) {
            resources.WriteSkin(skin, pieceSets, 16 * kPieceSetsPerSkin, 16);
        }
    }

    void Frame(float dt = testsupport::HeadlessHud::kFrame) { headless.Frame(dt); }
    // In GUI units (y from the bottom); seen from the next frame.
    void MoveTo(int x, int y) { headless.MoveMouse(x, y); }
    void HoldLeft(bool down) { headless.SetButton(0, down); }
    // Move, press and release, a frame each.
    void Click(int x, int y) { headless.Click(x, y); }

    testsupport::HeadlessHud headless;
    GUI::HUD* hud = &headless.Hud();
};

}  // namespace guitest
