// The stage's own state after its level part: what a save mid-stage needs to
// play on as the stage would have.
#include "core/Core_File.h"
#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_Enemy.h"
#include "mygame/MyGame_FireEffectPool.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_Quorvex.h"
#include "mygame/MyGame_StreamLinks.h"
#include "mygame/MyGame_UiFrame.h"
#include "mygame/MyGame_WidgetStream.h"
#include "tundra/Tundra_FindObject.h"

#include <cmath>

namespace {

constexpr std::uint32_t kWorldLayer = 1;
// Far more than any stage plans; a larger count is damage.
constexpr std::uint32_t kMaxWaves = 1024;
constexpr std::int32_t kMaxFlyingPath = 4;

// The stage's values, read whole before any is taken.
struct StageValues {
    float distance = 0.0f;
    float stageLength = 0.0f;
    std::uint8_t cleared = 0;
    std::uint8_t endBegun = 0;
    float health = 1.0f;
    std::int32_t drops = 0;
    GameLevel::KillCounters kills;
    std::int32_t keyCapture = 0;
    std::int32_t storyLine = -1;
    std::uint8_t storyActive = 0;
    std::uint8_t resultsShowing = 0;
    std::vector<SpawnWave> waves;
};

bool ValidWave(const SpawnWave& wave) {
    return wave.ground >= 0 && wave.flying >= 0 && wave.rolling >= 0 && wave.flyingPath >= 0 &&
           wave.flyingPath <= kMaxFlyingPath && std::isfinite(wave.spawnTimer) && std::isfinite(wave.delay);
}

}  // namespace

void GameLevel::Save(Core::File& file) const {
    Level::Save(file);
    file.WriteF32(m_distance);
    file.WriteF32(m_stageLength);
    file.WriteU8(m_cleared);
    file.WriteU8(m_endBegun);
    file.WriteF32(m_health);
    file.WriteI32(m_drops);
    file.WriteI32(m_kills.flying);
    file.WriteI32(m_kills.ground);
    file.WriteI32(m_kills.rolling);
    file.WriteI32(m_keyCapture);
    file.WriteI32(m_storyLine);
    file.WriteU8(m_storyActive);
    file.WriteU8(m_resultsShowing);
    file.WriteU8(static_cast<std::uint8_t>(m_openDialog));
    for (const Core::RefPtr<LabeledButton>& button : m_dialogButtons) {
        file << button;
    }
    file.WriteU32(static_cast<std::uint32_t>(m_waves.size()));
    for (const SpawnWave& wave : m_waves) {
        file.WriteI32(wave.ground);
        file.WriteI32(wave.flying);
        file.WriteI32(wave.rolling);
        file.WriteI32(wave.flyingPath);
        file.WriteF32(wave.spawnTimer);
        file.WriteF32(wave.delay);
    }
    file.WriteU32(static_cast<std::uint32_t>(m_liveEnemies.size()));
    for (const Core::RefPtr<Enemy>& enemy : m_liveEnemies) {
        file << enemy;
    }
    file << m_boss;
    file << m_companion;
    SaveOptionalFrame(file, m_frame.get());
    SaveFireEffectPool(file);
    m_terrain.Save(file);
}

void GameLevel::Load(Core::File& file) {
    Level::Load(file);
    if (file.HasFailed()) {
        return;
    }
    StageValues read;
    ReadFinite(file, read.distance);
    ReadFinite(file, read.stageLength);
    ReadFlagByte(file, read.cleared);
    ReadFlagByte(file, read.endBegun);
    ReadFinite(file, read.health);
    file.ReadI32(read.drops);
    file.ReadI32(read.kills.flying);
    file.ReadI32(read.kills.ground);
    file.ReadI32(read.kills.rolling);
    file.ReadI32(read.keyCapture);
    file.ReadI32(read.storyLine);
    ReadFlagByte(file, read.storyActive);
    ReadFlagByte(file, read.resultsShowing);
    std::uint8_t dialog = 0;
    file.ReadU8(dialog);
    std::array<LabeledButton*, kDialogSlots> buttons{};
    for (LabeledButton*& button : buttons) {
        file >> button;
    }
    std::uint32_t waveCount = 0;
    file.ReadU32(waveCount);
    if (waveCount > kMaxWaves) {
        file.SetFailed();
    }
    for (std::uint32_t i = 0; i < waveCount && !file.HasFailed(); ++i) {
        SpawnWave wave;
        file.ReadI32(wave.ground);
        file.ReadI32(wave.flying);
        file.ReadI32(wave.rolling);
        file.ReadI32(wave.flyingPath);
        file.ReadF32(wave.spawnTimer);
        file.ReadF32(wave.delay);
        if (!ValidWave(wave)) {
            file.SetFailed();
        }
        read.waves.push_back(wave);
    }
    std::uint32_t enemyCount = 0;
    file.ReadU32(enemyCount);
    std::vector<Enemy*> enemies;
    for (std::uint32_t i = 0; i < enemyCount && !file.HasFailed(); ++i) {
        Enemy* enemy = nullptr;
        file >> enemy;
        if (enemy == nullptr || !HeldBeyondTheStream(enemy)) {
            file.SetFailed();
        }
        enemies.push_back(enemy);
    }
    Enemy* boss = nullptr;
    Quorvex* companion = nullptr;
    file >> boss;
    file >> companion;
    // The frame goes on with the pieces its HUD layer was read with.
    std::unique_ptr<UiFrame> frame = ReadOptionalFrame(file);
    const bool linksHeld = HeldBeyondTheStream(boss) && IsNamedBoss(boss) && HeldBeyondTheStream(companion) &&
                           std::all_of(buttons.begin(), buttons.end(), HeldBeyondTheStream);
    if (file.HasFailed() || !linksHeld || read.drops < 0 || read.kills.flying < 0 || read.kills.ground < 0 ||
        read.kills.rolling < 0 || read.keyCapture < kNoCapture || read.keyCapture > kCaptureJump ||
        read.storyLine < -1 || dialog > static_cast<std::uint8_t>(Dialog::kResults)) {
        file.SetFailed();
        return;
    }
    LoadFireEffectPool(file);
    // The end callback is the one this stage asks with: the boss's arrival
    // on a boss stage, else the stage cleared.
    Terrain::EndCallback endCallback;
    if (boss != nullptr) {
        endCallback = [this](float groundY) { SpawnBoss(groundY); };
    } else {
        endCallback = [this](float) { m_cleared = 1; };
    }
    m_terrain.Load(file, GetLayer(kWorldLayer), std::move(endCallback));
    if (file.HasFailed()) {
        return;
    }
    m_distance = read.distance;
    m_stageLength = read.stageLength;
    m_cleared = read.cleared;
    m_endBegun = read.endBegun;
    m_health = read.health;
    m_drops = read.drops;
    m_kills = read.kills;
    m_keyCapture = read.keyCapture;
    m_storyLine = read.storyLine;
    m_storyActive = read.storyActive;
    m_resultsShowing = read.resultsShowing;
    m_openDialog = static_cast<Dialog>(dialog);
    for (std::size_t slot = 0; slot < kDialogSlots; ++slot) {
        m_dialogButtons[slot] = buttons[slot];
    }
    m_waves = std::move(read.waves);
    m_liveEnemies.assign(enemies.begin(), enemies.end());
    m_boss = boss;
    m_companion = companion;
    m_frame = std::move(frame);
    FindObjects();
    // The read buttons have no callbacks: the next update gives them theirs,
    // once this level is the running one.
    m_rebindPending = m_openDialog != Dialog::kNone ? 1 : 0;
}

void GameLevel::RebindDialogAfterLoad() {
    m_rebindPending = 0;
    // The buttons, their labels, the title and the frame stand as they were
    // saved; only the callbacks and the paused sound are not streamed.
    if (m_openDialog == Dialog::kPause) {
        QuietForPause();
    }
    BindDialogButtons();
}
