#pragma once

#include "sound/Sound_SoundData.h"

#include <cstdint>

// Chooses the OpenAL sample format for the opened sound's layout and stores
// it in data.alFormat; the multichannel formats are looked up by name.
// Returns a SoundResult (unusable for any layout OpenAL cannot take).
std::int32_t ChooseAlFormat(SoundData& data);
