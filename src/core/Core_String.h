#pragma once

#include "core/Core_PoolAllocator.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Core {

using PoolString = std::basic_string<char, std::char_traits<char>, PoolAllocator<char>>;
// 16-bit characters, each widened from one byte of a String.
using WideString = std::basic_string<char16_t, std::char_traits<char16_t>, PoolAllocator<char16_t>>;

// The engine's character string: the standard string (15 characters inline,
// longer texts in a pool block of capacity + 1 bytes) plus a few helpers.
// Characters are bytes; positions and counts are 32-bit like the stored form.
class String : public PoolString {
public:
    using PoolString::PoolString;

    // A capacity to reserve: String(String::Capacity{64}). Tagged, so that a
    // number can never be taken for a text or a null pointer.
    struct Capacity {
        std::uint32_t characters;
    };

    String() = default;
    // A null pointer gives the empty string.
    String(const char* text) : PoolString(text != nullptr ? text : "") {}
    String(std::string_view text) : PoolString(text.data(), text.size()) {}
    String(const PoolString& text) : PoolString(text) {}
    String(PoolString&& text) noexcept : PoolString(std::move(text)) {}
    explicit String(Capacity capacity) { reserve(capacity.characters); }

    // 'a'-'z' become 'A'-'Z' as in the C locale; every other byte, those of
    // 0x80 and above included, stays as it is.
    String& ToUpper();
    // True for an empty suffix; false when the suffix is longer than the string.
    bool EndsWith(std::string_view suffix) const;
    // Removes count characters from position when that range lies wholly
    // inside a non-empty string and count > 0; otherwise changes nothing.
    String& EraseRange(std::uint32_t position, std::uint32_t count);
    // The characters from position to the end; empty when position is past the last one.
    String SubstringFrom(std::uint32_t position) const;
    // Each byte widened as an unsigned value (Latin-1), same length.
    WideString ToWideString() const;
};

using StringVector = std::vector<String, PoolAllocator<String>>;

// Decimal text, as "%i" and "%u" print it.
String ToString(std::int32_t value);
String ToString(std::uint32_t value);

}  // namespace Core

// The characters after the last '\' or '/' of the path; the whole path when
// it has neither, the empty string when it ends in one.
Core::String GetFileNameFromPath(std::string_view path);
