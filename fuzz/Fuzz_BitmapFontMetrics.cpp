#include "Fuzz_Harness.h"

#include "engine/Engine_FontFile.h"

#include <cstdlib>

// A font's metrics file comes from disk as it is: any bytes must parse
// without a read outside them, and whatever was read must be written back
// and read again unchanged (compared as bytes: a cell offset may be a NaN).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Engine::FontFile font = Engine::ParseFontFile(std::span(data, size));
    const fuzz::Bytes encoded = Engine::EncodeFontFile(font, u"");
    if (Engine::EncodeFontFile(Engine::ParseFontFile(encoded), u"") != encoded) {
        std::abort();
    }
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    Engine::FontFile font;
    font.metrics = {1, 3, 1, 32, 1, 6, 40, 1};
    for (std::uint32_t k = 0; k < Engine::kFontGlyphCount; ++k) {
        const auto v = static_cast<std::int32_t>(k);
        font.glyphs[k] = {static_cast<std::uint16_t>(32 + k), 10 + v % 20, 12 + v % 20, 24, 0, 0, 0.5f * (v % 4),
                          v % 3, v % 5};
    }
    const fuzz::Bytes named = Engine::EncodeFontFile(font, u"Default Font");
    seeds.Add("named", named);
    seeds.Add("unnamed", Engine::EncodeFontFile(font, u""));
    seeds.Add("truncated", fuzz::Bytes(named.begin(), named.begin() + 1000));
    fuzz::Bytes huge = named;
    huge[0] = huge[1] = huge[2] = huge[3] = 0xFF;
    seeds.Add("count_past_end", huge);
}
