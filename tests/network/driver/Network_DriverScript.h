#pragma once

#include <string>
#include <string_view>

namespace Core {
class Object;
}

// The driver reaches the network only as a script does: chunks run on the
// game's interpreter, through the "Game", "Layer" and "TunNet" tables.
namespace netdriver {

// Runs the chunk in protected mode. True with its results (each as
// tostring gives it, joined by '|'), or false with the error.
bool RunScript(std::string_view chunk, std::string& results);

// The object as scripts see it, under a global name (nil for null).
void SetScriptGlobal(const char* name, const Core::Object* object);

// The driver's helpers ("Driver.Players()", "Driver.Sessions()", ...),
// defined once the game's interpreter is open.
bool DefineDriverHelpers(std::string& error);

// One line on standard output, written at once.
void PrintLine(std::string_view line);

}  // namespace netdriver
