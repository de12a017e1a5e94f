#include "mygame/MyGame_ShotRules.h"

#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_GamePlayer.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_RunningStage.h"
#include "tundra/Tundra_CollisionQueries.h"

const GamePlayer* OpenPlayer() {
    const auto* player = dynamic_cast<const GamePlayer*>(Globals().player);
    return player != nullptr && !(player->GetInvulnerableTime() > 0.0f) ? player : nullptr;
}

void DamageStagePlayer(float amount) {
    if (GameLevel* stage = GetRunningStage()) {
        stage->DamagePlayer(amount);
    }
}

bool HurtOpenPlayerOnContact(const Collision2D::DynamicObject* shot, float amount) {
    if (!Tundra::IsCollidedWithSprite(shot, "Player", true) || OpenPlayer() == nullptr) {
        return false;
    }
    DamageStagePlayer(amount);
    return true;
}
