#include "mygame/MyGame_TextFields.h"

#include <algorithm>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

}  // namespace

TextFieldReader::TextFieldReader(std::string_view text) {
    const std::size_t lastNewline = text.rfind('\n');
    m_text = text.substr(0, lastNewline == std::string_view::npos ? 0 : lastNewline + 1);
    const std::string_view cut = text.substr(m_text.size());
    m_cutLine = std::any_of(cut.begin(), cut.end(), [](char c) { return !IsBlank(c); });
}

void TextFieldReader::SkipBlanks() {
    while (m_position < m_text.size() && IsBlank(m_text[m_position])) {
        ++m_position;
    }
}

std::string_view TextFieldReader::NextToken() {
    SkipBlanks();
    const std::size_t start = m_position;
    while (m_position < m_text.size() && !IsBlank(m_text[m_position])) {
        ++m_position;
    }
    return m_text.substr(start, m_position - start);
}

std::optional<std::uint8_t> TextFieldReader::NextRawByte() {
    SkipBlanks();
    if (m_position == m_text.size()) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(m_text[m_position++]);
}

bool TextFieldReader::AtEnd() {
    SkipBlanks();
    return m_position == m_text.size() && !m_cutLine;
}

void AppendFloatLine(std::string& text, float value) {
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 6);
    text.append(digits, result.ptr);
    text += '\n';
}

float AsWrittenInLine(float value) {
    std::string line;
    AppendFloatLine(line, value);
    line.pop_back();
    return ParseNumber<float>(line).value_or(value);
}
