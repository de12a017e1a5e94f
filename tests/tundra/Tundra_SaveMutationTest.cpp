#include "Tundra_SaveLoadTest.h"

#include "core/Core_ErrorLogTestHooks.h"

#include <cstdlib>
#include <random>

#include "os/OS_ByteOrder.h"

using namespace tundratest;

namespace {

// TUNDRA_SAVE_MUTATIONS asks for a longer run by hand.
std::uint32_t MutationCount() {
    const char* asked = std::getenv("TUNDRA_SAVE_MUTATIONS");
    return asked != nullptr ? static_cast<std::uint32_t>(std::strtoul(asked, nullptr, 10)) : 15000u;
}

// One to three changes, mostly in the game stream after the generators:
// flipped bits, stray bytes, telling words, cuts, removed and repeated runs.
FileBytes Mutated(const FileBytes& file, std::mt19937& draw) {
    FileBytes payload(file.begin() + kSaveHeader, file.end());
    const auto at = [&](std::size_t reserve) {
        const std::size_t size = payload.size() > reserve ? payload.size() - reserve : 1;
        const std::size_t start = draw() % 10 != 0 && size > kSaveGenerators ? kSaveGenerators : 0;
        return start + draw() % (size - start);
    };
    constexpr std::uint32_t kWords[] = {0, 1, 2, 255, 0xFFFF, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    for (std::uint32_t changes = 1 + draw() % 3; changes > 0 && payload.size() > 8; --changes) {
        switch (draw() % 6) {
            case 0:
                payload[at(0)] ^= static_cast<std::uint8_t>(1u << draw() % 8);
                break;
            case 1:
                payload[at(0)] = static_cast<std::uint8_t>(draw());
                break;
            case 2: {
                const std::size_t where = at(4);
                const std::uint32_t word = draw() % 2 == 0 ? kWords[draw() % 8] : draw();
                os::StoreU32LE(&payload[where], word);
                break;
            }
            case 3:
                payload.resize(at(0));
                break;
            case 4: {
                const std::size_t where = at(16);
                payload.erase(payload.begin() + static_cast<std::ptrdiff_t>(where),
                              payload.begin() + static_cast<std::ptrdiff_t>(where + 1 + draw() % 16));
                break;
            }
            default: {
                const std::size_t where = at(16);
                const FileBytes run(payload.begin() + static_cast<std::ptrdiff_t>(where),
                                    payload.begin() + static_cast<std::ptrdiff_t>(where + 1 + draw() % 16));
                payload.insert(payload.begin() + static_cast<std::ptrdiff_t>(at(0)), run.begin(), run.end());
                break;
            }
        }
    }
    FileBytes mutated(file.begin(), file.begin() + kSaveHeader);
    mutated.insert(mutated.end(), payload.begin(), payload.end());
    return Reseal(mutated);
}

}  // namespace

TEST_F(SaveLoadTest, MutatedSavesWithTheirChecksumsLoadOrLeaveTheGameAsItWas) {
    m_factory->layers = 1;
    SavingGame& game = StartGame();
    LayerAt(0).AddStaticCircle({0.0f, -4.0f}, 2.0f, 0, 1);
    const Physics2D::MassProperties mass(1.0f, 1.0f);
    for (const char* name : {"a", "b"}) {
        TestObject& object = Spawn(name);
        object.AddCollision(CircleShape(1.5f, 1), 0);
        object.AddPhysicalProperties(&mass, 0);
    }
    Step(3);
    ASSERT_TRUE(game.SaveStateTo(EnginePath("base")));
    const FileBytes base = ReadBytes("base");
    const std::uint64_t hash = game.GetStateHash();
    std::mt19937 draw(20261207);
    std::uint32_t loaded = 0;
    const std::uint32_t count = MutationCount();
    Core::testhooks::StartCapturingErrors();
    for (std::uint32_t i = 0; i < count; ++i) {
        WriteBytes("mutant", Mutated(base, draw));
        if (game.LoadStateFrom(EnginePath("mutant"))) {
            ++loaded;
            game.Update(0.016f);
            ASSERT_TRUE(game.LoadStateFrom(EnginePath("base")));
        }
        ASSERT_EQ(game.GetStateHash(), hash) << "mutant " << i;
    }
    Core::testhooks::StopCapturingErrors();
    EXPECT_TRUE(loaded > 0 && loaded < count);
}
