#include "mygame/MyGame_BossProjectile.h"
#include "mygame/MyGame_StateBuilder.h"

// The marker's bob: down from its home one unit a frame to the bob's depth,
// back up, and again. Each step is per frame, not per second, and each exit
// lands exactly on its end.
BossProjectile::StateMachine* BossProjectile::BuildBossAttWarn(BossProjectile* owner) {
    StateMachine::StateList states;
    AppendState<BossProjectile>(states, "GO_UP", 0.0f, nullptr, &BossProjectile::Rise, &BossProjectile::SettleAtTop)
        ->AddTransition(kGoDown, &BossProjectile::HasRisen, 0.0f);
    AppendState<BossProjectile>(states, "GO_DOWN", 0.0f, nullptr, &BossProjectile::Sink,
                                &BossProjectile::SettleAtBottom)
        ->AddTransition(kGoUp, &BossProjectile::HasSunk, 0.0f);
    StateMachine* machine = TUN_NEW(StateMachine, states, kGoDown, 0.0f, owner);
    machine->SetName("BossAttWarn");
    return machine;
}

void BossProjectile::Rise(float) {
    if (GetPositionY() < m_homePosition.y) {
        SetPositionY(GetPositionY() + 1.0f);
    }
}

void BossProjectile::SettleAtTop(float) { SetPositionY(m_homePosition.y); }

void BossProjectile::Sink(float) {
    if (GetPositionY() > m_homePosition.y - kBobDepth) {
        SetPositionY(GetPositionY() - 1.0f);
    }
}

void BossProjectile::SettleAtBottom(float) { SetPositionY(m_homePosition.y - kBobDepth); }

bool BossProjectile::HasRisen(float) { return GetPositionY() >= m_homePosition.y; }

bool BossProjectile::HasSunk(float) { return GetPositionY() <= m_homePosition.y - kBobDepth; }
