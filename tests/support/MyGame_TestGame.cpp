#include "support/MyGame_TestGame.h"

#include "core/Core_MersenneTwister.h"
#include "core/Core_Random.h"
#include "core/Core_Startup.h"
#include "mygame/MyGame_CreateGame.h"
#include "mygame/MyGame_Enemy.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_Terrain.h"
#include "os/OS_Cursor.h"
#include "os/OS_HeadlessInput.h"
#include "support/MyGame_HudClick.h"
#include "tundra/Tundra_GameObject.h"

#include <cstdlib>
#include <filesystem>

namespace mygametest {
namespace {

// Milliseconds; frames advance it by exact multiples of a frame, plus the
// stops that made some frames longer.
double g_now = 0.0;
std::uint64_t g_frames = 0;
double g_stopped = 0.0;

double ScriptedClock() { return g_now; }

}  // namespace

void MyGameTest::SetUp() {
    SetRunningTestStepper([this](int frames) { Step(frames); });
    CoreStartup(m_core);
    m_clock = Core::GetClockFunction();
    Core::SetClockFunction(&ScriptedClock);
    for (SavedVariable& saved : m_saved) {
        const char* value = std::getenv(saved.name);
        saved.value = value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }
    std::filesystem::create_directories(DataHome());
    std::filesystem::create_directories(Home());
    setenv("XDG_DATA_HOME", DataHome().c_str(), 1);
    setenv("HOME", Home().c_str(), 1);
    unsetenv("USERPROFILE");
    os::headless::ResetKeys();
    os::headless::ResetCursor();
    HoldLeftButton(false);
    Globals() = GameGlobals{};
    RestartProcessState();
    m_textures.emplace();
    FreshContent();
}

void MyGameTest::TearDown() {
    EndGame();
    m_textures.reset();
    Globals() = GameGlobals{};
    os::headless::ResetKeys();
    os::headless::ResetCursor();
    for (const SavedVariable& saved : m_saved) {
        if (saved.value) {
            setenv(saved.name, saved.value->c_str(), 1);
        } else {
            unsetenv(saved.name);
        }
    }
    Core::SetClockFunction(m_clock);
    CoreShutdown(m_core);
    SetRunningTestStepper({});
}

MyGame& MyGameTest::StartGame(std::uint32_t seed) {
    EndGame();
    RestartProcessState();
    m_game = m_gameContent ? MakeGame(MakeGameContent()) : MakeGame(std::move(m_ownedContent));
    Core::GameRandomGenerator().Seed(seed);
    SeedRandom(seed);
    return *m_game;
}

void MyGameTest::RestartProcessState() {
    g_frames = 0;
    g_now = 0.0;
    g_stopped = 0.0;
    Terrain::SetTileDepthCounter(0.0f);
    Enemy::SetHealthBarDepthCounter(Enemy::kHealthBarDepthStart);
    Tundra::GameObject::SetIdCounter(0);
}

void MyGameTest::Step(int frames) {
    for (int i = 0; i < frames && m_game; ++i) {
        ++g_frames;
        g_now = static_cast<double>(g_frames) * kFrameMilliseconds + g_stopped;
        PumpOffscreenInput();
        m_game->Frame();
    }
}

void MyGameTest::StepWithStop(double milliseconds) {
    g_stopped += milliseconds;
    Step();
}

bool MyGameTest::GoToLevel(std::uint32_t index, int frameLimit) {
    m_game->GoToLevel(index);
    for (int i = 0; i < frameLimit; ++i) {
        Step();
        if (!m_game->IsLevelChangePending() && m_game->GetCurrentLevelIndex() == index) {
            return true;
        }
    }
    return false;
}

void MyGameTest::EndGame() {
    if (m_game) {
        m_game->Shutdown();
        m_game = nullptr;
        FreshContent();
    }
}

void MyGameTest::FreshContent() {
    m_ownedContent = std::make_unique<TestContent>();
    m_content = m_ownedContent.get();
}

void MyGameTest::HoldKey(os::VirtualKey key, bool down) { os::headless::SetKey(key, down); }

void MyGameTest::SetCursor(std::int32_t x, std::int32_t y) { os::SetCursorPos(x, y); }

}  // namespace mygametest
