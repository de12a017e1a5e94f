#include "mygame/MyGame_DialogText.h"

#include "mygame/MyGame_WidgetStream.h"

TUN_DEFINE_CLASS(DialogText)

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

// The line is shown whole at once.
void DialogText::SetLine(const Core::String& line) {
    m_line = line;
    m_stepTimer = 0.0f;
    m_typedCount = static_cast<std::uint32_t>(m_line.size());
    m_reveal = 1;
    m_arrowShown = 0;
    SetText(m_line);
}

bool DialogText::ShowWholeLine() {
    const bool wasWhole = IsLineComplete();
    SetText(m_line);
    m_typedCount = static_cast<std::uint32_t>(m_line.size());
    m_reveal = 1;
    return wasWhole;
}

void DialogText::Update(float dt) {
    Text::Update(dt);
}
