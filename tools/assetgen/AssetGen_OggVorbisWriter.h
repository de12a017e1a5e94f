#pragma once

#include <string>

#include "AssetGen_Synth.h"

namespace AssetGen {

// What names a stream besides its audio: its serial number and the
// "ENCODER" comment (none when null).
struct OggStreamLabel {
    int serial;
    const char* encoder;
};

inline constexpr OggStreamLabel kGeneratorLabel{0x456d6265, "Emberline assetgen"};

// The samples as an Ogg Vorbis stream (variable bit rate, `quality` from -0.1
// to 1). The label is fixed: the same samples always give the same bytes.
// Empty when the encoder refuses the channel count or rate.
std::string EncodeOggVorbis(const Pcm& pcm, float quality, const OggStreamLabel& label = kGeneratorLabel);

// Encodes into `path`, written beside it first and renamed, so a reader never
// meets half a file. False, with the reason in `error`, on failure.
bool WriteOggVorbis(const Pcm& pcm, float quality, const std::string& path, std::string& error);

}  // namespace AssetGen
