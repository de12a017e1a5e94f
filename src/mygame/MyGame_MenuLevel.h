#pragma once

#include "core/Core_RefPtr.h"
#include "mygame/MyGame_MapTile.h"
#include "mygame/MyGame_MenuPlayer.h"
#include "mygame/MyGame_TitleSun.h"
#include "tundra/Tundra_Level.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_StateMachine.h"
#include "tundra/Tundra_Text.h"

#include <cstdint>

// Level 1, the playable title screen: the title drops in, waits for a
// control key and rises out of view; then the player walks a strip of ground
// among the in-world menus. Walking off the left edge quits. Its script of
// screens is the machine "MenuSM".
class MenuLevel : public Tundra::Level {
    TUN_DECLARE_UNCLONABLE_CLASS(MenuLevel);
    using Machine = Tundra::StateMachine<MenuLevel>;
    enum MenuState : std::int32_t { kCleanTitle = 0, kInMenu = 1, kExit = 2, kStart = 3, kTitle = 4 };

    // Clears the game's pause and builds the machine.
    MenuLevel();
    ~MenuLevel() override;

    // The level part, then the machine; the level's objects are found again
    // in what was read.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Music, effect sounds and templates of the game; the objects; the
    // currency; the ground strip and the sky in the theme of the highest
    // stage reached.
    void OnStart() override;
    // The machine, then the currency (purchases show at once).
    void Update(float dt) override;

    const Machine& GetMenuMachine() const { return *m_machine; }

private:
    // The machine's states in array order (MyGame_MenuStates).
    static Machine* BuildMenuSM(MenuLevel* owner);

    void FindObjects();
    void ShowCurrency();
    // 25 columns of a top tile over a filling tile.
    void LayGroundStrip(std::int32_t theme);
    void PlaceTile(const MapTile* tileTemplate, std::int32_t firstFrame, float x, float y);
    void SetInstructionsVisible(bool visible);

    // "MenuSM": callbacks and conditions ignore the frame time, so every
    // move is per update. A missing object is left alone and its condition
    // never holds.
    void EnterCleanTitle(float dt);
    void UpdateCleanTitle(float dt);
    void ExitCleanTitle(float dt);
    bool IsTitleGone(float dt);
    void UpdateInMenu(float dt);
    bool IsPlayerPastLeftEdge(float dt);
    void RequestExit(float dt);
    void UpdateStart(float dt);
    bool IsTitleDown(float dt);
    void EnterTitle(float dt);
    void ExitTitle(float dt);
    bool IsControlKeyHeld(float dt);

    // Found by name at start and after a load; held so that an object
    // destroyed meanwhile is never read freed.
    // Nothing reads it: the game has taken "BulletTemplate" out of the
    // level before the look-up, so it stays null.
    Core::RefPtr<Tundra::Sprite> m_bulletTemplate;
    Core::RefPtr<Tundra::Sprite> m_title;
    Core::RefPtr<MenuPlayer> m_player;
    Core::RefPtr<Tundra::Sprite> m_exitSign;
    Core::RefPtr<TitleSun> m_titleSun;
    Core::RefPtr<MapTile> m_colliderTileTemplate;
    Core::RefPtr<MapTile> m_groundTileTemplate;
    Core::RefPtr<Tundra::Text> m_currencyText;
    Core::RefPtr<Tundra::Sprite> m_sky;
    Core::RefPtr<Machine> m_machine;
};
