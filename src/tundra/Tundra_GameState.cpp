#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_CollisionEngine.h"
#include "core/Core_ErrorLog.h"
#include "core/Core_File.h"
#include "core/Core_HashingFile.h"
#include "core/Core_MemoryFile.h"
#include "core/Core_MersenneTwister.h"
#include "gui/GUI_HUD.h"
#include "os/OS_ByteOrder.h"
#include "os/OS_Random.h"
#include "physics/Physics_PhysicsEngine.h"
#include "tundra/Tundra_Camera.h"
#include "tundra/Tundra_Game.h"

#include <array>

namespace Tundra {

struct Game::LoadedState {
    Core::RefPtr<Level> level;
    double frameDuration = 0.0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t currentLevel = 0;
    std::uint32_t startingLevel = 0;
    std::uint32_t pendingLevel = 0;
    std::uint8_t levelChangePending = 0;
    std::uint8_t oneWayCollision = 0;
    std::uint8_t replayRecording = 0;
    Core::String title;
    std::uint32_t idCounter = 0;
    std::uint32_t contactCallbackSet = 0;
    std::uint32_t callbackDataSet = 0;
};

namespace {

bool IsFlag(std::uint32_t value) { return value <= 1; }

bool g_writingStateHash = false;

// The C-runtime generator's word, then the game generator's words and index.
constexpr std::size_t kGeneratorBytes = 4 + 4 * Core::MersenneTwister::kStateSize + 4;

}  // namespace

void Game::Save(Core::File& file) const {
    // Without engines there is no state to write.
    if (m_shutDown) {
        file.SetFailed();
        return;
    }
    WriteState(file, IsWritingStateHash());
}

void Game::WriteState(Core::File& file, bool forHash) const {
    file.WriteU32(static_cast<std::uint32_t>(m_collisionAssets.size()));
    for (const Collision2D::CollisionActor* actor : m_collisionAssets) {
        actor->Save(file);
    }
    m_collision->Save(file);
    file << m_level;
    file.WriteF64(forHash ? 0.0 : m_lastFrameDuration);
    file.WriteU32(m_width);
    file.WriteU32(m_height);
    file.WriteU32(m_currentLevel);
    file.WriteU32(m_startingLevel);
    file.WriteU32(m_pendingLevel);
    file.WriteU8(m_levelChangePending);
    file.WriteU8(GetOneWayCollision() ? 1 : 0);
    file.WriteU8(forHash ? 0 : m_replayRecording);
    if (m_hud != nullptr) {
        m_hud->WriteInformation(file);
    }
    file << m_title;
    Camera::SaveActiveListener(file);
    file.WriteU32(GameObject::GetIdCounter());
    file.WriteU32(m_physics->GetContactListUpdate() == &ContactCallback ? 1 : 0);
    file.WriteU32(m_physics->GetContactListUpdateData() == static_cast<const void*>(this) ? 1 : 0);
    file << static_cast<const Core::Object*>(m_physics);
}

void Game::Load(Core::File& file) {
    LoadedState state;
    if (ReadState(file, state)) {
        TakeOver(state);
    } else {
        file.SetFailed();
    }
}

bool Game::ReadState(Core::File& file, LoadedState& state) {
    if (m_shutDown) {
        return false;
    }
    std::uint32_t assets = 0;
    file.ReadU32(assets);
    // One by one: a hostile count fails when the bytes run out.
    for (std::uint32_t i = 0; i < assets && !file.HasFailed(); ++i) {
        auto* actor = new Collision2D::CollisionActor;
        m_collisionAssets.push_back(actor);
        actor->Load(file);
    }
    m_collision->Load(file);
    file >> state.level;
    // The objects' scripts run as they are read, and may end the game.
    if (m_shutDown) {
        return false;
    }
    file.ReadF64(state.frameDuration);
    file.ReadU32(state.width);
    file.ReadU32(state.height);
    file.ReadU32(state.currentLevel);
    file.ReadU32(state.startingLevel);
    file.ReadU32(state.pendingLevel);
    file.ReadU8(state.levelChangePending);
    file.ReadU8(state.oneWayCollision);
    file.ReadU8(state.replayRecording);
    if (m_hud != nullptr) {
        m_hud->ReadInformation(file);
    }
    file >> state.title;
    Camera::LoadActiveListener(file);
    file.ReadU32(state.idCounter);
    file.ReadU32(state.contactCallbackSet);
    file.ReadU32(state.callbackDataSet);
    Core::RefPtr<Physics2D::PhysicsEngine> physics;
    file >> physics;
    const std::uint32_t levels = GetLevelsCount();
    if (file.HasFailed() || !state.level || !physics || state.currentLevel >= levels ||
        state.startingLevel >= levels || state.pendingLevel >= levels || !IsFlag(state.levelChangePending) ||
        !IsFlag(state.oneWayCollision) || !IsFlag(state.replayRecording) || !IsFlag(state.contactCallbackSet) ||
        !IsFlag(state.callbackDataSet)) {
        return false;
    }
    AdoptPhysicsEngine(physics.Get());
    m_physics->SetContactListUpdate(state.contactCallbackSet != 0 ? &ContactCallback : nullptr);
    m_physics->SetContactListUpdateData(state.callbackDataSet != 0 ? this : nullptr);
    return RelinkObjects(*state.level);
}

bool Game::RelinkObjects(const Level& level) {
    std::vector<GameObject*> objects;
    for (std::uint32_t i = 0; i < level.GetLayersCount(); ++i) {
        level.GetLayer(i)->GetHeldGameObjects(objects);
        for (GameObject* object : objects) {
            if (!RelinkObject(*object)) {
                return false;
            }
        }
    }
    return true;
}

bool Game::RelinkObject(GameObject& object) {
    if (object.m_cleanedUp) {
        return true;
    }
    // Its collision entry was taken as it was read; its body only now when
    // the physics engine came after it.
    object.ClaimEngineEntries();
    return object.LiveCollisionId() == object.m_collisionId && object.LivePhysicsId() == object.m_physicsId;
}

void Game::TakeOver(LoadedState& state) {
    m_level = state.level;
    m_lastFrameDuration = state.frameDuration;
    m_width = state.width;
    m_height = state.height;
    m_currentLevel = state.currentLevel;
    m_startingLevel = state.startingLevel;
    m_pendingLevel = state.pendingLevel;
    m_levelChangePending = state.levelChangePending;
    SetOneWayCollision(state.oneWayCollision != 0);
    m_replayRecording = state.replayRecording;
    SetTitle(state.title);
    GameObject::SetIdCounter(state.idCounter);
}

void Game::WritePayload(Core::File& file) const {
    // The generators' words in one piece: a hash is taken every frame.
    const Core::MersenneTwister::State generator = Core::GameRandomGenerator().GetState();
    std::array<std::uint8_t, kGeneratorBytes> bytes;
    os::StoreU32LE(bytes.data(), os::GetRandState());
    for (std::size_t i = 0; i < generator.words.size(); ++i) {
        os::StoreU32LE(&bytes[4 + 4 * i], generator.words[i]);
    }
    os::StoreU32LE(&bytes[kGeneratorBytes - 4], generator.index);
    file.Write(bytes.data(), kGeneratorBytes);
    // Through the concrete game, which adds its own part.
    Save(file);
}

bool Game::LoadPayload(std::span<const std::uint8_t> payload, std::string& reason) {
    if (payload.size() < kGeneratorBytes) {
        reason = "bad generator state";
        return false;
    }
    const std::uint32_t randState = os::LoadU32LE(payload.data());
    Core::MersenneTwister::State generator;
    for (std::size_t i = 0; i < generator.words.size(); ++i) {
        generator.words[i] = os::LoadU32LE(&payload[4 + 4 * i]);
    }
    generator.index = os::LoadU32LE(&payload[kGeneratorBytes - 4]);
    if (generator.index > Core::MersenneTwister::kStateSize) {
        reason = "bad generator state";
        return false;
    }
    const std::span<const std::uint8_t> stream = payload.subspan(kGeneratorBytes);
    Core::MemoryFile file(stream.data(), static_cast<std::uint32_t>(stream.size()));
    // Through the concrete game, which reads its own part; what it took over
    // goes with the next clear when the rest is refused.
    Load(file);
    if (m_shutDown || file.HasFailed()) {
        reason = m_shutDown                           ? "the game ended during the load"
                 : !file.GetUnknownClass().empty() ? "unknown class " + Core::PrintableForLog(file.GetUnknownClass())
                                                   : "bad game state";
        return false;
    }
    std::uint8_t extra = 0;
    file.ReadU8(extra);
    if (!file.HasFailed()) {
        reason = "trailing bytes";
        return false;
    }
    // Last: making the objects may have drawn numbers.
    os::SeedRand(randState);
    Core::GameRandomGenerator().SetState(generator);
    return true;
}

bool Game::IsWritingStateHash() { return g_writingStateHash; }

std::uint64_t Game::GetStateHash() const {
    Core::HashingFile file;
    if (!m_shutDown) {
        g_writingStateHash = true;
        WritePayload(file);
        g_writingStateHash = false;
    }
    return file.GetHash();
}

}  // namespace Tundra
