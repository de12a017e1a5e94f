#include "mygame/generated/MyGame_ContentMenu.h"

#include <utility>

LevelRows IntroLevelRows() {
    // Fully transparent until the intro fades each in.
    LayerRows hud{
        SpriteRow{.name = "HwLogo", .make = "Tundra::Sprite", .animations = {{"HwLogo", 1, 1, Delays(1)}},
                  .actorIndex = 0, .collider = ColliderSettings{}, .opacity = 0.0f},
        SpriteRow{.name = "TdLogo", .make = "Tundra::Sprite", .animations = {{"TdLogo", 1, 1, Delays(1)}},
                  .actorIndex = 1, .collider = ColliderSettings{}, .opacity = 0.0f},
        SpriteRow{.name = "QuorLogo", .make = "Tundra::Sprite",
                  .animations = {{"SquealingQuor", 2, 1, Delays(2, 0.75f)}}, .actorIndex = 2,
                  .collider = ColliderSettings{}, .opacity = 0.0f},
    };
    return {std::move(hud), {}, {}};
}
