#include "mygame/MyGame_CreateGame.h"

#include "core/Core_TrackedMemory.h"
#include "mygame/MyGame.h"
#include "mygame/MyGame_MyLevelFactory.h"

Engine::StartupSettings MakeStartupSettings() {
    Engine::StartupSettings settings;
    settings.width = MyGame::kWidth;
    settings.height = MyGame::kHeight;
    settings.refreshRate = 60;
    settings.multisampleCount = 0;
    settings.fullScreen = true;
    settings.verticalSync = true;
    return settings;
}

Core::RefPtr<MyGame> MakeGame(std::unique_ptr<LevelContent> content) {
    try {
        // Held here too, so that it goes when the game cannot be made.
        const Core::RefPtr<MyLevelFactory> factory = TUN_NEW(MyLevelFactory, std::move(content));
        return TUN_NEW(MyGame, factory.Get(), MakeStartupSettings(), MyLevelFactory::kIntroLevel);
    } catch (const BadAllocation&) {
        return nullptr;
    }
}

void CreateGame(Core::RefPtr<Engine::Application>& application, const Core::String&) {
    application = MakeGame(MakeGameContent());
}
