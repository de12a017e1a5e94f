#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "engine/Engine_Application.h"
#include "engine/Engine_StartupSettings.h"
#include "mygame/MyGame_LevelContent.h"

#include <memory>

class MyGame;

// The start-up record: 1024 x 768 at 60 Hz, full screen, vertical sync.
Engine::StartupSettings MakeStartupSettings();

// The game over the given content, starting with the intro; null when it
// cannot be made (everything made on the way is released).
Core::RefPtr<MyGame> MakeGame(std::unique_ptr<LevelContent> content);

// The engine's creation function: the game over the game's own content.
void CreateGame(Core::RefPtr<Engine::Application>& application, const Core::String& commandLine);

// The game's authored levels.
std::unique_ptr<LevelContent> MakeGameContent();
