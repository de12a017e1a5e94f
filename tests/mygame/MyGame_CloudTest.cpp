#include "core/Core_ClassRegistry.h"
#include "core/Core_MemoryFile.h"
#include "core/Core_MersenneTwister.h"
#include "mygame/MyGame_Cloud.h"
#include "mygame/MyGame_CloudTestHooks.h"
#include "mygame/MyGame_GameLevel.h"
#include "mygame/MyGame_Globals.h"
#include "mygame/MyGame_InternalSprite.h"
#include "mygame/MyGame_Templates.h"
#include "support/MyGame_TestGame.h"
#include "tundra/Tundra_FindObject.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

namespace mygametest {
namespace {

const Color kPlacedColor{0.5f, 0.25f, 0.75f, 1.0f};

class CloudTest : public MyGameTest {
protected:
    // A stage whose content places the cloud template (or not) in its own
    // colour; the game holds the template, its generator seeded afresh.
    void EnterStage(bool withTemplate = true) {
        if (withTemplate) {
            Content().OnBuild(2, 1, [](const LayerBuild& build) {
                PlaceSprite<Cloud>(build, "CloudTemplate").SetModulationColor(kPlacedColor);
            });
        }
        StartGame();
        Step();
        ASSERT_TRUE(GoToLevel(2));
        if (Game().GetTemplate(kCloudTemplate) == nullptr) {
            Game().CaptureTemplates();
        }
        Core::GameRandomGenerator().Seed(kSeed);
    }

    Terrain& StageTerrain() { return static_cast<GameLevel&>(*Game().GetCurrentLevel()).GetTerrain(); }
};

TEST_F(CloudTest, MakeCloudPlacesAResetCloudInTheWorldLayer) {
    EnterStage();
    Cloud* cloud = MakeCloud(-0.5f);
    ASSERT_NE(cloud, nullptr);
    EXPECT_EQ(cloud->GetPosition(), (Vector2D{1069.0f, 376.0f}));
    EXPECT_EQ(cloud->GetCurrentFrameIndex(), 0);
    EXPECT_EQ(cloud->GetSpeed(), 126.231674f);
    EXPECT_EQ(cloud->GetZOrder(), -0.5f);
    Step();
    EXPECT_EQ(cloud->GetLayer(), Game().GetWorldLayer());
}

TEST_F(CloudTest, WithoutACloudTemplateNoCloudIsMade) {
    EnterStage(false);
    EXPECT_EQ(MakeCloud(0.0f), nullptr);
}

TEST_F(CloudTest, TheStagesThemeTintsTheCloudAsItStarts) {
    const std::pair<std::uint8_t, Color> rows[] = {
        {0, kPlacedColor},
        {3, {1.0f, 230.0f / 255.0f, 185.0f / 255.0f, 1.0f}},
        {6, {180.0f / 255.0f, 205.0f / 255.0f, 210.0f / 255.0f, 1.0f}},
    };
    EnterStage();
    for (const auto& [stage, expected] : rows) {
        Game().GetProfile().currentStage = stage;
        Cloud* cloud = MakeCloud(0.0f);
        Step();
        const Color& color = cloud->GetModulationColor();
        EXPECT_TRUE(color.r == expected.r && color.g == expected.g && color.b == expected.b && color.a == 1.0f)
            << "stage " << int{stage};
    }
}

// Left at the cloud's speed while the ground scrolls (outside a stage too);
// once it stands, at the difference to the ground's 100 per second.
TEST_F(CloudTest, CloudsDriftRelativeToTheGround) {
    struct Row {
        float speed;
        bool groundStands;
        float perSecond;
    };
    const Row rows[] = {{90.0f, false, -90.0f}, {130.0f, false, -130.0f}, {90.0f, true, 10.0f}, {130.0f, true, -30.0f}};
    EnterStage();
    Cloud* cloud = MakeCloud(0.0f);
    Step();
    for (const Row& row : rows) {
        if (row.groundStands && !StageTerrain().IsEndReached()) {
            StageTerrain().End(0, nullptr);
            StageTerrain().Update(0.0f);
            ASSERT_TRUE(StageTerrain().IsEndReached());
        }
        CloudTestAccess::SetSpeed(*cloud, row.speed);
        cloud->SetPositionX(500.0f);
        Step(60);
        EXPECT_NEAR(cloud->GetPositionX(), 500.0f + row.perSecond, 0.01f) << row.speed << " " << row.groundStands;
    }
}

TEST_F(CloudTest, OutsideAStageACloudDriftsAsOverScrollingGround) {
    Content().OnBuild(0, 1, [](const LayerBuild& build) { PlaceSprite<Cloud>(build, "Cloud", {500.0f, 300.0f}); });
    StartGame();
    Step();
    auto* cloud = Tundra::FindObject<Cloud>("Cloud");
    ASSERT_NE(cloud, nullptr);
    CloudTestAccess::SetSpeed(*cloud, 90.0f);
    Step();
    const float x = cloud->GetPositionX();
    Step(60);
    EXPECT_NEAR(cloud->GetPositionX(), x - 90.0f, 0.01f);
}

TEST_F(CloudTest, ACloudAtTheLeftEdgeComesBackAtTheRightAndAPauseHoldsIt) {
    EnterStage();
    Cloud* cloud = MakeCloud(0.0f);
    Step();
    cloud->SetPositionX(-256.0f);
    Globals().paused = 1;
    Step(30);
    EXPECT_EQ(cloud->GetPositionX(), -256.0f);
    Globals().paused = 0;
    Core::GameRandomGenerator().Seed(kSeed);
    Step();
    EXPECT_EQ(cloud->GetPosition(), (Vector2D{1280.0f, 376.0f}));
    EXPECT_EQ(cloud->GetSpeed(), 126.231674f);
    const Core::RefPtr<Core::Object> clone = cloud->Clone();
    EXPECT_EQ(static_cast<Cloud&>(*clone).GetSpeed(), 0.0f);
}

TEST_F(CloudTest, AnInternalSpriteRegistersAndClonesAsASprite) {
    StartGame();
    const Core::RefPtr<Core::Object> made = CreateObjectByName("InternalSprite");
    EXPECT_NE(dynamic_cast<InternalSprite*>(made.Get()), nullptr);
    const Core::RefPtr<InternalSprite> placed = TUN_NEW(InternalSprite, TestAnimations(2));
    placed->SetCurrentAnimationIndex(1, true);
    const Core::RefPtr<Core::Object> clone = placed->Clone();
    const auto* copy = dynamic_cast<InternalSprite*>(clone.Get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetCurrentAnimationIndex(), 1);
}

// A streamed speed that is no number is refused and the cloud keeps its own.
TEST_F(CloudTest, AStreamedSpeedThatIsNoNumberIsRefused) {
    StartGame();
    const Core::RefPtr<Cloud> saved = TUN_NEW(Cloud, TestAnimations(2));
    Core::MemoryFile file;
    saved->Save(file);
    std::vector<std::uint8_t> bytes(file.GetData(), file.GetData() + file.GetSize());
    ASSERT_GE(bytes.size(), 4u);
    for (const float speed : {100.0f, std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::infinity()}) {
        SCOPED_TRACE(speed);
        std::memcpy(&bytes[bytes.size() - 4], &speed, 4);
        const Core::RefPtr<Cloud> read = TUN_NEW(Cloud, TestAnimations(2));
        CloudTestAccess::SetSpeed(*read, 95.0f);
        Core::MemoryFile reader(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        read->Load(reader);
        EXPECT_EQ(reader.HasFailed(), speed != 100.0f);
        EXPECT_EQ(read->GetSpeed(), speed == 100.0f ? 100.0f : 95.0f);
    }
}

}  // namespace
}  // namespace mygametest
