#pragma once

#include "Fuzz_Harness.h"

#include "core/Core_MemoryFile.h"
#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_GameObject.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"

#include <array>
#include <initializer_list>
#include <string_view>

// Shared by the harnesses that read framework objects into a running game:
// the input's split into a choice byte and a stream, the game itself, and
// the seeds, which are that byte followed by objects as a save writes them.
namespace fuzz {

constexpr float kFrame = 0.016f;

// The first byte chooses what the harness does; the rest is the stream read
// (the file keeps its own copy).
struct ChoiceAndStream {
    ChoiceAndStream(const std::uint8_t* data, std::size_t size)
        : choice(size > 0 ? data[0] : 0),
          file(size > 0 ? data + 1 : nullptr, static_cast<std::uint32_t>(size > 0 ? size - 1 : 0)) {}

    std::uint8_t choice;
    Core::MemoryFile file;
};

inline Bytes BytesOf(const Core::MemoryFile& file) { return Bytes(file.GetData(), file.GetData() + file.GetSize()); }

inline void AddStreamSeed(Seeds& seeds, std::string_view name, std::uint8_t choice,
                          std::initializer_list<const Core::Object*> objects) {
    Core::MemoryFile file;
    file.WriteU8(choice);
    for (const Core::Object* object : objects) {
        file << object;
    }
    seeds.Add(name, BytesOf(file));
}

// An object of the class the choice picks among Classes (its value modulo
// their count), as an owning reference.
template <class Result, class... Classes>
Core::RefPtr<Result> ReadChosen(Core::File& file, std::uint8_t choice) {
    const std::size_t chosen = choice % sizeof...(Classes);
    std::size_t index = 0;
    Core::RefPtr<Result> read;
    ((index++ == chosen ? void(read = file.ReadObjectAs<Classes>(Core::File::Reference::Owning)) : void()), ...);
    return read;
}

// Up to two objects from one stream, the second read only while the stream
// holds: it may name objects of the first by id.
template <class ReadOne>
std::array<Core::RefPtr<Core::Object>, 2> ReadTwo(Core::File& file, const ReadOne& readOne) {
    std::array<Core::RefPtr<Core::Object>, 2> results;
    for (std::size_t read = 0; read < results.size() && !file.HasFailed(); ++read) {
        results[read] = readOne();
    }
    return results;
}

// Every level of the game is the one MakeLevel builds.
template <Tundra::Level* (*MakeLevel)()>
struct OneLevelFactory : Tundra::LevelFactory {
    std::uint32_t GetLevelsCount() const override { return 1; }
    Tundra::Level* CreateLevel(std::uint32_t) override { return MakeLevel(); }
};

// A game of MakeLevel's level, past its first frame.
template <Tundra::Level* (*MakeLevel)()>
Core::RefPtr<Tundra::Game> StartedGame() {
    Core::RefPtr<Tundra::Game> game =
        TUN_NEW(Tundra::Game, TUN_NEW(OneLevelFactory<MakeLevel>), Engine::StartupSettings{64, 48}, 0);
    game->Frame();
    return game;
}

// One game for the whole run (making one per input would cost most of the
// time); every call starts it on a freshly built level.
template <Tundra::Level* (*MakeLevel)()>
Tundra::Game& RestartedGame() {
    static Tundra::Game* game = [] {
        const Core::RefPtr<Tundra::Game> made = StartedGame<MakeLevel>();
        made->AddReference();
        return made.Get();
    }();
    game->RestartLevel();
    game->ChangeLevelNow();
    return *game;
}

// Stops early once the game has no level (it was shut down).
inline void Step(Tundra::Game& game, int frames) {
    for (int i = 0; i < frames && game.GetCurrentLevel() != nullptr; ++i) {
        game.Update(kFrame);
    }
}

// The object joins the layer with a clone beside it; the clone is returned.
inline Core::RefPtr<Core::Object> JoinWithClone(Tundra::Layer& layer, Tundra::GameObject& object) {
    layer.AddGameObject(&object);
    Core::RefPtr<Core::Object> clone = object.Clone();
    layer.AddGameObject(static_cast<Tundra::GameObject*>(clone.Get()));
    return clone;
}

// What was read leaves the running game: its objects are destroyed and let
// go of between steps, and the level restarts before the game shuts down.
template <class StepFrames>
void LeaveAndShutDown(Tundra::Game& game, std::array<Core::RefPtr<Core::Object>, 2>& results, const StepFrames& step) {
    step(game, 3);
    for (const Core::RefPtr<Core::Object>& result : results) {
        if (auto* object = dynamic_cast<Tundra::GameObject*>(result.Get())) {
            object->Destroy();
        }
    }
    for (Core::RefPtr<Core::Object>& result : results) {
        result = nullptr;
    }
    step(game, 3);
    game.RestartLevel();
    step(game, 2);
    game.Shutdown();
}

}  // namespace fuzz
