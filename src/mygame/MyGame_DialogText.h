#pragma once

#include "core/Core_String.h"
#include "tundra/Tundra_Text.h"

#include <cstdint>

// The stage's story text: it types one line at a time, first as random
// binary digits, then revealing the real characters, and shows the
// "DialogArrow" once the line is complete. The pace is one step a frame.
class DialogText : public Tundra::Text {
    TUN_DECLARE_CLASS(DialogText);
    DialogText() = default;
    DialogText(const Core::String& text, const Core::String& fontPath);
    // The text part with an empty line.
    DialogText(const DialogText& other);

    // After the text part: step timer, line, typed count, reveal flag,
    // arrow-shown flag.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // No line, nothing shown, no arrow before the first line.
    void OnStart() override;
    void Update(float dt) override;

    // Starts typing the line, broken on spaces into rows of at most 50
    // characters.
    void SetLine(const Core::String& line);
    // True when the line was already shown whole; otherwise shows it whole.
    bool ShowWholeLine();

    const Core::String& GetLine() const { return m_line; }
    bool IsLineComplete() const { return m_reveal != 0 && m_typedCount >= m_line.size(); }
    bool IsArrowShown() const { return m_arrowShown != 0; }

private:
    void TypeDigit(float dt);
    void RevealCharacter(float dt);
    bool StepDue(float dt, float pace);

    float m_stepTimer = 0.0f;
    Core::String m_line;
    std::uint32_t m_typedCount = 0;
    std::uint8_t m_reveal = 0;
    std::uint8_t m_arrowShown = 0;
};
