#pragma once

#include "core/Core_RefPtr.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_StateMachine.h"

#include <cstdint>
#include <vector>

// The stage's progress strip: the marker (this sprite) slides along "DistBG"
// while "DistBar" grows from the left. Once the stage's distance is used up
// the stage switches it on, and "BossIncomingSM" plays the boss warning: the
// strip rises to the middle, the bar swells into a banner, "WarningText" and
// "WarningBoss" show for two seconds each, and all returns to the bottom.
// The stage waits for the warning to have been shown.
class DistanceUI : public Tundra::Sprite {
    TUN_DECLARE_CLASS(DistanceUI);
    using StateMachine = Tundra::StateMachine<DistanceUI>;

    // "BossIncomingSM"'s states, in array order (not the order of play).
    enum BossIncomingState : std::int32_t {
        kUiToPos = 0,
        kDisplayWarning = 1,
        kDisplayText = 2,
        kAllBack = 3,
        kAllToCentre = 4,
        kResetBar = 5,
        kScaleBar = 6,
    };

    DistanceUI();
    explicit DistanceUI(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The sprite part, the flags and the progress, with a deep copy of the
    // machine driving the copy; the named sprites are found by its own start.
    DistanceUI(const DistanceUI& other);
    ~DistanceUI() override;

    // The sprite part, "BossIncomingSM", then active, warning shown, the
    // progress and whether the named sprites were found; they are found
    // again after a read.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Finds the four named sprites; inactive, the warning not yet shown.
    void OnStart() override;
    // Runs the warning while active, unless the game is paused.
    void Update(float dt) override;

    // 0 at the stage's start, 1 at its end: places the marker and the bar.
    // Nothing before the start has found the bar, or for a value that is
    // not finite.
    void SetProgress(float progress);
    float GetProgress() const { return m_progress; }
    void SetActive(bool active) { m_active = active ? 1 : 0; }
    bool IsActive() const { return m_active != 0; }
    // Set once the warning text has had its time on screen.
    bool IsWarningShown() const { return m_warningShown != 0; }
    const StateMachine* GetMachine() const { return m_machine.Get(); }

private:
    static StateMachine* BuildBossIncomingSM(DistanceUI* owner);
    void FindSprites();
    // After a read the level is not whole yet: the sprites are found at
    // first use.
    void FindSpritesAfterLoad();
    // Own y, given to the bar and the background too.
    void SetStripY(float y);

    // "BossIncomingSM"'s callbacks and conditions (their own source file).
    void SlideToZero(float dt);
    void SettleAtZero(float dt);
    bool IsAtZero(float dt);
    void RiseToCentre(float dt);
    void SettleAtCentre(float dt);
    bool IsAtCentre(float dt);
    void MarkBarSwollen(float dt);
    void SwellBar(float dt);
    void SettleSwollen(float dt);
    bool IsBarSwollen(float dt);
    void ShowWarningText(float dt);
    void MarkWarningShown(float dt);
    void ShowWarningBoss(float dt);
    bool Always(float dt);
    void HideWarnings(float dt);
    void ShrinkBar(float dt);
    void SettleShrunk(float dt);
    bool IsBarShrunk(float dt);
    void SinkToBottom(float dt);
    void SettleAtBottom(float dt);
    bool IsAtBottom(float dt);

    Core::RefPtr<Tundra::Sprite> m_bar;
    Core::RefPtr<Tundra::Sprite> m_background;
    std::uint8_t m_active = 0;
    std::uint8_t m_warningShown = 0;
    Core::RefPtr<Tundra::Sprite> m_warningText;
    Core::RefPtr<Tundra::Sprite> m_warningBoss;
    Core::RefPtr<StateMachine> m_machine;
    float m_progress = 0.0f;
    // Set by the start; the named sprites belong to a started strip only.
    std::uint8_t m_started = 0;
    // Set by a read of a started strip.
    std::uint8_t m_spritesPending = 0;
};
