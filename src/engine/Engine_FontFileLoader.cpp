#include "engine/Engine_FontFile.h"

#include "os/OS_ByteOrder.h"
#include "os/OS_File.h"

#include <cstdio>
#include <limits>

namespace Engine {

FontFile LoadFontFile(std::string_view path) {
    const os::FilePointer file = os::OpenFile(path, "rb");
    std::uint8_t count[4];
    if (!file || std::fread(count, 1, sizeof count, file.get()) != sizeof count) {
        return {};
    }
    // A stored count may point far past the end: the seek moves no data and
    // the read after it finds nothing, so nothing is ever sized from it.
    const std::uint64_t bodyOffset = FontBodyOffset(os::LoadU32LE(count));
    static_assert(std::numeric_limits<off_t>::max() >= FontBodyOffset(0xFFFFFFFFu));
    if (fseeko(file.get(), static_cast<off_t>(bodyOffset), SEEK_SET) != 0) {
        return {};
    }
    std::uint8_t body[kFontBodyBytes];
    const std::size_t read = std::fread(body, 1, sizeof body, file.get());
    return ParseFontBody(std::span(body, read));
}

}  // namespace Engine
