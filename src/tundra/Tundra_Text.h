#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "engine/Engine_Text.h"
#include "tundra/Tundra_GameObject.h"

namespace Tundra {

// A string in a bitmap font under the object's node, in the object's colour
// and opacity. A HUD text is drawn in screen space, centred on the screen,
// without the view test. The node's own screen flag stays clear (a text node
// with it set draws nothing).
class Text : public GameObject {
    TUN_DECLARE_CLASS(Text);
    // The empty string in the default font.
    Text() : Text("", "") {}
    // The font by its full path without extension (see Engine::BitmapFontCache).
    Text(const Core::String& text, const Core::String& fontPath);
    Text(const Text& other);
    Text& operator=(const Text&) = delete;

    void PushToLua(lua_State* state) const override;
    // After the object part: the string, the font's file name, the HUD flag.
    void Save(Core::File& file) const override;
    // The font comes back from "\Resources\Fonts\<name>\<name>" below the
    // program's directory; an empty name leaves the text without a font.
    void Load(Core::File& file) override;
    void NetworkSave(Core::File& file) const override;
    void NetworkLoad(Core::File& file) override;
    void NetworkSyncSend(Core::File& file) const override;
    void NetworkSyncReceive(Core::File& file) override;
    void RenderSync(float dt) override;

    void SetText(const Core::String& text) { m_textNode->SetText(text); }
    const Core::String& GetText() const { return m_textNode->GetText(); }
    void SetHUDObject(bool hud) { m_textNode->SetHUDObject(hud); }
    bool IsHUDObject() const { return m_textNode->IsHUDObject(); }
    const Core::RefPtr<Engine::Text>& GetTextNode() const { return m_textNode; }

private:
    Core::RefPtr<Engine::Text> m_textNode;
};

}  // namespace Tundra
