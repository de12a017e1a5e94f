#include "support/Tundra_TestGame.h"

#include "support/Tundra_ReplayProbe.h"
#include "core/Core_Clock.h"
#include "core/Core_Startup.h"
#include "gui/GUI_HUDTestHooks.h"
#include "network/Network_TunPlayer.h"
#include "sound/Sound_JukeBoxTestHooks.h"
#include "sound/Sound_SoundEngineTestHooks.h"
#include "support/Collision_CircleShape.h"

namespace tundratest {

// Read by the sound engine's streaming thread too.
std::atomic<double> g_now = 0.0;

namespace {
double FakeClock() { return g_now; }
std::string Name(const Tundra::GameObject& object) { return std::string(object.GetName()); }
}  // namespace

std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

std::function<void(const std::string&)>& OnRecord() {
    static std::function<void(const std::string&)> action;
    return action;
}

void Record(const std::string& entry) {
    Log().push_back(entry);
    // A copy: the action may replace itself.
    if (const std::function<void(const std::string&)> action = OnRecord()) {
        action(entry);
    }
}

void TestObject::OnStart() { Record("start " + Name(*this)); }
void TestObject::OnEnd() { Record("end " + Name(*this)); }
void TestObject::Update(float) {
    Record("update " + Name(*this));
    if (onUpdate) {
        onUpdate(*this);
    }
}
void TestObject::RenderSync(float) { Record("sync " + Name(*this)); }
void TestObject::Cleanup() {
    if (!IsDestroyed()) {
        Record("cleanup " + Name(*this));
    }
    GameObject::Cleanup();
}
void TestObject::ReservedC(float) { Record("late1 " + Name(*this)); }
void TestObject::ReservedD(float) { Record("late2 " + Name(*this)); }

void TestLevel::OnStart() { Record("level start " + std::string(GetTypeName())); }
void TestLevel::OnEnd() { Record("level end " + std::string(GetTypeName())); }
void TestLevel::Update(float) {
    Record("level update");
    if (onUpdate) {
        onUpdate(*this);
    }
}

Tundra::Level* TestFactory::CreateLevel(std::uint32_t index) {
    Record("build " + std::to_string(index));
    g_now += buildMs;
    if (giveNull) {
        return nullptr;
    }
    auto* level = TUN_NEW(TestLevel);
    level->SetTypeName(std::to_string(index).c_str());
    for (std::uint32_t i = 0; i < layers; ++i) {
        level->AddLayer(TUN_NEW(Tundra::Layer, static_cast<float>(i)));
    }
    if (fill) {
        fill(*level, index);
    }
    return level;
}

bool TestFactory::GetLevelIndex(const Core::String& name, std::uint32_t& index) const {
    if (name.size() != 1 || name[0] < '0' || static_cast<std::uint32_t>(name[0] - '0') >= count) {
        return false;
    }
    index = static_cast<std::uint32_t>(name[0] - '0');
    return true;
}

TestGame::TestGame(TestFactory* factory, std::uint32_t start) : Game(factory, {64, 48, 60, 0, false, false}, start) {}

void TestGame::PreUpdate(float dt) {
    Record("pre update");
    dts.push_back(dt);
}

bool TestGame::CollisionFilter(Tundra::GameObject* a, Tundra::GameObject* b, float& restitution, float& friction) {
    return filter ? filter(a, b, restitution, friction) : Game::CollisionFilter(a, b, restitution, friction);
}

namespace {
std::string PlayerId(const Tundra::TunPlayer* player) {
    return player != nullptr ? std::to_string(player->GetID()) : "none";
}
}  // namespace

bool TestGame::OnPlayerJoinRequest(Tundra::TunPlayer* player) {
    Record("net join request " + PlayerId(player));
    return admitPlayers;
}

void TestGame::OnJoinAnswer(int answer) { Record("net join answer " + std::to_string(answer)); }

void TestGame::OnNetworkEventKind4(Tundra::TunPlayer* player) { Record("net player added " + PlayerId(player)); }

void TestGame::OnNetworkEventKind5(Tundra::TunPlayer* player) { Record("net player leaving " + PlayerId(player)); }

void TestGame::OnTextMessage(Tundra::TunPlayer* sender, const Core::String& text) {
    Record("net text " + PlayerId(sender) + " " + text.c_str());
}

void TestGame::OnDataMessage(Tundra::TunPlayer* sender, std::uint32_t code, std::uint32_t size, const void* data) {
    std::string entry = "net data " + PlayerId(sender) + " " + std::to_string(code) + " " + std::to_string(size);
    if (data == nullptr) {
        entry += " null";
    }
    for (std::uint32_t i = 0; data != nullptr && i < size; ++i) {
        static constexpr char kDigits[] = "0123456789abcdef";
        const std::uint8_t byte = static_cast<const std::uint8_t*>(data)[i];
        entry += i == 0 ? " " : "";
        entry += kDigits[byte >> 4];
        entry += kDigits[byte & 15];
    }
    Record(entry);
}

void GameTest::SetUp() {
    CoreStartup(m_core);
    m_clock = Core::GetClockFunction();
    Core::SetClockFunction(&FakeClock);
    g_now = 0.0;
    Log().clear();
    OnRecord() = nullptr;
    GUI::GetHudCallsForTesting() = {};
    Tundra::GetJukeBoxCallsForTesting() = {};
    GetStopAllCountForTesting() = 0;
    Tundra::GameObject::SetIdCounter(0);
}

void GameTest::TearDown() {
    OnRecord() = nullptr;
    if (m_game) {
        m_game->Shutdown();
    }
    m_game = nullptr;
    Core::SetClockFunction(m_clock);
    CoreShutdown(m_core);
}

TestGame& GameTest::Start(std::uint32_t start) {
    m_game = nullptr;
    Tundra::GameObject::SetIdCounter(0);
    m_game = TUN_NEW(TestGame, m_factory.Get(), start);
    Step(2);
    return *m_game;
}

void GameTest::Step(int frames, double ms) {
    for (int i = 0; i < frames; ++i) {
        g_now += ms;
        m_game->Frame();
    }
}

TestObject& GameTest::Spawn(const char* name, std::uint32_t layer) {
    auto* object = TUN_NEW(TestObject, name);
    LayerAt(layer).AddGameObject(object);
    return *object;
}

Collision2D::DynamicObject* GameTest::CircleShape(float radius, int userId) {
    return testsupport::MakeCircleShape(*m_game, radius, userId);
}

std::vector<std::string> GameTest::Entries(const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& entry : Log()) {
        if (entry.rfind(prefix, 0) == 0) {
            found.push_back(entry);
        }
    }
    return found;
}

}  // namespace tundratest

TUN_DEFINE_CLASS(tundratest::TestObject)
