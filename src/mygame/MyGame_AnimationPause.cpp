#include "mygame/MyGame_AnimationPause.h"

#include "tundra/Tundra_Sprite.h"

void PauseAnimation(Tundra::Sprite& sprite, bool paused, std::uint8_t& wasPlaying) {
    if (paused) {
        wasPlaying = sprite.IsPlaying() ? 1 : 0;
        if (wasPlaying != 0) {
            sprite.Pause();
        }
    } else if (wasPlaying != 0) {
        sprite.Play(true);
    }
}
