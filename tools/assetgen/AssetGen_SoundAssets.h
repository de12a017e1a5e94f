#pragma once

#include <functional>
#include <string>
#include <vector>

#include "AssetGen_Synth.h"

// The sound module of the asset generator: every sound file the game loads
// from "Resources/Sounds", with how it is made.
namespace AssetGen {

struct SoundAsset {
    std::string fileName;
    std::function<Pcm()> render;
    float quality;  // Vorbis quality, -0.1 .. 1
};

std::vector<SoundAsset> SoundAssets();

}  // namespace AssetGen
