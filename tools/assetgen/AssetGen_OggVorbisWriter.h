#pragma once

#include <string>

#include "AssetGen_Synth.h"

namespace AssetGen {

// Encodes the samples as Ogg Vorbis (variable bit rate, `quality` from -0.1
// to 1) into `path`, written beside it first and renamed, so a reader never
// meets half a file. The stream serial number is fixed: the same samples
// always give the same bytes. False, with the reason in `error`, on failure.
bool WriteOggVorbis(const Pcm& pcm, float quality, const std::string& path, std::string& error);

}  // namespace AssetGen
