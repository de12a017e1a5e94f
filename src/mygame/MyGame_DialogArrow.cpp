#include "mygame/MyGame_DialogArrow.h"

#include <cmath>

TUN_DEFINE_CLASS(DialogArrow)

namespace {

constexpr float kLowest = -340.0f;
constexpr float kHighest = -330.0f;

}  // namespace

DialogArrow::DialogArrow(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations)
    : Sprite(animations) {}

// Eases down toward its lowest point and springs back up once close.
void DialogArrow::Update(float dt) {
    Sprite::Update(dt);
    const float y = GetPositionY();
    const float d = kLowest - y;
    if (std::fabs(d) < 1.0f) {
        SetPositionY(kHighest);
    } else {
        SetPositionY(y + d * dt * 5.0f);
    }
}
