#include "mygame/MyGame_KeyBindings.h"

#include "input/Input_KeyTable.h"
#include "input/Input_Keyboard.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_Globals.h"

namespace {

// X opens and closes the in-world machines.
constexpr int kKeyX = 76;
constexpr char kNoCharacter = 127;

struct Binding {
    const char* name;
    std::int32_t GameGlobals::*key;
};
constexpr Binding kBindings[kKeyBindingCount] = {
    {"Left - ", &GameGlobals::leftKeyId}, {"Right - ", &GameGlobals::rightKeyId}, {"Jump - ", &GameGlobals::jumpKeyId}};

bool IsBinding(std::uint32_t binding) { return binding >= 1 && binding <= kKeyBindingCount; }

std::int32_t& BoundKey(std::uint32_t binding) { return Globals().*kBindings[binding - 1].key; }

const Input::Keyboard* GameKeyboard() {
    const MyGame* game = GetGame();
    return game != nullptr ? game->GetKeyboard() : nullptr;
}

}  // namespace

const char* KeyBindingName(std::uint32_t binding) { return IsBinding(binding) ? kBindings[binding - 1].name : ""; }

char BoundKeyCharacter(std::uint32_t binding) {
    if (!IsBinding(binding)) {
        return '\0';
    }
    const Input::Keyboard* keyboard = GameKeyboard();
    const char character = keyboard != nullptr ? keyboard->GetKeyAsChar(BoundKey(binding)) : '\0';
    return character != '\0' ? character : kNoCharacter;
}

Core::String KeyBindingLabel(std::uint32_t binding, char character) {
    return Core::String(KeyBindingName(binding)) + Core::String(1, character);
}

bool BindTriggeredKey(std::uint32_t binding) {
    const Input::Keyboard* keyboard = GameKeyboard();
    int key = 0;
    if (!IsBinding(binding) || keyboard == nullptr || !keyboard->GetTriggered(&key) || key == Input::kKeyEscape ||
        key == kKeyX) {
        return false;
    }
    for (std::uint32_t other = 1; other <= kKeyBindingCount; ++other) {
        if (other != binding && BoundKey(other) == key) {
            return false;
        }
    }
    BoundKey(binding) = key;
    return true;
}
