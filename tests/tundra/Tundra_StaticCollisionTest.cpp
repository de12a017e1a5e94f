#include "support/Tundra_TestGame.h"

#include "collision/Collision_CollisionEngine.h"
#include "core/Core_MemoryFile.h"
#include "support/TempDirectory.h"
#include "tundra/Tundra_StaticCollisionFile.h"

#include <filesystem>

using namespace tundratest;
using Tundra::StaticCollisionFile;

namespace {

constexpr const char* kExample = "Segments 1 0,0,100,0,0,7 Circles 1 50,50,10,0,8";

}  // namespace

TEST(StaticCollisionFile, ReadsCompleteRecordsUpToTheFirstFault) {
    struct Case {
        const char* text;
        std::size_t segments, circles;
    };
    const Case cases[] = {
        {kExample, 1, 1},
        {"Segments\r\n1\r\n0 ;0; 100;\r\n0;0;\r\n7\r\nCircles\r\n1\r\n50;50;10;0;8\r\n", 1, 1},
        {"S 0 C 0", 0, 0},
        {"S -4 C 1 1,1,1,0,1", 0, 1},
        {"S 2 0,0,1,1,0,1 0,0,1", 1, 0},
        {"S 9 0,0,1,1,0,1 0,0,1,1,0,2", 2, 0},
        {"S 1 0,nan,1,1,0,1 C 0", 0, 0},
        {"S 1 0,1e39,1,1,0,1 C 0", 0, 0},
        {"S 1 0,0,1,1,3e9,1 C 0", 0, 0},
        {"S 1 0,0,1,1,0,4294967296 C 0", 0, 0},
        {"S 99999999999 0,0,1,1,0,1", 0, 0},
        {"S 1 0-5-1-1-0-1 C 0", 1, 0},
        {"", 0, 0},
    };
    for (const Case& c : cases) {
        const StaticCollisionFile file = StaticCollisionFile::Parse(c.text);
        EXPECT_EQ(file.segments.size(), c.segments) << c.text;
        EXPECT_EQ(file.circles.size(), c.circles) << c.text;
    }
    const StaticCollisionFile example = StaticCollisionFile::Parse(kExample);
    EXPECT_EQ(example.segments[0].b, Vector2D(100.0f, 0.0f));
    EXPECT_EQ(example.segments[0].userId, 7u);
    EXPECT_EQ(example.circles[0].radius, 10.0f);
    EXPECT_EQ(example.circles[0].userId, 8u);
    const StaticCollisionFile groups = StaticCollisionFile::Parse("S 3 0,0,1,1,3.7,1 0,0,1,1,2.9,2 0,0,1,1,-1,3 C 0");
    ASSERT_EQ(groups.segments.size(), 3u);
    EXPECT_EQ(groups.segments[0].group, 3);
    EXPECT_EQ(groups.segments[1].group, 2);
    EXPECT_EQ(groups.segments[2].group, 255);
    EXPECT_EQ(StaticCollisionFile::Parse("S 1 0-5-1-1-0-1").segments[0].a, Vector2D(0.0f, 5.0f));
}

TEST_F(GameTest, ALayerRegistersTheFileShapesInFileOrderAndIgnoresMissingAndOversizedFiles) {
    TestGame& game = Start();
    const testsupport::TempDirectory directory;
    const std::string path = directory.WriteFile("level0_layer0.txt", kExample);
    Tundra::Layer& layer = LayerAt(0);
    layer.ReadInformation_StaticCollision((directory.Path() + "/missing.txt").c_str());
    layer.ReadInformation_StaticCollision(path.c_str());
    const Collision2D::CollisionLayer* shapes = game.GetCollisionEngine()->GetLayer(layer.GetCollisionId());
    // Beyond the limit (a sparse file after a valid text), with a message.
    const std::string huge = directory.WriteFile("huge.txt", kExample);
    std::filesystem::resize_file(huge, StaticCollisionFile::kMaxFileBytes + 1);
    testing::internal::CaptureStderr();
    layer.ReadInformation_StaticCollision(huge.c_str());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("huge.txt is larger than"), std::string::npos);
    ASSERT_EQ(shapes->GetStaticLineSegmentSlotCount(), 2u);
    ASSERT_EQ(shapes->GetStaticCircleSlotCount(), 2u);
    EXPECT_EQ(shapes->GetStaticLineSegment(1)->GetUserId(), 7u);
    EXPECT_EQ(shapes->GetStaticCircle(1)->GetUserId(), 8u);

    Core::MemoryFile stream;
    stream << &layer;
    std::vector<std::uint8_t> bytes(stream.GetData(), stream.GetData() + stream.GetSize());
    bytes[47] = 200;
    Core::MemoryFile patched(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    const Core::RefPtr<Tundra::Layer> stray = patched.ReadObjectAs<Tundra::Layer>(Core::File::Reference::Owning);
    ASSERT_TRUE(stray);
    EXPECT_EQ(stray->GetCollisionId(), 200);
    EXPECT_EQ(stray->AddStaticCircle({0.0f, 0.0f}, 1.0f, 0, 1), 0u);
}
