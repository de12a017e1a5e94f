#include "tundra/Tundra_Text.h"

#include "core/Core_File.h"
#include "engine/Engine_BitmapFontCache.h"
#include "tundra/Tundra_ChildNode.h"
#include "tundra/Tundra_Game.h"

namespace Tundra {
namespace {

// Into a fresh string: reading an empty one leaves its target as it was.
Core::String ReadString(Core::File& file) {
    Core::String text;
    file >> text;
    return text;
}


}  // namespace

Text::Text(const Core::String& text, const Core::String& fontPath) {
    Core::RefPtr<Engine::Text> node = TUN_NEW(Engine::Text, text, false);
    node->SetFont(Engine::BitmapFontCache::Get(fontPath));
    ReplaceChildNode(*this, m_textNode, node);
}

Text::Text(const Text& other) : GameObject(other) {
    ReplaceChildNode(*this, m_textNode, CloneNode(other.m_textNode));
    RunHook("OnClone", true, &other);
}

void Text::PushToLua(lua_State* state) const { PushToLuaAs(state, "Text"); }

void Text::RenderSync(float dt) {
    m_textNode->SetColor(GetModulationColor());
    m_textNode->SetOpacity(GetOpacity());
}

void Text::Save(Core::File& file) const {
    GameObject::Save(file);
    file << GetText();
    const Core::RefPtr<Engine::BitmapFont>& font = m_textNode->GetFont();
    file << (font ? GetFileNameFromPath(font->GetName()) : Core::String());
    file.WriteU8(IsHUDObject() ? 1 : 0);
}

void Text::Load(Core::File& file) {
    GameObject::Load(file);
    SetText(ReadString(file));
    // Only a name below the fonts folder: a stored path never leads elsewhere.
    const Core::String fontName = GetFileNameFromPath(ReadString(file));
    if (!file.HasFailed()) {
        m_textNode->SetFont(fontName.empty() ? nullptr
                                         : Engine::BitmapFontCache::Get(Game::GetDirectory() + "\\Resources\\Fonts\\" +
                                                                        fontName + "\\" + fontName));
    }
    SetVisible(GetVisible());
    SetHUDObject(file.ReadFlag());
}

void Text::NetworkSave(Core::File& file) const {
    GameObject::NetworkSave(file);
    file << GetText();
}

void Text::NetworkLoad(Core::File& file) {
    GameObject::NetworkLoad(file);
    SetText(ReadString(file));
}

void Text::NetworkSyncSend(Core::File& file) const {
    GameObject::NetworkSyncSend(file);
    file << GetText();
    file.WriteU8(IsHUDObject() ? 1 : 0);
}

void Text::NetworkSyncReceive(Core::File& file) {
    GameObject::NetworkSyncReceive(file);
    SetText(ReadString(file));
    SetHUDObject(file.ReadFlag());
}

}  // namespace Tundra

TUN_DEFINE_CLASS(Tundra::Text)
