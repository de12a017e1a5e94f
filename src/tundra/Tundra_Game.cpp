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
#include "tundra/Lua_Host.h"
#include "tundra/Tundra_GameObject.h"

#include <algorithm>
#include <functional>

namespace Tundra {
namespace {

Game* g_game = nullptr;
std::uint8_t g_oneWayCollision = 0;
// Both start above 0, the epoch of an id that names nothing.
std::uint64_t g_collisionEpoch = 1;
std::uint64_t g_physicsEpoch = 1;

constexpr std::uint32_t kClientJoinedLevelPacket = 16;

}  // namespace

Game::Game(LevelFactory* factory, const Engine::StartupSettings& settings, std::uint32_t startingLevel)
    : RenderingApplication(settings) {
    // The instance first: what the constructor makes may look for it.
    g_game = this;
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
    Lua::Host::Open(this);
}

Game::~Game() {
    Game::Shutdown();
    delete m_hud;
    m_hud = nullptr;
    m_sceneGraph = nullptr;
    if (g_game == this) {
        g_game = nullptr;
    }
}

Game* Game::GetInstance() { return g_game; }

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

Core::RefPtr<Level> Game::BuildLevel(std::uint32_t index) {
    const Core::RefPtr<LevelFactory> factory = m_factory;
    Core::RefPtr<Level> level = factory ? factory->CreateLevel(index) : nullptr;
    // The factory's hooks may have shut the game down: nothing may start then.
    if (level && m_shutDown) {
        level->Shutdown();
        return nullptr;
    }
    return level;
}

void Game::BuildFirstLevel() {
    m_level = BuildLevel(m_currentLevel);
    const Core::RefPtr<Level> level = m_level;
    RunWhile([&] { return level && !m_shutDown && m_level == level; },
             {
                 [this] {
                     if (!m_levelStarted) {
                         m_levelStarted = true;
                         OnLevelStarted();
                     }
                 },
                 [&] { level->OnStart(); },
                 [this] { m_lastFrameTime = Core::GetMilliseconds(); },
             });
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

bool Game::RunWhile(const std::function<bool()>& going, std::initializer_list<std::function<void()>> steps) {
    for (const std::function<void()>& step : steps) {
        if (!going()) {
            return false;
        }
        step();
    }
    return going();
}

void Game::StepEngine(const std::function<void()>& step) {
    ++m_engineSteps;
    step();
    --m_engineSteps;
    if (m_engineSteps == 0 && m_shutdownRequested) {
        Shutdown();
    }
}

void Game::Update(float dt) {
    // Every step may run hooks, and a hook may shut the game down (the
    // engines are gone then) or change the level: the frame ends there.
    const bool prepared = RunWhile([this] { return !m_shutDown; },
                                   {
                                       [this] {
                                           if (m_pendingOperation == 3) {
                                               WriteReplayData();
                                           }
                                       },
                                       [this] {
                                           if (m_pendingOperation == 4) {
                                               ReadReplayData();
                                           }
                                       },
                                       [this] {
                                           if (m_pendingOperation == kSaveRecordingStart) {
                                               SaveRecordingStart();
                                           }
                                       },
                                       [this] { ProcessSaveLoad(); },
                                       [this] {
                                           m_pendingOperation = 0;
                                           ChangeLevelNow();
                                       },
                                   });
    const Core::RefPtr<Level> level = m_level;
    if (!prepared || !level) {
        return;
    }
    if (m_replayPlaying == 0 && GetMouse() != nullptr) {
        GetMouse()->Update();
    }
    if (GetKeyboard() != nullptr) {
        GetKeyboard()->Update();
    }
    // dt by reference: a replay frame may change it.
    const bool stepped = RunWhile([&] { return !m_shutDown && m_level == level; },
                                  {
                                      [&] {
                                          if (m_replayPlaying != 0) {
                                              PlayReplayFrame(dt);
                                          }
                                      },
                                      [&] { UpdateHud(dt); },
                                      [&] { RecordReplayFrame(dt); },
                                      [&] { PreUpdate(dt); },
                                      [&] { level->FrameUpdate(dt); },
                                      [&] { level->FirstLateUpdate(dt); },
                                      [&] { level->SecondLateUpdate(dt); },
                                      [&] { StepEngine([&] { m_physics->Update(dt); }); },
                                      [&] { StepEngine([&] { m_collision->Update(dt); }); },
                                      [&] { PostCollision(dt); },
                                      [&] { StepEngine([&] { m_physics->PostCollisionUpdate(dt); }); },
                                      [&] { m_network->UpdatePlayerDevices(); },
                                      // A hook it calls may shut the game down: not under its feet.
                                      [&] { StepEngine([&] { m_network->Update(dt); }); },
                                      [&] { RefreshOnlineSessions(); },
                                  });
    if (!stepped) {
        return;
    }
    level->UpdateGameObjectTransformations();
    m_sceneGraph->UpdateAsCurrent(dt);
    if (level->GetClearBackBuffer()) {
        m_sceneGraph->ClearScreen(level->GetClearColor());
    }
    level->RenderViewports(*m_sceneGraph);
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

bool Game::EndCurrentLevel() {
    const Core::RefPtr<Level> old = m_level;
    const auto onOld = [&old](void (Level::*step)()) {
        return [&old, step] {
            if (old) {
                (old.Get()->*step)();
            }
        };
    };
    // Each hook may shut the game down: the teardown stops there.
    return RunWhile([this] { return !m_shutDown; },
                    {[this] {
                         if (m_hud != nullptr) {
                             m_hud->Clear();
                         }
                     },
                     onOld(&Level::End), onOld(&Level::OnEnd), onOld(&Level::Shutdown), [this] {
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
                     }});
}

void Game::AdoptPhysicsEngine(Physics2D::PhysicsEngine* engine) {
    engine->AddReference();
    m_physics->Release();
    m_physics = engine;
    ++g_physicsEpoch;
}

void Game::ChangeLevelNow() {
    // An engine stepping keeps its entries until its step is over.
    if (m_levelChangePending == 0 || m_shutDown || m_engineSteps != 0) {
        return;
    }
    const Core::RefPtr<LevelFactory> factory = m_factory;
    Core::RefPtr<Level> level;
    if (!EndCurrentLevel()) {
        return;
    }
    RunWhile([this] { return !m_shutDown; },
             {[this, &factory] {
                  m_currentLevel = m_pendingLevel;
                  factory->OnLevelChanged();
              },
              [this] {
                  if (m_network->IsNetworkGame()) {
                      m_network->ClearNetworkObjects();
                  }
              },
              [this, &level] {
                  GameObject::SetIdCounter(0);
                  m_level = BuildLevel(m_currentLevel);
                  level = m_level;
              },
              [&level] {
                  if (level) {
                      level->OnStart();
                  }
              },
              [this] {
                  m_levelChangePending = 0;
                  if (m_network->IsNetworkGame() && !m_network->IsHost()) {
                      if (const TunPlayer* player = m_network->GetLocalPlayer()) {
                          std::uint8_t payload[4];
                          os::StoreU32LE(payload, player->GetID());
                          m_network->SendToGroup(kClientJoinedLevelPacket, payload, 4, nullptr, true);
                      }
                  }
                  m_lastFrameTime = Core::GetMilliseconds();
              }});
}

void Game::Shutdown() {
    if (m_shutDown) {
        return;
    }
    // An engine is not destroyed under its own step: the shut-down follows it.
    if (m_engineSteps != 0) {
        m_shutdownRequested = true;
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
    Lua::Host::Close();
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
