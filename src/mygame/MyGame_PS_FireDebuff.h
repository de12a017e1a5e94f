#pragma once

#include "mygame/MyGame_PS_BaseDebuff.h"

// The flames on a burning target; back in the fire-effect pool once finished.
class PS_FireDebuff : public PS_BaseDebuff {
    TUN_DECLARE_CLASS(PS_FireDebuff);
    PS_FireDebuff() = default;
    PS_FireDebuff(const Core::String& texturePath, std::uint32_t count, float boundingSize, const Vector2D& gravity);
    PS_FireDebuff(const PS_FireDebuff& other);

    // Re-armed, emitting 5 to 10 particles a second (not while lingering).
    void OnStart() override;
    void OnFinished() override;
};
