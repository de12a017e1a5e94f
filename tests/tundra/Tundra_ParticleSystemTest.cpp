#include "Tundra_ParticleTestSupport.h"
#include "support/Tundra_TestGame.h"

#include "core/Core_File.h"
#include "core/Core_Random.h"
#include "os/OS_ByteOrder.h"
#include "renderer/Renderer_ITexture.h"
#include "tundra/Tundra_Camera.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_ParticleEmitterShapes.h"
#include "tundra/Tundra_ParticleSystem.h"
#include "tundra/Tundra_Viewport.h"

#include <cmath>
#include <limits>
#include <string>

using namespace tundratest;
using particletest::Body;
using particletest::Bytes;
using Tundra::ParticleSystem;
using Tundra::ParticleSystemBase;

namespace {

Core::String TexturePath(const char* name) {
    return Tundra::Game::GetDirectory() + "\\Resources\\ParticleSystems\\" + name;
}

Core::RefPtr<ParticleSystem> MakeSystem(std::uint32_t count, const Vector2D& gravity = {}) {
    return TUN_NEW(ParticleSystem, TexturePath("spark.png"), count, 64.0f, gravity);
}

int Alive(const ParticleSystem& system) {
    int alive = 0;
    for (const Tundra::Particle& particle : system.GetParticles()) {
        alive += particle.alive ? 1 : 0;
    }
    return alive;
}

const Engine::Particle& Record(const ParticleSystem& system, std::size_t i) {
    return system.GetParticleNode()->GetParticles()[i];
}

template <class T>
Core::RefPtr<T> ReadBack(const Bytes& bytes) {
    Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return file.ReadObjectAs<T>(Core::File::Reference::Owning);
}

// Counts the updates a warm-up runs through the virtual engine update.
struct CountingSystem : ParticleSystem {
    using ParticleSystem::ParticleSystem;
    void EngineUpdate(float dt) override {
        ++updates;
        ParticleSystem::EngineUpdate(dt);
    }
    int updates = 0;
};

}  // namespace

TEST_F(GameTest, ASystemBaseHangsItsNodeUnderItselfAndIsInAViewportUnlessWhollyOutsideTheView) {
    Start();
    const Core::RefPtr<ParticleSystemBase> base = TUN_NEW(ParticleSystemBase, TexturePath("spark.png"), 4, 32.0f);
    EXPECT_TRUE(base->GetUseLocalCoordinates());
    EXPECT_TRUE(base->GetParticleNode()->GetUseLocalCoordinates());
    EXPECT_EQ(base->GetParticleNode()->GetParent(), base->GetSceneNode().Get());
    const Core::RefPtr<Tundra::Viewport> viewport = TUN_NEW(Tundra::Viewport, 0, 0, 1024, 768);
    EXPECT_FALSE(base->IsInViewport(nullptr));
    EXPECT_FALSE(base->IsInViewport(viewport.Get()));
    const Core::RefPtr<Tundra::Camera> camera = TUN_NEW(Tundra::Camera);
    camera->SetZOrder(500.0f);
    camera->SetPosition({0.0f, 0.0f});
    camera->GetSceneNode()->Update(0.0f);
    viewport->SetCamera(camera.Get());
    struct Case {
        float x;
        bool inView;
    };
    // At 500 units a 45-degree view is about 276 units across to either side.
    for (const Case c : {Case{0.0f, true}, Case{280.0f, true}, Case{400.0f, false}, Case{1e6f, false}}) {
        base->SetPosition({c.x, 0.0f});
        base->GetSceneNode()->Update(0.0f);
        EXPECT_EQ(base->IsInViewport(viewport.Get()), c.inView) << c.x;
    }
    // Made by the registry: no node until read; setters do nothing.
    const Core::RefPtr<Core::Object> made = CreateObjectByName("Tundra::ParticleSystemBase");
    auto& empty = static_cast<ParticleSystemBase&>(*made);
    empty.SetSrcBlendFactor(2);
    empty.SetHUDObject(true);
    EXPECT_EQ(empty.GetSrcBlendFactor(), 0u);
    EXPECT_FALSE(empty.IsHUDObject());
    EXPECT_FALSE(empty.IsInViewport(viewport.Get()));
}

TEST_F(GameTest, ABaseRoundTripKeepsItsRecordsAndSettingsAndFindsItsTextureInTheParticleFolder) {
    Start();
    const auto base = Core::RefPtr<ParticleSystemBase>(TUN_NEW(ParticleSystemBase, TexturePath("spark.png"), 3, 50.0f));
    std::vector<Engine::Particle>& records = base->GetParticleNode()->GetParticles();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto f = static_cast<float>(i);
        records[i] = {{f, f + 1.0f, 0.0f}, {2.0f, 3.0f}, 45.0f * f, {0.1f, 0.2f, 0.3f, 0.4f}};
    }
    base->SetSrcBlendFactor(2);
    base->SetDstBlendFactor(9);
    base->SetHUDObject(true);
    base->SetUseLocalCoordinates(false);

    const Core::RefPtr<ParticleSystemBase> read = ReadBack<ParticleSystemBase>(particletest::Saved(base.Get()));
    ASSERT_TRUE(read);
    // The body holds count, records, bounding size, blend codes and both flags.
    EXPECT_EQ(Body(*read), Body(*base));
    EXPECT_FALSE(read->GetParticleNode()->GetUseLocalCoordinates());
    // The cache gives the very texture: the stored name did not double the folder.
    EXPECT_EQ(read->GetParticleNode()->GetTexture(), base->GetParticleNode()->GetTexture());

    // A texture loaded from elsewhere is looked for by its file name in the particle folder.
    const Core::RefPtr<ParticleSystemBase> elsewhere = TUN_NEW(ParticleSystemBase, "/tmp\\glow.png", 1, 8.0f);
    const Core::RefPtr<ParticleSystemBase> moved = ReadBack<ParticleSystemBase>(particletest::Saved(elsewhere.Get()));
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->GetParticleNode()->GetTexture()->GetName(), TexturePath("glow.png"));
}

TEST_F(GameTest, ParticleCountsAboveTheCapOrUnlikeTheBasesFailTheStreamAndLoadReplacesThePool) {
    Start();
    const Core::RefPtr<ParticleSystem> small = MakeSystem(3);
    const Bytes body = Body(*small);
    Core::MemoryFile objectPart;
    small->GameObject::Save(objectPart);
    Core::MemoryFile basePart;
    small->ParticleSystemBase::Save(basePart);
    // The texture name "spark.png" follows the game object's part, then the base's count.
    const std::size_t baseCount = objectPart.GetSize() + 4 + 9;
    const auto name = body.begin() + static_cast<std::ptrdiff_t>(objectPart.GetSize());
    EXPECT_EQ(std::string(name, name + 13), std::string("\x09\0\0\0spark.png", 13));
    const std::size_t poolCount = basePart.GetSize();
    ASSERT_EQ(os::LoadU32LE(&body[baseCount]), 3u);
    ASSERT_EQ(os::LoadU32LE(&body[poolCount]), 3u);
    // A particle is 89 bytes in the pool and its render record 40.
    EXPECT_EQ(Body(*MakeSystem(4)).size() - body.size(), 129u);

    const auto loads = [](Core::Object& target, Bytes bytes, std::size_t at, std::uint32_t value) {
        os::StoreU32LE(&bytes[at], value);
        Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        target.Load(file);
        return !file.HasFailed();
    };
    const Core::RefPtr<ParticleSystem> target = MakeSystem(10);
    EXPECT_FALSE(loads(*target, body, baseCount, 0xFFFFFFFFu));
    // A base stream holding every record it counts reads up to the cap.
    const Core::RefPtr<ParticleSystemBase> one = TUN_NEW(ParticleSystemBase, TexturePath("spark.png"), 1, 8.0f);
    const Bytes oneBody = Body(*one);
    for (const std::uint32_t count : {65536u, 65537u}) {
        Bytes full(oneBody.begin(), oneBody.begin() + static_cast<std::ptrdiff_t>(baseCount + 4));
        full.resize(full.size() + 40 * std::size_t{count});
        full.insert(full.end(), oneBody.begin() + static_cast<std::ptrdiff_t>(baseCount + 4 + 40), oneBody.end());
        const Core::RefPtr<ParticleSystemBase> big = TUN_NEW(ParticleSystemBase);
        EXPECT_EQ(loads(*big, full, baseCount, count), count <= ParticleSystemBase::kMaxParticles);
    }
    EXPECT_FALSE(loads(*target, body, poolCount, 4));
    EXPECT_FALSE(loads(*target, body, poolCount, 2));
    EXPECT_EQ(target->GetParticles().size(), 10u);
    // The node of the read base has 3 records now: nothing writes past them.
    target->Reset();
    target->EngineUpdate(0.1f);
    ASSERT_TRUE(loads(*target, body, poolCount, 3));
    EXPECT_EQ(target->GetParticles().size(), 3u);
    EXPECT_EQ(target->GetParticleNode()->GetParticles().size(), 3u);
    target->SetEmissionRate(1000.0f, 1000.0f);
    target->EngineUpdate(0.1f);
    EXPECT_EQ(Alive(*target), 3);
}

TEST_F(GameTest, EmissionFollowsRateTimesFrameTimeWithACarryAndIsCappedAtThePool) {
    Start();
    const Core::RefPtr<ParticleSystem> system = MakeSystem(20);
    system->SetParticleLifeTime(100.0f, 100.0f);
    system->SetEmissionRate(10.0f, 10.0f);
    system->EngineUpdate(0.05f);
    EXPECT_EQ(Alive(*system), 0);
    EXPECT_EQ(system->GetEmissionCarry(), 0.5f);
    system->EngineUpdate(0.0f);
    EXPECT_EQ(Alive(*system), 0);
    EXPECT_EQ(system->GetEmissionCarry(), 0.5f);
    system->EngineUpdate(0.05f);
    EXPECT_EQ(Alive(*system), 1);
    EXPECT_EQ(system->GetEmittedCount(), 1u);
    EXPECT_EQ(system->GetParticles()[0].age, 0.05f);

    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    struct Case {
        float rate;
        float dt;
        std::uint32_t emitted;
    };
    // An infinite rate draws NaN (inf + r (inf - inf)): nothing, and nothing stuck.
    for (const Case c : {Case{100.0f, 1.0f, 5}, Case{1e30f, 1.0f, 5}, Case{100.0f, kInfinity, 5},
                         Case{kInfinity, 1.0f, 0}}) {
        const Core::RefPtr<ParticleSystem> pool = MakeSystem(5);
        pool->SetParticleLifeTime(0.5f, 0.5f);
        pool->SetEmissionRate(c.rate, c.rate);
        pool->EngineUpdate(c.dt);
        EXPECT_EQ(pool->GetEmittedCount(), c.emitted);
        EXPECT_EQ(pool->GetEmissionCarry(), 0.0f);
        // What was cut off is not carried, and emission goes on afterwards.
        pool->SetEmissionRate(20.0f, 20.0f);
        pool->EngineUpdate(0.1f);
        EXPECT_EQ(pool->GetEmittedCount(), 2u);
    }
}

TEST_F(GameTest, AParticleFadesOverItsLifeFallsWithGravityAndTurnsWithItsVelocity) {
    Start();
    const Core::RefPtr<ParticleSystem> system = MakeSystem(1);
    system->SetEmissionRate(4.0f, 4.0f);
    system->SetParticleStartingScale({1.0f, 1.0f}, {1.0f, 1.0f});
    system->SetParticleEndingScale({3.0f, 5.0f}, {3.0f, 5.0f});
    system->SetParticleStartingColor({1.0f, 0.0f, 0.0f, 1.0f}, {1.0f, 0.0f, 0.0f, 1.0f});
    system->SetParticleEndingColor({0.0f, 0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f, 0.0f});
    for (const float f : {0.25f, 0.5f, 0.75f, 1.0f}) {
        system->EngineUpdate(0.25f);
        const Engine::Particle& record = Record(*system, 0);
        EXPECT_EQ(record.scale, Vector2D(1.0f + 2.0f * f, 1.0f + 4.0f * f));
        EXPECT_EQ(record.color.r, 1.0f - f);
        EXPECT_EQ(record.color.b, f);
        EXPECT_EQ(record.color.a, 1.0f - f);
    }
    system->EngineUpdate(0.25f);
    EXPECT_EQ(Alive(*system), 0);
    EXPECT_EQ(Record(*system, 0).scale, Vector2D(0.0f, 0.0f));

    const Core::RefPtr<ParticleSystem> falling = MakeSystem(1, {0.0f, -10.0f});
    falling->SetEmissionRate(10.0f, 10.0f);
    falling->SetParticleLifeTime(10.0f, 10.0f);
    for (int i = 1; i <= 10; ++i) {
        falling->EngineUpdate(0.1f);
        const float t = 0.1f * static_cast<float>(i);
        EXPECT_NEAR(Record(*falling, 0).position.y, -0.5f * 10.0f * t * t, 1e-5f);
        EXPECT_EQ(Record(*falling, 0).position.x, 0.0f);
    }

    struct Turn {
        float angle;
        std::int32_t mode;
        float expected;
    };
    for (const Turn turn : {Turn{0.0f, 0, 0.0f}, Turn{90.0f, 0, 90.0f}, Turn{90.0f, 1, 15.0f}}) {
        const Core::RefPtr<ParticleSystem> turning = MakeSystem(1);
        turning->SetEmitter(TUN_NEW(Tundra::PointEmitter, turn.angle, turn.angle, Vector2D()));
        turning->SetParticleSpeed(1.0f, 1.0f);
        turning->SetParticleRotationSpeed(5.0f, 5.0f);
        turning->SetParticleDirection(turn.mode);
        turning->SetParticleLifeTime(10.0f, 10.0f);
        for (int i = 0; i < 3; ++i) {
            turning->EngineUpdate(1.0f);
        }
        EXPECT_NEAR(Record(*turning, 0).angle, turn.expected, 1e-4f);
    }
}

TEST_F(GameTest, ANonRecyclingSystemUsesEachSlotOnceAndDestroysItselfOnceAllHaveDied) {
    Start();
    const Core::RefPtr<ParticleSystem> system = MakeSystem(2);
    system->SetRecycleParticles(false);
    system->SetParticleLifeTime(0.25f, 0.25f);
    system->SetEmissionRate(1000.0f, 1000.0f);
    LayerAt(0).AddGameObject(system.Get());
    Step(1);
    for (int i = 0; i < 3; ++i) {
        system->EngineUpdate(0.1f);
        EXPECT_FALSE(system->IsDestroyRequested());
    }
    EXPECT_EQ(system->GetEmittedCount(), 2u);
    EXPECT_EQ(system->GetDeadCount(), 2u);
    system->EngineUpdate(0.1f);
    EXPECT_EQ(Alive(*system), 0);
    EXPECT_TRUE(system->IsDestroyRequested());
    Step(1);
    EXPECT_EQ(LayerAt(0).GetGameObjectsCount(), 0u);
}

TEST_F(GameTest, WarmUpRunsTruncatedHundredthsOfTheSecondsUpToALimit) {
    Start();
    struct Case {
        float seconds;
        int updates;
    };
    for (const Case c : {Case{0.1f, 10}, Case{0.0f, 0}, Case{0.29f, 29}, Case{-1.0f, 0},
                         Case{std::numeric_limits<float>::quiet_NaN(), 0}, Case{1e30f, 100000}}) {
        const Core::RefPtr<CountingSystem> system = TUN_NEW(CountingSystem, TexturePath("spark.png"), 1, 8.0f, Vector2D());
        system->WarmUp(c.seconds);
        EXPECT_EQ(system->updates, c.updates) << c.seconds;
    }
}

TEST_F(GameTest, InWorldSpaceParticlesAreBornTurnedAndCarriedByTheSystem) {
    Start();
    const Core::RefPtr<ParticleSystem> system = MakeSystem(2);
    system->SetUseLocalCoordinates(false);
    system->SetEmitter(TUN_NEW(Tundra::PointEmitter, 0.0f, 0.0f, Vector2D(10.0f, 0.0f)));
    system->SetParticleSpeed(2.0f, 2.0f);
    system->SetParticleLifeTime(10.0f, 10.0f);
    system->SetEmissionRate(10.0f, 10.0f);
    system->SetPosition({100.0f, 50.0f});
    system->SetRotationAngle(90.0f);
    system->EngineUpdate(0.1f);
    const Tundra::Particle& first = system->GetParticles()[0];
    EXPECT_NEAR(first.spawnPosition.x, 100.0f, 1e-4f);
    EXPECT_NEAR(first.spawnPosition.y, 60.0f, 1e-4f);
    EXPECT_NEAR(first.velocity.x, 0.0f, 1e-5f);
    EXPECT_NEAR(first.velocity.y, 2.0f, 1e-5f);
    system->SetPosition({103.0f, 50.0f});
    system->EngineUpdate(0.1f);
    const Tundra::Particle& second = system->GetParticles()[1];
    EXPECT_NEAR(second.spawnPosition.x, 103.0f, 1e-4f);
    EXPECT_NEAR(second.velocity.x, 3.0f, 1e-5f);
    EXPECT_NEAR(second.velocity.y, 2.0f, 1e-5f);
}

TEST_F(GameTest, ASystemWithoutEmitterAgesItsParticlesButBringsNoneToLife) {
    Start();
    const Core::RefPtr<ParticleSystem> system = MakeSystem(3);
    system->SetEmitter(nullptr);
    system->Reset();
    system->EngineUpdate(1.0f);
    system->WarmUp(0.05f);
    EXPECT_EQ(Alive(*system), 0);
    EXPECT_EQ(system->GetEmittedCount(), 0u);
    const Core::RefPtr<Core::Object> made = CreateObjectByName("Tundra::ParticleSystem");
    static_cast<ParticleSystem&>(*made).EngineUpdate(1.0f);
    static_cast<ParticleSystem&>(*made).Reset();
}

TEST_F(GameTest, ASystemRoundTripsWithItsPoolAndSharedEmitterAndClonesWithItsOwnEmitter) {
    Start();
    SeedRandom(3);
    const Core::RefPtr<Tundra::ParticleEmitter> shared = TUN_NEW(Tundra::DiskEmitter, Vector2D(1.0f, 2.0f), 30.0f);
    const Core::RefPtr<ParticleSystem> a = MakeSystem(4, {0.0f, -3.0f});
    const Core::RefPtr<ParticleSystem> b = MakeSystem(2);
    for (ParticleSystem* system : {a.Get(), b.Get()}) {
        system->SetEmitter(shared.Get());
        system->SetParticleSpeed(1.0f, 5.0f);
        system->SetParticleDirection(1);
        system->SetParticleRotationSpeed(-3.0f, 3.0f);
        system->EngineUpdate(0.3f);
    }
    Core::MemoryFile file;
    file << a << b;
    const Bytes saved(file.GetData(), file.GetData() + file.GetSize());
    Core::MemoryFile in(saved.data(), static_cast<std::uint32_t>(saved.size()));
    const Core::RefPtr<ParticleSystem> readA = in.ReadObjectAs<ParticleSystem>(Core::File::Reference::Owning);
    const Core::RefPtr<ParticleSystem> readB = in.ReadObjectAs<ParticleSystem>(Core::File::Reference::Owning);
    ASSERT_TRUE(readA && readB);
    EXPECT_EQ(Body(*readA), Body(*a));
    EXPECT_EQ(Body(*readB), Body(*b));
    EXPECT_EQ(readA->GetEmitter(), readB->GetEmitter());
    EXPECT_STREQ(readA->GetEmitter()->GetType(), "Tundra::DiskEmitter");

    const Core::RefPtr<ParticleSystem> clone = static_cast<ParticleSystem*>(a->Clone());
    EXPECT_NE(clone->GetEmitter(), a->GetEmitter());
    EXPECT_EQ(Body(*clone->GetEmitter()), Body(*shared));
    EXPECT_NE(clone->GetParticleNode(), a->GetParticleNode());
    EXPECT_EQ(clone->GetParticleNode()->GetParent(), clone->GetSceneNode().Get());
    SeedRandom(8);
    a->EngineUpdate(0.2f);
    SeedRandom(8);
    clone->EngineUpdate(0.2f);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(Record(*clone, i).position.x, Record(*a, i).position.x);
        EXPECT_EQ(Record(*clone, i).position.y, Record(*a, i).position.y);
    }
}

TEST_F(GameTest, HostileParticleSystemStreamsReadOrFailCleanly) {
    Start();
    const Core::RefPtr<ParticleSystem> system = MakeSystem(3, {0.0f, -1.0f});
    system->SetEmitter(TUN_NEW(Tundra::RectangleEmitter, 0.0f, 0.0f, 4.0f, 4.0f));
    system->EngineUpdate(0.5f);
    const auto exercise = [this](ParticleSystemBase& read) {
        LayerAt(0).AddGameObject(&read);
        read.EngineUpdate(0.016f);
        if (auto* particles = dynamic_cast<ParticleSystem*>(&read)) {
            particles->WarmUp(0.03f);
            particles->Reset();
        }
        const Core::RefPtr<Core::Object> clone = read.Clone();
        Step(1);
        read.Destroy();
        Step(1);
    };
    particletest::ReadHostile<ParticleSystemBase>(particletest::Saved(system.Get()), 10000, exercise);
    const Core::RefPtr<ParticleSystemBase> base = TUN_NEW(ParticleSystemBase, TexturePath("spark.png"), 2, 8.0f);
    particletest::ReadHostile<ParticleSystemBase>(particletest::Saved(base.Get()), 10000, exercise);
}
