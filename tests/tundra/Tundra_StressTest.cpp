#include "Tundra_StressInvariants.h"
#include "Tundra_StressWorld.h"

#include "collision/Collision_DynamicObject.h"
#include "physics/Physics_PhysicsEngine.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

// Seeded random play of the framework: every hook of the game, its levels,
// layers, objects, bodies, collision filter and factory does random public
// operations, and between frames the layers and poses must still be sound.
// TUNDRA_STRESS_SEED (first seed), TUNDRA_STRESS_SEEDS (how many) and
// TUNDRA_STRESS_FRAMES make longer runs (tools/run-stress.sh);
// TUNDRA_STRESS_TRACE=1 prints every operation.
using namespace tundrastress;

namespace {

std::uint64_t EnvNumber(const char* name, std::uint64_t fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 10) : fallback;
}

bool Finite(const Vector2D& v) { return std::isfinite(v.x) && std::isfinite(v.y); }

// Where a run that the sanitizer stops was: printed as it dies.
std::uint64_t g_seed = 0;
void ReportWhere() {
    const StressRun* run = CurrentRun();
    std::fprintf(stderr, "stress run stopped at seed %llu, frame %llu\n", static_cast<unsigned long long>(g_seed),
                 static_cast<unsigned long long>(run != nullptr ? run->frame : 0));
}

struct Totals {
    std::uint64_t frames = 0;
    std::uint64_t games = 0;
    std::array<std::uint64_t, static_cast<std::size_t>(Op::Count)> done{};
};

class FrameworkStress : public tundratest::GameTest {
protected:
    void RunSeed(std::uint64_t seed, std::uint64_t frames, Totals& totals);

private:
    void NewGame(StressRun& run);
    std::string FrameFault(const StressRun& run) const;
};

void FrameworkStress::NewGame(StressRun& run) {
    m_game = nullptr;
    run.shutDown = false;
    m_game = TUN_NEW(StressGame, static_cast<StressFactory*>(m_factory.Get()));
}

std::string FrameworkStress::FrameFault(const StressRun& run) const {
    for (const StressObject* object : run.live) {
        const Collision2D::DynamicObject* shape = object->GetCollisionObject();
        if (!Finite(object->GetPosition()) || !Finite(object->GetCenter()) ||
            !std::isfinite(object->GetRotationAngle()) || !std::isfinite(object->GetScaleX()) ||
            !std::isfinite(object->GetScaleY()) ||
            (shape != nullptr && (!Finite(shape->GetPosition()) || !std::isfinite(shape->GetOrientation())))) {
            return "object " + std::to_string(object->GetID()) + " has a pose that is not finite";
        }
    }
    const Physics2D::PhysicsEngine* physics = m_game->GetPhysicsEngine();
    for (std::uint32_t i = 1; physics != nullptr && i <= physics->GetRigidBodyCount(); ++i) {
        const Physics2D::RigidBody* body = physics->GetRigidBody(i);
        if (body != nullptr && (!Finite(body->GetPosition()) || !std::isfinite(body->GetOrientation()) ||
                                !Finite(body->GetVelocity()) || !std::isfinite(body->GetAngularVelocity()))) {
            return "body " + std::to_string(i) + " has a state that is not finite";
        }
    }
    const Tundra::Level* level = m_game->GetCurrentLevel();
    return level == nullptr ? std::string() : LayerListingFault(*level, [](const Tundra::GameObject& object) {
        const auto* stress = dynamic_cast<const StressObject*>(&object);
        return object.IsDestroyed() || (stress != nullptr && stress->cleanedUp);
    });
}

void FrameworkStress::RunSeed(std::uint64_t seed, std::uint64_t frames, Totals& totals) {
    g_seed = seed;
    StressRun run(seed);
    run.trace = EnvNumber("TUNDRA_STRESS_TRACE", 0) != 0;
    run.makeShape = [this](float radius) { return CircleShape(radius, 1); };
    SetCurrentRun(&run);
    tundratest::g_now = 0.0;
    Tundra::GameObject::SetIdCounter(0);
    auto* factory = TUN_NEW(StressFactory);
    factory->count = 2 + static_cast<std::uint32_t>(seed % 2);
    m_factory = factory;
    NewGame(run);
    ++totals.games;
    for (run.frame = 0; run.frame < frames; ++run.frame) {
        Step(1);
        if (run.shutDown) {
            NewGame(run);
            ++totals.games;
            continue;
        }
        const std::string fault = FrameFault(run);
        if (!fault.empty()) {
            ADD_FAILURE() << "seed " << seed << ", frame " << run.frame << ": " << fault;
            break;
        }
    }
    totals.frames += run.frame;
    m_game->Shutdown();
    m_game = nullptr;
    run.held.clear();
    // Layers, levels and the game hold objects; nothing else may.
    EXPECT_TRUE(run.live.empty()) << "seed " << seed << ": " << run.live.size() << " objects outlive their game";
    for (std::size_t i = 0; i < totals.done.size(); ++i) {
        totals.done[i] += run.done[i];
    }
    SetCurrentRun(nullptr);
}

TEST_F(FrameworkStress, EveryHookActsAtRandomAndLayersAndPosesStaySound) {
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback(&ReportWhere);
#endif
    const std::uint64_t first = EnvNumber("TUNDRA_STRESS_SEED", 1);
    const std::uint64_t seeds = EnvNumber("TUNDRA_STRESS_SEEDS", 4);
    const std::uint64_t frames = EnvNumber("TUNDRA_STRESS_FRAMES", 300);
    Totals totals;
    for (std::uint64_t seed = first; seed < first + seeds && !HasFailure(); ++seed) {
        RunSeed(seed, frames, totals);
    }
    std::printf("stress: seeds %llu to %llu, %llu frames, %llu games\n",
                static_cast<unsigned long long>(first), static_cast<unsigned long long>(first + seeds - 1),
                static_cast<unsigned long long>(totals.frames), static_cast<unsigned long long>(totals.games));
    for (std::size_t i = 0; i < totals.done.size(); ++i) {
        std::printf("  %-18s %llu\n", OpName(static_cast<Op>(i)), static_cast<unsigned long long>(totals.done[i]));
    }
}

}  // namespace
