#pragma once

#include "core/Core_String.h"

#include <cstdint>

// The three control keys a menu may rebind, numbered as the menus' key
// captures: 1 Left, 2 Right, 3 Jump (0 is no binding). A key button shows
// the binding's name followed by the character its key types.

inline constexpr std::uint32_t kKeyBindingCount = 3;

// The binding's name with its separator ("Left - "); empty outside 1..3.
const char* KeyBindingName(std::uint32_t binding);
// The character the key bound now types, 127 for a key without one; 0
// outside 1..3.
char BoundKeyCharacter(std::uint32_t binding);
// The name followed by the character.
Core::String KeyBindingLabel(std::uint32_t binding, char character);
// Binds the key that went down at this poll, unless it is Escape or X (the
// menus' own keys) or another binding holds it; true when it bound one.
bool BindTriggeredKey(std::uint32_t binding);
