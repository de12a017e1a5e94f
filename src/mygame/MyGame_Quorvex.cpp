#include "mygame/MyGame_Quorvex.h"

#include "mygame/MyGame_ArcFlight.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Random.h"
#include "mygame/MyGame_RunningStage.h"
#include "mygame/MyGame_WidgetStream.h"

#include <algorithm>

TUN_DEFINE_CLASS(Quorvex)

namespace {

// The leap lands somewhere in this band of heights, straight below or
// above where it started.
constexpr float kLandingBand = 75.0f;
// How far along the parabola a second takes it.
constexpr float kLeapRate = 0.6f;
// Degrees a second.
constexpr float kSpinRate = 1000.0f;

}  // namespace

Quorvex::Quorvex(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Sprite(animations) {}

Quorvex::Quorvex(const Quorvex& other) : Sprite(other) {}

void Quorvex::Save(Core::File& file) const {
    Sprite::Save(file);
    file.WriteU8(m_triggered);
    WriteVector(file, m_start);
    WriteVector(file, m_control);
    WriteVector(file, m_end);
    file.WriteU8(m_direction);
    file.WriteF32(m_angle);
    file.WriteF32(m_t);
}

void Quorvex::Load(Core::File& file) {
    Sprite::Load(file);
    std::uint8_t triggered = m_triggered;
    Vector2D start = m_start;
    Vector2D control = m_control;
    Vector2D end = m_end;
    std::uint8_t direction = m_direction;
    float angle = m_angle;
    float t = m_t;
    ReadFlagByte(file, triggered);
    ReadVector(file, start);
    ReadVector(file, control);
    ReadVector(file, end);
    ReadFlagByte(file, direction);
    ReadFinite(file, angle);
    ReadFinite(file, t);
    if (file.HasFailed()) {
        return;
    }
    m_triggered = triggered;
    m_start = start;
    m_control = control;
    m_end = end;
    m_direction = direction;
    m_angle = angle;
    m_t = t;
}

void Quorvex::Update(float dt) {
    Sprite::Update(dt);
    if (IsDestroyRequested()) {
        return;
    }
    if (m_triggered == 0) {
        if (GetMount() == nullptr) {
            Leap();
        }
    } else {
        Fly(dt);
    }
    if (!(GetPositionY() < kGoneBelowY)) {
        return;
    }
    // Held: the stage's link may be the only one besides the layer's.
    const Core::RefPtr<Quorvex> self(GetReferenceCount() > 0 ? this : nullptr);
    // Only the stage keeps a link to its companion.
    GameLevel* stage = GetRunningStage();
    if (stage != nullptr && stage->GetCompanion() == this) {
        stage->ClearCompanion();
    }
    Destroy();
}

// Straight down to a height drawn in the landing band, over an apex half
// the distance above the higher end.
void Quorvex::Leap() {
    m_triggered = 1;
    m_start = GetPosition();
    m_end = Vector2D{m_start.x, RandomFloat(-kLandingBand, kLandingBand)};
    m_control = Vector2D{(m_start.x + m_end.x) * 0.5f,
                         std::max(m_start.y, m_end.y) + (m_end - m_start).Length() * 0.5f};
    m_t = 0.0f;
    m_direction = m_end.x - m_start.x >= 0.0f ? 1 : 0;
}

// t is not clamped: past the end it keeps falling along the parabola.
void Quorvex::Fly(float dt) {
    SetPosition(ArcPoint(m_start, m_control, m_end, m_t));
    m_t = m_t + kLeapRate * dt;
    m_angle = SpunAngle(m_angle, m_direction != 0, kSpinRate, dt);
    SetRotationAngle(m_angle);
}
