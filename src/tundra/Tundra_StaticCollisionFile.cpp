#include "tundra/Tundra_StaticCollisionFile.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace Tundra {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads tokens off the front of the text; every read that fails returns
// nothing and the caller stops.
class Tokens {
public:
    explicit Tokens(std::string_view text) : m_text(text) {}

    bool Word() {
        SkipBlanks();
        const std::size_t start = m_at;
        while (m_at < m_text.size() && !IsBlank(m_text[m_at])) {
            ++m_at;
        }
        return m_at > start;
    }

    // An optional sign and digits, within the i32 range, as a whole token.
    std::optional<std::int64_t> Count() {
        SkipBlanks();
        std::size_t at = m_at;
        if (at + 1 < m_text.size() && m_text[at] == '+' && m_text[at + 1] != '-') {
            ++at;
        }
        std::int32_t value = 0;
        const auto [end, error] = std::from_chars(m_text.data() + at, m_text.data() + m_text.size(), value);
        if (error != std::errc() || !EndsToken(end)) {
            return std::nullopt;
        }
        m_at = static_cast<std::size_t>(end - m_text.data());
        return value;
    }

    // A finite decimal number: sign, digits, optional fraction and exponent.
    std::optional<float> Number() {
        SkipBlanks();
        std::size_t at = m_at;
        const bool plus = at < m_text.size() && m_text[at] == '+';
        if (plus) {
            ++at;
        }
        const std::size_t digitAt = at < m_text.size() && m_text[at] == '-' && !plus ? at + 1 : at;
        if (digitAt >= m_text.size() || !IsDigit(m_text[digitAt])) {
            return std::nullopt;
        }
        double value = 0.0;
        const auto [end, error] = std::from_chars(m_text.data() + at, m_text.data() + m_text.size(), value,
                                                  std::chars_format::general);
        if (error != std::errc() || !std::isfinite(static_cast<float>(value))) {
            return std::nullopt;
        }
        m_at = static_cast<std::size_t>(end - m_text.data());
        return static_cast<float>(value);
    }

    // Optional blanks, then one non-blank byte.
    bool Separator() {
        SkipBlanks();
        if (m_at >= m_text.size()) {
            return false;
        }
        ++m_at;
        return true;
    }

    // The group: truncated toward zero, its low 8 bits.
    std::optional<std::uint8_t> Group() {
        const std::optional<float> value = Number();
        if (!value || std::fabs(*value) >= 2147483648.0f) {
            return std::nullopt;
        }
        return static_cast<std::uint8_t>(static_cast<std::uint32_t>(static_cast<std::int32_t>(*value)));
    }

    std::optional<std::uint32_t> UserId() {
        SkipBlanks();
        if (m_at >= m_text.size() || !IsDigit(m_text[m_at])) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        const auto [end, error] = std::from_chars(m_text.data() + m_at, m_text.data() + m_text.size(), value);
        if (error != std::errc() || !EndsToken(end)) {
            return std::nullopt;
        }
        m_at = static_cast<std::size_t>(end - m_text.data());
        return value;
    }

    // count numbers with a separator between each two, the last a group.
    bool Numbers(float* values, int count, std::uint8_t& group) {
        for (int i = 0; i < count; ++i) {
            const std::optional<float> value = Number();
            if (!value || !Separator()) {
                return false;
            }
            values[i] = *value;
        }
        const std::optional<std::uint8_t> read = Group();
        if (!read || !Separator()) {
            return false;
        }
        group = *read;
        return true;
    }

private:
    void SkipBlanks() {
        while (m_at < m_text.size() && IsBlank(m_text[m_at])) {
            ++m_at;
        }
    }
    bool EndsToken(const char* end) const { return end == m_text.data() + m_text.size() || IsBlank(*end); }

    std::string_view m_text;
    std::size_t m_at = 0;
};

// The heading and count of a section; 0 or less means none.
std::optional<std::int64_t> Section(Tokens& tokens) {
    if (!tokens.Word()) {
        return std::nullopt;
    }
    return tokens.Count();
}

}  // namespace

StaticCollisionFile StaticCollisionFile::Parse(std::string_view text) {
    StaticCollisionFile file;
    Tokens tokens(text);
    const std::optional<std::int64_t> segments = Section(tokens);
    if (!segments) {
        return file;
    }
    for (std::int64_t i = 0; i < *segments; ++i) {
        float values[4] = {};
        Segment segment;
        if (!tokens.Numbers(values, 4, segment.group)) {
            return file;
        }
        const std::optional<std::uint32_t> userId = tokens.UserId();
        if (!userId) {
            return file;
        }
        segment.a = {values[0], values[1]};
        segment.b = {values[2], values[3]};
        segment.userId = *userId;
        file.segments.push_back(segment);
    }
    const std::optional<std::int64_t> circles = Section(tokens);
    if (!circles) {
        return file;
    }
    for (std::int64_t i = 0; i < *circles; ++i) {
        float values[3] = {};
        Circle circle;
        if (!tokens.Numbers(values, 3, circle.group)) {
            return file;
        }
        const std::optional<std::uint32_t> userId = tokens.UserId();
        if (!userId) {
            return file;
        }
        circle.center = {values[0], values[1]};
        circle.radius = values[2];
        circle.userId = *userId;
        file.circles.push_back(circle);
    }
    return file;
}

}  // namespace Tundra
