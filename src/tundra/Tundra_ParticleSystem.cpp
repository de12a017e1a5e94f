#include "tundra/Tundra_ParticleSystem.h"

#include "core/Core_File.h"
#include "core/Core_Random.h"
#include "tundra/Tundra_ParticleEmitterShapes.h"

#include <algorithm>
#include <cmath>

namespace Tundra {
namespace {

constexpr float kRadiansToDegrees = 57.29578f;

// A particle is 89 bytes: two colours, five vectors, four floats, a byte.
void WriteParticle(Core::File& file, const Particle& p) {
    file << p.startColor << p.endColor << p.position << p.spawnPosition << p.velocity << p.startScale << p.endScale;
    Math::WriteFloats(file, {p.rotation, p.rotationSpeed, p.lifetime, p.age});
    file.WriteU8(p.alive ? 1 : 0);
}

void ReadParticle(Core::File& file, Particle& p) {
    file >> p.startColor >> p.endColor >> p.position >> p.spawnPosition >> p.velocity >> p.startScale >> p.endScale;
    Math::ReadFloats(file, p.rotation, p.rotationSpeed, p.lifetime, p.age);
    std::uint8_t alive = 0;
    file.ReadU8(alive);
    p.alive = alive != 0;
}

// The vector turned counter-clockwise by the angle, through its polar form.
Vector2D Rotate(const Vector2D& v, float degrees) {
    const float angle = std::atan2(v.y, v.x) + degrees * kParticleDegreesToRadians;
    const float length = v.Length();
    return {length * std::cos(angle), length * std::sin(angle)};
}

Color Blend(const Color& from, const Color& to, float f) {
    return {from.r + (to.r - from.r) * f, from.g + (to.g - from.g) * f, from.b + (to.b - from.b) * f,
            from.a + (to.a - from.a) * f};
}

}  // namespace

ParticleSystem::ParticleSystem(const Core::String& texturePath, std::uint32_t count, float boundingSize,
                               const Vector2D& gravity)
    : ParticleSystemBase(texturePath, count, boundingSize),
      m_particles(GetParticleCount()),
      m_gravity(gravity),
      m_startColor{Color(1, 1, 1, 1), Color(1, 1, 1, 1)},
      m_endColor{Color(1, 1, 1, 1), Color(1, 1, 1, 1)},
      m_startScale{Vector2D(1, 1), Vector2D(1, 1)},
      m_endScale{Vector2D(1, 1), Vector2D(1, 1)},
      m_emitter(TUN_NEW(PointEmitter, 0.0f, 360.0f, Vector2D())),
      m_lifetime{1.0f, 1.0f},
      m_emissionRate{static_cast<float>(GetParticleCount()), static_cast<float>(GetParticleCount())},
      m_recycleParticles(true),
      m_destroyIfNotRecycling(true) {
    Reset();
}

ParticleSystem::ParticleSystem(const ParticleSystem& other)
    : ParticleSystemBase(other),
      m_particles(other.m_particles),
      m_gravity(other.m_gravity),
      m_previousPosition(other.m_previousPosition),
      m_startColor(other.m_startColor),
      m_endColor(other.m_endColor),
      m_startScale(other.m_startScale),
      m_endScale(other.m_endScale),
      m_emitter(other.m_emitter ? static_cast<ParticleEmitter*>(other.m_emitter->Clone()) : nullptr),
      m_directionMode(other.m_directionMode),
      m_deadCount(other.m_deadCount),
      m_emittedCount(other.m_emittedCount),
      m_lifetime(other.m_lifetime),
      m_rotationSpeed(other.m_rotationSpeed),
      m_speed(other.m_speed),
      m_emissionRate(other.m_emissionRate),
      m_emissionCarry(other.m_emissionCarry),
      m_recycleParticles(other.m_recycleParticles),
      m_destroyIfNotRecycling(other.m_destroyIfNotRecycling),
      m_firstUpdate(other.m_firstUpdate) {
    // Only a copy of an object with an active script has an instance.
    RunHook("OnClone", true, &other);
}

void ParticleSystem::DrawAttributes(Particle& particle) {
    particle.lifetime = RandomFloatRange(m_lifetime.low, m_lifetime.high);
    particle.startScale = RandomPointBetween(m_startScale.low, m_startScale.high);
    particle.endScale = RandomPointBetween(m_endScale.low, m_endScale.high);
    particle.startColor = RandomColorBetween(m_startColor.low, m_startColor.high);
    particle.endColor = RandomColorBetween(m_endColor.low, m_endColor.high);
}

void ParticleSystem::Cleanup() {
    ParticleSystemBase::Cleanup();
    m_emitter = nullptr;
}

void ParticleSystem::Reset() {
    m_emissionCarry = 0.0f;
    m_deadCount = 0;
    m_emittedCount = 0;
    m_previousPosition = GetPosition();
    m_firstUpdate = true;
    const Core::RefPtr<ParticleEmitter> emitter = m_emitter;
    std::vector<Engine::Particle>* records = GetRenderParticles();
    for (std::size_t i = 0; i < m_particles.size(); ++i) {
        Particle& particle = m_particles[i];
        particle.age = 0.0f;
        particle.alive = false;
        particle.rotation = 0.0f;
        particle.rotationSpeed = 0.0f;
        Vector2D direction;
        if (emitter) {
            emitter->GetPositionAndDirection(0.0f, particle.spawnPosition, direction);
        }
        particle.velocity = RandomFloatRange(m_speed.low, m_speed.high) * direction;
        DrawAttributes(particle);
        // A read that failed half way may have left the node with fewer records.
        if (records != nullptr && i < records->size()) {
            WriteRecord(particle, (*records)[i]);
        }
    }
}

std::uint32_t ParticleSystem::EmissionBudget(float dt) {
    const float rate = RandomFloatRange(m_emissionRate.low, m_emissionRate.high);
    const float amount = rate * dt + m_emissionCarry;
    const float whole = std::floor(amount);
    m_emissionCarry = amount - whole;
    // An infinite amount leaves no fraction; a NaN carry would stop emission for good.
    if (!std::isfinite(m_emissionCarry)) {
        m_emissionCarry = 0.0f;
    }
    // Capped while still a float, so that no rate or frame time reaches an
    // out-of-range conversion; what the pool cannot take is dropped.
    const float capped = std::min(whole, static_cast<float>(m_particles.size()));
    return capped >= 1.0f ? static_cast<std::uint32_t>(capped) : 0;
}

void ParticleSystem::Birth(Particle& particle, ParticleEmitter& emitter, float dt, const Vector2D& current,
                           const Vector2D& delta) {
    Vector2D direction;
    emitter.GetPositionAndDirection(dt, particle.spawnPosition, direction);
    if (GetUseLocalCoordinates()) {
        particle.velocity = RandomFloatRange(m_speed.low, m_speed.high) * direction;
    } else {
        // Born into the world: turned with the system, carried along by its motion.
        const float angle = GetRotationAngle();
        particle.spawnPosition = Rotate(particle.spawnPosition, angle) + current;
        direction = Rotate(direction, angle);
        particle.velocity = RandomFloatRange(m_speed.low, m_speed.high) * direction + delta;
    }
    DrawAttributes(particle);
    particle.alive = true;
    if (m_directionMode == 1) {
        particle.rotationSpeed = RandomFloatRange(m_rotationSpeed.low, m_rotationSpeed.high);
    }
    ++m_emittedCount;
}

void ParticleSystem::Live(Particle& particle, float dt) {
    particle.age += dt;
    const float age = particle.age;
    if (age > particle.lifetime) {
        particle.alive = false;
        particle.age = 0.0f;
        particle.startScale = {};
        particle.endScale = {};
        ++m_deadCount;
        return;
    }
    particle.position = particle.spawnPosition + particle.velocity * age + 0.5f * m_gravity * (age * age);
    if (m_directionMode == 0) {
        const Vector2D velocity = particle.velocity + m_gravity * age;
        particle.rotation = std::atan2(velocity.y, velocity.x) * kRadiansToDegrees;
    } else {
        particle.rotation += particle.rotationSpeed;
    }
}

void ParticleSystem::WriteRecord(const Particle& particle, Engine::Particle& record) {
    if (!particle.alive) {
        record.scale = {};
        return;
    }
    const float f = particle.age / particle.lifetime;
    record.position = {particle.position.x, particle.position.y, 0.0f};
    record.scale = particle.startScale + (particle.endScale - particle.startScale) * f;
    record.angle = particle.rotation;
    record.color = Blend(particle.startColor, particle.endColor, f);
}

void ParticleSystem::EngineUpdate(float dt) {
    std::uint32_t budget = EmissionBudget(dt);
    const auto count = static_cast<std::uint32_t>(m_particles.size());
    if (m_recycleParticles) {
        m_emittedCount = 0;
        m_deadCount = 0;
    } else if (m_emittedCount >= count) {
        budget = 0;
        if (m_destroyIfNotRecycling && m_deadCount >= count) {
            Destroy();
            return;
        }
    }
    // Held: a script in the emitter may replace it.
    const Core::RefPtr<ParticleEmitter> emitter = m_emitter;
    if (emitter) {
        emitter->Update(dt);
    }
    const Vector2D current = GetPosition();
    if (m_firstUpdate) {
        m_previousPosition = current;
        m_firstUpdate = false;
    }
    const Vector2D delta = current - m_previousPosition;
    m_previousPosition = current;
    std::vector<Engine::Particle>* records = GetRenderParticles();
    for (std::size_t i = 0; i < m_particles.size(); ++i) {
        Particle& particle = m_particles[i];
        if (!particle.alive && budget > 0 && emitter) {
            Birth(particle, *emitter, dt, current, delta);
            --budget;
        }
        if (particle.alive) {
            Live(particle, dt);
        }
        if (records != nullptr && i < records->size()) {
            WriteRecord(particle, (*records)[i]);
        }
    }
    GameObject::EngineUpdate(dt);
}

void ParticleSystem::WarmUp(float seconds) {
    if (!(seconds > 0.0f)) {
        return;
    }
    const float product = seconds * 100.0f;
    const auto steps = static_cast<std::uint32_t>(std::min(std::trunc(product), static_cast<float>(kMaxWarmUpSteps)));
    for (std::uint32_t i = 0; i < steps && !IsDestroyRequested(); ++i) {
        EngineUpdate(0.01f);
    }
}

void ParticleSystem::Save(Core::File& file) const {
    ParticleSystemBase::Save(file);
    file.WriteU32(static_cast<std::uint32_t>(m_particles.size()));
    for (const Particle& particle : m_particles) {
        WriteParticle(file, particle);
    }
    file << m_gravity << m_previousPosition;
    file << m_startColor.low << m_startColor.high << m_endColor.low << m_endColor.high;
    file << m_startScale.low << m_startScale.high << m_endScale.low << m_endScale.high;
    file << m_emitter;
    file.WriteI32(m_directionMode);
    file.WriteU32(m_deadCount);
    file.WriteU32(m_emittedCount);
    Math::WriteFloats(file, {m_lifetime.low, m_lifetime.high, m_rotationSpeed.low, m_rotationSpeed.high, m_speed.low,
                             m_speed.high, m_emissionRate.low, m_emissionRate.high, m_emissionCarry});
    file.WriteU8(m_recycleParticles ? 1 : 0);
    file.WriteU8(m_destroyIfNotRecycling ? 1 : 0);
    file.WriteU8(m_firstUpdate ? 1 : 0);
}

void ParticleSystem::Load(Core::File& file) {
    ParticleSystemBase::Load(file);
    std::uint32_t count = 0;
    file.ReadU32(count);
    // Slot i draws through record i: the pool is exactly as large as the node.
    if (count != GetParticleCount()) {
        file.SetFailed();
    }
    std::vector<Particle> pool;
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        ReadParticle(file, pool.emplace_back());
    }
    file >> m_gravity >> m_previousPosition;
    file >> m_startColor.low >> m_startColor.high >> m_endColor.low >> m_endColor.high;
    file >> m_startScale.low >> m_startScale.high >> m_endScale.low >> m_endScale.high;
    Core::RefPtr<ParticleEmitter> emitter;
    file >> emitter;
    file.ReadI32(m_directionMode);
    file.ReadU32(m_deadCount);
    file.ReadU32(m_emittedCount);
    Math::ReadFloats(file, m_lifetime.low, m_lifetime.high, m_rotationSpeed.low, m_rotationSpeed.high, m_speed.low,
                     m_speed.high, m_emissionRate.low, m_emissionRate.high, m_emissionCarry);
    std::uint8_t flags[3] = {};
    for (std::uint8_t& flag : flags) {
        file.ReadU8(flag);
    }
    if (file.HasFailed()) {
        return;
    }
    m_particles = std::move(pool);
    m_emitter = emitter;
    m_recycleParticles = flags[0] != 0;
    m_destroyIfNotRecycling = flags[1] != 0;
    m_firstUpdate = flags[2] != 0;
}

}  // namespace Tundra

TUN_DEFINE_CLASS(Tundra::ParticleSystem)
