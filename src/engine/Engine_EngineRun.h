#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "engine/Engine_Application.h"

// The game's creation function: stores the one application in `application`
// (which then holds its only reference), or leaves it null when the
// application cannot be made. The command line is handed on as it came.
using CreateGameFunction = void (*)(Core::RefPtr<Engine::Application>& application, const Core::String& commandLine);

// Starts the Core, asks createGame for the application and runs its frames
// (begin, frame, end) while the message pump finds no quit request; then
// calls Shutdown once and takes everything down in reverse order. Returns 0
// after a normal quit, 1 (with a message on stderr) when no application
// was made, in which case no frame runs and Shutdown is not called.
int EngineRun(const Core::String& commandLine, CreateGameFunction createGame);

// The program's arguments after its name, joined by single spaces: the
// command line EngineRun hands to the creation function.
Core::String JoinCommandLine(int argc, const char* const* argv);
