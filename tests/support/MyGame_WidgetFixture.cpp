#include "support/MyGame_WidgetFixture.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "support/MyGame_HudClick.h"
#include "support/Renderer_ManifestSizes.h"

namespace mygametest {

void WidgetTest::SetUp() {
    StageFixture::SetUp();
    testsupport::SizeSheetsAsManifest(*m_textures);
}

bool WidgetTest::EnterTitle(std::uint32_t seed) {
    EndGame();
    AddTitleContent(Content());
    MyGame& game = StartGame(seed);
    Step();
    game.ChangeLevel(MyLevelFactory::kMenuLevel);
    constexpr int kFrameLimit = 4;
    for (int i = 0; i < kFrameLimit && m_game; ++i) {
        Step();
        if (!m_game->IsLevelChangePending() && m_game->GetCurrentLevelIndex() == MyLevelFactory::kMenuLevel) {
            return true;
        }
    }
    return false;
}

bool WidgetTest::ClickAt(const Vector2D& hudPoint) { return mygametest::ClickAt(hudPoint); }

}  // namespace mygametest
