#pragma once

#include "mygame/MyGame_GameTables.h"
#include "mygame/MyGame_PlayerProfile.h"
#include "mygame/MyGame_SettingsText.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

// Damaged save-file text for the readers' hostile tests, and the ranges a
// read record must be in whatever the text.
namespace mygametest {

// A file's bytes as they stand on disk; empty when there is none.
inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// How many damaged files a test tries: the environment variable asks for a
// longer run by hand.
inline int MutationRuns(const char* variable, int usual) {
    const char* asked = std::getenv(variable);
    return asked != nullptr ? std::atoi(asked) : usual;
}

// One to three edits of the kinds a disk, an editor or a careless copy make.
inline std::string Mutated(const std::string& text, std::mt19937& draw) {
    if (draw() % 50 == 0) {
        std::string noise(draw() % 200, '\0');
        for (char& c : noise) {
            c = static_cast<char>(draw());
        }
        return noise;
    }
    static const std::string kBlanks = " \t\r\n\v\f";
    std::string damaged = text;
    const auto at = [&] { return damaged.empty() ? 0 : draw() % (damaged.size() + 1); };
    const auto lineAround = [&](std::size_t where) {
        const std::size_t start = damaged.rfind('\n', where == 0 ? 0 : where - 1);
        const std::size_t begin = start == std::string::npos || where == 0 ? 0 : start + 1;
        const std::size_t end = damaged.find('\n', begin);
        return std::pair(begin, end == std::string::npos ? damaged.size() : end + 1);
    };
    for (std::uint32_t edits = 1 + draw() % 3; edits > 0; --edits) {
        const std::size_t where = at();
        switch (draw() % 9) {
            case 0:
                if (where < damaged.size()) {
                    damaged[where] = static_cast<char>(damaged[where] ^ (1 << draw() % 8));
                }
                break;
            case 1:
                damaged.insert(where, 1, static_cast<char>('0' + draw() % 10));
                break;
            case 2:
                damaged.insert(where, 1, kBlanks[draw() % kBlanks.size()]);
                break;
            case 3:
                damaged.insert(where, 1, draw() % 2 == 0 ? '\0' : '\xFF');
                break;
            case 4: {
                const auto [begin, end] = lineAround(where);
                damaged.erase(begin, end - begin);
                break;
            }
            case 5: {
                const auto [begin, end] = lineAround(where);
                damaged.insert(begin, damaged.substr(begin, end - begin));
                break;
            }
            case 6:
                if (draw() % 20 == 0) {
                    damaged.insert(where, std::string(1 << 20, static_cast<char>('0' + draw() % 10)) + "\n");
                }
                break;
            case 7:
                if (where < damaged.size()) {
                    damaged[where] = static_cast<char>(draw());
                }
                break;
            default:
                damaged.resize(where);
                break;
        }
    }
    return damaged;
}

inline bool InRange(const GameSettings& settings) {
    const auto isKey = [](std::int32_t id) { return id >= 6 && id <= 195; };
    return isKey(settings.leftKeyId) && isKey(settings.rightKeyId) && isKey(settings.jumpKeyId) &&
           std::isfinite(settings.volume) && settings.volume >= 0.0f && settings.volume <= 1.0f &&
           settings.muted <= 1;
}

inline bool InRange(const PlayerProfile& profile) {
    const auto isHand = [](std::uint32_t bit) { return bit == 1 || bit == 2 || bit == 4 || bit == 8; };
    bool levels = profile.fifthWeaponLevel <= 5;
    for (const std::uint8_t level : profile.upgradeLevels) {
        levels = levels && level <= 5;
    }
    return levels && isHand(profile.LeftWeapon()) && isHand(profile.RightWeapon()) &&
           profile.highestStage < kStageCount && profile.currentStage < kStageCount;
}

}  // namespace mygametest
