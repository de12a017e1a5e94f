#include "collision/Collision_DynamicObject.h"
#include "core/Core_MemoryFile.h"
#include "core/Core_MersenneTwister.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_GameTables.h"
#include "mygame/MyGame_HorizontalLineSprite.h"
#include "mygame/MyGame_MapTile.h"
#include "mygame/MyGame_TerrainTestHooks.h"
#include "support/MyGame_FrameStep.h"
#include "support/MyGame_TestGame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace mygametest {
namespace {

using Column = TerrainTestAccess::Column;
using testing::AssertionFailure;
using testing::AssertionResult;
using testing::AssertionSuccess;

constexpr float kWidth = 1024.0f;

std::int32_t RowOf(const Tundra::GameObject& tile) {
    return static_cast<std::int32_t>(std::lround((tile.GetPositionY() - 24.0f) / 46.0f));
}

// How many draws a fresh generator of the seed takes to reach the game's; -1 beyond 1000.
int DrawsSince(std::uint32_t seed) {
    Core::MersenneTwister reference(seed);
    const Core::MersenneTwister::State target = Core::GameRandomGenerator().GetState();
    for (int draws = 0; draws <= 1000; ++draws, reference.Next()) {
        if (reference.GetState().index == target.index && reference.GetState().words == target.words) {
            return draws;
        }
    }
    return -1;
}

// One x, rows down to 0 from the top tile; under a slope's top its own
// tile, then fillings (a block's fillings under its top); depth base to
// one below it.
AssertionResult ColumnShape(const Column& column, float depthBase) {
    const std::uint32_t topVariant = column.front()->GetVariant();
    const bool block = topVariant == MapTile::kBlockTop;
    if (topVariant > MapTile::kStepDownTop && !block) {
        return AssertionFailure() << "top variant " << topVariant;
    }
    const std::int32_t top = RowOf(*column.front());
    for (std::size_t i = 1; i < column.size(); ++i) {
        const MapTile& tile = *column[i];
        std::uint32_t expected = block ? MapTile::kBlockFilling : MapTile::kFilling;
        if (i == 1 && topVariant != MapTile::kFlatTop && !block) {
            expected = topVariant == MapTile::kStepUpTop ? MapTile::kUnderStepUp : MapTile::kUnderStepDown;
        }
        if (tile.GetVariant() != expected || RowOf(tile) != top - static_cast<std::int32_t>(i) ||
            tile.GetPositionX() != column.front()->GetPositionX() || !tile.GetVisible() ||
            tile.GetZOrder() > depthBase || tile.GetZOrder() < depthBase - 1.0f) {
            return AssertionFailure() << "tile " << i << " of a column at row " << top;
        }
    }
    return column.size() == static_cast<std::size_t>(top + 1) ? AssertionSuccess() : AssertionFailure() << top;
}

// Rows 0 to 3, slopes one row high, 4 to 8 flat columns between slopes,
// columns 46 apart.
AssertionResult GroundShape(const Terrain& terrain) {
    const std::vector<Column>& columns = TerrainTestAccess::GetGroundColumns(terrain);
    std::int32_t flatRun = -1;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const MapTile& top = *columns[i].front();
        if (RowOf(top) < 0 || RowOf(top) > 3 || !ColumnShape(columns[i], 0.0f)) {
            return AssertionFailure() << "column " << i;
        }
        if (i == 0) {
            continue;
        }
        const MapTile& previous = *columns[i - 1].front();
        const std::int32_t rise = top.GetVariant() == MapTile::kStepUpTop ? 1
                                  : previous.GetVariant() == MapTile::kStepDownTop ? -1
                                                                                  : 0;
        if (RowOf(top) - RowOf(previous) != rise || std::fabs(top.GetPositionX() - previous.GetPositionX() - 46.0f) > 0.01f) {
            return AssertionFailure() << "columns " << i - 1 << " and " << i << " do not join";
        }
        if (top.GetVariant() != MapTile::kFlatTop && flatRun > 0 && (flatRun < 4 || flatRun > 8)) {
            return AssertionFailure() << "a flat run of " << flatRun;
        }
        flatRun = top.GetVariant() != MapTile::kFlatTop ? 0 : (flatRun < 0 ? flatRun : flatRun + 1);
    }
    return AssertionSuccess();
}

std::size_t TileCount(const std::vector<Column>& columns) {
    std::size_t count = 0;
    for (const Column& column : columns) {
        count += column.size();
    }
    return count;
}

// Every tile the terrain placed, in use or free.
std::size_t HeldTiles(const Terrain& terrain) {
    return TileCount(TerrainTestAccess::GetGroundColumns(terrain)) + TileCount(TerrainTestAccess::GetBlocks(terrain)) +
           TerrainTestAccess::GetFreeTileCount(terrain);
}

class TerrainTest : public MyGameTest {
protected:
    void SetUp() override {
        MyGameTest::SetUp();
        Terrain::SetTileDepthCounter(0.0f);
    }

    // The stage running, with or without the tile templates, the game's
    // generator seeded afresh.
    void EnterStage(bool withTiles = true, std::uint32_t seed = kSeed) {
        if (withTiles) {
            Content().OnBuild(2, 1, [](const LayerBuild& build) { PlaceTileTemplates(build); });
        }
        StartGame();
        Step();
        ASSERT_TRUE(GoToLevel(2));
        Core::GameRandomGenerator().Seed(seed);
    }

    const Terrain& StageGround() { return static_cast<GameLevel*>(Game().GetCurrentLevel())->GetTerrain(); }

    // The world layer's objects of the class not asked to go, queued ones too.
    template <class T>
    std::vector<T*> WorldObjects() {
        std::vector<Tundra::GameObject*> held;
        Game().GetWorldLayer()->GetHeldGameObjects(held);
        std::vector<T*> found;
        for (Tundra::GameObject* object : held) {
            if (auto* typed = dynamic_cast<T*>(object); typed != nullptr && !object->IsDestroyRequested()) {
                found.push_back(typed);
            }
        }
        return found;
    }
};

TEST_F(TerrainTest, TheFirstUpdateLaysAScreenOfGroundFromTheSeed) {
    EnterStage();
    Terrain terrain;
    terrain.Start(kWidth);
    EXPECT_EQ(terrain.GetLeadingPosition(), (Vector2D{24.0f, 162.0f}));
    // Fewer than six columns: the last one's top.
    EXPECT_EQ(terrain.GetRespawnPosition(), (Vector2D{24.0f, 162.0f}));

    terrain.Update(0.0f);
    const std::vector<Column>& columns = TerrainTestAccess::GetGroundColumns(terrain);
    const std::int32_t rows[] = {3, 3, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 2, 3, 3, 3, 3, 3};
    const std::uint32_t variants[] = {0, 2, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0};
    ASSERT_EQ(columns.size(), std::size(rows));
    for (std::size_t i = 0; i < columns.size(); ++i) {
        EXPECT_EQ(columns[i].front()->GetPositionX(), 24.0f + 46.0f * static_cast<float>(i)) << i;
        EXPECT_EQ(RowOf(*columns[i].front()), rows[i]) << i;
        EXPECT_EQ(columns[i].front()->GetVariant(), variants[i]) << i;
    }
    EXPECT_TRUE(GroundShape(terrain));
    EXPECT_EQ(terrain.GetLeadingPosition(), (Vector2D{1128.0f, 162.0f}));
    EXPECT_EQ(terrain.GetRespawnPosition(), (Vector2D{254.0f, 24.0f}));
    EXPECT_EQ(DrawsSince(kSeed), 109);
}

class TerrainSeedTest : public TerrainTest, public testing::WithParamInterface<std::uint32_t> {};

// Blocks of 3 to 6 columns and 4 to 6 rows, each with its line; lines gone
// once past x 0; every tile in the ground or waiting to be reused, so the
// clones stop at the largest ground shown.
TEST_P(TerrainSeedTest, TenMinutesKeepTheGroundsShapeAndReuseItsTiles) {
    EnterStage(true, GetParam());
    Terrain terrain;
    terrain.Start(kWidth);
    int blocksSeen = 0;
    for (int frame = 0; frame < 36000; ++frame) {
        const std::size_t blocksBefore = TerrainTestAccess::GetBlocks(terrain).size();
        const std::size_t linesBefore = TerrainTestAccess::GetLines(terrain).size();
        terrain.Update(kDt);
        ASSERT_TRUE(GroundShape(terrain)) << "frame " << frame;
        const std::vector<Column>& blocks = TerrainTestAccess::GetBlocks(terrain);
        const std::vector<HorizontalLineSprite*>& lines = TerrainTestAccess::GetLines(terrain);
        if (blocks.size() > blocksBefore) {
            ++blocksSeen;
            const std::size_t added = blocks.size() - blocksBefore;
            const MapTile& lastTop = *blocks.back().front();
            ASSERT_TRUE(added >= 3 && added <= 6 && RowOf(lastTop) >= 4 && RowOf(lastTop) <= 6);
            for (std::size_t i = blocksBefore; i < blocks.size(); ++i) {
                ASSERT_TRUE(ColumnShape(blocks[i], -1.0f) && RowOf(*blocks[i].front()) == RowOf(lastTop));
            }
            ASSERT_EQ(lines.size(), linesBefore + 1);
            EXPECT_EQ(lines.back()->GetWidth(), 46.0f * static_cast<float>(added));
            EXPECT_NEAR(lines.back()->GetPositionX(), lastTop.GetPositionX() + 24.0f, 0.01f);
            EXPECT_EQ(lines.back()->GetPositionY(), lastTop.GetPositionY() + 17.0f);
        }
        for (const HorizontalLineSprite* line : lines) {
            ASSERT_GE(line->GetPositionX(), 0.0f);
        }
        if (frame % 30 == 0) {
            Step();
            // The stage's own ground shares the world layer.
            const Terrain& stageGround = StageGround();
            ASSERT_EQ(WorldObjects<HorizontalLineSprite>().size(),
                      lines.size() + TerrainTestAccess::GetLines(stageGround).size());
            const std::size_t clones = WorldObjects<MapTile>().size() - 2;
            ASSERT_EQ(clones, HeldTiles(terrain) + HeldTiles(stageGround));
            // 25 columns of up to 4 tiles and two blocks of up to 6 x 7.
            ASSERT_LE(HeldTiles(terrain), 200u);
        }
    }
    EXPECT_GT(blocksSeen, 40);
}

INSTANTIATE_TEST_SUITE_P(Seeds, TerrainSeedTest, testing::Values(1u, 5489u, 900001u));

TEST_F(TerrainTest, HalfASecondMovesTheGroundFiftyAndRecyclesPastTwoTiles) {
    EnterStage();
    Terrain terrain;
    terrain.Start(kWidth);
    terrain.Update(0.0f);
    terrain.Update(0.5f);
    const std::vector<Column>& columns = TerrainTestAccess::GetGroundColumns(terrain);
    ASSERT_EQ(columns.size(), 25u);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        EXPECT_EQ(columns[i].front()->GetPositionX(), 46.0f * static_cast<float>(i) - 26.0f) << i;
    }
    terrain.Update(0.24f);
    const MapTile* first = columns.front().front();
    ASSERT_EQ(first->GetPositionX(), -50.0f);

    // The recycled tiles wait hidden where they left; the recycling lets
    // in the first block, at the right edge before this update's move.
    terrain.Update(0.5f);
    ASSERT_EQ(columns.size(), 24u);
    EXPECT_EQ(first->GetPositionX(), -50.0f);
    EXPECT_FALSE(first->GetVisible());
    const std::vector<Column>& blocks = TerrainTestAccess::GetBlocks(terrain);
    ASSERT_GE(blocks.size(), 3u);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        EXPECT_EQ(blocks[i].front()->GetPositionX(), 998.0f + 46.0f * static_cast<float>(i)) << i;
    }
    // The line: segment 23 ending at its position, 8 thick, group 0,
    // meeting groups 0 and 3.
    ASSERT_EQ(TerrainTestAccess::GetLines(terrain).size(), 1u);
    const HorizontalLineSprite& line = *TerrainTestAccess::GetLines(terrain).front();
    const float width = 46.0f * static_cast<float>(blocks.size());
    EXPECT_EQ(line.GetName(), "bgCollider");
    EXPECT_EQ(line.GetPosition(), (Vector2D{blocks.back().front()->GetPositionX() + 24.0f,
                                            blocks.back().front()->GetPositionY() + 17.0f}));
    const Collision2D::DynamicObject* object = line.GetCollisionObject();
    ASSERT_NE(object, nullptr);
    ASSERT_EQ(object->GetCurrentLineSegments().size(), 1u);
    const Collision2D::DynamicCollisionLineSegment& segment = object->GetCurrentLineSegments()[0];
    EXPECT_EQ(segment.GetUserId(), 23u);
    EXPECT_EQ(segment.pointA, (Vector2D{line.GetPositionX() - width, line.GetPositionY()}));
    EXPECT_EQ(segment.pointB, line.GetPosition());
    EXPECT_TRUE(object->GetOldPosition() == line.GetPosition() && object->GetCollisionType() == 1 &&
                object->GetCollisionThickness() == 8.0f && object->GetZCollision() == 0 && object->GetUpdateOnIdle());
    EXPECT_TRUE(object->CanCollideWith(0) && object->CanCollideWith(3));
    EXPECT_FALSE(object->CanCollideWith(1) || object->CanCollideWith(2));
}

// A frame long enough to take every column off leaves the ground to be
// laid again from where it went, and an end asked then still arrives.
TEST_F(TerrainTest, AFrameThatTakesTheWholeGroundOffLaysItAgain) {
    EnterStage();
    Terrain terrain;
    terrain.Start(kWidth);
    terrain.Update(0.0f);
    terrain.Update(20.0f);
    ASSERT_TRUE(TerrainTestAccess::GetGroundColumns(terrain).empty());
    terrain.Update(0.0f);
    EXPECT_TRUE(GroundShape(terrain));
    EXPECT_GT(terrain.GetLeadingPosition().x, kWidth);
    EXPECT_GE(TerrainTestAccess::GetGroundColumns(terrain).size(), 25u);

    terrain.Update(20.0f);
    int calls = 0;
    terrain.End(3, [&calls](float) { ++calls; });
    terrain.Update(kDt);
    terrain.Update(kDt);
    EXPECT_EQ(calls, 1);
}

// However long the frame, or however far out the leading tile (as a damaged
// stream may leave it), the ground laid next is a screen of it (the old one
// may still stand beside it) from tiles in proportion: far out, a tile's
// width no longer moves a float, and extending from there never ended.
TEST_F(TerrainTest, AnyLongFrameOrFarLeadingTileLaysOneScreenOfGround) {
    EnterStage();
    constexpr float kLongest = std::numeric_limits<float>::max();
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    const std::pair<float, std::optional<float>> cases[] = {
        {30.0f, {}}, {1000.0f, {}}, {1e9f, {}}, {kLongest, {}}, {kDt, -1e11f}, {kDt, -kInfinity}, {kDt, std::nanf("")},
    };
    for (const auto& [dt, leadingX] : cases) {
        Terrain terrain;
        terrain.Start(kWidth);
        terrain.Update(0.0f);
        if (leadingX) {
            TerrainTestAccess::GetGroundColumns(terrain).back().front()->SetPositionX(*leadingX);
        }
        terrain.Update(dt);
        terrain.Update(kDt);
        const std::size_t screens = leadingX ? 2 : 1;
        ASSERT_TRUE(leadingX || GroundShape(terrain)) << dt;
        ASSERT_GT(terrain.GetLeadingPosition().x, kWidth) << dt;
        ASSERT_LE(TerrainTestAccess::GetGroundColumns(terrain).size(), 40 * screens) << dt;
        ASSERT_LE(HeldTiles(terrain), 300 * screens) << dt;
    }
}

TEST_F(TerrainTest, AnEndLaysAFlatRunAndStopsTheGroundAtTheRightEdge) {
    EnterStage();
    Terrain terrain;
    terrain.Start(kWidth);
    while (TerrainTestAccess::GetHeight(terrain) != 2) {
        terrain.Update(kDt);
    }
    std::vector<float> calls;
    terrain.End(3, [&calls](float y) { calls.push_back(y); });
    terrain.End(5, [&calls](float y) { calls.push_back(-y); });
    const std::vector<Column>& columns = TerrainTestAccess::GetGroundColumns(terrain);
    for (std::size_t i = columns.size() - 3; i < columns.size(); ++i) {
        EXPECT_TRUE(columns[i].front()->GetVariant() == MapTile::kFlatTop && RowOf(*columns[i].front()) == 2);
    }
    const MapTile* last = columns.back().front();
    float leadingX = terrain.GetLeadingPosition().x;
    while (calls.empty()) {
        ASSERT_GT(leadingX, kWidth);
        leadingX = terrain.GetLeadingPosition().x;
        terrain.Update(kDt);
        ASSERT_EQ(columns.back().front(), last);
    }
    // The update that found the run at the edge moved nothing; nothing moves after.
    EXPECT_LE(leadingX, kWidth);
    EXPECT_EQ(calls, std::vector<float>{116.0f});
    const Vector2D first = columns.front().front()->GetPosition();
    for (int frame = 0; frame < 600; ++frame) {
        terrain.Update(kDt);
    }
    EXPECT_EQ(columns.front().front()->GetPosition(), first);
    EXPECT_EQ(terrain.GetLeadingPosition().x, leadingX);
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(TerrainTest, TheTileDepthSinksAStepPerTileAndStartsAgainBelowMinusOne) {
    EnterStage();
    Terrain::SetTileDepthCounter(-1.0f);
    for (const float refused : {0.5f, -1.5f, std::nanf("")}) {
        Terrain::SetTileDepthCounter(refused);
    }
    Terrain terrain;
    terrain.Start(kWidth);
    float depth = 0.0f;
    for (const MapTile* tile : TerrainTestAccess::GetGroundColumns(terrain).front()) {
        EXPECT_EQ(tile->GetZOrder(), depth);
        depth -= 0.00001f;
    }
    EXPECT_EQ(Terrain::GetTileDepthCounter(), depth + 0.00001f);
}

TEST_F(TerrainTest, WithoutTileTemplatesTheGroundStaysEmpty) {
    EnterStage(false);
    Terrain terrain;
    terrain.Start(kWidth);
    for (int frame = 0; frame < 120; ++frame) {
        terrain.Update(kDt);
    }
    EXPECT_EQ(terrain.GetLeadingPosition(), (Vector2D{0.0f, 0.0f}));
    EXPECT_EQ(terrain.GetRespawnPosition(), (Vector2D{0.0f, 0.0f}));
    std::vector<float> calls;
    terrain.End(3, [&calls](float y) { calls.push_back(y); });
    terrain.Update(kDt);
    terrain.Update(kDt);
    EXPECT_EQ(calls, std::vector<float>{0.0f});
    EXPECT_TRUE(WorldObjects<MapTile>().empty());
}

// Seed 5489 draws the bits 1, 0, 1.
TEST_F(TerrainTest, SetVariantChoosesTheThemesFrameAndFlips) {
    enum Flip { kOff, kOn, kKept };
    struct Row {
        std::uint32_t variant;
        std::int32_t perTheme;  // 3 for the top looks, 5 for the fillings, 0 for none
        std::int32_t frame;
        Flip horizontal;
        Flip vertical;
        int draws;
    };
    const Row rows[] = {
        {0, 3, 1, kOff, kKept, 1},  {1, 3, 2, kOff, kKept, 0},   {2, 3, 2, kOn, kKept, 0},
        {3, 5, 4, kOff, kOff, 0},   {4, 5, 4, kOn, kOff, 0},     {5, 0, 13, kKept, kKept, 0},
        {6, 0, 13, kKept, kKept, 0}, {7, 5, 1, kOff, kOn, 3},    {8, 5, 2, kOn, kOff, 2},
        {9, 5, 3, kOff, kOff, 0},   {10, 0, 13, kKept, kKept, 0},
    };
    StartGame();
    const Core::RefPtr<MapTile> tile = TUN_NEW(MapTile, TestAnimations(1, 15));
    for (const std::uint8_t stage : {0, 3, 6}) {
        Game().GetProfile().currentStage = stage;
        const std::int32_t theme = GetLevelInfo(stage).Theme();
        for (const Row& row : rows) {
            SCOPED_TRACE(testing::Message() << "theme " << theme << " variant " << row.variant);
            tile->SetVariant(MapTile::kFlatTop);
            tile->SetCurrentFrameIndex(13, true);
            tile->SetFlipHorizontal(true);
            tile->SetFlipVertical(true);
            Core::GameRandomGenerator().Seed(kSeed);
            tile->SetVariant(row.variant);
            EXPECT_EQ(tile->GetVariant(), row.variant == 10 ? 0u : row.variant);
            EXPECT_EQ(tile->GetCurrentFrameIndex(), row.perTheme * theme + row.frame);
            EXPECT_EQ(tile->GetFlipHorizontal(), row.horizontal != kOff);
            EXPECT_EQ(tile->GetFlipVertical(), row.vertical != kOff);
            EXPECT_EQ(DrawsSince(kSeed), row.draws);
        }
    }
}

// The variant and the flag end a tile's part of a stream; a variant past 9
// fails it. A clone starts with variant 0.
TEST_F(TerrainTest, ATileStoresItsVariantAndFlagAndItsCloneStartsPlain) {
    StartGame();
    const Core::RefPtr<MapTile> tile = TUN_NEW(MapTile, TestAnimations(1));
    tile->SetVariant(MapTile::kBlockTop);
    EXPECT_EQ(static_cast<MapTile&>(*Core::RefPtr<Core::Object>(tile->Clone())).GetVariant(), 0u);
    Core::MemoryFile stored;
    stored.WriteObject(tile.Get());
    std::vector<std::uint8_t> bytes(stored.GetData(), stored.GetData() + stored.GetSize());
    ASSERT_GE(bytes.size(), 5u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.end() - 5, bytes.end()), (std::vector<std::uint8_t>{9, 0, 0, 0, 0}));
    for (const std::uint8_t variant : {9, 10}) {
        bytes[bytes.size() - 5] = variant;
        Core::MemoryFile read(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        const Core::RefPtr<MapTile> loaded = read.ReadObjectAs<MapTile>();
        EXPECT_EQ(loaded != nullptr && loaded->GetVariant() == 9, variant == 9);
        EXPECT_EQ(read.HasFailed(), variant == 10);
    }
}

// A refused stream leaves the tile as it was, its flag too.
TEST_F(TerrainTest, ARefusedTileStreamChangesNothing) {
    StartGame();
    const Core::RefPtr<MapTile> tile = TUN_NEW(MapTile, TestAnimations(1));
    tile->SetVariant(MapTile::kBlockTop);
    Core::MemoryFile stored;
    tile->Save(stored);
    std::vector<std::uint8_t> bytes(stored.GetData(), stored.GetData() + stored.GetSize());
    bytes[bytes.size() - 5] = 10;
    bytes.back() = 1;
    Core::MemoryFile read(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    tile->Load(read);
    EXPECT_TRUE(read.HasFailed());
    Core::MemoryFile again;
    tile->Save(again);
    ASSERT_EQ(again.GetSize(), stored.GetSize());
    EXPECT_EQ(std::vector<std::uint8_t>(again.GetData() + again.GetSize() - 5, again.GetData() + again.GetSize()),
              (std::vector<std::uint8_t>{9, 0, 0, 0, 0}));
}

// Its end frees them (a second end finds nothing), a line that never
// ended frees them with itself, and a copy has records of its own.
TEST_F(TerrainTest, ALinesCollisionRecordsAreFreedOnce) {
    const Core::RefPtr<HorizontalLineSprite> loose = TUN_NEW(HorizontalLineSprite, Vector2D{100.0f, 225.0f}, 92.0f);
    EXPECT_NE(loose->GetCollisionActor(), nullptr);

    EnterStage(false);
    const Core::RefPtr<HorizontalLineSprite> line = TUN_NEW(HorizontalLineSprite, Vector2D{100.0f, 225.0f}, 92.0f);
    Step();
    ASSERT_EQ(line->GetLayer(), Game().GetWorldLayer());
    const Core::RefPtr<Core::Object> clone = line->Clone();
    const auto& copy = static_cast<const HorizontalLineSprite&>(*clone);
    ASSERT_NE(copy.GetCollisionObject(), nullptr);
    EXPECT_EQ(copy.GetCollisionObject()->GetActor(), copy.GetCollisionActor());
    EXPECT_NE(copy.GetCollisionActor(), line->GetCollisionActor());

    line->Destroy();
    Step();
    EXPECT_EQ(line->GetCollisionActor(), nullptr);
    EXPECT_EQ(line->GetCollisionObject(), nullptr);
    line->OnEnd();
    EXPECT_EQ(copy.GetCollisionObject()->GetCurrentLineSegments().size(), 1u);
}

}  // namespace
}  // namespace mygametest
