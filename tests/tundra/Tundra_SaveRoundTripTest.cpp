#include "Tundra_SaveLoadTest.h"

#include "collision/Collision_CollisionEngine.h"
#include "core/Core_Crc32.h"
#include "core/Core_MemoryFile.h"
#include "core/Core_MersenneTwister.h"
#include "os/OS_ByteOrder.h"
#include "os/OS_Random.h"
#include "sound/Sound_SoundEngine.h"

using namespace tundratest;

TEST_F(SaveLoadTest, SaveLoadSaveGivesTheSameFileAndTheFileIsTheEnvelopedGameStream) {
    SavingGame& game = StartScene();
    game.GoToLevel(2);
    Core::GameRandomGenerator().Next();
    // Still queued in its layer, it holds a body and collides already.
    TestObject& queued = Spawn("queued");
    queued.AddCollision(CircleShape(2.0f, 7), 0);
    const Physics2D::MassProperties mass(1.0f, 1.0f);
    queued.AddPhysicalProperties(&mass, 0);
    game.GetCollisionEngine()->Update(0.0f);
    ASSERT_TRUE(game.SaveStateTo(EnginePath("first")));
    const FileBytes first = ReadBytes("first");
    ASSERT_GT(first.size(), kSaveHeader + kSaveGenerators);

    const FileBytes signature{'T', 'S', 'A', 'V', 1, 0, 0, 0};
    EXPECT_TRUE(std::equal(signature.begin(), signature.end(), first.begin()));
    EXPECT_EQ(os::LoadU32LE(&first[8]), first.size() - kSaveHeader);
    EXPECT_EQ(os::LoadU32LE(&first[12]), Core::Crc32(first.data() + kSaveHeader, first.size() - kSaveHeader));
    EXPECT_EQ(os::LoadU32LE(&first[kSaveHeader]), os::GetRandState());
    const Core::MersenneTwister::State generator = Core::GameRandomGenerator().GetState();
    EXPECT_EQ(os::LoadU32LE(&first[kSaveHeader + 4 + 4 * 17]), generator.words[17]);
    EXPECT_EQ(os::LoadU32LE(&first[kSaveHeader + kSaveGenerators - 4]), generator.index);
    Core::MemoryFile stream;
    game.Save(stream);
    EXPECT_EQ(FileBytes(first.begin() + kSaveHeader + kSaveGenerators, first.end()),
              FileBytes(stream.GetData(), stream.GetData() + stream.GetSize()));

    const std::uint64_t hash = game.GetStateHash();
    const std::vector<std::uint32_t> draws{Core::GameRandomGenerator().Next(), static_cast<std::uint32_t>(os::Rand())};
    ASSERT_TRUE(game.LoadStateFrom(EnginePath("first")));
    EXPECT_EQ(game.GetStateHash(), hash);
    EXPECT_EQ(draws, (std::vector<std::uint32_t>{Core::GameRandomGenerator().Next(),
                                                 static_cast<std::uint32_t>(os::Rand())}));
    std::vector<Tundra::GameObject*> held;
    LayerAt(0).GetHeldGameObjects(held);
    ASSERT_EQ(held.back()->GetName(), "queued");
    EXPECT_EQ(game.GetPhysicsEngine()->GetRigidBody(held.back()->GetPhysicsId())->GetUserData(), held.back());
    // The looping effect plays again, where there is a device to play it.
    LayerAt(1).GetHeldGameObjects(held);
    const auto* effect = dynamic_cast<const Tundra::Sound*>(held.back());
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->IsPlaying(), game.GetSoundEngine()->IsInitialized());
    ASSERT_TRUE(game.LoadStateFrom(EnginePath("first")));
    ASSERT_TRUE(game.SaveStateTo(EnginePath("second")));
    EXPECT_EQ(ReadBytes("second"), first);
    EXPECT_TRUE(Tundra::Camera::GetActiveListener() != nullptr);

    // A loaded state goes on the same way each time it is loaded.
    std::vector<std::uint64_t> runs;
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(game.LoadStateFrom(EnginePath("first")));
        Step(20);
        runs.push_back(game.GetStateHash());
    }
    EXPECT_EQ(runs[0], runs[1]);
    EXPECT_EQ(game.GetCurrentLevelIndex(), 2u);
}


TEST_F(SaveLoadTest, OfASaveAndALoadAskedForInOneFrameOnlyTheLoadIsCarriedOut) {
    SavingGame& game = StartScene();
    ASSERT_TRUE(game.SaveStateTo(EnginePath("earlier")));
    Step(3);
    game.RequestSave("later");
    game.RequestLoad("earlier");
    Step(1);
    const std::uint64_t requested = game.GetStateHash();
    ASSERT_TRUE(game.LoadStateFrom(EnginePath("earlier")));
    Step(1);
    EXPECT_EQ(game.GetStateHash(), requested);
    EXPECT_TRUE(ReadBytes("later").empty());
}

TEST_F(SaveLoadTest, ALevelChangePendingInASaveIsCarriedOutInTheUpdateThatLoadsIt) {
    SavingGame& game = StartScene();
    game.GoToLevel(2);
    ASSERT_TRUE(game.SaveStateTo(EnginePath("changing")));
    // The change's frame is measured from the build: the next has no update.
    Step(2);
    ASSERT_EQ(game.GetCurrentLevelIndex(), 2u);
    game.RequestLoad("changing");
    Log().clear();
    Step(1);
    EXPECT_EQ(game.GetCurrentLevelIndex(), 2u);
    EXPECT_FALSE(game.IsLevelChangePending());
    const std::vector<std::string> expected{"factory changed", "factory changed", "build 2", "level start 2",
                                            "pre update"};
    std::vector<std::string> seen;
    for (const std::string& entry : Log()) {
        if (std::find(expected.begin(), expected.end(), entry) != expected.end()) {
            seen.push_back(entry);
        }
    }
    EXPECT_EQ(seen, expected);
}
