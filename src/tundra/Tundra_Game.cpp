#include "tundra/Tundra_Game.h"

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_CollisionEngine.h"
#include "core/Core_Clock.h"
#include "gui/GUI_HUD.h"
#include "network/Network_TunNet.h"
#include "os/OS_ByteOrder.h"
#include "pal/PAL_ExecutablePath.h"
#include "physics/Physics_PhysicsEngine.h"
#include "sound/Sound_SoundEngine.h"
#include "tundra/Tundra_GameObject.h"

#include <algorithm>

namespace Tundra {
namespace {

Game* g_instance = nullptr;
std::uint8_t g_oneWayCollision = 0;
// Both start above 0, the epoch of an id that names nothing.
std::uint64_t g_collisionEpoch = 1;
std::uint64_t g_physicsEpoch = 1;

constexpr std::uint32_t kClientJoinedLevelPacket = 16;

}  // namespace

Game::Game(LevelFactory* factory, const Engine::StartupSettings& settings, std::uint32_t startingLevel)
    : RenderingApplication(settings) {
    // The instance first: what the constructor makes may look for it.
    g_instance = this;
    m_hud = new GUI::HUD;
    m_factory = factory;
    m_lastFrameTime = Core::GetMilliseconds();
    m_sceneGraph = TUN_NEW(Engine::SceneGraph, GetRenderer());
    m_startingLevel = startingLevel < GetLevelsCount() ? startingLevel : 0;
    m_currentLevel = m_startingLevel;
    m_collision = new Collision2D::CollisionEngine;
    ++g_collisionEpoch;
    m_physics = TUN_NEW(Physics2D::PhysicsEngine);
    m_physics->AddReference();
    ++g_physicsEpoch;
    m_physics->SetContactListUpdate(&ContactCallback);
    m_physics->SetContactListUpdateData(this);
    m_sound = new SoundEngine;
    m_sound->Initialize(-1, 30);
    m_sound->SetDistanceModel(2);
    m_network = new TunNet;
    m_width = settings.width;
    m_height = settings.height;
}

Game::~Game() {
    Game::Shutdown();
    delete m_hud;
    m_hud = nullptr;
    m_sceneGraph = nullptr;
    if (g_instance == this) {
        g_instance = nullptr;
    }
}

Game* Game::GetInstance() { return g_instance; }

Core::String Game::GetDirectory() { return GetExecutableDirectory(); }

Core::String Game::GetExecutableName() { return GetExecutableFileName(); }

Core::String Game::GetExecutableNameNoExtension() {
    Core::String name = GetExecutableName();
    if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".exe") == 0) {
        name.erase(name.size() - 4);
    }
    return name;
}

std::uint64_t Game::GetCollisionEpoch() { return g_collisionEpoch; }

std::uint64_t Game::GetPhysicsEpoch() { return g_physicsEpoch; }

void Game::SetOneWayCollision(bool oneWay) { g_oneWayCollision = oneWay ? 1 : 0; }

bool Game::GetOneWayCollision() { return g_oneWayCollision != 0; }

void Game::PushToLua(lua_State* state) const { PushToLuaAs(state, "Game"); }

bool Game::CollisionFilter(GameObject*, GameObject*, float& restitution, float& friction) {
    restitution = 0.3f;
    friction = 0.5f;
    return true;
}

void Game::SetTitle(const Core::String& title) {
    m_title = title;
    GetWindow().SetTitle(title);
}

void Game::SetMasterVolume(float volume) {
    if (m_sound != nullptr) {
        m_sound->SetMasterVolume(std::clamp(volume, 0.0f, 10.0f));
    }
}

float Game::GetMasterVolume() const { return m_sound != nullptr ? m_sound->GetMasterVolume() : 0.0f; }

void Game::AddManagedObject(Core::Object* object, const Core::String& name) {
    m_managedObjects.emplace_back(object);
    m_managedObjectNames.push_back(name);
}

void Game::AddCollisionAssets(Collision2D::CollisionActor* actor) {
    if (actor != nullptr) {
        m_collisionAssets.push_back(actor);
    }
}

void Game::FreeCollisionAssets() {
    for (Collision2D::CollisionActor* actor : m_collisionAssets) {
        FreeCollisionActor(actor);
    }
    m_collisionAssets.clear();
}

void Game::BuildFirstLevel() {
    if (!m_factory) {
        return;
    }
    m_level = m_factory->CreateLevel(m_currentLevel);
    if (!m_level) {
        return;
    }
    const Core::RefPtr<Level> level = m_level;
    if (!m_levelStarted) {
        m_levelStarted = true;
        OnLevelStarted();
    }
    level->OnStart();
    m_lastFrameTime = Core::GetMilliseconds();
}

void Game::Frame() {
    if (!m_level) {
        BuildFirstLevel();
    }
    const auto dt = static_cast<float>(m_lastFrameDuration / 1000.0);
    // Without a level there is nothing to update or draw: the factory is
    // asked again next frame.
    if (dt != 0.0f && m_level) {
        Update(dt);
    }
    const double now = Core::GetMilliseconds();
    m_lastFrameDuration = now - m_lastFrameTime;
    m_lastFrameTime = now;
}

void Game::Update(float dt) {
    if (m_shutDown) {
        return;
    }
    if (m_pendingOperation == 3) {
        WriteReplayData();
    }
    if (m_pendingOperation == 4) {
        ReadReplayData();
    }
    ProcessSaveLoad();
    m_pendingOperation = 0;
    ChangeLevelNow();
    const Core::RefPtr<Level> level = m_level;
    if (!level) {
        return;
    }
    if (m_replayPlaying == 0 && GetMouse() != nullptr) {
        GetMouse()->Update();
    }
    if (GetKeyboard() != nullptr) {
        GetKeyboard()->Update();
    }
    if (m_replayPlaying != 0) {
        PlayReplayFrame(dt);
    }
    UpdateHud(dt);
    RecordReplayFrame(dt);
    PreUpdate(dt);
    level->FrameUpdate(dt);
    // A hook may have shut the game down; the engines are gone then.
    if (m_shutDown) {
        return;
    }
    level->FirstLateUpdate(dt);
    level->SecondLateUpdate(dt);
    m_physics->Update(dt);
    m_collision->Update(dt);
    PostCollision(dt);
    m_physics->PostCollisionUpdate(dt);
    m_network->UpdatePlayerDevices();
    m_network->Update(dt);
    RefreshOnlineSessions();
    level->UpdateGameObjectTransformations();
    m_sceneGraph->UpdateAsCurrent(dt);
    if (level->GetClearBackBuffer()) {
        m_sceneGraph->ClearScreen(level->GetClearColor());
    }
    if (m_hud != nullptr) {
        m_hud->Render();
    }
}

std::uint32_t Game::GetLevelsCount() const { return m_factory ? m_factory->GetLevelsCount() : 0; }

void Game::RequestLevel(std::uint32_t index) {
    if (index < GetLevelsCount()) {
        m_pendingLevel = index;
        m_levelChangePending = 1;
    }
}

void Game::GoToLevel(std::uint32_t index) { RequestLevel(index); }

void Game::GoToLevelByName(const Core::String& name) {
    std::uint32_t index = 0;
    if (m_factory && m_factory->GetLevelIndex(name, index)) {
        RequestLevel(index);
    }
}

void Game::GoToNextLevel() { RequestLevel(m_currentLevel + 1); }

void Game::GoToPreviousLevel() {
    if (m_currentLevel != 0) {
        RequestLevel(m_currentLevel - 1);
    }
}

void Game::GoToLastLevel() { RequestLevel(GetLevelsCount() - 1); }

void Game::GoToFirstLevel() { RequestLevel(0); }

void Game::GoToStartingLevel() { RequestLevel(m_startingLevel); }

void Game::RestartLevel() { RequestLevel(m_currentLevel); }

void Game::ChangeLevelNow() {
    if (m_levelChangePending == 0 || m_shutDown) {
        return;
    }
    if (m_hud != nullptr) {
        m_hud->Clear();
    }
    if (const Core::RefPtr<Level> level = m_level) {
        level->End();
        level->OnEnd();
        level->Shutdown();
    }
    m_level = nullptr;
    m_collision->Clear();
    ++g_collisionEpoch;
    m_physics->Reset();
    ++g_physicsEpoch;
    m_sound->StopAll();
    if (GetKeyboard() != nullptr) {
        GetKeyboard()->Reset();
    }
    if (GetMouse() != nullptr) {
        GetMouse()->Reset();
    }
    FreeCollisionAssets();
    m_currentLevel = m_pendingLevel;
    m_factory->OnLevelChanged();
    if (m_network->IsNetworkGame()) {
        m_network->ClearNetworkObjects();
    }
    GameObject::SetIdCounter(0);
    m_level = m_factory->CreateLevel(m_currentLevel);
    if (const Core::RefPtr<Level> level = m_level) {
        level->OnStart();
    }
    m_levelChangePending = 0;
    if (m_network->IsNetworkGame() && !m_network->IsHost()) {
        if (const TunPlayer* player = m_network->GetLocalPlayer()) {
            std::uint8_t payload[4];
            os::StoreU32LE(payload, player->GetID());
            m_network->SendToGroup(kClientJoinedLevelPacket, payload, 4, nullptr, true);
        }
    }
    m_lastFrameTime = Core::GetMilliseconds();
}

void Game::Shutdown() {
    if (m_shutDown) {
        return;
    }
    m_shutDown = true;
    delete m_hud;
    m_hud = nullptr;
    m_network->Shutdown();
    if (const Core::RefPtr<Level> level = m_level) {
        level->End();
        level->OnEnd();
        OnLevelEnded();
        level->Shutdown();
    }
    m_level = nullptr;
    FreeCollisionAssets();
    m_factory = nullptr;
    DestroyEngines();
    ReleaseManagedObjects();
}

void Game::DestroyEngines() {
    delete m_network;
    m_network = nullptr;
    delete m_sound;
    m_sound = nullptr;
    m_physics->Release();
    m_physics = nullptr;
    ++g_physicsEpoch;
    delete m_collision;
    m_collision = nullptr;
    ++g_collisionEpoch;
}

void Game::ReleaseManagedObjects() {
    m_managedObjects.clear();
    m_managedObjectNames.clear();
}

}  // namespace Tundra
