#pragma once

#include "core/Core_PoolAllocator.h"

#include <string>
#include <string_view>
#include <vector>

namespace Core {

using PoolString = std::basic_string<char, std::char_traits<char>, PoolAllocator<char>>;

// The engine's character string: the standard string (15 characters inline,
// longer texts in a pool block of capacity + 1 bytes) plus a few helpers.
class String : public PoolString {
public:
    using PoolString::PoolString;

    String() = default;
    // A null pointer gives the empty string.
    String(const char* text) : PoolString(text != nullptr ? text : "") {}
    String(std::string_view text) : PoolString(text.data(), text.size()) {}
    String(const PoolString& text) : PoolString(text) {}
    String(PoolString&& text) noexcept : PoolString(std::move(text)) {}
};

using StringVector = std::vector<String, PoolAllocator<String>>;

}  // namespace Core
