#pragma once

#include "core/Core_File.h"
#include "tundra/Tundra_ReplayFrame.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The replay data file: u32 frame count, then per frame the keyboard's
// presence byte and, when 1, u32 key count, the key codes, u32 state count,
// five bytes per state; the same for the mouse's buttons; i32 mouse x,
// i32 mouse y, f32 dt. Little-endian.
namespace Tundra::ReplayDataFile {

// Longer than any update of a running game: a dt beyond it is damage, which
// the game would otherwise play as one frame of hours or years.
inline constexpr float kLongestFrameSeconds = 60.0f;

// Every frame but the last recorded one; no frames at all write a count of 0.
// A frame that stalled for longer than kLongestFrameSeconds is written as
// that long, so that every file written can be read.
void Write(Core::File& file, const std::vector<ReplayFrame>& frames);

// The frames of a whole file, or false with the reason and frames untouched.
// Every count is bounded by the bytes left, presence bytes are 0 or 1, each
// key or button has one five-byte state, every dt is a time from 0 to
// kLongestFrameSeconds, and nothing may follow the frames.
bool Read(std::span<const std::uint8_t> bytes, std::vector<ReplayFrame>& frames, std::string& reason);

}  // namespace Tundra::ReplayDataFile
