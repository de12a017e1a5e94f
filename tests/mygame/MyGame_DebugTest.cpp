#include "MyGame_PlayTest.h"
#include "input/Input_Keyboard.h"
#include "os/OS_HeadlessInput.h"
using namespace mygametest;
TEST_F(PlayTest, Debug) {
    StartPlay(kSeed);
    for (int f = 0; f < 12; ++f) {
        if (f == 2) HoldKey(os::VK_SPACE, true);
        Step();
        auto* kb = m_game->GetKeyboard();
        printf("frame %d level %u pending %d any %d\n", f, m_game->GetCurrentLevelIndex(), m_game->IsLevelChangePending(), kb ? kb->AnyKey() : -1);
    }
}
