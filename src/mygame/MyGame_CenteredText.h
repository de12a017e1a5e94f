#pragma once

#include "core/Core_String.h"
#include "math/Math_Vector2D.h"
#include "tundra/Tundra_Text.h"

#include <cstdint>

// A HUD text kept on a fixed point, the anchor; menus and dialogs write
// their words through it.
class CenteredText : public Tundra::Text {
    TUN_DECLARE_CLASS(CenteredText);
    CenteredText() = default;
    // The anchor is taken from the position at the first SetText.
    CenteredText(const Core::String& text, const Core::String& fontPath);
    // The text part; anchor (0, 0), show-pending clear.
    CenteredText(const CenteredText& other);

    // After the text part: anchor, text length, show-pending flag.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Shows a pending text and fades toward full opacity.
    void Update(float dt) override;

    // Sets the string and centres its first row on the anchor, in whole
    // units.
    void SetText(const Core::String& text);

    void SetAnchor(const Vector2D& anchor) { m_anchor = anchor; }
    const Vector2D& GetAnchor() const { return m_anchor; }
    std::uint32_t GetTextLength() const { return m_textLength; }
    void SetShowPending(bool pending) { m_showPending = pending ? 1 : 0; }
    bool IsShowPending() const { return m_showPending != 0; }

private:
    Vector2D m_anchor{0.0f, 0.0f};
    std::uint32_t m_textLength = 0;
    std::uint8_t m_showPending = 0;
};

// A clone of the centred-text template in the HUD layer, shown, anchored at
// the position and holding the text; null without the template or a level.
CenteredText* CreateCenteredText(const Vector2D& position, const Core::String& text);
