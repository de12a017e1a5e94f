#pragma once

#include <cstddef>
#include <cstdint>

// The bytes of one sound file, read from a position that moves forward as
// they are read. The file parsers and the Ogg decoder read through this, so
// that the same parsing runs over a disk file or a block of memory.
class SoundByteSource {
public:
    SoundByteSource() = default;
    SoundByteSource(const SoundByteSource&) = delete;
    SoundByteSource& operator=(const SoundByteSource&) = delete;
    virtual ~SoundByteSource() = default;

    // Copies up to count bytes from the current position and moves past
    // them; how many were copied (fewer at the end or on an error).
    virtual std::size_t Read(void* bytes, std::size_t count) = 0;
    // Moves to offset from the start (SEEK_SET), the current position
    // (SEEK_CUR) or the end (SEEK_END). A position past the end is allowed
    // (reads there give nothing); a negative one fails and changes nothing.
    virtual bool Seek(std::int64_t offset, int whence) = 0;
    virtual std::int64_t Tell() = 0;
    // Total length in bytes; -1 when it cannot be told.
    virtual std::int64_t Size() = 0;
    // Forgets an earlier end-of-file or read error, so reading can resume
    // after a rewind.
    virtual void ClearError() {}
};
