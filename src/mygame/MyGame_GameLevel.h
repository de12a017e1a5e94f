#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "math/Math_Vector2D.h"
#include "mygame/MyGame_SpawnWave.h"
#include "mygame/MyGame_Terrain.h"
#include "tundra/Tundra_Level.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace Tundra {
class Sprite;
}
class CenteredText;
class DialogText;
class DistanceUI;
class Enemy;
class FadeTransition;
class GamePlayer;
class HpBar;
class LabeledButton;
class Player;
class Quorvex;
class UiFrame;
class VolumeControl;

// Level 2: one stage. Its ground scrolls under the player while enemy waves
// come in; once the distance is run and every enemy is gone the ground ends,
// the closing story is told and the results are shown. It holds the
// player's health and pauses and resumes everything in the stage.
class GameLevel : public Tundra::Level, public WaveSpawner {
    TUN_DECLARE_UNCLONABLE_CLASS(GameLevel);

    // Which dialog the four button slots hold.
    enum class Dialog : std::uint8_t { kNone = 0, kPause, kOptions, kVolume, kControls, kResults };
    // The bindings the controls dialog can capture.
    enum KeyCapture : std::int32_t { kNoCapture = 0, kCaptureLeft = 1, kCaptureRight = 2, kCaptureJump = 3 };
    struct KillCounters {
        std::int32_t flying = 0;
        std::int32_t ground = 0;
        std::int32_t rolling = 0;
    };
    static constexpr std::size_t kDialogSlots = 4;

    // Clears the game's pause.
    GameLevel();
    ~GameLevel() override;

    // The level part, then the stage's own state; objects are found again
    // and an open dialog's buttons get their callbacks again after reading.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    void OnStart() override;
    void OnEnd() override;
    void Update(float dt) override;

    // Lowers the health by the amount less the fifth weapon's armour share,
    // makes the player briefly invulnerable, and lets the companion go below
    // 0.4. A negative or non-finite amount is refused.
    void DamagePlayer(float amount);
    // Drops picked up in this stage; a negative count is refused.
    void AddDrops(std::int32_t count);
    // Pauses or resumes every gameplay object of the stage.
    void SetLevelPaused(bool paused);

    // The spawner a wave calls: each appends the enemy it made to the live
    // enemies (nothing when none was made).
    void SpawnGroundEnemy() override;
    void SpawnFlyingEnemy(std::int32_t path, float phase) override;
    void SpawnRollingSpike() override;
    // Activates the boss on the ground the terrain ended at (the boss
    // classes bring their activation).
    void SpawnBoss(float groundY);

    // The stage's "Player" as the game captured it; null without one.
    Player* GetPlayer() const;

    // Appends an enemy that lives in this stage (once; null is refused).
    void AddLiveEnemy(Enemy* enemy);
    // Every occurrence goes; the others keep their order.
    void RemoveLiveEnemy(const Enemy* enemy);
    std::size_t GetLiveEnemyCount() const { return m_liveEnemies.size(); }
    // Null past the end.
    Enemy* GetLiveEnemy(std::size_t index) const;
    Enemy* GetBoss() const { return m_boss.Get(); }

    // enemyKind: 0 walking, 1 flying, 2 rolling; the bosses count nowhere.
    void CountKill(std::int32_t enemyKind);
    const KillCounters& GetKills() const { return m_kills; }

    float GetHealth() const { return m_health; }
    std::int32_t GetDrops() const { return m_drops; }
    float GetDistance() const { return m_distance; }
    float GetStageLength() const { return m_stageLength; }
    const std::vector<SpawnWave>& GetWaves() const { return m_waves; }

    // A boss sets it once its defeat is over; the story follows.
    bool IsCleared() const { return m_cleared != 0; }
    void SetCleared() { m_cleared = 1; }
    bool IsEndBegun() const { return m_endBegun != 0; }
    bool IsStoryActive() const { return m_storyActive != 0; }
    bool AreResultsShowing() const { return m_resultsShowing != 0; }
    Dialog GetOpenDialog() const { return m_openDialog; }
    std::int32_t GetKeyCapture() const { return m_keyCapture; }
    // Null for an empty slot or an index past the four.
    LabeledButton* GetDialogButton(std::size_t slot) const;

    UiFrame* GetFrame() const { return m_frame.get(); }
    Terrain& GetTerrain() { return m_terrain; }
    const Terrain& GetTerrain() const { return m_terrain; }

    // The companion leaves the stage (it calls this when it goes).
    void ClearCompanion();
    Quorvex* GetCompanion() const { return m_companion.Get(); }

    // The dialogs: pause (shown or hidden), options, volume and controls.
    void ShowPauseDialog(bool show);
    void ShowOptionsDialog();
    void ShowVolumeDialog();
    void ShowControlsDialog();

private:
    friend class GameLevelTestAccess;

    void FindObjects();
    GamePlayer* GetGamePlayer() const;
    float BuildSpawnWaves();
    void UpdateSpawnWaves(float dt);
    void UpdateProgress(float dt);
    // The boss joins the live enemies and the ground ends on a flat run, at
    // whose end the boss is called in.
    void BringBossIn();
    void RespawnPlayer();
    void StartStory();
    void AdvanceStory();
    void ShowLevelResults();
    void CaptureKey();

    // Dialog building blocks (MyGame_StageDialogs).
    // Ends the open dialog's buttons and a key capture waiting on them.
    void ClearDialogButtons();
    void ShowDialogTitle(const char* title, const Vector2D& position);
    void SetDialogButton(std::size_t slot, LabeledButton* button);
    // A label is read and written only through a live slot.
    Core::String GetSlotLabel(std::size_t slot) const;
    void SetSlotLabel(std::size_t slot, const Core::String& text);
    void OpenPauseDialog(bool frameFromLarge);
    // The first press asks "confirm?", the second leaves for the level.
    void ConfirmThenFade(std::size_t slot, std::uint32_t level);
    void FadeTo(std::uint32_t level);
    // The open dialog's buttons read back by a load get their callbacks.
    void RebindDialogAfterLoad();
    void ShowResultsButtons();
    // Game volume down while paused; the buttons' hover sound stays.
    void QuietForPause();
    // Each dialog's buttons are made without callbacks and given them by
    // slot here, so that buttons read back by a load get the same ones.
    void BindDialogButtons();
    void BindSlot(std::size_t slot, std::function<void()> click, std::function<void()> leave = nullptr);
    void BindPauseButtons();
    void BindOptionsButtons();
    void BindVolumeButtons();
    void BindControlsButtons();
    void BindResultsButtons();

    // Null, or a boss named as the level content names its kind's body: what
    // a boss link read from a stream must be.
    static bool IsNamedBoss(const Enemy* enemy);

    // Found by name at start and after a load; held, so that an object
    // destroyed meanwhile is never read freed.
    Core::RefPtr<DistanceUI> m_distanceBar;
    float m_distance = 0.0f;
    Terrain m_terrain;
    // Creation order; an enemy takes itself out when it is destroyed.
    std::vector<Core::RefPtr<Enemy>> m_liveEnemies;
    Core::RefPtr<HpBar> m_healthBar;
    Core::RefPtr<Enemy> m_boss;
    float m_stageLength = 0.0f;
    std::uint8_t m_cleared = 0;
    std::uint8_t m_endBegun = 0;
    std::vector<SpawnWave> m_waves;
    float m_health = 1.0f;
    std::int32_t m_drops = 0;
    KillCounters m_kills;
    std::array<Core::RefPtr<LabeledButton>, kDialogSlots> m_dialogButtons;
    Dialog m_openDialog = Dialog::kNone;
    std::unique_ptr<UiFrame> m_frame;
    std::uint8_t m_storyActive = 0;
    Core::RefPtr<DialogText> m_dialogText;
    Core::RefPtr<Tundra::Sprite> m_dialogArrow;
    // Index into the stage's story lines of the next line to show; -1
    // before the story.
    std::int32_t m_storyLine = -1;
    std::uint8_t m_resultsShowing = 0;
    Core::RefPtr<VolumeControl> m_volumeSlider;
    std::int32_t m_keyCapture = kNoCapture;
    Core::RefPtr<Quorvex> m_companion;
    Core::RefPtr<CenteredText> m_endGameText;
    Core::RefPtr<FadeTransition> m_fade;
    // A dialog read from a stream waits for the first update for its
    // callbacks.
    std::uint8_t m_rebindPending = 0;
};
