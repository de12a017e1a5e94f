#include "tundra/Tundra_Game.h"

namespace Tundra {

void Game::ReplayRecordingStart(const Core::String&) {}

void Game::ReplayRecordingStop() {}

void Game::ReplayStart(const Core::String&) {}

void Game::ReplayStop() {}

void Game::GetReplayFiles(std::vector<Core::String>& names) const { names.clear(); }

}  // namespace Tundra
