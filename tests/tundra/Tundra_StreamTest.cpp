#include "Tundra_TestGame.h"

#include "core/Core_MemoryFile.h"

#include <random>

using namespace tundratest;

namespace {

using Bytes = std::vector<std::uint8_t>;

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

// Every prefix and seeded mutations of the bytes read as a T or as nothing,
// without a fault or a leak (the sanitizers judge).
template <class T>
void ReadHostile(const Bytes& bytes, int mutations) {
    const auto read = [](const Bytes& data) {
        Core::MemoryFile file(data.data(), static_cast<std::uint32_t>(data.size()));
        const Core::RefPtr<T> object = file.ReadObjectAs<T>(Core::File::Reference::Owning);
        if (object) {
            Core::MemoryFile again;
            again << object;
        }
    };
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        read(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)));
    }
    std::mt19937 draw(11);
    for (int i = 0; i < mutations; ++i) {
        Bytes mutated = bytes;
        for (std::uint32_t n = draw() % 4 + 1; n > 0; --n) {
            mutated[draw() % mutated.size()] = static_cast<std::uint8_t>(draw());
        }
        read(mutated);
    }
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
