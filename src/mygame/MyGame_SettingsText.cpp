#include "mygame/MyGame_SettingsText.h"

#include "input/Input_KeyTable.h"
#include "mygame/MyGame_TextFields.h"

#include <cmath>

namespace {

// Ids below this are not keys a player can bind.
constexpr std::int32_t kFirstBindableKeyId = 6;

ReadSettings ParseSettingsLines(std::string_view text) {
    ReadSettings read;
    GameSettings& settings = read.settings;
    TextFieldReader fields(text);
    const auto isKey = [](std::int32_t id) { return id >= kFirstBindableKeyId && id < Input::kKeyIdCount; };
    const auto isVolume = [](float volume) { return std::isfinite(volume) && volume >= 0.0f && volume <= 1.0f; };
    const auto isFlag = [](std::uint8_t flag) { return flag <= 1; };
    for (std::int32_t* key : {&settings.leftKeyId, &settings.rightKeyId, &settings.jumpKeyId}) {
        TakeField(ParseNumber<std::int32_t>(fields.NextToken()), isKey, *key, read.damaged);
    }
    TakeField(ParseNumber<float>(fields.NextToken()), isVolume, settings.volume, read.damaged);
    // Held as the file will store it, so that an undamaged file writes back
    // as the same value; "-0" is silence too, written back as "0".
    settings.volume = AsWrittenInLine(settings.volume) + 0.0f;
    TakeField(ParseNumber<std::uint8_t>(fields.NextToken()), isFlag, settings.muted, read.damaged);
    read.damaged = read.damaged || !fields.AtEnd();
    return read;
}

}  // namespace

std::string FormatSettings(const GameSettings& settings) {
    std::string text;
    AppendIntegerLine(text, settings.leftKeyId);
    AppendIntegerLine(text, settings.rightKeyId);
    AppendIntegerLine(text, settings.jumpKeyId);
    AppendFloatLine(text, settings.volume);
    AppendIntegerLine(text, static_cast<unsigned>(settings.muted));
    return text;
}

ReadSettings ParseSettings(std::string_view text) { return ParseSavedText(text, ParseSettingsLines); }
