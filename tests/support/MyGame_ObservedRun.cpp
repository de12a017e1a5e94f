#include "support/MyGame_ObservedRun.h"

#include "mygame/MyGame.h"

#include <utility>

namespace mygametest {

ObservedRun::ObservedRun(Core::RefPtr<MyGame> game, Hook beforeFrame, Hook afterPresent)
    : m_game(std::move(game)), m_beforeFrame(std::move(beforeFrame)), m_afterPresent(std::move(afterPresent)) {}

void ObservedRun::BeginFrame() {
    if (m_beforeFrame) {
        m_beforeFrame(*m_game);
    }
    m_game->BeginFrame();
}

void ObservedRun::Frame() { m_game->Frame(); }

void ObservedRun::EndFrame() {
    m_game->EndFrame();
    if (m_afterPresent) {
        m_afterPresent(*m_game);
    }
}

void ObservedRun::Shutdown() { m_game->Shutdown(); }

void ObservedRun::Wrap(Core::RefPtr<Engine::Application>& application, Hook beforeFrame, Hook afterPresent) {
    const Core::RefPtr<MyGame> game = dynamic_cast<MyGame*>(application.Get());
    if (game) {
        application = TUN_NEW(ObservedRun, game, std::move(beforeFrame), std::move(afterPresent));
    }
}

}  // namespace mygametest
