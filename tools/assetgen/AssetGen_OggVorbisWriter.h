#pragma once

#include <string>

#include "AssetGen_Synth.h"

namespace AssetGen {

// The samples as an Ogg Vorbis stream (variable bit rate, `quality` from -0.1
// to 1). The stream serial number is fixed: the same samples always give the
// same bytes. Empty when the encoder refuses the channel count or rate.
std::string EncodeOggVorbis(const Pcm& pcm, float quality);

// Encodes into `path`, written beside it first and renamed, so a reader never
// meets half a file. False, with the reason in `error`, on failure.
bool WriteOggVorbis(const Pcm& pcm, float quality, const std::string& path, std::string& error);

}  // namespace AssetGen
