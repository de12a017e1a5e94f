#include "sound/Sound_JukeBoxLink.h"
#include "tundra/Tundra_Game.h"

namespace Tundra {
namespace {

// Looked up at each use: a jukebox may outlive the game and its engine.
SoundEngine* RunningGameEngine() {
    const Game* game = Game::GetInstance();
    return game != nullptr ? game->GetSoundEngine() : nullptr;
}

constexpr JukeBoxLink kLink{&RunningGameEngine, &Game::IsWritingStateHash};
const JukeBoxLinkRegistration s_jukeBoxLinkRegistration{kLink};

}  // namespace
}  // namespace Tundra
