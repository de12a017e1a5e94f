#pragma once

#include "core/Core_String.h"
#include "tundra/Tundra_Text.h"

#include <cstdint>

// A menu text that enters late: made at opacity -3 it stays invisible for
// about a quarter of a second, then fades in.
class FadingText : public Tundra::Text {
    TUN_DECLARE_CLASS(FadingText);
    FadingText() = default;
    FadingText(const Core::String& text, const Core::String& fontPath);
    // The text part, show-pending clear.
    FadingText(const FadingText& other);

    // After the text part: the show-pending flag.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    void OnStart() override;
    // Shows a pending text, then fades toward full opacity.
    void Update(float dt) override;

    void SetShowPending(bool pending) { m_showPending = pending ? 1 : 0; }
    bool IsShowPending() const { return m_showPending != 0; }

private:
    std::uint8_t m_showPending = 0;
};

// A clone of the fading-text template in the HUD layer at (x, y), shown at
// opacity -3 and holding the text; null without the template or a level.
FadingText* CreateFadingText(float x, float y, const Core::String& text);
