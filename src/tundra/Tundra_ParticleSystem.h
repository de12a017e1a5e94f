#pragma once

#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"
#include "tundra/Tundra_ParticleEmitter.h"
#include "tundra/Tundra_ParticleSystemBase.h"

#include <cstdint>
#include <vector>

namespace Tundra {

// One slot of a system's pool; slot i draws through render record i. Its
// motion is closed-form: the position follows from the birth state and the
// age, never from integrated steps.
struct Particle {
    Color startColor;
    Color endColor;
    Vector2D position;
    // In the system's space, or in the world when the system works there.
    Vector2D spawnPosition;
    // At birth, in units per second.
    Vector2D velocity;
    Vector2D startScale;
    Vector2D endScale;
    // Degrees.
    float rotation = 0.0f;
    // Degrees added per update.
    float rotationSpeed = 0.0f;
    float lifetime = 0.0f;
    float age = 0.0f;
    bool alive = false;
};

// A fixed pool of particles born by an emitter at a random rate, with random
// attributes between set limits, falling with a constant gravity, fading
// from their starting to their ending scale and colour over their life, and
// recycled once dead (or, without recycling, each slot used once, after
// which the system destroys itself when asked to).
//
// The emitter is shared by reference count; a system without one updates
// and ages its particles but gives birth to none.
class ParticleSystem : public ParticleSystemBase {
    TUN_DECLARE_CLASS(ParticleSystem);
    // An empty pool and no emitter: only a stream's target.
    ParticleSystem() = default;
    // Pool of count particles (see the base's cap) from a point emitter at
    // the origin leaving at any angle; white, scale 1, lifetime 1 s, speed
    // 0, emission rate count per second, recycling, destroyed once done if
    // recycling is turned off.
    ParticleSystem(const Core::String& texturePath, std::uint32_t count, float boundingSize, const Vector2D& gravity);
    // The same settings and pool with a clone of the emitter.
    ParticleSystem(const ParticleSystem& other);
    ParticleSystem& operator=(const ParticleSystem&) = delete;

    // After the base: the pool (89 bytes a particle), the settings and the
    // emitter as an object reference. A pool whose size is not the base's
    // particle count fails the stream.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Emits, ages, moves, retires, writes the render records, then runs the
    // game object's update.
    void EngineUpdate(float dt) override;
    // Lets go of the emitter too: a script may have handed this system to
    // its own emitter, and neither would ever be freed.
    void Cleanup() override;

    // Every particle dead and freshly drawn from the emitter and the limits;
    // the next update sees no movement of the system.
    void Reset();
    // Runs the engine update in steps of 0.01 s, as many as the seconds hold
    // (the float product with 100 truncated), at most kMaxWarmUpSteps; none
    // for seconds not above 0.
    void WarmUp(float seconds);
    static constexpr std::uint32_t kMaxWarmUpSteps = 100000;

    const std::vector<Particle>& GetParticles() const { return m_particles; }
    std::uint32_t GetDeadCount() const { return m_deadCount; }
    std::uint32_t GetEmittedCount() const { return m_emittedCount; }
    float GetEmissionCarry() const { return m_emissionCarry; }

    // Null is accepted: the system then emits nothing.
    void SetEmitter(ParticleEmitter* emitter) { m_emitter = emitter; }
    ParticleEmitter* GetEmitter() const { return m_emitter.Get(); }
    void SetGravity(const Vector2D& gravity) { m_gravity = gravity; }
    const Vector2D& GetGravity() const { return m_gravity; }
    // Particles per second.
    void SetEmissionRate(float low, float high) { Set(m_emissionRate, low, high); }
    void GetEmissionRate(float& low, float& high) const { Get(m_emissionRate, low, high); }
    void SetRecycleParticles(bool recycle) { m_recycleParticles = recycle; }
    bool GetRecycleParticles() const { return m_recycleParticles; }
    void SetDestroyIfNotRecycling(bool destroy) { m_destroyIfNotRecycling = destroy; }
    bool GetDestroyIfNotRecycling() const { return m_destroyIfNotRecycling; }
    void SetParticleStartingColor(const Color& low, const Color& high) { Set(m_startColor, low, high); }
    void GetParticleStartingColor(Color& low, Color& high) const { Get(m_startColor, low, high); }
    void SetParticleEndingColor(const Color& low, const Color& high) { Set(m_endColor, low, high); }
    void GetParticleEndingColor(Color& low, Color& high) const { Get(m_endColor, low, high); }
    // Seconds.
    void SetParticleLifeTime(float low, float high) { Set(m_lifetime, low, high); }
    void GetParticleLifeTime(float& low, float& high) const { Get(m_lifetime, low, high); }
    // Degrees per update, used in direction mode 1.
    void SetParticleRotationSpeed(float low, float high) { Set(m_rotationSpeed, low, high); }
    void GetParticleRotationSpeed(float& low, float& high) const { Get(m_rotationSpeed, low, high); }
    // Units per second.
    void SetParticleSpeed(float low, float high) { Set(m_speed, low, high); }
    void GetParticleSpeed(float& low, float& high) const { Get(m_speed, low, high); }
    void SetParticleStartingScale(const Vector2D& low, const Vector2D& high) { Set(m_startScale, low, high); }
    void GetParticleStartingScale(Vector2D& low, Vector2D& high) const { Get(m_startScale, low, high); }
    void SetParticleEndingScale(const Vector2D& low, const Vector2D& high) { Set(m_endScale, low, high); }
    void GetParticleEndingScale(Vector2D& low, Vector2D& high) const { Get(m_endScale, low, high); }
    // 0: each particle turns to its current velocity; otherwise each spins
    // at its own random rotation speed.
    void SetParticleDirection(std::int32_t mode) { m_directionMode = mode; }
    std::int32_t GetParticleDirection() const { return m_directionMode; }

private:
    template <class T>
    struct Range {
        T low{};
        T high{};
    };
    template <class T>
    static void Set(Range<T>& range, const T& low, const T& high) {
        range = {low, high};
    }
    template <class T>
    static void Get(const Range<T>& range, T& low, T& high) {
        low = range.low;
        high = range.high;
    }

    // How many particles this update may bring to life.
    std::uint32_t EmissionBudget(float dt);
    // The random birth state after the emitter's answer, in draw order.
    void DrawAttributes(Particle& particle);
    void Birth(Particle& particle, ParticleEmitter& emitter, float dt, const Vector2D& current, const Vector2D& delta);
    void Live(Particle& particle, float dt);
    // Hidden for a dead particle; otherwise placed and blended by age.
    static void WriteRecord(const Particle& particle, Engine::Particle& record);

    std::vector<Particle> m_particles;
    Vector2D m_gravity;
    Vector2D m_previousPosition;
    Range<Color> m_startColor;
    Range<Color> m_endColor;
    Range<Vector2D> m_startScale;
    Range<Vector2D> m_endScale;
    Core::RefPtr<ParticleEmitter> m_emitter;
    std::int32_t m_directionMode = 0;
    std::uint32_t m_deadCount = 0;
    std::uint32_t m_emittedCount = 0;
    Range<float> m_lifetime;
    Range<float> m_rotationSpeed;
    Range<float> m_speed;
    Range<float> m_emissionRate;
    float m_emissionCarry = 0.0f;
    bool m_recycleParticles = false;
    bool m_destroyIfNotRecycling = false;
    bool m_firstUpdate = true;
};

}  // namespace Tundra
