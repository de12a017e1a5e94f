#pragma once

#include "GUI_TestScene.h"

#include "gui/GUI_Control.h"
#include "gui/GUI_HUD.h"
#include "gui/GUI_SkinDescriptor.h"
#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"
#include "os/OS_HeadlessInput.h"
#include "os/OS_HeadlessWindowHooks.h"
#include "os/OS_Message.h"
#include "pal/PAL_Window.h"

#include <memory>
#include <vector>

namespace guitest {

// A handler that counts its calls and remembers the senders.
struct Recorder {
    void Record(GUI::Control* sender) { senders.push_back(sender); }
    std::size_t Count() const { return senders.size(); }
    std::vector<GUI::Control*> senders;
};

inline std::shared_ptr<GUI::EventHandler> RecordInto(Recorder& recorder) {
    return std::make_shared<GUI::MemberFunction1Param<Recorder, GUI::Control*>>(&recorder, &Recorder::Record);
}

// The HUD over the real devices on the headless backend, in a 1024 x 768
// window: each Frame polls the devices once and runs the HUD's update.
// The default skins are flat: piece set k of a skin sits at x = 16 k of its
// texture, with no borders, so each piece set is told apart by its u.
class WidgetScene : public GuiScene {
protected:
    static constexpr std::uint32_t kPieceSetsPerSkin = 10;

    WidgetScene() {
        os::headless::ResetWindowSystem();
        os::headless::ResetKeys();
        os::headless::ResetCursor();
        mouse->SetWindow(window.GetHandle());
        std::vector<GUI::PieceSet> pieceSets;
        for (std::uint32_t k = 0; k < kPieceSetsPerSkin; ++k) {
            pieceSets.push_back({16.0f * static_cast<float>(k), 0, 16, 16, 0, 16, 0, 16});
        }
        for (const char* skin : {"DefaultFormSkin", "DefaultButtonSkin", "DefaultRadioButtonSkin"}) {
            resources.WriteSkin(skin, pieceSets, 16 * kPieceSetsPerSkin, 16);
        }
        hud = std::make_unique<GUI::HUD>();
        Frame();
        Frame();  // the devices' waits end: nothing held, the cursor still
    }
    ~WidgetScene() override { hud.reset(); }

    void Frame(float dt = 1.0f / 60.0f) {
        os::Message message;
        while (os::PeekMessage(&message)) {
            os::DispatchMessage(message);
        }
        keyboard->Update();
        mouse->Update();
        hud->Update(dt);
    }
    // In GUI units (y from the bottom); seen from the next frame.
    void MoveTo(float x, float y) { mouse->SetPosition(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)); }
    void HoldLeft(bool down) { os::headless::SetKey(os::VK_LBUTTON, down); }
    // Move, press and release, a frame each.
    void Click(float x, float y) {
        MoveTo(x, y);
        Frame();
        HoldLeft(true);
        Frame();
        HoldLeft(false);
        Frame();
    }

    PAL::Window window{1024, 768};
    Core::RefPtr<Input::KeyboardImp> keyboard = Input::KeyboardImp::CreateInstance();
    Core::RefPtr<Input::MouseImp> mouse = Input::MouseImp::CreateInstance();
    std::unique_ptr<GUI::HUD> hud;
};

}  // namespace guitest
