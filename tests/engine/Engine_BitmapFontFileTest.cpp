#include "engine/Engine_FontFile.h"

#include "os/OS_ByteOrder.h"
#include "support/TempDirectory.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <random>
#include <string>

using Engine::FontFile;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Every field distinct and non-zero, so a field read from the wrong place shows.
FontFile SampleFont() {
    FontFile font;
    font.metrics = {101, 3, 103, 32, 105, 6, 40, 108};
    for (std::uint32_t k = 0; k < Engine::kFontGlyphCount; ++k) {
        const auto v = static_cast<std::int32_t>(k);
        font.glyphs[k] = {static_cast<std::uint16_t>(32 + k),
                          10 + v,
                          12 + v,
                          20 + v,
                          -v - 1,
                          1000 + v,
                          0.25f * v + 0.5f,
                          v % 3 + 1,
                          v % 5 + 1};
    }
    return font;
}

// Offsets after the face name at which a field ends.
std::vector<std::uint32_t> FieldEnds() {
    std::vector<std::uint32_t> ends;
    for (std::uint32_t end = 4; end <= Engine::kFontMetricsBytes; end += 4) {
        ends.push_back(end);
    }
    for (std::uint32_t k = 0; k < Engine::kFontGlyphCount; ++k) {
        const std::uint32_t record = Engine::kFontMetricsBytes + k * Engine::kFontGlyphBytes;
        for (std::uint32_t end = record + 2; end <= record + Engine::kFontGlyphBytes; end += 4) {
            ends.push_back(end);
        }
    }
    return ends;
}

// What a parse of any bytes must give: each field the bytes hold entirely,
// read from where the stored count puts it, and 0 for every other field.
// Checked through the encoder, which writes the parsed fields back in order.
void ExpectParsedAsLaidOut(const Bytes& bytes, const std::string& what) {
    const Bytes encoded = Engine::EncodeFontFile(Engine::ParseFontFile(bytes), u"");
    const std::uint64_t start = bytes.size() < 4 ? bytes.size() : Engine::FontBodyOffset(os::LoadU32LE(bytes.data()));
    const std::uint64_t available = start < bytes.size() ? bytes.size() - start : 0;
    std::uint32_t held = 0;
    for (const std::uint32_t end : FieldEnds()) {
        held = end <= available ? end : held;
    }
    Bytes expected(Engine::kFontBodyBytes, 0);
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(start), held, expected.begin());
    const auto [wrong, unused] = std::mismatch(expected.begin(), expected.end(), encoded.begin() + 4);
    ASSERT_EQ(wrong, expected.end()) << what << ", body byte " << (wrong - expected.begin());
}

Bytes Mutate(Bytes bytes, std::mt19937& random) {
    auto pick = [&](std::size_t bound) { return std::uniform_int_distribution<std::size_t>(0, bound)(random); };
    switch (pick(3)) {
        case 0:
            bytes.resize(pick(bytes.size()));
            break;
        case 1: {
            const std::uint32_t counts[] = {0,
                                            1,
                                            0xFFFFFFFFu,
                                            0x80000000u,
                                            static_cast<std::uint32_t>(random()),
                                            static_cast<std::uint32_t>((bytes.size() - 4) / 2 - pick(4))};
            os::StoreU32LE(bytes.data(), counts[pick(5)]);
            break;
        }
        default:
            for (std::size_t flips = pick(16) + 1; flips > 0; --flips) {
                bytes[pick(bytes.size() - 1)] ^= static_cast<std::uint8_t>(pick(254) + 1);
            }
    }
    return bytes;
}

}  // namespace

TEST(FontFile, FieldsSitWhereTheLayoutPutsThem) {
    const FontFile font = SampleFont();
    const Bytes bytes = Engine::EncodeFontFile(font, u"abc");
    ASSERT_EQ(bytes.size(), 3306u);
    EXPECT_EQ(os::LoadU32LE(bytes.data()), 3u);
    EXPECT_EQ(os::LoadU16LE(bytes.data() + 4), u'a');
    EXPECT_EQ(static_cast<std::int32_t>(os::LoadU32LE(bytes.data() + 10)), 101);
    EXPECT_EQ(static_cast<std::int32_t>(os::LoadU32LE(bytes.data() + 34)), 40);   // m7, the line height
    EXPECT_EQ(static_cast<std::int32_t>(os::LoadU32LE(bytes.data() + 38)), 108);  // m8
    EXPECT_EQ(os::LoadU16LE(bytes.data() + 42), 32u);
    EXPECT_EQ(os::LoadU32LE(bytes.data() + 44), 10u);
    const std::uint8_t* last = bytes.data() + 42 + 95 * 34;
    EXPECT_EQ(std::bit_cast<float>(os::LoadU32LE(last + 22)), font.glyphs[95].cellOffset);
    EXPECT_EQ(os::LoadU32LE(last + 30), static_cast<std::uint32_t>(font.glyphs[95].topOffset));
    EXPECT_EQ(Engine::ParseFontFile(bytes), font);
    EXPECT_EQ(Engine::ParseFontFile(Engine::EncodeFontFile(font, u"")), font);
}

TEST(FontFile, HandPlacedFieldsAreReadFromTheirOffsets) {
    Bytes bytes(3306, 0);
    os::StoreU32LE(bytes.data(), 3);
    os::StoreU32LE(bytes.data() + 34, 77);
    os::StoreU32LE(bytes.data() + 38, 88);
    os::StoreU32LE(bytes.data() + 42 + 34 + 22, std::bit_cast<std::uint32_t>(-1.75f));
    const FontFile font = Engine::ParseFontFile(bytes);
    EXPECT_EQ(font.metrics.lineHeight, 77);
    EXPECT_EQ(font.metrics.unused8, 88);
    EXPECT_EQ(font.glyphs[1].cellOffset, -1.75f);
}

TEST(FontFileHostile, EveryTruncationKeepsWholeFieldsAndZeroesTheRest) {
    const Bytes valid = Engine::EncodeFontFile(SampleFont(), u"Face");
    for (std::size_t size = 0; size <= valid.size(); ++size) {
        ExpectParsedAsLaidOut(Bytes(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(size)),
                              "size " + std::to_string(size));
    }
    Bytes longer = valid;
    longer.resize(valid.size() + 100, 0xAB);
    EXPECT_EQ(Engine::ParseFontFile(longer), SampleFont());
}

TEST(FontFileHostile, CountsReachingPastTheEndReadNothing) {
    Bytes bytes = Engine::EncodeFontFile(SampleFont(), u"");
    for (const std::uint32_t count : {0xFFFFFFFFu, 0x80000000u, 1650u, 1648u}) {
        os::StoreU32LE(bytes.data(), count);
        EXPECT_EQ(Engine::ParseFontFile(bytes), FontFile()) << count;
    }
}

TEST(FontFileHostile, SeededMutationsParseAsLaidOut) {
    const Bytes valid = Engine::EncodeFontFile(SampleFont(), u"Mutated face");
    std::mt19937 random(5130);
    for (int i = 0; i < 10000; ++i) {
        ExpectParsedAsLaidOut(Mutate(valid, random), "mutation " + std::to_string(i));
        if (HasFatalFailure()) {
            return;
        }
    }
}

TEST(FontFileHostile, LoaderReadsWhatTheParserReads) {
    testsupport::TempDirectory dir;
    EXPECT_EQ(Engine::LoadFontFile(dir.Path() + "/missing.tbf"), FontFile());
    const Bytes valid = Engine::EncodeFontFile(SampleFont(), u"Loaded face");
    const std::string path = dir.Path() + "/Font.tbf";
    std::mt19937 random(2026);
    for (int i = 0; i < 300; ++i) {
        const Bytes bytes = i == 0 ? valid : Mutate(valid, random);
        testsupport::WriteBytes(path, bytes);
        // Compared as bytes: a mutated cell offset may be a NaN.
        ASSERT_EQ(Engine::EncodeFontFile(Engine::LoadFontFile(dir.Path() + "\\FONT.TBF"), u""),
                  Engine::EncodeFontFile(Engine::ParseFontFile(bytes), u""))
            << "mutation " << i;
    }
}
