#include "mygame/MyGame_AlpacaBoss.h"

#include "core/Core_File.h"
#include "mygame/MyGame_BossHp.h"
#include "mygame/MyGame_BossProjectile.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_Player.h"
#include "mygame/MyGame_Random.h"
#include "mygame/MyGame_RunningStage.h"
#include "mygame/MyGame_StreamLinks.h"
#include "mygame/MyGame_WidgetStream.h"
#include "tundra/Tundra_FindObject.h"

#include <cmath>

TUN_DEFINE_CLASS(AlpacaBoss)

namespace {

constexpr const char* kEyeName = "AlpacaEye";

constexpr float kStartCooldown = 0.7f;
constexpr std::int32_t kStartSalvoLimit = 3;
constexpr float kStartProjectileDepth = 4.0f;
// Each salvo lies a little above the last, so that none tie in the draw
// order; a volley's end brings them back down.
constexpr float kRestingProjectileDepth = 3.5f;
constexpr float kOpeningDepthStep = 0.0001f;
constexpr float kFightDepthStep = 0.001f;
constexpr float kRest = 1.5f;

constexpr std::int32_t kOpeningSalvos = 90;
constexpr float kStandX = 900.0f;
// Above the ground the stage called the boss in on.
constexpr float kOpeningCentreRise = 171.0f;
constexpr float kStandRise = 217.0f;

constexpr int kAlpacaDeathAnimation = 1;
constexpr float kPhase2Health = 0.75f;
constexpr float kPhase3Health = 0.5f;

// RandomInt's ends, both included.
struct Spread {
    std::int32_t low;
    std::int32_t high;
};

// A warning marker, then a strike on it that lands once the marker is gone.
struct StrikePair {
    Spread x;
    Spread y;
    float warning;
    float strike;
};

struct Salvo {
    StrikePair a;
    StrikePair b;
};

constexpr Salvo kOpeningSalvo{{{-100, 100}, {-200, 200}, 0.2f, 0.1f}, {{-300, 300}, {-400, 400}, 0.2f, 0.1f}};

// By phase: the salvos grow longer and denser as health falls.
struct Phase {
    int eyeAnimation;
    std::int32_t salvoLimit;
    // One frame in `salvoOdds` places a salvo.
    std::int32_t salvoOdds;
    Salvo salvo;
};

constexpr Phase kPhases[] = {
    {0, 4, 6, {{{-100, 100}, {-30, 100}, 0.2f, 0.1f}, {{-300, 300}, {-50, 250}, 0.4f, 0.3f}}},
    {1, 7, 4, {{{-60, 60}, {-20, 80}, 0.2f, 0.1f}, {{-200, 200}, {-100, 200}, 0.3f, 0.2f}}},
    {2, 12, 4, {{{-100, 100}, {-10, 100}, 0.2f, 0.1f}, {{-300, 300}, {-150, 300}, 0.2f, 0.1f}}},
};

std::size_t PhaseIndex(float health) {
    if (health >= kPhase2Health) {
        return 0;
    }
    return health >= kPhase3Health ? 1 : 2;
}

// A link read from a stream names the level's object of that name.
bool IsPart(const Tundra::GameObject* part, const char* name) {
    return part == nullptr || (StaysInItsLayer(part) && part->GetName() == name);
}

// A marker at a drawn point around the centre (x drawn first, then y),
// and a strike on it, unseen until it fades in once the marker is gone.
void PlaceStrikePair(const StrikePair& pair, const Vector2D& centre, float depth) {
    const float x = centre.x + static_cast<float>(RandomInt(pair.x.low, pair.x.high));
    const float y = centre.y + static_cast<float>(RandomInt(pair.y.low, pair.y.high));
    if (BossProjectile* marker = CreateBossProjectileTimed(BossProjectile::kWarningMarker, {x, y}, pair.warning)) {
        marker->SetZOrder(depth);
    }
    if (BossProjectile* strike = CreateBossProjectileTimed(BossProjectile::kStrike, {x, y}, pair.strike)) {
        strike->SetZOrder(depth);
        strike->SetOpacity(0.0f);
    }
}

// Pair A, then pair B; the salvo counts once placed.
void PlaceSalvo(const Salvo& salvo, const Vector2D& centre, float depth, std::int32_t& counter) {
    PlaceStrikePair(salvo.a, centre, depth);
    PlaceStrikePair(salvo.b, centre, depth);
    ++counter;
}

}  // namespace

AlpacaBoss::AlpacaBoss(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Enemy(animations) {}

AlpacaBoss::AlpacaBoss(const AlpacaBoss& other)
    : Enemy(other),
      m_active(other.m_active),
      m_target(other.m_target),
      m_cooldown(other.m_cooldown),
      m_salvoLimit(other.m_salvoLimit),
      m_salvoCounter(other.m_salvoCounter),
      m_projectileDepth(other.m_projectileDepth),
      m_openingDone(other.m_openingDone),
      m_verticalOffset(other.m_verticalOffset) {}

void AlpacaBoss::Save(Core::File& file) const {
    Enemy::Save(file);
    file << m_barFrame;
    file << m_bar;
    file << m_eye;
    file.WriteU8(m_active);
    WriteVector(file, m_target);
    file.WriteF32(m_cooldown);
    file.WriteI32(m_salvoLimit);
    file.WriteI32(m_salvoCounter);
    file.WriteF32(m_projectileDepth);
    file.WriteU8(m_openingDone);
    file.WriteF32(m_verticalOffset);
}

void AlpacaBoss::Load(Core::File& file) {
    Enemy::Load(file);
    Core::RefPtr<Tundra::Sprite> barFrame;
    Core::RefPtr<BossHp> bar;
    Core::RefPtr<Tundra::Sprite> eye;
    std::uint8_t active = m_active;
    Vector2D target = m_target;
    float cooldown = m_cooldown;
    std::int32_t salvoLimit = m_salvoLimit;
    std::int32_t salvoCounter = m_salvoCounter;
    float projectileDepth = m_projectileDepth;
    std::uint8_t openingDone = m_openingDone;
    float verticalOffset = m_verticalOffset;
    file >> barFrame;
    file >> bar;
    file >> eye;
    ReadFlagByte(file, active);
    ReadVector(file, target);
    ReadFinite(file, cooldown);
    file.ReadI32(salvoLimit);
    file.ReadI32(salvoCounter);
    ReadFinite(file, projectileDepth);
    ReadFlagByte(file, openingDone);
    ReadFinite(file, verticalOffset);
    if (file.HasFailed() || !IsPart(barFrame.Get(), kBossBarFrameName) || !IsPart(bar.Get(), kBossBarName) ||
        !IsPart(eye.Get(), kEyeName) || salvoLimit < 0 || salvoLimit > kOpeningSalvos || salvoCounter < 0 ||
        salvoCounter > kOpeningSalvos) {
        file.SetFailed();
        return;
    }
    m_barFrame = barFrame;
    m_bar = bar;
    m_eye = eye;
    m_active = active;
    m_target = target;
    m_cooldown = cooldown;
    m_salvoLimit = salvoLimit;
    m_salvoCounter = salvoCounter;
    m_projectileDepth = projectileDepth;
    m_openingDone = openingDone;
    m_verticalOffset = verticalOffset;
}

void AlpacaBoss::OnStart() {
    Enemy::OnStart();
    m_barFrame = Tundra::FindObject<Tundra::Sprite>(kBossBarFrameName);
    m_bar = Tundra::FindObject<BossHp>(kBossBarName);
    m_eye = Tundra::FindObject<Tundra::Sprite>(kEyeName);
    if (m_eye && m_eye->GetMount() != this) {
        Mount(m_eye.Get());
    }
    m_cooldown = kStartCooldown;
    m_active = 0;
    m_projectileDepth = kStartProjectileDepth;
    m_openingDone = 0;
    m_salvoLimit = kStartSalvoLimit;
    m_verticalOffset = 0.0f;
    m_salvoCounter = 0;
}

void AlpacaBoss::Update(float dt) {
    if (Globals().paused != 0 || m_active == 0) {
        return;
    }
    if (m_openingDone == 0) {
        UpdateOpening();
        return;
    }
    if (GetHealth() <= 0.0f) {
        UpdateDying();
        return;
    }
    Enemy::Update(dt);
    UpdateFight(dt);
}

void AlpacaBoss::UpdateOpening() {
    m_salvoLimit = kOpeningSalvos;
    if (m_salvoCounter >= kOpeningSalvos) {
        m_projectileDepth = kRestingProjectileDepth;
        m_salvoCounter = 0;
        SetPosition({kStandX, m_verticalOffset + kStandRise});
        if (m_barFrame) {
            m_barFrame->SetPosition({kStandX, m_verticalOffset + kBossBarFrameRise});
        }
        if (m_bar) {
            m_bar->SetPosition({kStandX, m_verticalOffset + kBossBarRise});
            m_bar->SetAnchorX(kStandX);
        }
        m_openingDone = 1;
        return;
    }
    if (RandomInt(0, 1) == 1) {
        m_projectileDepth = m_projectileDepth + kOpeningDepthStep;
        PlaceSalvo(kOpeningSalvo, {kStandX, m_verticalOffset + kOpeningCentreRise}, m_projectileDepth, m_salvoCounter);
    }
}

void AlpacaBoss::UpdateDying() {
    if (GetCurrentAnimationIndex() != kAlpacaDeathAnimation || !IsEndOfAnimation()) {
        return;
    }
    if (GameLevel* stage = GetRunningStage()) {
        stage->SetCleared();
    }
    SetVisible(false);
}

void AlpacaBoss::UpdateFight(float dt) {
    const std::size_t phaseIndex = PhaseIndex(GetHealth());
    const Phase& phase = kPhases[phaseIndex];
    if (m_eye && m_eye->GetCurrentAnimationIndex() != phase.eyeAnimation) {
        m_eye->SetCurrentAnimationIndex(phase.eyeAnimation, false);
    }
    // The first phase also waits out a cooldown of exactly 0.
    const bool waiting = phaseIndex == 0 ? m_cooldown >= 0.0f : m_cooldown > 0.0f;
    if (waiting) {
        m_cooldown = m_cooldown - dt;
        return;
    }
    m_salvoLimit = phase.salvoLimit;
    if (m_eye) {
        m_eye->Play(true);
        m_eye->SetLoop(false);
    }
    const Player* player = Globals().player;
    if (player != nullptr) {
        m_target = player->GetPosition();
    }
    if (m_salvoCounter >= m_salvoLimit) {
        m_salvoCounter = 0;
        m_cooldown = kRest;
        m_projectileDepth = kRestingProjectileDepth;
        return;
    }
    // No player, nothing to aim at.
    if (player == nullptr) {
        return;
    }
    if (RandomInt(0, phase.salvoOdds - 1) == 1) {
        m_projectileDepth = m_projectileDepth + kFightDepthStep;
        PlaceSalvo(phase.salvo, m_target, m_projectileDepth, m_salvoCounter);
    }
}

void AlpacaBoss::OnHealthChanged() {
    Enemy::OnHealthChanged();
    if (m_bar) {
        m_bar->SetHealth(GetHealth());
    }
}

void AlpacaBoss::OnDeath() {
    EndDebuff();
    SetCurrentAnimationIndex(kAlpacaDeathAnimation, false);
    Play(true);
    SetLoop(false);
    for (Tundra::Sprite* part : {m_barFrame.Get(), static_cast<Tundra::Sprite*>(m_bar.Get()), m_eye.Get()}) {
        if (part != nullptr) {
            part->SetVisible(false);
        }
    }
}

void AlpacaBoss::Destroy() {
    // The live list may hold the last reference.
    const Core::RefPtr<AlpacaBoss> self(GetReferenceCount() > 0 ? this : nullptr);
    Enemy::Destroy();
    if (const Core::RefPtr<Tundra::Sprite> eye = m_eye) {
        eye->Destroy();
    }
}

void AlpacaBoss::SetSalvoCounter(std::int32_t count) {
    if (count >= 0 && count <= kOpeningSalvos) {
        m_salvoCounter = count;
    }
}

void AlpacaBoss::Activate(float verticalOffset) {
    if (!std::isfinite(verticalOffset)) {
        return;
    }
    m_verticalOffset = verticalOffset;
    m_active = 1;
}
