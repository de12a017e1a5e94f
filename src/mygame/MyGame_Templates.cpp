#include "mygame/MyGame_Templates.h"

const char* const kTemplateNames[kTemplateCount] = {
    "BulletTemplate",       "ProjectileTemplate",   "FlyingRangedEnemyTemplate", "WalkingRangedEnemyTemplate",
    "RollingSpikeTemplate", "HpBarTemplate",        "CloudTemplate",             "BossProjTemplate",
    "FireDebuffTemplate",   "ButtonTemplate",       "CenteredTextTemplate",      "ScoreTextTemplate",
    "EnemyDropTemplate",    "FrameBGTemplate",      "FramePipeTemplate",         "FrameCornerTemplate",
    "FadingTextTemplate",
};
