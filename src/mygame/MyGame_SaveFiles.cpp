#include "mygame/MyGame.h"
#include "mygame/MyGame_DataFolder.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_ProfileText.h"
#include "mygame/MyGame_SettingsText.h"

#include <cstdio>

namespace {

constexpr std::string_view kSettingsFile = "settings.sav";
constexpr std::string_view kProfileFile = "profile.sav";

}  // namespace

void MyGame::SaveSettings() {
    const GameGlobals& globals = Globals();
    WriteDataFile(kSettingsFile, FormatSettings({globals.leftKeyId, globals.rightKeyId, globals.jumpKeyId,
                                                 m_volume, m_muted}));
}

bool MyGame::LoadSettings() {
    const std::optional<DataFileBytes> file = ReadDataFile(kSettingsFile);
    if (!file) {
        return false;
    }
    const ReadSettings read = ParseSettings(file->bytes);
    GameGlobals& globals = Globals();
    globals.leftKeyId = read.settings.leftKeyId;
    globals.rightKeyId = read.settings.rightKeyId;
    globals.jumpKeyId = read.settings.jumpKeyId;
    m_volume = read.settings.volume;
    m_muted = read.settings.muted;
    if (read.damaged || !file->whole) {
        ReplaceDamagedDataFile(kSettingsFile, FormatSettings(read.settings));
    }
    return true;
}

void MyGame::SaveProfile() { WriteDataFile(kProfileFile, FormatProfile(m_profile)); }

bool MyGame::LoadProfile() {
    const std::optional<DataFileBytes> file = ReadDataFile(kProfileFile);
    if (!file) {
        return false;
    }
    const ReadProfile read = ParseProfile(file->bytes);
    m_profile = read.profile;
    if (read.damaged || !file->whole) {
        ReplaceDamagedDataFile(kProfileFile, FormatProfile(read.profile));
    }
    return true;
}

void MyGame::NewProfile() {
    m_profile = MakeNewProfile();
    std::printf("SetUnlockWeapons: %u\n", static_cast<unsigned>(m_profile.unlockedWeapons));
    SaveProfile();
}
