#include "mygame/MyGame_DialogText.h"

#include "mygame/MyGame_FadeStep.h"
#include "mygame/MyGame_Random.h"
#include "mygame/MyGame_WidgetStream.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Sprite.h"

#include <string_view>

TUN_DEFINE_CLASS(DialogText)

namespace {

constexpr const char* kArrowName = "DialogArrow";
// Negative timer values at which the next digit, or the next real
// character, is due.
constexpr float kDigitStep = -0.0125f;
constexpr float kRevealStep = -0.02f;
constexpr std::size_t kRowLength = 50;
// The text's fade in, per second.
constexpr float kTextFadeRate = 2.0f;

// Turns the last space before each row grows past kRowLength characters
// into a newline. The search never goes back past the row's start: a row
// without a space stays whole until the next space. Newlines already in the
// line count as characters of the row.
void BreakIntoRows(Core::String& line) {
    std::size_t run = 0;
    // Nothing before this index holds a space the search may use.
    std::size_t searchFrom = 0;
    for (std::size_t i = 0; i < line.size();) {
        if (run < kRowLength) {
            ++run;
            ++i;
            continue;
        }
        const std::size_t space = std::string_view(line).substr(searchFrom, i + 1 - searchFrom).rfind(' ');
        if (space == std::string_view::npos) {
            searchFrom = i + 1;
            ++i;
            continue;
        }
        i = searchFrom + space;
        line[i] = '\n';
        run = 0;
        ++i;
        searchFrom = i;
    }
}

}  // namespace

DialogText::DialogText(const Core::String& text, const Core::String& fontPath) : Text(text, fontPath) {}

DialogText::DialogText(const DialogText& other) : Text(other) {}

void DialogText::Save(Core::File& file) const {
    Text::Save(file);
    file.WriteF32(m_stepTimer);
    file << m_line;
    file.WriteU32(m_typedCount);
    file.WriteU8(m_reveal);
    file.WriteU8(m_arrowShown);
}

void DialogText::Load(Core::File& file) {
    Text::Load(file);
    float stepTimer = m_stepTimer;
    Core::String line = m_line;
    std::uint32_t typedCount = m_typedCount;
    std::uint8_t reveal = m_reveal;
    std::uint8_t arrowShown = m_arrowShown;
    ReadFinite(file, stepTimer);
    file >> line;
    file.ReadU32(typedCount);
    ReadFlagByte(file, reveal);
    ReadFlagByte(file, arrowShown);
    if (typedCount > line.size()) {
        file.SetFailed();
    }
    if (file.HasFailed()) {
        return;
    }
    m_stepTimer = stepTimer;
    m_line = std::move(line);
    m_typedCount = typedCount;
    m_reveal = reveal;
    m_arrowShown = arrowShown;
}

void DialogText::OnStart() {
    Text::OnStart();
    m_line.clear();
    m_stepTimer = 0.0f;
    m_typedCount = 0;
    m_reveal = 0;
    m_arrowShown = 1;
    SetText("");
}

void DialogText::SetLine(const Core::String& line) {
    m_line = line;
    BreakIntoRows(m_line);
    m_stepTimer = 0.0f;
    m_typedCount = 0;
    m_reveal = 0;
    m_arrowShown = 0;
    SetText("");
}

bool DialogText::ShowWholeLine() {
    if (IsLineComplete()) {
        return true;
    }
    SetText(m_line);
    m_typedCount = static_cast<std::uint32_t>(m_line.size());
    m_reveal = 1;
    return false;
}

void DialogText::Update(float dt) {
    Text::Update(dt);
    SetOpacity(FadeStep(GetOpacity(), 1.0f, dt, kTextFadeRate));
    if (m_reveal == 0) {
        TypeDigit(dt);
    } else if (m_typedCount < m_line.size()) {
        RevealCharacter(dt);
    } else if (m_arrowShown == 0) {
        if (auto* arrow = Tundra::FindObject<Tundra::Sprite>(kArrowName)) {
            arrow->SetVisible(true);
        }
        m_arrowShown = 1;
    }
}

// The rows of digits keep the line's newlines, so they match the final rows.
void DialogText::TypeDigit(float dt) {
    if (m_typedCount >= m_line.size()) {
        m_reveal = 1;
        m_typedCount = 0;
        return;
    }
    if (!StepDue(dt, kDigitStep)) {
        return;
    }
    Core::String shown = GetText();
    if (m_line[m_typedCount] == '\n') {
        shown += '\n';
    } else {
        shown += RandomInt(0, 1) == 0 ? '0' : '1';
    }
    SetText(shown);
    ++m_typedCount;
}

void DialogText::RevealCharacter(float dt) {
    if (!StepDue(dt, kRevealStep)) {
        return;
    }
    Core::String shown = GetText();
    if (m_typedCount < shown.size()) {
        shown[m_typedCount] = m_line[m_typedCount];
        SetText(shown);
    }
    ++m_typedCount;
}

// One step when the timer falls below the pace; the rest of the time is
// dropped, so the pace follows the frame rate.
bool DialogText::StepDue(float dt, float pace) {
    m_stepTimer = m_stepTimer - dt;
    if (!(m_stepTimer < pace)) {
        return false;
    }
    m_stepTimer = 0.0f;
    return true;
}
