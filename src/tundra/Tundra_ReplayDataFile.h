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

// Every frame but the last recorded one; no frames at all write a count of 0.
void Write(Core::File& file, const std::vector<ReplayFrame>& frames);

// The frames of a whole file, or false with the reason and frames untouched.
// Every count is bounded by the bytes left, presence bytes are 0 or 1, each
// key or button has one five-byte state, and nothing may follow the frames.
bool Read(std::span<const std::uint8_t> bytes, std::vector<ReplayFrame>& frames, std::string& reason);

}  // namespace Tundra::ReplayDataFile
