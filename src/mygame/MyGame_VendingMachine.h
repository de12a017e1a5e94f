#pragma once

#include "core/Core_RefPtr.h"
#include "mygame/MyGame_MenuPlayer.h"
#include "mygame/MyGame_UiFrame.h"
#include "tundra/Tundra_Sprite.h"

#include <cstdint>
#include <memory>
#include <vector>

// An in-world machine of the title level: while the player stands in front
// of it a prompt asks for X, which opens its menu and freezes the player;
// X again, leaving range or a menu's close button close it. Its subclasses
// lay out the menu on the machine's frame, following the open flag.
class VendingMachine : public Tundra::Sprite {
    TUN_DECLARE_CLASS(VendingMachine);
    // Id of X in the engine's key table.
    static constexpr int kOpenKey = 76;
    // The prompt's height above the machine.
    static constexpr float kPromptRise = 100.0f;

    VendingMachine();
    explicit VendingMachine(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The sprite part: no prompt, player or frame, closed.
    VendingMachine(const VendingMachine& other);
    ~VendingMachine() override;

    // After the sprite part: the open flag, the half size, the prompt and
    // player (object references) and the frame when there is one. A machine
    // read back open loads closed and ends its menu at its next update.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // The half size, the prompt above the machine, the player, a collapsed
    // frame; closed.
    void OnStart() override;
    // Range, prompt and X; then the frame's step.
    void Update(float dt) override;
    // Ends the prompt and the frame's pieces and lets the frame go (once).
    void OnEnd() override;

    // The two ways the menu opens and closes, shared by X and the menus'
    // buttons: opening turns the player's controls off, closing turns them
    // on, so any order of the two leaves the flag the right way round.
    void OpenMenu();
    void CloseMenu();
    bool IsOpen() const { return m_open != 0; }

    // X went down this poll; false without a game or keyboard.
    static bool IsOpenKeyTriggered();

    // The player stands strictly inside the machine's frame rectangle.
    bool IsPlayerInRange() const;
    UiFrame* GetFrame() const { return m_frame.get(); }
    Tundra::Sprite* GetPrompt() const { return m_prompt.Get(); }
    MenuPlayer* GetPlayer() const { return m_player.Get(); }
    float GetHalfWidth() const { return m_halfWidth; }
    float GetHalfHeight() const { return m_halfHeight; }

protected:
    // A menu read back open is ended at the machine's first update after the
    // load: the subclass destroys the widgets of its page (read back without
    // callbacks) and returns to its closed layout; then the machine closes
    // and the player is free.
    virtual void EndMenuAfterLoad() {}

private:
    // In the world layer, not owned; held so a destroyed one is never read
    // freed.
    Core::RefPtr<Tundra::Sprite> m_prompt;
    std::uint8_t m_open = 0;
    bool m_endMenuAfterLoad = false;
    Core::RefPtr<MenuPlayer> m_player;
    std::unique_ptr<UiFrame> m_frame;
    float m_halfWidth = 0.0f;
    float m_halfHeight = 0.0f;
};
