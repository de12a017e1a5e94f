#include "Fuzz_GameDataFiles.h"

#include "mygame/MyGame_DamagedSaveText.h"
#include "mygame/MyGame_ProfileText.h"
#include "mygame/MyGame_SettingsText.h"

// Any bytes as "profile.sav": the game starts with stages, hands and levels
// in range (the move-speed factor among them reads the levels), keeps a
// damaged file aside and writes what it read.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Bytes bytes(data, data + size);
    fuzz::RunGameOver("profile.sav", bytes, "settings.sav", FormatSettings({}), [&](MyGame& game) {
        const PlayerProfile& read = game.GetProfile();
        fuzz::Check(mygametest::InRange(read), "profile out of range");
        const std::string text(bytes.begin(), bytes.begin() + std::min(size, kMaxDataFileBytes));
        fuzz::CheckKeptAside("profile.sav", bytes, ParseProfile(text).damaged, FormatProfile(read));
        const ReadProfile again = ParseProfile(FormatProfile(read));
        fuzz::Check(!again.damaged && again.profile == read, "written profile read differently");
    });
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    PlayerProfile played = MakeNewProfile();
    played.unlockedWeapons = 31;
    played.selectedWeapons = 8 + 65536 * 4;
    played.highestStage = 8;
    played.currentStage = 4;
    played.currency = 1234;
    played.upgradeLevels = {0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5, 0, 1, 2, 3};
    played.fifthWeaponLevel = 5;
    const auto add = [&](const char* name, const std::string& text) {
        seeds.Add(name, fuzz::Bytes(text.begin(), text.end()));
    };
    add("new", FormatProfile(MakeNewProfile()));
    add("played", FormatProfile(played));
    add("cut", FormatProfile(played).substr(0, 20));
}
