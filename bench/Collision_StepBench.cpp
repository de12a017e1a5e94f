#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_CollisionEngine.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

// The collision pass alone on a scene shaped like the stage's busiest
// moment (the player, 40 enemies, 200 moving bullets, 50 scrolling collider
// tiles, static ground) and on 1000 moving random circles. Argument 1 runs
// the same scenes with every object allowing no group: the pass then only
// places the objects, fills the grid and looks up the cells, which is the
// broad phase's share.

namespace {

using namespace Collision2D;

struct Generator {
    std::uint32_t state = 12345u;
    float Next(float low, float high) {
        state = state * 1664525u + 1013904223u;
        return low + (high - low) * static_cast<float>(state >> 8) / 16777216.0f;
    }
};

CollisionActor* ActorWith(float radius, bool segment) {
    auto* actor = new CollisionActor;
    auto* animation = new CollisionAnimation;
    auto* frame = new CollisionFrame;
    frame->SetBoundingRectangle({radius, -radius, radius, -radius}, true);
    if (segment) {
        frame->AddLineSegment({-24, 18}, {24, 18}, 22, true);
    } else {
        frame->AddCircle({0, 0}, radius, 16, true);
    }
    animation->AddCollisionFrame(frame);
    actor->AddCollisionAnimation(animation);
    return actor;
}

struct Mover {
    std::uint32_t id;
    Vector2D velocity;
};

class Scene {
public:
    explicit Scene(bool broadPhaseOnly) : m_broadPhaseOnly(broadPhaseOnly) {
        m_engine.AddLayer();
        m_engine.SetLayerGrid(0, {-100, -100}, 1300, 1000, 128);
    }
    ~Scene() {
        m_engine.Clear();
        for (CollisionActor* actor : m_actors) {
            FreeCollisionActor(actor);
        }
    }

    CollisionActor* Actor(float radius, bool segment) { return m_actors.emplace_back(ActorWith(radius, segment)); }

    void Add(const CollisionActor* actor, std::uint8_t group, std::initializer_list<std::uint8_t> allows, bool idle,
             Vector2D at, Vector2D velocity) {
        auto* object = new DynamicObject;
        object->AddCollisionData(actor, 0, 0);
        object->SetCollisionType(1);
        object->SetCollisionThickness(8);
        object->SetZCollision(group);
        for (const std::uint8_t g : allows) {
            object->SetCanCollid(g, !m_broadPhaseOnly);
        }
        object->SetUpdateOnIdle(idle);
        m_movers.push_back({m_engine.AddObject(object, 0, at), velocity});
    }

    void AddGround() {
        for (int i = 0; i < 30; ++i) {
            m_engine.AddObject(new StaticCollisionLineSegment(Math::LineSegment2D({i * 40.0f, 0}, {i * 40.0f + 40, 0})),
                               0, {});
        }
    }

    void Step() {
        for (const Mover& m : m_movers) {
            if (m.velocity.x != 0.0f || m.velocity.y != 0.0f) {
                const DynamicObject* o = m_engine.GetCollisionResults(m.id);
                Vector2D p = o->GetPosition() + m.velocity;
                // Whatever leaves the screen comes back on the other side.
                if (p.x > 1150.0f) p.x -= 1250.0f;
                if (p.x < -100.0f) p.x += 1250.0f;
                if (p.y > 850.0f) p.y -= 900.0f;
                if (p.y < -50.0f) p.y += 900.0f;
                m_engine.SetObjectPosition(m.id, p);
            }
        }
        m_engine.Update(1.0f / 60.0f);
    }

private:
    bool m_broadPhaseOnly;
    CollisionEngine m_engine;
    std::vector<CollisionActor*> m_actors;
    std::vector<Mover> m_movers;
};

void BuildStage(Scene& scene) {
    Generator g;
    const CollisionActor* player = scene.Actor(30, false);
    const CollisionActor* enemy = scene.Actor(16, false);
    const CollisionActor* bullet = scene.Actor(10, false);
    const CollisionActor* tile = scene.Actor(25, true);
    scene.Add(player, 0, {0, 1, 3}, true, {200, 70}, {1, 0});
    for (int i = 0; i < 40; ++i) {
        scene.Add(enemy, 0, {0, 2}, false, {g.Next(300, 1100), g.Next(60, 700)}, {-2, g.Next(-1, 1)});
    }
    for (int i = 0; i < 200; ++i) {
        scene.Add(bullet, 2, {0}, false, {g.Next(0, 1100), g.Next(40, 700)}, {12, 0});
    }
    // Two rows of ground tiles across the screen, scrolling left.
    for (int i = 0; i < 50; ++i) {
        scene.Add(tile, 0, {0, 1, 2, 3}, true, {(i % 25) * 46.0f - 46, 24.0f + 46 * (i / 25)}, {-100.0f / 60.0f, 0});
    }
    scene.AddGround();
}

void BuildCircles(Scene& scene) {
    Generator g;
    const CollisionActor* circle = scene.Actor(12, false);
    for (int i = 0; i < 1000; ++i) {
        scene.Add(circle, 0, {0}, false, {g.Next(0, 1100), g.Next(0, 800)}, {g.Next(-3, 3), g.Next(-3, 3)});
    }
}

template <void (*Build)(Scene&)>
void Pass(benchmark::State& state) {
    Scene scene(state.range(0) != 0);
    Build(scene);
    for (auto _ : state) {
        scene.Step();
    }
}

}  // namespace

BENCHMARK(Pass<BuildStage>)->Name("Collision_Pass/stage")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(Pass<BuildCircles>)->Name("Collision_Pass/circles1000")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
