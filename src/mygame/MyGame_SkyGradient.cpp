#include "mygame/MyGame_SkyGradient.h"

#include "mygame/MyGame_StageTheme.h"

TUN_DEFINE_CLASS(SkyGradient)

void SkyGradient::OnStart() {
    Sprite::OnStart();
    SetCurrentAnimationIndex(GetCurrentStageTheme(), false);
}
