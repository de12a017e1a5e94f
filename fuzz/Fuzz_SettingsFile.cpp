#include "Fuzz_GameDataFiles.h"

#include "mygame/MyGame_DamagedSaveText.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_ProfileText.h"
#include "mygame/MyGame_SettingsText.h"

// Any bytes as "settings.sav": the game starts with keys, volume and mute in
// range, keeps a damaged file aside and writes what it read.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Bytes bytes(data, data + size);
    fuzz::RunGameOver("settings.sav", bytes, "profile.sav", FormatProfile(MakeNewProfile()), [&](MyGame& game) {
        const GameGlobals& globals = Globals();
        const GameSettings read{globals.leftKeyId, globals.rightKeyId, globals.jumpKeyId, game.GetVolume(),
                                static_cast<std::uint8_t>(game.IsMuted())};
        fuzz::Check(mygametest::InRange(read), "settings out of range");
        const std::string text(bytes.begin(), bytes.begin() + std::min(size, kMaxDataFileBytes));
        fuzz::CheckKeptAside("settings.sav", bytes, ParseSettings(text).damaged, FormatSettings(read));
        const ReadSettings again = ParseSettings(FormatSettings(read));
        fuzz::Check(!again.damaged && again.settings == read, "written settings read differently");
    });
    return 0;
}

void FuzzWriteSeeds(fuzz::Seeds& seeds) {
    const auto add = [&](const char* name, const std::string& text) {
        seeds.Add(name, fuzz::Bytes(text.begin(), text.end()));
    };
    add("new", FormatSettings({}));
    add("muted", FormatSettings({6, 195, 100, 0.35f, 1}));
    add("crlf", "53\r\n56\r\n75\r\n1\r\n0\r\n");
    add("bad_keys", "53\n999\nx\n0.35\n1\n");
    add("cut_in_a_key", "53\n56\n7");
}
