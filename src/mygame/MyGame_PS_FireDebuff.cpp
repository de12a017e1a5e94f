#include "mygame/MyGame_PS_FireDebuff.h"

#include "mygame/MyGame_FireEffectPool.h"

TUN_DEFINE_CLASS(PS_FireDebuff)

PS_FireDebuff::PS_FireDebuff(const Core::String& texturePath, std::uint32_t count, float boundingSize,
                             const Vector2D& gravity)
    : PS_BaseDebuff(texturePath, count, boundingSize, gravity) {}

PS_FireDebuff::PS_FireDebuff(const PS_FireDebuff& other) : PS_BaseDebuff(other) {}

void PS_FireDebuff::OnStart() {
    PS_BaseDebuff::OnStart();
    if (!IsStopping()) {
        SetEmissionRate(5.0f, 10.0f);
    }
}

void PS_FireDebuff::OnFinished() { ReturnFireEffectToPool(this); }
