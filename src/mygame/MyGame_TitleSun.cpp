#include "mygame/MyGame_TitleSun.h"

TitleSun::TitleSun(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Sprite(animations) {}

// Every start rises first.
void TitleSun::OnStart() {
    Sprite::OnStart();
    m_useEndPath = false;
}

TUN_DEFINE_CLASS(TitleSun)
