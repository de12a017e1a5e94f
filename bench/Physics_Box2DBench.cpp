#include "collision/Collision_CollisionActor.h"
#include "support/Physics_ContactBridge.h"

#include <benchmark/benchmark.h>
#include <box2d/box2d.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

// The same scenes stepped by this engine and by Box2D, which is used only for
// this comparison. One step of ours is the physics update, the collision pass,
// the contact bridge and the contact solve; Box2D's is b2World::Step. 1 m is
// 15 world units (the game's scale), so velocities in m/s are physics units;
// circles never turn in either engine. Each iteration steps both worlds once,
// alternating which goes first, and times each step on its own (moving the
// enemies and wrapping what leaves the screen are not timed); the counters
// are the median milliseconds per step and the ratio ours / Box2D. The pile
// is timed after 600 steps of settling; its label says when a body of either
// pile still moves faster than 0.5 m/s or the mean heights differ by more than
// 0.5 m.
//
// The argument is our accuracy. At 8 the counts match: 8 velocity iterations
// and min(8, 4) = 4 position passes, Box2D's Step(dt, 8, 4). 150 is the
// game's accuracy, against the same Box2D.

namespace {

using namespace Collision2D;

constexpr float kScale = 15.0f;
constexpr float kStep = 1.0f / 60.0f;
constexpr int kVelocityIterations = 8;
constexpr int kPositionIterations = 4;
constexpr float kRestitution = 0.3f;
constexpr float kFriction = 0.5f;

struct Generator {
    std::uint32_t state;
    float Next(float low, float high) {
        state = state * 1664525u + 1013904223u;
        return low + (high - low) * static_cast<float>(state >> 8) / 16777216.0f;
    }
};

// What a scene holds, in world units, built once from a seed for both engines.
enum class Kind { Falling, Player, Enemy, Bullet };
struct Thing {
    Kind kind;
    Vector2D at;
    Vector2D velocity;  // bodies: physics units; enemies: world units a frame
};
struct Scene {
    std::vector<Math::LineSegment2D> statics;
    std::vector<Thing> things;
};

float RadiusOf(Kind kind) {
    switch (kind) {
        case Kind::Falling: return 7.5f;
        case Kind::Player: return 30.0f;
        case Kind::Enemy: return 16.0f;
        case Kind::Bullet: return 10.0f;
    }
    return 0.0f;
}

// 200 circles of radius 0.5 m and mass 1 falling into a box 20 m wide.
Scene Pile() {
    Generator g{2024};
    Scene scene;
    scene.statics = {{{0, 0}, {300, 0}}, {{0, 0}, {0, 600}}, {{300, 0}, {300, 600}}};
    for (int i = 0; i < 200; ++i) {
        scene.things.push_back({Kind::Falling, {12.0f + 16.5f * (i % 17) + g.Next(-1, 1), 30.0f + 18.0f * (i / 17)}, {}});
    }
    return scene;
}

// The stage's heaviest moment: the player on the ground, 40 enemies moving,
// 200 massless bullets crossing the screen at 50 physics units a second.
Scene Stage() {
    Generator g{2025};
    Scene scene;
    for (int i = 0; i < 30; ++i) {
        scene.statics.push_back({{i * 45.0f - 100, 0}, {i * 45.0f - 55, 0}});
    }
    scene.things.push_back({Kind::Player, {200, 33.5f}, {}});
    for (int i = 0; i < 40; ++i) {
        scene.things.push_back({Kind::Enemy, {g.Next(300, 1100), g.Next(60, 700)}, {-g.Next(1, 3), 0}});
    }
    for (int i = 0; i < 200; ++i) {
        scene.things.push_back({Kind::Bullet, {g.Next(0, 1100), g.Next(60, 700)}, {50, 0}});
    }
    return scene;
}

// Whatever leaves the screen comes back on the other side.
bool Wrap(Vector2D& p) {
    if (p.x > 1150.0f) return p.x -= 1250.0f, true;
    if (p.x < -100.0f) return p.x += 1250.0f, true;
    return false;
}

// Bullets meet enemies only; the player meets the ground and enemies.
struct Collider {
    std::uint8_t group;
    std::uint8_t allows;  // bit g: meets group g
    bool idle;
};
Collider ColliderOf(Kind kind) {
    switch (kind) {
        case Kind::Falling: return {0, 0b0001, true};
        case Kind::Player: return {0, 0b1011, true};
        case Kind::Enemy: return {0, 0b0101, false};
        case Kind::Bullet: return {2, 0b0001, false};
    }
    return {};
}

class Ours {
public:
    Ours(const Scene& scene, std::int32_t accuracy) : m_world(accuracy) {
        m_world.collision.SetLayerGrid(0, {-150, -100}, 1450, 1000, 50);
        for (const auto& segment : scene.statics) {
            m_world.collision.AddObject(new StaticCollisionLineSegment(segment), 0, {});
        }
        for (const Thing& thing : scene.things) {
            const Collider collider = ColliderOf(thing.kind);
            auto* object = new DynamicObject;
            object->AddCollisionData(ActorOf(thing.kind), 0, 0);
            object->SetCollisionType(1);
            object->SetCollisionThickness(8);
            object->SetZCollision(collider.group);
            for (std::uint8_t group = 0; group < 8; ++group) {
                object->SetCanCollid(group, (collider.allows >> group & 1u) != 0);
            }
            object->SetUpdateOnIdle(collider.idle);
            const bool body = thing.kind != Kind::Enemy;
            const float mass = thing.kind == Kind::Bullet ? 0.0f : 1.0f;
            bridge::Owner& owner = m_world.Add(object, thing.at, body ? mass : bridge::World::kNoBody, mass > 0);
            m_world.physics.SetRigidBodyVelocity(owner.body, thing.velocity);
            if (thing.kind == Kind::Enemy) m_enemies.push_back({&owner, thing.velocity});
            if (thing.kind == Kind::Bullet) m_bullets.push_back(&owner);
        }
    }
    ~Ours() {
        for (CollisionActor* actor : m_actors) {
            FreeCollisionActor(actor);
        }
    }
    Ours(const Ours&) = delete;
    Ours& operator=(const Ours&) = delete;

    void Drive() {
        for (const auto& [owner, velocity] : m_enemies) {
            Vector2D p = owner->position + velocity;
            // A wrap is a jump: the old pose is set too, so nothing is swept across the screen.
            if (Wrap(p)) owner->SetPose(p, 0, true);
            owner->SetPose(p, 0);
        }
        for (bridge::Owner* owner : m_bullets) {
            Vector2D p = owner->position;
            if (Wrap(p)) owner->SetPose(p, 0, true), owner->SetPose(p, 0);
        }
    }
    void Step() { m_world.Step(kStep); }

    // Mean height (m) and fastest speed (m/s) of the bodies.
    std::pair<float, float> HeightAndSpeed() const {
        float height = 0.0f, speed = 0.0f;
        int count = 0;
        for (const bridge::Owner& owner : m_world.owners) {
            if (owner.body == 0) continue;
            const Vector2D v = m_world.physics.GetRigidBody(owner.body)->GetVelocity();
            height += owner.position.y / kScale, speed = std::max(speed, std::hypot(v.x, v.y)), ++count;
        }
        return {height / static_cast<float>(count), speed};
    }

private:
    // One circle per kind, made on first use.
    const CollisionActor* ActorOf(Kind kind) {
        CollisionActor*& actor = m_actors[static_cast<int>(kind)];
        if (actor != nullptr) return actor;
        const float radius = RadiusOf(kind);
        actor = new CollisionActor;
        auto* animation = new CollisionAnimation;
        auto* frame = new CollisionFrame;
        frame->SetBoundingRectangle({radius, -radius, radius, -radius}, true);
        frame->AddCircle({0, 0}, radius, 0, true);
        animation->AddCollisionFrame(frame);
        actor->AddCollisionAnimation(animation);
        return actor;
    }

    bridge::World m_world;
    CollisionActor* m_actors[4] = {};
    std::vector<std::pair<bridge::Owner*, Vector2D>> m_enemies;
    std::vector<bridge::Owner*> m_bullets;
};

class Theirs {
public:
    explicit Theirs(const Scene& scene) : m_world(b2Vec2(0.0f, -9.8f)) {
        enum : std::uint16_t { kGround = 1, kPlayer = 2, kEnemy = 4, kBullet = 8 };
        b2BodyDef groundDef;
        b2Body* ground = m_world.CreateBody(&groundDef);
        for (const auto& segment : scene.statics) {
            b2EdgeShape edge;
            edge.SetTwoSided(Meters(segment.pointA), Meters(segment.pointB));
            b2FixtureDef fixture;
            fixture.shape = &edge;
            fixture.friction = kFriction;
            fixture.restitution = kRestitution;
            fixture.filter.categoryBits = kGround;
            ground->CreateFixture(&fixture);
        }
        for (const Thing& thing : scene.things) {
            b2BodyDef def;
            def.type = thing.kind == Kind::Enemy ? b2_kinematicBody : b2_dynamicBody;
            def.position = Meters(thing.at);
            def.fixedRotation = true;
            def.allowSleep = false;  // ours never sleeps: both solve every contact every step
            def.linearVelocity = thing.kind == Kind::Enemy ? Meters(thing.velocity / kStep) : b2Vec2(thing.velocity.x, thing.velocity.y);
            def.gravityScale = thing.kind == Kind::Bullet ? 0.0f : 1.0f;
            b2Body* body = m_world.CreateBody(&def);
            b2CircleShape circle;
            circle.m_radius = RadiusOf(thing.kind) / kScale;
            b2FixtureDef fixture;
            fixture.shape = &circle;
            fixture.density = 1.0f / (std::numbers::pi_v<float> * circle.m_radius * circle.m_radius);
            fixture.friction = kFriction;
            fixture.restitution = kRestitution;
            fixture.isSensor = thing.kind == Kind::Bullet;
            const std::uint16_t category[] = {kGround, kPlayer, kEnemy, kBullet};
            const std::uint16_t mask[] = {0xFFFF, kGround | kEnemy, kGround | kPlayer | kBullet, kEnemy};
            fixture.filter.categoryBits = category[static_cast<int>(thing.kind)];
            fixture.filter.maskBits = mask[static_cast<int>(thing.kind)];
            body->CreateFixture(&fixture);
            if (thing.kind == Kind::Enemy || thing.kind == Kind::Bullet) m_movers.push_back(body);
        }
    }

    void Drive() {
        for (b2Body* body : m_movers) {
            Vector2D p(body->GetPosition().x * kScale, body->GetPosition().y * kScale);
            if (Wrap(p)) body->SetTransform(Meters(p), 0.0f);
        }
    }
    void Step() { m_world.Step(kStep, kVelocityIterations, kPositionIterations); }

    std::pair<float, float> HeightAndSpeed() const {
        float height = 0.0f, speed = 0.0f;
        int count = 0;
        for (const b2Body* body = m_world.GetBodyList(); body != nullptr; body = body->GetNext()) {
            if (body->GetType() != b2_dynamicBody) continue;
            height += body->GetPosition().y, speed = std::max(speed, body->GetLinearVelocity().Length()), ++count;
        }
        return {height / static_cast<float>(count), speed};
    }

private:
    static b2Vec2 Meters(const Vector2D& v) { return {v.x / kScale, v.y / kScale}; }
    b2World m_world;
    std::vector<b2Body*> m_movers;
};

double Median(std::vector<double>& values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

template <class World>
double TimedStep(World& world) {
    world.Drive();
    const auto start = std::chrono::steady_clock::now();
    world.Step();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

template <Scene (*Build)(), bool kCheckRest>
void Compare(benchmark::State& state) {
    const Scene scene = Build();
    Ours ours(scene, static_cast<std::int32_t>(state.range(0)));
    Theirs theirs(scene);
    if (kCheckRest) {
        for (int i = 0; i < 600; ++i) {
            ours.Drive(), ours.Step(), theirs.Drive(), theirs.Step();
        }
        const auto [ourHeight, ourSpeed] = ours.HeightAndSpeed();
        const auto [theirHeight, theirSpeed] = theirs.HeightAndSpeed();
        state.counters["ours_height_m"] = ourHeight;
        state.counters["box2d_height_m"] = theirHeight;
        state.counters["ours_speed_mps"] = ourSpeed;
        state.counters["box2d_speed_mps"] = theirSpeed;
        // Timed either way, so that the figures stay comparable; the label says when ours did not settle.
        if (ourSpeed > 0.5f || theirSpeed > 0.5f || std::abs(ourHeight - theirHeight) > 0.5f) {
            state.SetLabel("piles not at rest at comparable heights");
        }
    }
    std::vector<double> ourTimes, theirTimes;
    for (auto _ : state) {
        if (ourTimes.size() % 2 == 0) {
            ourTimes.push_back(TimedStep(ours)), theirTimes.push_back(TimedStep(theirs));
        } else {
            theirTimes.push_back(TimedStep(theirs)), ourTimes.push_back(TimedStep(ours));
        }
    }
    const double ourMedian = Median(ourTimes);
    const double theirMedian = Median(theirTimes);
    state.counters["ours_ms"] = ourMedian;
    state.counters["box2d_ms"] = theirMedian;
    state.counters["ratio"] = ourMedian / theirMedian;
}

}  // namespace

BENCHMARK(Compare<Pile, true>)->Name("Physics_VsBox2D/pile200")->Arg(8)->Arg(150)->Iterations(600)->Unit(benchmark::kMillisecond);
BENCHMARK(Compare<Stage, false>)->Name("Physics_VsBox2D/stage")->Arg(8)->Arg(150)->Iterations(600)->Unit(benchmark::kMillisecond);
