#include "mygame/generated/MyGame_ContentTables.h"

#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/generated/MyGame_ContentMenu.h"
#include "mygame/generated/MyGame_ContentStage.h"

#include <array>

const LevelRows& ContentLevelRows(std::uint32_t level) {
    // Made once, at the first level build.
    static const std::array<LevelRows, MyLevelFactory::kLevelCount> levels{
        IntroLevelRows(),
        MenuLevelRows(),
        StageLevelRows(),
    };
    static const LevelRows none{};
    return level < levels.size() ? levels[level] : none;
}
