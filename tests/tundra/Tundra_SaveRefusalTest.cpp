#include "Tundra_SaveLoadTest.h"

#include "core/Core_ErrorLogTestHooks.h"
#include "os/OS_ByteOrder.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"

#include <algorithm>
#include <string_view>

using namespace tundratest;

namespace {

struct Damage {
    FileBytes bytes;
    std::string reason;
};

// Each refused with its reason, the running game and the other save untouched.
void ExpectRefused(SavingGame& game, const std::vector<Damage>& damages,
                   const std::function<void(const FileBytes&)>& write, const Core::String& path) {
    const std::uint64_t hash = game.GetStateHash();
    for (const Damage& damage : damages) {
        write(damage.bytes);
        Core::testhooks::StartCapturingErrors();
        EXPECT_FALSE(game.LoadStateFrom(path));
        const std::vector<std::string> errors = Core::testhooks::StopCapturingErrors();
        EXPECT_TRUE(Reported(errors, std::string(path), damage.reason))
            << damage.reason << " / " << (errors.empty() ? "" : errors.front());
        ASSERT_EQ(game.GetStateHash(), hash) << damage.reason;
    }
}

// Where the object's stored collision id lies in the file: 45 bytes after its
// name, which the layer's name index writes before it too.
std::size_t CollisionIdAt(const FileBytes& file, const Tundra::GameObject& object) {
    const std::string name = std::string(4, '\0') + std::string(object.GetName());
    FileBytes key(name.begin(), name.end());
    os::StoreU32LE(key.data(), static_cast<std::uint32_t>(object.GetName().size()));
    for (auto at = file.begin(); (at = std::search(at, file.end(), key.begin(), key.end())) != file.end(); ++at) {
        const auto field = static_cast<std::size_t>(at - file.begin()) + key.size() + 45;
        if (field + 8 <= file.size() && os::LoadU32LE(&file[field]) == object.GetCollisionId() &&
            os::LoadU32LE(&file[field + 4]) == object.GetPhysicsId()) {
            return field;
        }
    }
    return 0;
}

}  // namespace

TEST_F(SaveLoadTest, DamagedTruncatedAndForeignFilesAreRefusedBeforeTheGameIsTouched) {
    SavingGame& game = StartScene();
    ASSERT_TRUE(game.SaveStateTo(EnginePath("good")) && game.SaveStateTo(EnginePath("previous")));
    const FileBytes good = ReadBytes("good");
    const FileBytes previous = ReadBytes("previous");
    Step(2);

    std::vector<Damage> damages;
    for (std::size_t size = 0; size < good.size(); ++size) {
        damages.push_back({FileBytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size)), "truncated"});
    }
    const auto flipped = [&good](std::size_t at, int bit) {
        FileBytes bytes = good;
        bytes[at] ^= static_cast<std::uint8_t>(1u << bit);
        return bytes;
    };
    for (std::size_t at = 0; at < kSaveHeader; ++at) {
        for (int bit = 0; bit < 8; ++bit) {
            const char* reason = at < 4    ? "not a save file"
                                 : at < 8  ? "version"
                                 : at < 12 ? (flipped(at, bit)[at] > good[at] ? "truncated" : "length mismatch")
                                           : "checksum mismatch";
            damages.push_back({flipped(at, bit), reason});
        }
    }
    for (std::size_t at = kSaveHeader; at < good.size(); at += 97) {
        damages.push_back({flipped(at, static_cast<int>(at % 8)), "checksum mismatch"});
    }
    FileBytes version2 = good;
    version2[4] = 2;
    damages.push_back({version2, "version 2"});
    FileBytes longer = good;
    longer.push_back(0);
    damages.push_back({longer, "length mismatch"});
    ExpectRefused(game, damages, [this](const FileBytes& bytes) { WriteBytes("bad", bytes); },
                  EnginePath("bad"));
    ExpectRefused(game, {{{}, "missing"}}, [](const FileBytes&) {}, EnginePath("absent"));
    EXPECT_EQ(ReadBytes("previous"), previous);
}

TEST_F(SaveLoadTest, AStateThatFailsToLoadOrToRelinkRollsBackToTheRunningGame) {
    SavingGame& game = StartScene();
    TestObject& alpha = Spawn("alpha");
    TestObject& omega = Spawn("omega");
    const Physics2D::MassProperties mass(1.0f, 1.0f);
    for (TestObject* object : {&alpha, &omega}) {
        object->AddCollision(CircleShape(1.0f, 1), 0);
        object->AddPhysicalProperties(&mass, 0);
    }
    Step(2);
    ASSERT_TRUE(game.SaveStateTo(EnginePath("good")));
    const FileBytes good = ReadBytes("good");
    const std::size_t alphaIds = CollisionIdAt(good, alpha);
    const std::size_t omegaIds = CollisionIdAt(good, omega);
    ASSERT_TRUE(alphaIds != 0 && omegaIds != 0);

    const auto changed = [&good](std::size_t at, std::uint32_t value) {
        FileBytes bytes = good;
        os::StoreU32LE(&bytes[at], value);
        return Reseal(bytes);
    };
    FileBytes trailing = good;
    trailing.push_back(0);
    FileBytes generatorCut(good.begin(), good.begin() + kSaveHeader + 100);
    FileBytes foreign = good;
    const std::string_view levelClass = "Tundra::Level";
    const auto named = std::search(foreign.begin(), foreign.end(), levelClass.begin(), levelClass.end());
    ASSERT_NE(named, foreign.end());
    named[levelClass.size() - 1] = 'r';
    // A class name of the file's own reaches the log escaped.
    FileBytes hostile = good;
    const std::string_view escapes = "\x1b]0;pwn\aLevel";
    std::copy(escapes.begin(), escapes.end(), hostile.begin() + (named - foreign.begin()));
    std::vector<Damage> damages{
        {Reseal(trailing), "trailing bytes"},
        {Reseal(generatorCut), "bad generator state"},
        {Reseal(foreign), "unknown class Tundra::Lever"},
        {Reseal(hostile), "unknown class ?]0;pwn?Level"},
        {changed(kSaveHeader + kSaveGenerators - 4, 625), "bad generator state"},
        // Both objects claim one body, or one entry of the collision engine.
        {changed(omegaIds + 4, alpha.GetPhysicsId()), "bad game state"},
        {changed(omegaIds, alpha.GetCollisionId()), "bad game state"},
        // Ids that name nothing.
        {changed(omegaIds + 4, 999), "bad game state"},
        {changed(alphaIds, 0x00001234), "bad game state"},
    };
    ExpectRefused(game, damages, [this](const FileBytes& bytes) { WriteBytes("bad", bytes); },
                  EnginePath("bad"));
    EXPECT_TRUE(game.LoadStateFrom(EnginePath("good")));
}

// Every sound of the file names a file outside the sounds folder: the load
// goes on without them and logs a few lines, not one per sound.
TEST_F(SaveLoadTest, FieldsRefusedAcrossAFileGiveAFewLines) {
    SavingGame& game = StartScene();
    Tundra::Layer& layer = *game.GetCurrentLevel()->GetLayer(0);
    for (int sound = 0; sound < 20; ++sound) {
        layer.AddGameObject(
            TUN_NEW(Tundra::Sound, WriteSceneEffect(), Tundra::Sound::kRelative, 10.0f, false, 0.0f, true));
    }
    ASSERT_TRUE(game.SaveStateTo(EnginePath("sounds")));
    FileBytes bytes = ReadBytes("sounds");
    const std::string_view name = "effect.wav";
    for (auto at = bytes.begin(); (at = std::search(at, bytes.end(), name.begin(), name.end())) != bytes.end(); ++at) {
        at[4] = '/';
    }
    WriteBytes("sounds", Reseal(bytes));
    Core::testhooks::StartCapturingErrors();
    EXPECT_TRUE(game.LoadStateFrom(EnginePath("sounds")));
    const std::vector<std::string> errors = Core::testhooks::StopCapturingErrors();
    ASSERT_EQ(errors.size(), 4u);
    EXPECT_EQ(errors.front(), "sound file name refused (not a plain file name): \"effe/t.wav\"");
    EXPECT_EQ(errors.back(), "19 more errors like these not shown");
}
