#include "mygame/generated/MyGame_ContentTables.h"

#include "mygame/MyGame_MyLevelFactory.h"

#include <array>

const LevelRows& ContentLevelRows(std::uint32_t level) {
    // No level has rows of its own yet: each layer only reads its collision.
    static const std::array<LevelRows, MyLevelFactory::kLevelCount> levels{};
    static const LevelRows none{};
    return level < levels.size() ? levels[level] : none;
}
