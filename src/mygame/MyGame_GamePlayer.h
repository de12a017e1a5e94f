#pragma once

#include "core/Core_RefPtr.h"
#include "mygame/MyGame_Player.h"
#include "tundra/Tundra_StateMachine.h"

#include <array>
#include <cstdint>
#include <vector>

class LabeledButton;

// The player of a stage: a player whose machine "PlayerState" blinks it
// while it is invulnerable after a hit, plays its death once the stage's
// health is gone and then shows the defeat dialog. It stands still while
// the game is paused and once it is dead.
class GamePlayer : public Player {
    TUN_DECLARE_CLASS(GamePlayer);
    using StateMachine = Tundra::StateMachine<GamePlayer>;

    GamePlayer();
    explicit GamePlayer(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    GamePlayer(const GamePlayer& other);
    ~GamePlayer() override;

    // The player part, then the timers, "PlayerState" and the defeat buttons
    // (object references). Read buttons have no callbacks: the next update
    // builds them anew.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    void OnStart() override;
    void Update(float dt) override;

    // Seconds left of the blinking after a hit; the stage's damage sets it.
    void SetInvulnerableTime(float seconds) { m_invulnerableTime = seconds; }
    float GetInvulnerableTime() const { return m_invulnerableTime; }
    float GetBlinkPhase() const { return m_blinkPhase; }
    const StateMachine* GetPlayerState() const { return m_stateMachine.Get(); }

    // The defeat: "restart" and "exit to menu", the frame around them, the
    // player and its weapons hidden, "defeat" written large.
    void ShowDefeatDialog();
    LabeledButton* GetDefeatButton(std::size_t index) const;

private:
    // "PlayerState" in array order.
    static StateMachine* BuildPlayerState(GamePlayer* owner);

    void EnterInvulnerable(float dt);
    void Blink(float dt);
    void EnterIdleState(float dt);
    void EnterDying(float dt);
    void EnterYouLose(float dt);
    bool IsVulnerable(float dt);
    bool IsInvulnerable(float dt);
    bool IsOutOfHealth(float dt);
    bool IsDeathOver(float dt);

    // Destroys the buttons held and makes both anew.
    void MakeDefeatButtons();
    // "restart" and "exit to menu" get their callbacks; buttons read back
    // by a load keep their place in the stream.
    void BindDefeatButtons();

    float m_invulnerableTime = 0.0f;
    // Radians, 0..2 pi.
    float m_blinkPhase = 0.0f;
    Core::RefPtr<StateMachine> m_stateMachine;
    // "restart" and "exit to menu" once the defeat shows; held, so that a
    // button destroyed first is never named after it is freed.
    std::array<Core::RefPtr<LabeledButton>, 2> m_defeatButtons;
    // Set by a load that read buttons; not streamed.
    std::uint8_t m_defeatRebindPending = 0;
};
