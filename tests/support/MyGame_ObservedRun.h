#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_Application.h"

#include <functional>

class MyGame;

// Stands between EngineRun and the game a creation function made: forwards
// every call of the run to it, and shows the game to the caller before each
// frame begins and after each frame is presented (where the caller may ask
// the run to end).
namespace mygametest {

class ObservedRun : public Engine::Application {
public:
    using Hook = std::function<void(MyGame&)>;

    ObservedRun(Core::RefPtr<MyGame> game, Hook beforeFrame, Hook afterPresent);

    void BeginFrame() override;
    void Frame() override;
    void EndFrame() override;
    void Shutdown() override;

    // The game a creation function gave, wrapped; null stays null.
    static void Wrap(Core::RefPtr<Engine::Application>& application, Hook beforeFrame, Hook afterPresent);

private:
    Core::RefPtr<MyGame> m_game;
    Hook m_beforeFrame;
    Hook m_afterPresent;
};

}  // namespace mygametest
