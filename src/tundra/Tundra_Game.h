#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "engine/Engine_RenderingApplication.h"
#include "engine/Engine_SceneGraph.h"
#include "network/Network_TunBroadcast.h"
#include "tundra/Tundra_Level.h"
#include "tundra/Tundra_LevelFactory.h"
#include "tundra/Tundra_ReplayFrame.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

class SoundEngine;
namespace Collision2D {
class CollisionActor;
class CollisionEngine;
}  // namespace Collision2D
namespace Physics2D {
class PhysicsEngine;
}
namespace GUI {
class HUD;
}

namespace Tundra {

class GameObject;
class NetMessage;
class TunNet;
class TunPlayer;

// The application core of a level-based game: the current level and the
// factory that builds levels, the scene graph, the collision, physics and
// sound engines, the network front end and the HUD, one update per frame in
// a fixed order, and requests carried out between frames. One instance at a
// time, reachable through GetInstance while it lives.
class Game : public Engine::RenderingApplication {
public:
    // The level is not built here: the first Frame builds it.
    Game(LevelFactory* factory, const Engine::StartupSettings& settings, std::uint32_t startingLevel);
    ~Game() override;

    // Null when no game lives.
    static Game* GetInstance();
    static Core::String GetDirectory();
    static Core::String GetExecutableName();
    // The name without a trailing ".exe" (byte for byte).
    static Core::String GetExecutableNameNoExtension();

    // Generations of the engines: each changes whenever its engine is made,
    // cleared, reset or destroyed, so that an object can tell whether an id
    // it keeps still names its own entry.
    static std::uint64_t GetCollisionEpoch();
    static std::uint64_t GetPhysicsEpoch();

    void PushToLua(lua_State* state) const override;
    // The game state stream: collision assets and engine, the level, the
    // frame and level fields, the HUD, the title, the listener, the id
    // counter and the physics engine. Load reads into a game cleared for it
    // (ClearForLoad) and fails the stream, taking nothing over, unless every
    // object's collision and physics ids each name a live entry of their own.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    void Frame() override;
    // Ends the level and destroys the engines, once. Asked for during an
    // engine's step (a collision filter, a body callback), it follows the
    // step; the update and the level change stop at the hook that asked.
    void Shutdown() override;
    // The frame update; dt in seconds.
    void Update(float dt);

    // Hooks of the concrete game.
    virtual void OnLevelStarted() {}
    virtual void OnLevelEnded() {}
    virtual void PreUpdate(float dt) {}
    // Whether a contact between a and b (null for a static shape) counts,
    // with which restitution and friction.
    virtual bool CollisionFilter(GameObject* a, GameObject* b, float& restitution, float& friction);
    virtual void PostCollision(float dt) {}
    virtual bool OnPlayerJoinRequest(TunPlayer* player) { return true; }
    virtual void OnJoinAnswer(int answer) {}
    virtual void OnJoinedSession() {}
    virtual void OnSessionHosted() {}
    virtual void OnSessionEnded() {}
    // A player was added to the session's players; a player leaves.
    virtual void OnNetworkEventKind4(TunPlayer* player) {}
    virtual void OnNetworkEventKind5(TunPlayer* player) {}
    virtual void OnTextMessage(TunPlayer* sender, const Core::String& text) {}
    // data is null when size is 0; it lives only during the call.
    virtual void OnDataMessage(TunPlayer* sender, std::uint32_t code, std::uint32_t size, const void* data) {}

    // The physics engine's contact-list callback: collision results of every
    // body's owner become contacts through CollisionFilter.
    static void ContactCallback(Physics2D::PhysicsEngine* engine, void* game);
    // Cleared before every filter call; a filter sets it to make the
    // current pair's contacts one-sided.
    static void SetOneWayCollision(bool oneWay);
    static bool GetOneWayCollision();

    // Level requests, carried out at the next frame's update; a later
    // request replaces an earlier one; out-of-range requests are ignored.
    void GoToLevel(std::uint32_t index);
    void GoToLevelByName(const Core::String& name);
    void GoToNextLevel();
    void GoToPreviousLevel();
    void GoToLastLevel();
    void GoToFirstLevel();
    void GoToStartingLevel();
    void RestartLevel();
    std::uint32_t GetLevelsCount() const;
    // Carries out a pending level change; during an engine's step it waits
    // for the next update.
    void ChangeLevelNow();
    bool IsLevelChangePending() const { return m_levelChangePending != 0; }

    // The game owns the actor from here until the level ends.
    void AddCollisionAssets(Collision2D::CollisionActor* actor);
    std::vector<Collision2D::CollisionActor*> GetCollisionAssets() const { return m_collisionAssets; }
    // Held until shut-down.
    void AddManagedObject(Core::Object* object, const Core::String& name);

    // Save, load and replay requests, carried out at the start of the next
    // update; a later request replaces the pending one. Names are plain file
    // names inside the "Saves" folder.
    void RequestSave(const Core::String& name);
    void RequestLoad(const Core::String& name);
    void ReplayRecordingStart(const Core::String& name);
    void ReplayRecordingStop();
    void ReplayStart(const Core::String& name);
    void ReplayStop();
    bool IsReplayRecording() const { return m_replayRecording != 0; }
    bool IsReplayPlaying() const { return m_replayPlaying != 0; }
    // Both empty the list first.
    void GetSavedGames(std::vector<Core::String>& names) const;
    void GetReplayFiles(std::vector<Core::String>& names) const;
    // Ends the level as a level change does, without building another.
    void ClearForLoad();
    // A fingerprint of the whole simulation state (both random generators
    // and the game state stream), for tests and diagnostics: equal states
    // give equal hashes, whatever the clock or a recording.
    std::uint64_t GetStateHash() const;
    // True while GetStateHash writes the state: what follows the sound
    // device's own clock (whether a sound still plays) is written as 0 then.
    static bool IsWritingStateHash();

    // Restarts networking as a client; the front end takes the network name
    // when it started.
    bool NetworkStart(const Core::String& networkName);
    // Only once networking runs ("NetworkStart" first): restarts it as a
    // host and opens a session.
    bool HostNetworkGame(const Core::String& name, const Core::String& text, const Core::String& second,
                         std::uint32_t playerCount);
    // The listener the front end is started with: turns its messages into
    // the hooks above. Only a join request's answer matters (true admits).
    static bool NetworkEventDispatch(NetMessage* message);
    // The sessions heard on the network whose network ID is the network
    // name, byte for byte; rebuilt every frame.
    const std::vector<TunBroadcast>& GetOnlineSessions() const { return m_onlineSessions; }

    void SetTitle(const Core::String& title);
    const Core::String& GetTitle() const { return m_title; }
    void SetIcon(const Core::String& file) { m_icon = file; }
    const Core::String& GetIcon() const { return m_icon; }
    // Clamped to [0, 10].
    void SetMasterVolume(float volume);
    float GetMasterVolume() const;

    Collision2D::CollisionEngine* GetCollisionEngine() const { return m_collision; }
    Physics2D::PhysicsEngine* GetPhysicsEngine() const { return m_physics; }
    SoundEngine* GetSoundEngine() const { return m_sound; }
    TunNet* GetNetworkEngine() const { return m_network; }
    Engine::SceneGraph* GetSceneGraph() const { return m_sceneGraph.Get(); }
    GUI::HUD* GetHUD() const { return m_hud; }
    Level* GetCurrentLevel() const { return m_level.Get(); }
    std::uint32_t GetCurrentLevelIndex() const { return m_currentLevel; }
    std::uint32_t GetStartingLevelIndex() const { return m_startingLevel; }
    std::uint32_t GetResolutionWidth() const { return m_width; }
    std::uint32_t GetResolutionHeight() const { return m_height; }
    double GetLastFrameDuration() const { return m_lastFrameDuration; }

protected:
    // Save, load and replay steps; the requests that fill them come with the
    // game-state stream.
    virtual void WriteReplayData();
    virtual void ReadReplayData();
    virtual void ProcessSaveLoad();
    virtual void PlayReplayFrame(float& dt);
    virtual void RecordReplayFrame(float dt);
    virtual void RefreshOnlineSessions();
    // At once, between frames only. Every failure is reported on the error
    // log with the file and the reason. A failed save keeps the previous file;
    // a failed load leaves the running game as it was.
    bool SaveStateTo(const Core::String& path);
    bool LoadStateFrom(const Core::String& path);
    // For a concrete game's Load, of an object it streams itself outside the
    // layers (after the framework's part): takes back the engine entries its
    // ids name, as the layers' objects do; false when they do not each name a
    // live entry that it alone claims. Making the objects it reads moves the
    // id counter, which it then sets back to what the framework's part left.
    static bool RelinkObject(GameObject& object);

private:
    // The factory's level; null when a hook of the build shut the game down.
    Core::RefPtr<Level> BuildLevel(std::uint32_t index);
    void BuildFirstLevel();
    // Runs the steps in order while going() holds; whether it still holds.
    static bool RunWhile(const std::function<bool()>& going, std::initializer_list<std::function<void()>> steps);
    // Runs an engine's step; a shut-down asked for meanwhile follows it.
    void StepEngine(const std::function<void()>& step);
    void FreeCollisionAssets();
    void DestroyEngines();
    void ReleaseManagedObjects();
    void RequestLevel(std::uint32_t index);
    // The level's end hooks, then the level and everything the engines held
    // for it let go; false when a hook shut the game down.
    bool EndCurrentLevel();
    // Refuses (with a report) requests in a network game and names that are
    // not plain file names, or too long to write when the request writes.
    bool AcceptsSaveRequest(const char* what, const Core::String& name, bool writes) const;
    // A network session ended (the listener's last message of it).
    void SessionEnded();
    // Takes the engine over from a stream in place of the current one.
    void AdoptPhysicsEngine(Physics2D::PhysicsEngine* engine);
    // Saved games: the generators, then the concrete game's Save. For a hash
    // (IsWritingStateHash), the frame duration and the recording flag are
    // written as 0.
    void WritePayload(Core::File& file) const;
    // Loads a whole payload into the game cleared for it, through the
    // concrete game's Load; false, with the reason, when it fails (the game
    // is then to be cleared again).
    bool LoadPayload(std::span<const std::uint8_t> payload, std::string& reason);
    void WriteState(Core::File& file, bool forHash) const;
    // What Load reads before it takes anything over.
    struct LoadedState;
    bool ReadState(Core::File& file, LoadedState& state);
    void TakeOver(LoadedState& state);
    // Hands every held object's bodies back to it; false when an object's
    // ids do not each name a live entry that it alone claims.
    bool RelinkObjects(const Level& level);
    // A recording's starting state is saved and at once loaded back, so that
    // the recording goes on from the same freshly loaded state its replay
    // starts from (what no stream holds, such as solver caches, would differ).
    static constexpr std::uint32_t kSaveRecordingStart = 5;
    void SaveRecordingStart();

    LuaScript* m_script = nullptr;
    std::vector<Core::RefPtr<Core::Object>> m_managedObjects;
    std::vector<Core::String> m_managedObjectNames;
    Core::RefPtr<LevelFactory> m_factory;
    std::vector<TunBroadcast> m_onlineSessions;
    Core::RefPtr<Engine::SceneGraph> m_sceneGraph;
    Collision2D::CollisionEngine* m_collision = nullptr;
    Physics2D::PhysicsEngine* m_physics = nullptr;
    SoundEngine* m_sound = nullptr;
    TunNet* m_network = nullptr;
    Core::RefPtr<Level> m_level;
    double m_lastFrameTime = 0.0;
    double m_lastFrameDuration = 0.0;
    std::uint32_t m_width = 0;
    std::uint32_t m_height = 0;
    std::uint32_t m_currentLevel = 0;
    std::uint32_t m_startingLevel = 0;
    std::uint32_t m_pendingLevel = 0;
    std::uint8_t m_levelChangePending = 0;
    std::uint32_t m_pendingOperation = 0;
    Core::String m_savePath;
    Core::String m_loadPath;
    std::vector<Collision2D::CollisionActor*> m_collisionAssets;
    std::uint8_t m_replayRecording = 0;
    std::uint8_t m_replayPlaying = 0;
    // Played and recorded frames and names apart: a replay watched during a
    // recording pauses it and leaves its frames and name as they were. Each
    // name becomes the full path of its data file once that is to be written
    // or read.
    std::vector<ReplayFrame> m_replayFrames;
    std::vector<ReplayFrame> m_recordedFrames;
    Core::String m_replayName;
    Core::String m_recordingName;
    std::uint32_t m_replayFrameCursor = 0;
    GUI::HUD* m_hud = nullptr;
    Core::String m_title;
    Core::String m_icon;
    // OnLevelStarted runs for the first level only.
    bool m_levelStarted = false;
    bool m_shutDown = false;
    // Engine steps running (the contact bridge runs inside the physics
    // engine's), and a shut-down asked for during one.
    std::uint32_t m_engineSteps = 0;
    bool m_shutdownRequested = false;
};

}  // namespace Tundra
