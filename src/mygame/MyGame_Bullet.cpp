#include "mygame/MyGame_Bullet.h"

#include "core/Core_File.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_AnimationPause.h"
#include "mygame/MyGame_Enemy.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_WeaponSprite.h"
#include "tundra/Tundra_CollisionQueries.h"
#include "tundra/Tundra_Layer.h"

TUN_DEFINE_CLASS(Bullet)

namespace {

// The collision circle every shot carries.
constexpr std::uint32_t kShotCircleId = 16;
constexpr float kRoundDamage = 0.4f;
constexpr float kBeamShotDamage = 0.5f;
// Impacts drift back with the ground and up a little.
constexpr float kImpactRiseSpeed = 20.0f;
constexpr float kImpactDriftSpeed = 100.0f;

bool IsOutside(const Vector2D& p, float left, float right, float bottom, float top) {
    return p.x < left || p.x > right || p.y > top || p.y < bottom;
}

}  // namespace

Bullet::Bullet(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Sprite(animations) {}

Bullet::Bullet(const Bullet& other) : Sprite(other), m_wasPlaying(other.m_wasPlaying) {}

void Bullet::Save(Core::File& file) const {
    Sprite::Save(file);
    file.WriteU8(m_wasPlaying);
}

void Bullet::Load(Core::File& file) {
    Sprite::Load(file);
    std::uint8_t wasPlaying = 0;
    file.ReadU8(wasPlaying);
    if (wasPlaying > 1) {
        file.SetFailed();
    }
    if (!file.HasFailed()) {
        m_wasPlaying = wasPlaying;
    }
}

void Bullet::Update(float dt) {
    Sprite::Update(dt);
    if (Globals().paused != 0 || IsDestroyRequested()) {
        return;
    }
    const int kind = GetCurrentAnimationIndex();
    if (kind != kBeam && IsOutside(GetPosition(), -50.0f, 1100.0f, -50.0f, 800.0f)) {
        Destroy();
        return;
    }
    switch (kind) {
        case kRound:
            UpdateFlying(WeaponSprite::kRifle, kRoundImpact);
            break;
        case kPellet:
            UpdateFlying(WeaponSprite::kScatterGun, kPelletImpact);
            break;
        case kRoundImpact:
        case kPelletImpact:
            SetPosition({GetPositionX() - dt * kImpactDriftSpeed, GetPositionY() + dt * kImpactRiseSpeed});
            if (IsEndOfAnimation()) {
                Destroy();
            }
            break;
        case kBeamShot:
            UpdateBeamShot();
            break;
        case kBeam:
            if (IsEndOfAnimation()) {
                Destroy();
            }
            break;
        default:
            break;
    }
}

// A round stops at the first tile or living enemy it touches.
void Bullet::UpdateFlying(std::uint32_t weaponBit, int impact) {
    const Collision2D::DynamicObject* collision = GetCollisionObject();
    if (Tundra::IsCollidedWithSprite(collision, "MapTileColliderTemplate", true)) {
        TurnIntoImpact(impact);
        return;
    }
    if (!Tundra::IsMyCircleCollided(collision, kShotCircleId) ||
        Tundra::GetNumberOfCollidedSprites(collision, true) == 0) {
        return;
    }
    auto* enemy = dynamic_cast<Enemy*>(Tundra::GetCollidedSprite(collision, 0, true));
    if (enemy == nullptr || !(enemy->GetHealth() > 0.0f)) {
        return;
    }
    // Held: the hit may end the enemy, whose death may touch this bullet.
    const Core::RefPtr<Bullet> self(GetReferenceCount() > 0 ? this : nullptr);
    enemy->TakeDamage(kRoundDamage, static_cast<std::int32_t>(weaponBit));
    TurnIntoImpact(impact);
}

// The beam gun's shot goes through, hurting every enemy it overlaps each
// frame, until it leaves the screen.
void Bullet::UpdateBeamShot() {
    if (IsOutside(GetPosition(), 0.0f, 1100.0f, 0.0f, 800.0f)) {
        SetVisible(false);
        Destroy();
        return;
    }
    const Collision2D::DynamicObject* collision = GetCollisionObject();
    if (!Tundra::IsMyCircleCollided(collision, kShotCircleId)) {
        return;
    }
    const Core::RefPtr<Bullet> self(GetReferenceCount() > 0 ? this : nullptr);
    // By index, re-reading the count: a death may change the records.
    for (int i = 0; i < Tundra::GetNumberOfCollidedSprites(GetCollisionObject(), true); ++i) {
        if (auto* enemy = dynamic_cast<Enemy*>(Tundra::GetCollidedSprite(GetCollisionObject(), i, true))) {
            enemy->TakeDamage(kBeamShotDamage, static_cast<std::int32_t>(WeaponSprite::kBeamGun));
        }
    }
}

void Bullet::TurnIntoImpact(int impact) {
    SetCurrentAnimationIndex(impact, true);
    SetLoop(false);
    Play(true);
    SetVelocity({0.0f, 0.0f});
}

void Bullet::SetPaused(bool paused) { PauseAnimation(*this, paused, m_wasPlaying); }

Bullet* SpawnBullet(const Vector2D& position, const Vector2D& velocity) {
    const MyGame* game = GetGame();
    Tundra::Layer* world = game != nullptr ? game->GetWorldLayer() : nullptr;
    if (world == nullptr) {
        return nullptr;
    }
    // Held while it is placed: a clone of another class goes again here.
    const Core::RefPtr<Tundra::GameObject> clone(game->CloneTemplate(kBulletTemplate));
    auto* bullet = dynamic_cast<Bullet*>(clone.Get());
    if (bullet == nullptr) {
        return nullptr;
    }
    world->AddGameObject(bullet);
    bullet->SetVisible(true);
    bullet->SetPosition(position);
    bullet->SetOldPosition(position);
    bullet->SetVelocity(velocity);
    return bullet;
}
