#include "mygame/MyGame_MenuWidget.h"

#include "tundra/Tundra_Game.h"

const Input::Mouse* MenuMouse() {
    const Tundra::Game* game = Tundra::Game::GetInstance();
    return game != nullptr ? game->GetMouse() : nullptr;
}
