#include "mygame/MyGame.h"

#include <cstdio>

void MyGame::SaveSettings() {}

bool MyGame::LoadSettings() { return false; }

void MyGame::SaveProfile() {}

bool MyGame::LoadProfile() { return false; }

void MyGame::NewProfile() {
    m_profile = MakeNewProfile();
    std::printf("SetUnlockWeapons: %u\n", static_cast<unsigned>(m_profile.unlockedWeapons));
    SaveProfile();
}
