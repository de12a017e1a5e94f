#include "Tundra_HostileRead.h"
#include "support/Tundra_TestGame.h"

#include "collision/Collision_CollisionEngine.h"
#include "core/Core_MemoryFile.h"

#include <random>

using namespace tundratest;

namespace {

// Objects spawn, die, mount and move by a seeded draw; the level's stream after the frames.
Bytes PlayAndSave(GameTest& test, const std::function<TestObject&(const char*, std::uint32_t)>& spawn,
                  const std::function<void(int)>& step) {
    std::mt19937 draw(7);
    std::vector<Core::RefPtr<TestObject>> alive;
    for (int frame = 0; frame < 120; ++frame) {
        const std::uint32_t roll = draw() % 8;
        if (roll < 3) {
            TestObject& object = spawn(roll == 0 ? "x" : "y", draw() % 2);
            object.SetPosition({static_cast<float>(draw() % 100), 0.0f});
            object.SetLifeTime(static_cast<float>(draw() % 3) * 0.05f);
            if (!alive.empty()) {
                alive[draw() % alive.size()]->Mount(&object);
            }
            alive.emplace_back(&object);
        } else if (roll == 3 && !alive.empty()) {
            alive[draw() % alive.size()]->Destroy();
        } else if (!alive.empty()) {
            alive[draw() % alive.size()]->SetRotationAngle(static_cast<float>(draw() % 360));
        }
        step(1);
    }
    (void)test;
    Core::MemoryFile file;
    file << Tundra::Game::GetInstance()->GetCurrentLevel();
    return Bytes(file.GetData(), file.GetData() + file.GetSize());
}

}  // namespace

TEST_F(GameTest, TheSameInputsWriteTheSameLevelBytesAndHostileCopiesReadCleanly) {
    const auto spawn = [this](const char* name, std::uint32_t layer) -> TestObject& { return Spawn(name, layer); };
    const auto step = [this](int frames) { Step(frames); };
    Start();
    const Bytes first = PlayAndSave(*this, spawn, step);
    Start();
    EXPECT_EQ(PlayAndSave(*this, spawn, step), first);
    m_game->RestartLevel();
    Step(2);
    EXPECT_EQ(PlayAndSave(*this, spawn, step), first);

    ReadHostile<Tundra::Level>(first, 20000);
    Core::MemoryFile layer;
    layer << m_game->GetCurrentLevel()->GetLayer(0);
    ReadHostile<Tundra::Layer>(Bytes(layer.GetData(), layer.GetData() + layer.GetSize()), 10000);
    Core::MemoryFile object;
    object << Core::RefPtr<TestObject>(TUN_NEW(TestObject, "alone"));
    ReadHostile<Tundra::GameObject>(Bytes(object.GetData(), object.GetData() + object.GetSize()), 10000);
}

TEST_F(GameTest, AReadLevelOrLayerIsAlwaysShutDownAndUndoesOnlyWhatItAdded) {
    TestGame& game = Start();
    Spawn("a");
    LayerAt(0).AddStaticCircle({0.0f, 0.0f}, 5.0f, 0, 1);
    Step(1);
    const auto staticsKept = [&game] {
        return game.GetCollisionEngine()->GetLayer(0)->GetStaticCircleSlotCount() == 2u;
    };
    // Each stream, stored as shut down, read and let go of: its copy of "a" is cleaned up.
    Bytes level = Saved(game.GetCurrentLevel());
    level[level.size() - 6] = 1;
    Bytes layer = Saved(&LayerAt(0));
    layer[46] = 1;
    for (const Bytes& bytes : {level, layer}) {
        Log().clear();
        Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        EXPECT_TRUE(file.ReadObject() != nullptr);
        file.ResetObjectTables();
        EXPECT_EQ(Entries("cleanup a").size(), 1u);
        EXPECT_TRUE(staticsKept() && game.GetSceneGraph()->GetChildCount() == 2u);
    }
    Core::RefPtr<Tundra::Layer> unused = TUN_NEW(Tundra::Layer);
    unused = nullptr;
    EXPECT_TRUE(staticsKept());

    // A level listing one layer twice: the layer's reference copied after its fields.
    const Core::RefPtr<Tundra::Level> single = TUN_NEW(Tundra::Level);
    single->AddLayer(TUN_NEW(Tundra::Layer));
    single->AddLayer(single->GetLayer(0));
    Bytes twice = Saved(single.Get());
    const std::size_t header = 22;
    const std::size_t layerEnd = header + 4 + Saved(single->GetLayer(0)).size();
    twice[header] = 2;
    twice.insert(twice.begin() + static_cast<std::ptrdiff_t>(layerEnd), twice.begin() + header + 4,
                 twice.begin() + header + 4 + header);
    Core::MemoryFile file(twice.data(), static_cast<std::uint32_t>(twice.size()));
    EXPECT_EQ(file.ReadObjectAs<Tundra::Level>(Core::File::Reference::Owning), nullptr);
    EXPECT_EQ(single->GetLayersCount(), 1u);
}
