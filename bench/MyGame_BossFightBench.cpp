#include "core/Core_Startup.h"
#include "engine/Engine_SceneGraph.h"
#include "math/Math_BoundingBox.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_AlpacaBoss.h"
#include "mygame/MyGame_Bullet.h"
#include "mygame/MyGame_Cloud.h"
#include "mygame/MyGame_CreateGame.h"
#include "mygame/MyGame_Enemy.h"
#include "mygame/MyGame_FlyingRangedEnemy.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_GameLevelTestHooks.h"
#include "mygame/MyGame_GamePlayer.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/MyGame_RollingSpike.h"
#include "mygame/MyGame_WalkingRangedEnemy.h"
#include "mygame/MyGame_WeaponSprite.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_ParticleSystem.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

// The heaviest moment of the game, on the game's own stage (its whole HUD,
// its rows and static collision) with the generated files, through SDL's
// offscreen driver at 1024 x 768, frame lock and vertical sync off: the
// Alpaca held in its opening barrage (its salvo counter set back before
// the opening ends), a full wave alive and held alive (the ring of six flyers, three
// walkers and two spikes, their bars showing), 200 rifle rounds in flight
// (those that end are replaced), the flame thrower firing through four
// burning enemies, the ground and clouds moving. After 120 frames of warm-up
// 600 frames are timed, each split into the update (steps 1-20 of
// Tundra::Game::Update, up to the scene graph's update), render submission
// (the scene graph's update, the viewports and the HUD pass) and the present.
// Medians per frame, with the object counts of the last frame to show that
// the scene held its shape.

namespace {

using Clock = std::chrono::steady_clock;

constexpr float kFrameTime = 1.0f / 60.0f;
constexpr int kWarmUpFrames = 120;
constexpr int kTimedFrames = 600;
// The stage whose boss is the Alpaca.
constexpr std::uint8_t kAlpacaStage = 5;
constexpr std::size_t kRounds = 200;
constexpr float kRoundSpeed = 40.0f;
constexpr int kWalkers = 3;
constexpr int kSpikes = 2;
constexpr std::int32_t kRingPattern = 4;
constexpr int kRingMembers = 5;
// The ring and one flyer on its path.
constexpr int kFlyers = kRingMembers + 1;
constexpr int kBurning = 4;
// The opening ends at 90 salvos.
constexpr std::int32_t kSalvosHeld = 80;

Clock::time_point g_submissionStart;
void StampSubmission(const Core::RefPtr<Engine::Node>&, float) { g_submissionStart = Clock::now(); }

double Microseconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::micro>(to - from).count();
}

double Mean(const std::vector<double>& values) {
    return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

double Median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

template <class T>
int CountOf(const GameLevel& stage) {
    int count = 0;
    for (std::size_t i = 0; i < stage.GetLiveEnemyCount(); ++i) {
        count += dynamic_cast<const T*>(stage.GetLiveEnemy(i)) != nullptr ? 1 : 0;
    }
    return count;
}

int CountNamed(const Tundra::Level& level, const char* name) {
    std::vector<Tundra::GameObject*> objects;
    const Core::String key(name);
    level.GetGameObjects(&key, objects);
    return static_cast<int>(objects.size());
}

class BossFight {
public:
    BossFight() {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("ALSOFT_DRIVERS", "null", 1);
        char folder[] = "/tmp/bench-boss-fight-XXXXXX";
        setenv("XDG_DATA_HOME", ::mkdtemp(folder) != nullptr ? folder : "/tmp", 1);
        CoreStartup(m_core);
        Math::CreateScratchBoxes();
        m_game = MakeGame(MakeGameContent());
        m_game->LockFrameRate(false);
        m_game->SetVSync(false);
        m_game->Frame();
        PlayerProfile& profile = m_game->GetProfile();
        profile.unlockedWeapons = 1 | 4;
        // The rifle right, the flame thrower left.
        profile.selectedWeapons = 1 | (4u << 16);
        profile.currentStage = kAlpacaStage;
        m_game->ChangeLevel(MyLevelFactory::kGameLevel);
        for (int frame = 0; frame < 4 && Stage() == nullptr; ++frame) {
            Frame();
        }
        if (GameLevel* stage = Stage(); stage != nullptr && Alpaca(*stage) != nullptr) {
            // The stage's own waves would add to the one held here.
            GameLevelTestAccess::SkipToEnd(*stage);
            Alpaca(*stage)->Activate(stage->GetTerrain().GetLeadingPosition().y);
        }
        m_game->GetSceneGraph()->SetUpdateCallback(&StampSubmission);
    }

    ~BossFight() {
        m_game->Shutdown();
        m_game = nullptr;
        Math::DestroyScratchBoxes();
        CoreShutdown(m_core);
    }

    GameLevel* Stage() const {
        if (m_game->IsLevelChangePending() || m_game->GetCurrentLevelIndex() != MyLevelFactory::kGameLevel) {
            return nullptr;
        }
        return dynamic_cast<GameLevel*>(m_game->GetCurrentLevel());
    }

    // One frame with the scene put back in shape first; the three spans
    // in microseconds.
    std::array<double, 3> Frame() {
        if (GameLevel* stage = Stage()) {
            HoldTheScene(*stage);
        }
        m_game->BeginFrame();
        const Clock::time_point start = Clock::now();
        g_submissionStart = start;
        m_game->Update(kFrameTime);
        const Clock::time_point updated = Clock::now();
        m_game->EndFrame();
        const Clock::time_point presented = Clock::now();
        return {Microseconds(start, g_submissionStart), Microseconds(g_submissionStart, updated),
                Microseconds(start, presented)};
    }

    void CountObjects(benchmark::State& state) const {
        const GameLevel* stage = Stage();
        if (stage == nullptr) {
            return;
        }
        std::vector<Tundra::GameObject*> objects;
        stage->GetGameObjects(nullptr, objects);
        int burning = 0;
        for (std::size_t i = 0; i < stage->GetLiveEnemyCount(); ++i) {
            burning += stage->GetLiveEnemy(i)->GetDebuff() != nullptr ? 1 : 0;
        }
        state.counters["objects"] = static_cast<double>(objects.size());
        state.counters["flyers"] = CountOf<FlyingRangedEnemy>(*stage);
        state.counters["walkers"] = CountOf<WalkingRangedEnemy>(*stage);
        state.counters["spikes"] = CountOf<RollingSpike>(*stage);
        state.counters["burning"] = burning;
        state.counters["bars"] = CountNamed(*stage, "HpBarTemplate");
        state.counters["rounds"] = CountNamed(*stage, "BulletTemplate");
        state.counters["boss shots"] = CountNamed(*stage, "BossProjTemplate");
        state.counters["enemy shots"] = CountNamed(*stage, "ProjectileTemplate");
        state.counters["clouds"] = static_cast<double>(
            std::count_if(objects.begin(), objects.end(),
                          [](const Tundra::GameObject* object) { return dynamic_cast<const Cloud*>(object) != nullptr; }));
    }

private:
    static AlpacaBoss* Alpaca(const GameLevel& stage) { return dynamic_cast<AlpacaBoss*>(stage.GetBoss()); }

    // The barrage goes on, the wave is whole and alive, the rounds fly and
    // the flame burns.
    void HoldTheScene(GameLevel& stage) {
        // The boss's own start sets its salvo counter back (and its
        // health): the opening begins again before it could end.
        if (AlpacaBoss* alpaca = Alpaca(stage); alpaca != nullptr && alpaca->GetSalvoCounter() >= kSalvosHeld) {
            const float offset = alpaca->GetVerticalOffset();
            alpaca->OnStart();
            alpaca->Activate(offset);
        }
        if (auto* player = dynamic_cast<GamePlayer*>(stage.GetPlayer())) {
            player->SetInvulnerableTime(1.0f);
        }
        HoldTheWave(stage);
        FireRounds(stage);
        FireFlame(stage);
    }

    void HoldTheWave(GameLevel& stage) {
        // The ring comes whole; a flyer that left it, or the path flyer
        // at its path's end, is replaced by a path flyer.
        const int flyers = CountOf<FlyingRangedEnemy>(stage);
        if (flyers == 0) {
            float angle = 0.0f;
            for (int member = 0; member < kRingMembers; ++member) {
                stage.SpawnFlyingEnemy(kRingPattern, angle);
                angle += 2.0f * static_cast<float>(M_PI) / kRingMembers;
            }
        }
        for (int flyer = std::max(flyers, kRingMembers); flyer < kFlyers; ++flyer) {
            stage.SpawnFlyingEnemy(1, 0.0f);
        }
        for (int walker = CountOf<WalkingRangedEnemy>(stage); walker < kWalkers; ++walker) {
            stage.SpawnGroundEnemy();
        }
        for (int spike = CountOf<RollingSpike>(stage); spike < kSpikes; ++spike) {
            stage.SpawnRollingSpike();
        }
        for (std::size_t i = 0; i < stage.GetLiveEnemyCount(); ++i) {
            Enemy* enemy = stage.GetLiveEnemy(i);
            if (enemy != stage.GetBoss()) {
                enemy->SetHealth(1.0f);
            }
        }
    }

    // Rounds fan out from the player over the right of the screen.
    void FireRounds(GameLevel& stage) {
        const Player* player = stage.GetPlayer();
        if (player == nullptr) {
            return;
        }
        for (int round = CountNamed(stage, "BulletTemplate"); round < static_cast<int>(kRounds); ++round) {
            const float angle = static_cast<float>(m_rounds++ % 90) * 0.0174532924f;
            const Vector2D aim{std::cos(angle), std::sin(angle)};
            if (Bullet* bullet = SpawnBullet(player->GetPosition(), aim * kRoundSpeed)) {
                bullet->SetCurrentAnimationIndex(Bullet::kRound, true);
            }
        }
    }

    // The flame thrower in the left hand fires at the nearest enemies, four
    // of them set burning; its reserve is filled again as it runs low.
    void FireFlame(GameLevel& stage) {
        auto* flame = Tundra::FindObject<WeaponSprite>("LeftWeapon");
        if (flame == nullptr || flame->GetWeapon() != WeaponSprite::kFlameThrower) {
            return;
        }
        if (flame->GetCharge() < 0.1f) {
            flame->OnStart();
        }
        flame->SetVisible(true);
        flame->Fire();
        int burning = 0;
        for (std::size_t i = 0; i < stage.GetLiveEnemyCount(); ++i) {
            Enemy* enemy = stage.GetLiveEnemy(i);
            if (enemy == stage.GetBoss()) {
                continue;
            }
            if (burning < kBurning) {
                enemy->SetOnFire();
                ++burning;
            }
        }
    }

    std::uint8_t m_core = 0;
    Core::RefPtr<MyGame> m_game;
    std::uint32_t m_rounds = 0;
};

void BM_BossFightFrame(benchmark::State& state) {
    BossFight fight;
    if (fight.Stage() == nullptr) {
        state.SkipWithError("the stage did not start");
        return;
    }
    for (int frame = 0; frame < kWarmUpFrames; ++frame) {
        fight.Frame();
    }
    std::vector<double> update;
    std::vector<double> submission;
    std::vector<double> whole;
    for (auto _ : state) {
        update.clear();
        submission.clear();
        whole.clear();
        for (int frame = 0; frame < kTimedFrames; ++frame) {
            const std::array<double, 3> spans = fight.Frame();
            update.push_back(spans[0]);
            submission.push_back(spans[1]);
            whole.push_back(spans[2]);
        }
        state.SetIterationTime(Median(whole) / 1e6);
    }
    state.counters["update us"] = Median(update);
    state.counters["submission us"] = Median(submission);
    state.counters["frame us"] = Median(whole);
    // The software rasteriser finishes most frames' drawing in the present
    // of a later frame, so a few long presents carry the drawing: the mean
    // shows it where the median does not.
    state.counters["frame mean us"] = Mean(whole);
    fight.CountObjects(state);
}
BENCHMARK(BM_BossFightFrame)->UseManualTime()->Iterations(1)->Unit(benchmark::kMicrosecond);

}  // namespace
