#include "core/Core_String.h"

#include "os/OS_Path.h"

#include <charconv>

namespace Core {
namespace {

template <class Integer>
String DecimalText(Integer value) {
    char digits[12];  // "-2147483648" and its terminator
    const auto result = std::to_chars(digits, digits + sizeof(digits), value);
    return String(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

}  // namespace

String& String::ToUpper() {
    for (char& c : *this) {
        c = os::UpperAscii(c);
    }
    return *this;
}

bool String::EndsWith(std::string_view suffix) const {
    return std::string_view(*this).ends_with(suffix);
}

String& String::EraseRange(std::uint32_t position, std::uint32_t count) {
    // position < size() also rules out the empty string; comparing count with
    // what follows position cannot wrap, unlike position + count <= size().
    if (count > 0 && position < size() && count <= size() - position) {
        erase(position, count);
    }
    return *this;
}

String String::SubstringFrom(std::uint32_t position) const {
    if (position >= size()) {
        return String();
    }
    return String(std::string_view(*this).substr(position));
}

WideString String::ToWideString() const {
    WideString wide;
    wide.reserve(size());
    for (const char c : *this) {
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    }
    return wide;
}

String ToString(std::int32_t value) { return DecimalText(value); }

String ToString(std::uint32_t value) { return DecimalText(value); }

}  // namespace Core

Core::String GetFileNameFromPath(std::string_view path) { return Core::String(os::FileNameOf(path)); }
