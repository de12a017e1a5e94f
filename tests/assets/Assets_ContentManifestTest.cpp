#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "AssetGen_Manifest.h"
#include "mygame/MyGame_MyLevelFactory.h"
#include "mygame/generated/MyGame_CollisionActors.h"
#include "mygame/generated/MyGame_ContentTables.h"

// The game's content and the generator's manifest were written apart: every
// sheet a level's rows load must be a generated file cut as the row cuts it,
// its frames as large as the collision actor animating it.
namespace {

using AssetGen::ManifestRow;

// One animation as a row loads it: the grid, the frame count and the frame
// size its actor gives.
struct SheetUse {
    std::string row;
    int columns = 0;
    int rows = 0;
    int frames = 0;
    int frameWidth = 0;
    int frameHeight = 0;
    // Frames of one animation may differ by a pixel; more is an authoring fault.
    bool framesAgree = true;
};

std::vector<const CollisionActorShapes::Actor*> Actors() {
    using namespace CollisionActorShapes;
    std::vector<const Actor*> actors;
    for (const ActorGroup* group : {&kCollisionActors0, &kCollisionActors1, &kCollisionActors2, &kCollisionActors3,
                                    &kCollisionActors4, &kCollisionActors5, &kCollisionActors6}) {
        for (const Actor& actor : group->actors) {
            actors.push_back(&actor);
        }
    }
    return actors;
}

SheetUse UseOf(const SpriteRow& row, const SheetAnimation& sheet, const CollisionActorShapes::Animation& animation) {
    SheetUse use{row.name, sheet.columns, sheet.rows, static_cast<int>(sheet.delays.size())};
    int narrowest = 0;
    int lowest = 0;
    bool first = true;
    for (const CollisionActorShapes::FrameRange& range : animation) {
        const auto width = static_cast<int>(std::lround(range.rectangle.right - range.rectangle.left));
        const auto height = static_cast<int>(std::lround(range.rectangle.top - range.rectangle.bottom));
        use.frameWidth = first ? width : std::max(use.frameWidth, width);
        use.frameHeight = first ? height : std::max(use.frameHeight, height);
        narrowest = first ? width : std::min(narrowest, width);
        lowest = first ? height : std::min(lowest, height);
        first = false;
    }
    use.framesAgree = use.frameWidth - narrowest <= 1 && use.frameHeight - lowest <= 1;
    return use;
}

// Every sheet loaded by a sprite row of any level, with each use of it.
std::map<std::string, std::vector<SheetUse>> SheetsTheRowsLoad() {
    const std::vector<const CollisionActorShapes::Actor*> actors = Actors();
    std::map<std::string, std::vector<SheetUse>> sheets;
    for (std::uint32_t level = 0; level < MyLevelFactory::kLevelCount; ++level) {
        for (const LayerRows& layer : ContentLevelRows(level)) {
            for (const ContentRow& content : layer) {
                const auto* row = std::get_if<SpriteRow>(&content);
                if (row == nullptr) {
                    continue;
                }
                const auto index = static_cast<std::size_t>(row->actorIndex);
                EXPECT_LT(index, actors.size()) << row->name;
                if (index >= actors.size()) {
                    continue;
                }
                const CollisionActorShapes::Actor& actor = *actors[index];
                EXPECT_EQ(row->animations.size(), actor.size()) << row->name;
                std::size_t a = 0;
                for (const CollisionActorShapes::Animation& animation : actor) {
                    if (a < row->animations.size()) {
                        const SheetAnimation& sheet = row->animations[a];
                        sheets[sheet.sheet].push_back(UseOf(*row, sheet, animation));
                    }
                    ++a;
                }
            }
        }
    }
    return sheets;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// The manifest's sheets whose names differ from this one at most in case.
std::vector<std::string> ManifestSheetsLike(const std::string& sheet) {
    std::vector<std::string> alike;
    for (const ManifestRow& row : AssetGen::Manifest()) {
        if (row.kind == AssetGen::FileKind::Sheet && Lower(row.SheetName()) == Lower(sheet)) {
            alike.emplace_back(row.SheetName());
        }
    }
    return alike;
}

TEST(ContentManifest, EverySheetARowLoadsIsGeneratedCaseExactWithTheRowsGridAndItsActorsFrameSize) {
    const std::map<std::string, std::vector<SheetUse>> sheets = SheetsTheRowsLoad();
    for (const auto& [sheet, uses] : sheets) {
        SCOPED_TRACE(sheet);
        EXPECT_EQ(ManifestSheetsLike(sheet), std::vector<std::string>{sheet});
        const ManifestRow* row = AssetGen::FindRow("Animations/" + sheet + ".png");
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->kind, AssetGen::FileKind::Sheet);
        const AssetGen::SheetGrid& grid = row->grid;
        for (const SheetUse& use : uses) {
            SCOPED_TRACE(use.row);
            EXPECT_TRUE(use.framesAgree);
            EXPECT_EQ(grid.columns, use.columns);
            EXPECT_EQ(grid.rows, use.rows);
            EXPECT_EQ(grid.frameCount, use.frames);
            EXPECT_EQ(grid.frameWidth, use.frameWidth);
            EXPECT_EQ(grid.frameHeight, use.frameHeight);
        }
    }
}

TEST(ContentManifest, TheRowsLoad115SheetsAndTheManifestHoldsNoOther) {
    const std::map<std::string, std::vector<SheetUse>> sheets = SheetsTheRowsLoad();
    EXPECT_EQ(sheets.size(), 115u);
    for (const ManifestRow& row : AssetGen::Manifest()) {
        if (row.kind == AssetGen::FileKind::Sheet) {
            EXPECT_EQ(sheets.count(std::string(row.SheetName())), 1u) << row.path << " is loaded by no row";
        }
    }

    struct Spot {
        const char* sheet;
        int columns, rows, frameWidth, frameHeight;
    };
    for (const Spot& spot : {Spot{"ButtonTemplate", 2, 2, 228, 60}, Spot{"BearLightning", 2, 5, 900, 80},
                             Spot{"MenuSignGeneric", 2, 2, 74, 61}}) {
        SCOPED_TRACE(spot.sheet);
        const auto found = sheets.find(spot.sheet);
        ASSERT_NE(found, sheets.end());
        const SheetUse& use = found->second.front();
        EXPECT_EQ(use.columns, spot.columns);
        EXPECT_EQ(use.rows, spot.rows);
        EXPECT_EQ(use.frameWidth, spot.frameWidth);
        EXPECT_EQ(use.frameHeight, spot.frameHeight);
    }
}

TEST(ContentManifest, EveryLayersStaticCollisionFileIsGenerated) {
    for (std::uint32_t level = 0; level < MyLevelFactory::kLevelCount; ++level) {
        for (std::size_t layer = 0; layer < ContentLevelRows(level).size(); ++layer) {
            const std::string path =
                "Layers Collisions/level" + std::to_string(level) + "_layer" + std::to_string(layer) + ".txt";
            const ManifestRow* row = AssetGen::FindRow(path);
            ASSERT_NE(row, nullptr) << path;
            EXPECT_EQ(row->kind, AssetGen::FileKind::Collision) << path;
        }
    }
}

}  // namespace
