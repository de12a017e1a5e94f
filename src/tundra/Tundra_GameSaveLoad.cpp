#include "tundra/Tundra_Game.h"

namespace Tundra {

void Game::RequestSave(const Core::String&) {}

void Game::RequestLoad(const Core::String&) {}

void Game::GetSavedGames(std::vector<Core::String>& names) const { names.clear(); }

}  // namespace Tundra
