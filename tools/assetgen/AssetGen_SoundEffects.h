#pragma once

#include "AssetGen_Synth.h"

// The game's short sounds, mono and short enough to be loaded whole (under
// 262144 bytes of 16-bit samples). The two weapon loops are whole cycles:
// their last sample leads into their first.
namespace AssetGen::Effects {

Pcm ButtonHover();
Pcm PlayerHit();
Pcm PlayerDeath();
Pcm PlayerCollect();
Pcm BlasterShot();
Pcm BeamShot();
Pcm FlameLoop();
Pcm RapidFireLoop();
Pcm FlameEnd();
Pcm RapidFireEnd();

}  // namespace AssetGen::Effects
