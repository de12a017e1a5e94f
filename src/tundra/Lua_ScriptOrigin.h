#pragma once

#include <cstdint>

// Where a script's name came from. The game's own scripts, named by its code
// and its level files, are part of it: one that is missing or does not
// compile stops the game. A name read from a peer or a saved file may name
// anything: when it names no script, its object goes without one.
enum class ScriptOrigin : std::uint8_t { Game, Foreign };
