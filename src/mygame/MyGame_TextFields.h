#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The saved text files are read as formatted stream extraction reads them:
// each field after any blanks, a number as one token, a raw-byte field as
// the next non-blank byte. Whatever the bytes, nothing is read past them.
// The game ends every line with a newline, so a last line without one was
// cut while it was written: its fields are never read, since a cut number
// can still look valid ("7" of "75"). ParseSavedText reads a file that
// lacks only its final newline whole.
class TextFieldReader {
public:
    explicit TextFieldReader(std::string_view text);

    // The next run of non-blank bytes; empty at the end.
    std::string_view NextToken();
    // The next non-blank byte; nothing at the end.
    std::optional<std::uint8_t> NextRawByte();
    // Only blanks are left, and no line was cut.
    bool AtEnd();

private:
    void SkipBlanks();

    // The lines that end in a newline.
    std::string_view m_text;
    bool m_cutLine = false;
    std::size_t m_position = 0;
};

// A token that is a whole decimal number of the type (an integer, or for a
// floating type any general form); nothing otherwise.
template <class Number>
std::optional<Number> ParseNumber(std::string_view token) {
    Number value{};
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (token.empty() || error != std::errc() || end != token.data() + token.size()) {
        return std::nullopt;
    }
    return value;
}

// Stores a field that is there and valid; else the value keeps its default
// and the file counts as damaged.
template <class T, class Valid>
void TakeField(std::optional<T> field, const Valid& valid, T& value, bool& damaged) {
    if (field && valid(*field)) {
        value = *field;
    } else {
        damaged = true;
    }
}

// What parse reads of the text. A text that does not end in a newline is
// read with one put back when that reads every field undamaged: it lacks
// only that newline, as some editors save a file. Otherwise its last line
// was cut and stays unread.
template <class Parse>
auto ParseSavedText(std::string_view text, const Parse& parse) {
    if (!text.empty() && text.back() != '\n') {
        auto whole = parse(std::string(text) + '\n');
        if (!whole.damaged) {
            return whole;
        }
    }
    return parse(text);
}

template <class Integer>
void AppendIntegerLine(std::string& text, Integer value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, result.ptr);
    text += '\n';
}

// Six significant digits, shortest form ("0.8", "1", "0.123457"), in any locale.
void AppendFloatLine(std::string& text, float value);
// The value that line reads back as.
float AsWrittenInLine(float value);
