#include "mygame/MyGame_MenuWidget.h"

#include "tundra/Tundra_Game.h"
#include "tundra/Tundra_GameObject.h"

const Input::Mouse* MenuMouse() {
    const Tundra::Game* game = Tundra::Game::GetInstance();
    return game != nullptr ? game->GetMouse() : nullptr;
}

void FadeInAndShowPending(Tundra::GameObject& object, std::uint8_t& showPending, float dt) {
    object.SetOpacity(FadedInOpacity(object.GetOpacity(), dt));
    if (showPending != 0) {
        object.SetVisible(true);
        showPending = 0;
    }
}
