// The stage's course: its plan of waves, the run toward its length, the end
// of the ground, the closing story and the results panel.
#include "input/Input_KeyTable.h"
#include "input/Input_Keyboard.h"
#include "input/Input_Mouse.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_CenteredText.h"
#include "mygame/MyGame_Cloud.h"
#include "mygame/MyGame_DialogText.h"
#include "mygame/MyGame_DistanceUI.h"
#include "mygame/MyGame_Enemy.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_GameTables.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_LabeledButton.h"
#include "mygame/MyGame_LevelIndices.h"
#include "mygame/MyGame_Player.h"
#include "mygame/MyGame_Quorvex.h"
#include "mygame/MyGame_Random.h"
#include "mygame/MyGame_ScoreText.h"
#include "mygame/MyGame_UiFrame.h"
#include "physics/Physics_PhysicsEngine.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Text.h"

#include <algorithm>
#include <string>

namespace {

constexpr float kLargestPhysicsStep = 0.02f;
constexpr int kLeftMouseButton = 0;
// The player's animation while it dies: the stage cannot be paused then.
constexpr std::int32_t kCloudCount = 8;
constexpr float kFirstCloudDepth = -3.0f;
constexpr float kCloudDepthStep = 0.0001f;
constexpr float kCloudOpacityStep = 0.05f;
constexpr std::int32_t kEndRunWithoutBoss = 3;
constexpr std::int32_t kEndRunWithBoss = 5;
// The playing area; a player beyond it is brought back.
constexpr float kAreaLeft = -32.0f;
constexpr float kAreaRight = 1100.0f;
constexpr float kAreaBottom = 0.0f;
constexpr float kAreaTop = 1000.0f;
constexpr float kRespawnDamage = 0.5f;
constexpr float kRespawnHeight = 60.0f;

struct BossRow {
    std::int32_t kind;
    const char* name;
    std::int32_t bonus;
};
constexpr BossRow kBosses[] = {{3, "BearBossBody", 50}, {4, "AlpacaBoss", 150}, {5, "UnknownBoss", 300}};

const BossRow* FindBossRow(std::int32_t kind) {
    const auto* row = std::find_if(std::begin(kBosses), std::end(kBosses),
                                   [kind](const BossRow& boss) { return boss.kind == kind; });
    return row != std::end(kBosses) ? row : nullptr;
}

}  // namespace

bool GameLevel::IsNamedBoss(const Enemy* enemy) {
    if (enemy == nullptr) {
        return true;
    }
    const BossRow* row = FindBossRow(enemy->GetEnemyKind());
    return row != nullptr && enemy->GetName() == row->name;
}

namespace {

std::uint32_t CurrentStage() {
    const MyGame* game = GetGame();
    return game != nullptr ? game->GetProfile().currentStage : 0;
}

// The stage's line of the index; null past its last line (or before the
// story).
const char* StoryLineAt(std::uint32_t stage, std::int32_t index) {
    const char* const* lines = GetStoryLines(stage);
    if (lines == nullptr || index < 0) {
        return nullptr;
    }
    for (std::int32_t i = 0; lines[i][0] != '\0'; ++i) {
        if (i == index) {
            return lines[i];
        }
    }
    return nullptr;
}

bool MouseClicked() {
    const MyGame* game = GetGame();
    const Input::Mouse* mouse = game != nullptr ? game->GetMouse() : nullptr;
    return mouse != nullptr && mouse->IsTriggered(kLeftMouseButton);
}

}  // namespace

void GameLevel::OnStart() {
    MyGame* game = GetGame();
    if (game != nullptr) {
        game->ClearMusicLinks();
        game->CaptureTemplates();
        game->LoadMusicPlaylist();
        game->LoadSoundEffects();
        if (Physics2D::PhysicsEngine* physics = game->GetPhysicsEngine()) {
            physics->SetMaximumSimulationStep(kLargestPhysicsStep);
        }
    }
    Globals().paused = 0;
    m_cleared = 0;
    m_endBegun = 0;
    m_stageLength = BuildSpawnWaves();
    m_terrain.Start(static_cast<float>(MyGame::kWidth));
    FindObjects();
    m_distance = 0.0f;
    m_health = 1.0f;
    float depth = kFirstCloudDepth;
    float opacity = 1.0f;
    for (std::int32_t i = 0; i < kCloudCount; ++i) {
        if (Cloud* cloud = MakeCloud(depth)) {
            cloud->SetOpacity(opacity);
        }
        depth -= kCloudDepthStep;
        opacity -= kCloudOpacityStep;
    }
    m_drops = 0;
    m_frame = MakeUiFrame(0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    m_storyActive = 0;
    m_companion = Tundra::FindObject<Quorvex>(*this, "Quorvex");
    m_storyLine = -1;
    m_resultsShowing = 0;
    const BossRow* boss = FindBossRow(GetLevelInfo(CurrentStage())[LevelInfo::kBossKind]);
    m_boss = boss != nullptr ? Tundra::FindObject<Enemy>(*this, boss->name) : nullptr;
}

float GameLevel::BuildSpawnWaves() {
    const LevelInfo& row = GetLevelInfo(CurrentStage());
    std::int32_t groundLeft = row[LevelInfo::kGroundEnemies];
    std::int32_t flyingLeft = row[LevelInfo::kFlyingEnemies];
    std::int32_t rollingLeft = row[LevelInfo::kRollingSpikes];
    const auto length = static_cast<float>(row[LevelInfo::kLengthSeconds]);
    m_waves.clear();
    while (groundLeft > 0 || flyingLeft > 0 || rollingLeft > 0) {
        const std::int32_t ground = std::min(RandomInt(0, row[LevelInfo::kGroundPerWave]), groundLeft);
        const std::int32_t flying = std::min(RandomInt(0, row[LevelInfo::kFlyingPerWave]), flyingLeft);
        const std::int32_t rolling = std::min(RandomInt(0, row[LevelInfo::kRollingPerWave]), rollingLeft);
        if (ground <= 0 && flying <= 0 && rolling <= 0) {
            continue;
        }
        SpawnWave wave;
        wave.ground = ground;
        wave.flying = flying;
        wave.rolling = rolling;
        wave.flyingPath = flying > 0 ? RandomInt(1, 3) : 0;
        m_waves.push_back(wave);
        groundLeft -= ground;
        flyingLeft -= flying;
        rollingLeft -= rolling;
    }
    if (!m_waves.empty()) {
        const float spacing = length / static_cast<float>(m_waves.size());
        float delay = 0.0f;
        for (SpawnWave& wave : m_waves) {
            wave.delay = delay;
            delay += spacing;
        }
    }
    return length;
}

void GameLevel::Update(float dt) {
    if (m_rebindPending != 0) {
        RebindDialogAfterLoad();
    }
    MyGame* game = GetGame();
    const Input::Keyboard* keyboard = game != nullptr ? game->GetKeyboard() : nullptr;
    Player* player = GetPlayer();
    if (keyboard != nullptr && keyboard->IsTriggered(Input::kKeyEscape) && m_cleared == 0 &&
        (player == nullptr || player->GetCurrentAnimationIndex() != Player::kDeathAnimation)) {
        const bool pause = Globals().paused == 0;
        ShowPauseDialog(pause);
        SetLevelPaused(pause);
    }
    const bool clicked = MouseClicked();
    if (m_resultsShowing != 0 && clicked) {
        // Each counter finishes on its next update.
        std::vector<Tundra::GameObject*> texts;
        const Core::String name("ScoreTextTemplate");
        GetGameObjects(&name, texts);
        for (Tundra::GameObject* object : texts) {
            if (auto* text = dynamic_cast<ScoreText*>(object)) {
                text->SetShownValue(text->GetTargetValue() - 1);
            }
        }
    }
    if (m_frame) {
        m_frame->Animate(dt);
    }
    // Without a dialog text every line counts as complete.
    if (m_storyActive != 0 && clicked && (!m_dialogText || m_dialogText->ShowWholeLine())) {
        AdvanceStory();
    }
    CaptureKey();
    if (Globals().paused != 0) {
        return;
    }
    m_terrain.Update(dt);
    UpdateSpawnWaves(dt);
    player = GetPlayer();
    if (player != nullptr) {
        const Vector2D& at = player->GetPosition();
        if (at.y < kAreaBottom || at.y > kAreaTop || at.x < kAreaLeft || at.x > kAreaRight) {
            RespawnPlayer();
        }
    }
    UpdateProgress(dt);
    // A hit that killed the player in this frame wins over the end of the
    // ground: the defeat is shown, not the story.
    if (m_cleared != 0 && m_storyActive == 0 && m_health > 0.0f) {
        m_storyActive = 1;
        StartStory();
        SetLevelPaused(true);
    }
}

void GameLevel::UpdateSpawnWaves(float dt) {
    // A spawn may call back into the stage: walk by index, re-reading the
    // length, and tick a copy so that the array may grow meanwhile.
    for (std::size_t i = 0; i < m_waves.size();) {
        SpawnWave wave = m_waves[i];
        const bool finished = wave.Tick(dt, *this);
        if (i >= m_waves.size()) {
            break;
        }
        if (finished) {
            m_waves.erase(m_waves.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            m_waves[i] = wave;
            ++i;
        }
    }
}

void GameLevel::RespawnPlayer() {
    DamagePlayer(kRespawnDamage);
    if (Player* player = GetPlayer()) {
        const Vector2D at = m_terrain.GetRespawnPosition() + Vector2D{0.0f, kRespawnHeight};
        player->SetPosition(at);
        player->SetOldPosition(at);
    }
}

void GameLevel::UpdateProgress(float dt) {
    if (m_distance <= m_stageLength) {
        m_distance += dt;
        if (m_distanceBar) {
            m_distanceBar->SetProgress(m_distance / m_stageLength);
        }
        return;
    }
    if (m_endBegun != 0 || !m_liveEnemies.empty() || !m_waves.empty() ||
        Tundra::FindObject<Tundra::GameObject>(*this, "EnemyDropTemplate") != nullptr) {
        return;
    }
    if (!m_boss) {
        m_terrain.End(kEndRunWithoutBoss, [this](float) { m_cleared = 1; });
        m_endBegun = 1;
        return;
    }
    // The boss comes once the bar's warning has run; without a bar the
    // warning counts as done.
    if (m_distanceBar && !m_distanceBar->IsActive()) {
        m_distanceBar->SetActive(true);
        return;
    }
    if (m_distanceBar && !m_distanceBar->IsWarningShown()) {
        return;
    }
    BringBossIn();
}

void GameLevel::BringBossIn() {
    AddLiveEnemy(m_boss.Get());
    m_terrain.End(kEndRunWithBoss, [this](float groundY) { SpawnBoss(groundY); });
    m_endBegun = 1;
}

void GameLevel::StartStory() {
    if (m_frame) {
        m_frame->SetRect(0.0f, -300.0f, 0.0f, -300.0f, 0.5f);
        m_frame->SetTargetRect(-450.0f, -240.0f, 450.0f, -365.0f, 1.0f);
    }
    m_storyLine = 0;
    if (m_dialogText) {
        m_dialogText->SetOpacity(-1.0f);
    }
    AdvanceStory();
}

void GameLevel::AdvanceStory() {
    if (m_dialogArrow) {
        m_dialogArrow->SetVisible(false);
    }
    if (const char* line = StoryLineAt(CurrentStage(), m_storyLine)) {
        if (m_dialogText) {
            m_dialogText->SetLine(line);
        }
        ++m_storyLine;
        return;
    }
    if (m_dialogText) {
        m_dialogText->SetVisible(false);
    }
    ShowLevelResults();
    m_storyActive = 0;
}

void GameLevel::ShowLevelResults() {
    MyGame* game = GetGame();
    if (game == nullptr) {
        return;
    }
    PlayerProfile& profile = game->GetProfile();
    const std::uint32_t stage = profile.currentStage;
    const LevelInfo& row = GetLevelInfo(stage);
    if (auto* debug = Tundra::FindObject<Tundra::Text>(*this, "DebugText")) {
        debug->SetText(Core::String(std::to_string(profile.currency) + " " + std::to_string(m_drops)));
    }
    const BossRow* boss = m_boss ? FindBossRow(row[LevelInfo::kBossKind]) : nullptr;
    if (boss != nullptr) {
        m_drops += boss->bonus;
        if (auto* collected = Tundra::FindObject<ScoreText>(*this, "DropsCollectedText")) {
            collected->SetTargetValue(m_drops);
        }
        CreateCenteredText({-62.0f, -34.0f}, "boss");
        CreateScoreText({58.0f, -35.0f}, 0, boss->bonus, 8.0f, "+", "");
    }
    AddCurrency(profile, static_cast<std::uint32_t>(std::max(m_drops, 0)));
    if (stage + 1 < GetLevelCount() && profile.highestStage < stage + 1) {
        profile.highestStage = static_cast<std::uint8_t>(stage + 1);
    }
    ShowResultsButtons();
    if (m_frame) {
        m_frame->SetTargetRect(-200.0f, 200.0f, 200.0f, -300.0f, 1.0f);
    }
    for (const char* name : {"WinEnemyTemplate1", "WinEnemyTemplate2", "WinEnemyTemplate3"}) {
        if (auto* sprite = Tundra::FindObject<Tundra::Sprite>(*this, name)) {
            sprite->SetCurrentAnimationIndex(row.Theme(), false);
            sprite->SetCurrentFrameIndex(0, false);
            sprite->SetVisible(true);
        }
    }
    CreateScoreText({-120.0f, 56.0f}, 0, m_kills.flying, 5.0f, "x", "");
    CreateScoreText({5.0f, 56.0f}, 0, m_kills.ground, 5.0f, "x", "");
    CreateScoreText({118.0f, 56.0f}, 0, m_kills.rolling, 5.0f, "x", "");
    const std::int32_t total =
        row[LevelInfo::kGroundEnemies] + row[LevelInfo::kFlyingEnemies] + row[LevelInfo::kRollingSpikes];
    const std::int32_t killed = m_kills.flying + m_kills.ground + m_kills.rolling;
    const float killRate = total > 0 ? static_cast<float>(killed * 100) / static_cast<float>(total) : 0.0f;
    CreateCenteredText({-62.0f, 6.0f}, "kill rate");
    CreateScoreText({75.0f, 5.0f}, 0, static_cast<std::int32_t>(killRate), 10.0f, "", "%");
    if (auto* stars = Tundra::FindObject<Tundra::Sprite>(*this, "Stars")) {
        stars->SetVisible(true);
        if (killRate > 90.0f) {
            stars->SetCurrentFrameIndex(3, false);
        } else if (killRate > 80.0f) {
            stars->SetCurrentFrameIndex(2, false);
        } else if (killRate > 70.0f) {
            stars->SetCurrentFrameIndex(1, false);
        }
    }
    m_resultsShowing = 1;
    // The currency and the unlocked stage are kept even when the game is
    // closed on the panel.
    game->SaveProfile();
}

void GameLevel::ShowResultsButtons() {
    const MyGame* game = GetGame();
    const std::uint32_t stage = game != nullptr ? game->GetProfile().currentStage : 0;
    ClearDialogButtons();
    m_openDialog = Dialog::kResults;
    if (stage + 1 < GetLevelCount()) {
        SetDialogButton(0, MakeLabeledButton({0.0f, -100.0f}, "next level", 0, nullptr));
    }
    SetDialogButton(1, MakeLabeledButton({0.0f, -170.0f}, "restart", 0, nullptr));
    SetDialogButton(2, MakeLabeledButton({0.0f, -240.0f}, "exit to menu", 0, nullptr));
    BindDialogButtons();
}

void GameLevel::BindResultsButtons() {
    const MyGame* game = GetGame();
    const std::uint32_t stage = game != nullptr ? game->GetProfile().currentStage : 0;
    // The stage after this one however often it is pressed.
    BindSlot(0, [this, stage] {
        if (MyGame* running = GetGame()) {
            running->GetProfile().currentStage = static_cast<std::uint8_t>(stage + 1);
        }
        FadeTo(kStageLevel);
    });
    BindSlot(1, [this] { FadeTo(kStageLevel); });
    BindSlot(2, [this] { FadeTo(kTitleLevel); });
}
