#pragma once

#include "core/Core_RefPtr.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_LevelContent.h"

#include <cstdint>
#include <memory>

// The game a network driver runs: Emberline on its own levels, which also
// registers the driver's replication template as each level is built and
// prints every network event its hooks receive.
namespace netdriver {

// The template's name on every machine.
inline constexpr const char* kTemplateName = "DriverDot";

// The game's content, plus the driver's template: a plain sprite registered
// through the "TunNet" table as the level's first layer is built, so that it
// exists before a client asks for the host's snapshot.
class DriverContent : public LevelContent {
public:
    explicit DriverContent(std::unique_ptr<LevelContent> game) : m_game(std::move(game)) {}

    void LoadCollisionActors(MyLevelFactory& factory) override { m_game->LoadCollisionActors(factory); }
    void BuildLayer(MyLevelFactory& factory, std::uint32_t level, std::uint32_t layer) override;
    void ForgetObjects() override { m_game->ForgetObjects(); }

private:
    std::unique_ptr<LevelContent> m_game;
};

// Each hook prints one "event KIND ..." line, then does what the game does.
class DriverGame : public MyGame {
public:
    using MyGame::MyGame;

    bool OnPlayerJoinRequest(Tundra::TunPlayer* player) override;
    void OnJoinAnswer(int answer) override;
    void OnJoinedSession() override;
    void OnSessionHosted() override;
    void OnSessionEnded() override;
    void OnNetworkEventKind4(Tundra::TunPlayer* player) override;
    void OnNetworkEventKind5(Tundra::TunPlayer* player) override;
    void OnTextMessage(Tundra::TunPlayer* sender, const Core::String& text) override;
    void OnDataMessage(Tundra::TunPlayer* sender, std::uint32_t code, std::uint32_t size, const void* data) override;
};

// The driver's game over the game's content, starting on the intro; null
// when it cannot be made.
Core::RefPtr<DriverGame> MakeDriverGame();

}  // namespace netdriver
