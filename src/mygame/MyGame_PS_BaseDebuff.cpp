#include "mygame/MyGame_PS_BaseDebuff.h"

#include "core/Core_File.h"

#include <cmath>

TUN_DEFINE_CLASS(PS_BaseDebuff)

PS_BaseDebuff::PS_BaseDebuff(const Core::String& texturePath, std::uint32_t count, float boundingSize,
                             const Vector2D& gravity)
    : PauseableParticleSystem(texturePath, count, boundingSize, gravity) {}

PS_BaseDebuff::PS_BaseDebuff(const PS_BaseDebuff& other)
    : PauseableParticleSystem(other),
      m_stopping(other.m_stopping),
      m_lingerTime(other.m_lingerTime),
      m_finished(other.m_finished) {}

void PS_BaseDebuff::Save(Core::File& file) const {
    PauseableParticleSystem::Save(file);
    file.WriteU8(m_stopping);
    file.WriteF32(m_lingerTime);
    file.WriteU8(m_finished);
}

void PS_BaseDebuff::Load(Core::File& file) {
    PauseableParticleSystem::Load(file);
    std::uint8_t stopping = m_stopping;
    float lingerTime = m_lingerTime;
    std::uint8_t finished = m_finished;
    file.ReadU8(stopping);
    file.ReadF32(lingerTime);
    file.ReadU8(finished);
    if (file.HasFailed() || stopping > 1 || finished > 1 || !std::isfinite(lingerTime)) {
        file.SetFailed();
        return;
    }
    m_stopping = stopping;
    m_lingerTime = lingerTime;
    m_finished = finished;
}

void PS_BaseDebuff::OnStart() {
    PauseableParticleSystem::OnStart();
    // A new effect may be told to stop before its layer starts it: that
    // start must not make it emit again, unmounted and never finishing.
    if (m_stopping != 0 && m_finished == 0) {
        return;
    }
    m_lingerTime = 1.0f;
    m_stopping = 0;
    m_finished = 0;
}

void PS_BaseDebuff::Update(float dt) {
    PauseableParticleSystem::Update(dt);
    if (m_stopping == 0 || m_finished != 0) {
        return;
    }
    m_lingerTime = m_lingerTime - dt;
    if (m_lingerTime <= 0.0f) {
        m_finished = 1;
        OnFinished();
    }
}

void PS_BaseDebuff::Stop() {
    m_stopping = 1;
    SetEmissionRate(0.0f, 0.0f);
}
