#pragma once

#include <cstdint>

// Results of opening and reading sound files.
enum SoundResult : std::int32_t {
    kSoundOk = 0,
    // The file cannot be opened, or the path is shorter than 3 characters.
    kSoundCannotOpen = -1,
    // Not a usable file: an unknown extension, a bad or truncated header, a
    // missing chunk, a short read, an unsupported or impossible format.
    kSoundUnusable = -2,
    // No file or decoder is open.
    kSoundNotOpen = -13,
    // An Ogg file while the vorbisfile entry table is not ready.
    kSoundNoDecoder = -16,
};
