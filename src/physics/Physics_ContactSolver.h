#pragma once

#include "core/Core_RefPtr.h"
#include "physics/Physics_Contact.h"
#include "physics/Physics_RigidBody.h"

#include <cstdint>
#include <vector>

namespace Physics2D {

// A contact as the engine keeps it between the callback and the solve:
// copied by value into one flat list, so that no contact is allocated per
// frame. Body indices count from 1; bodyB 0 is the world.
struct ContactEntry {
    std::uint32_t bodyA = 0;
    std::uint32_t bodyB = 0;
    Contact contact;
};

// The impulses a pair of bodies ended a frame with along one normal: the
// next frame starts from them (warm starting), so that a stack of bodies
// holds up with few iterations. Part of the engine's saved state.
struct WarmStart {
    std::uint32_t bodyA = 0;
    std::uint32_t bodyB = 0;
    Vector2D normal;
    float normalImpulse = 0.0f;
    float tangentImpulse = 0.0f;
};

using BodyList = std::vector<Core::RefPtr<RigidBody>>;

// Resolves one frame's contacts: sequential impulses on velocities, then a
// projection of positions. Keeps its scratch arrays from frame to frame.
class ContactSolver {
public:
    // Approach speeds (physics units per second) at or below this bounce no more.
    static constexpr float kRestitutionThreshold = 1.0f;
    // Overlap (world units) left in place, so that a resting contact stays reported.
    static constexpr float kSlop = 0.5f;
    // Share of the remaining overlap each position pass removes.
    static constexpr float kCorrectionFactor = 0.8f;
    static constexpr std::int32_t kMaxPositionPasses = 4;

    // Two bodies that both own a body see each contact from both sides:
    // the later of two mirrored contacts (bodies swapped, normals opposite)
    // is dropped, so the pair is solved once. Points of one pair along one
    // normal between bodies that cannot turn push alike: they become one
    // contact at their mean point with their largest depth.
    void MergeContacts(std::vector<ContactEntry>& contacts, const BodyList& bodies);

    // First velocities: accuracy iterations of impulses that never pull,
    // with restitution and Coulomb friction, started from the impulses of
    // the frame before. Then positions: a few passes of projection along the
    // normals, applied through each moved body's two callbacks in index
    // order. Nothing is divided by the step, so a paused frame cannot launch
    // a body. The callbacks may add and remove bodies: only a body that took
    // part in the solve and is still listed at its index is moved, and
    // only impulses between bodies still listed are remembered.
    void Solve(const std::vector<ContactEntry>& contacts, const BodyList& bodies, std::int32_t accuracy, float scale);

    const std::vector<WarmStart>& GetWarmStarts() const { return m_warmStarts; }
    // Entries are kept sorted by body pair for the next frame's look-up.
    void SetWarmStarts(std::vector<WarmStart> warmStarts);
    void ForgetBody(std::uint32_t index);
    void Clear() { m_warmStarts.clear(); }

private:
    // One contact as the solver sees it, with what stays fixed during the solve.
    struct Constraint {
        std::uint32_t a;
        std::uint32_t b;  // 0: the world
        Vector2D normal;
        Vector2D tangent;
        Vector2D armA;
        Vector2D armB;
        bool turns;  // either body has a finite inertia
        float inverseMassA;
        float inverseMassB;
        float normalMass;
        float tangentMass;
        float targetSpeed;
        float friction;
        float depth;
        float normalImpulse;
        float tangentImpulse;
    };

    void Prepare(const std::vector<ContactEntry>& contacts, const BodyList& bodies, float scale);
    void WarmStartConstraints();
    void SolveVelocities(std::int32_t accuracy);
    void SolveTurning(Constraint& c);
    void StoreVelocities(const BodyList& bodies, float scale);
    void SolvePositions(std::int32_t accuracy);
    void RememberImpulses();
    void MoveBodies(const BodyList& bodies);
    void Apply(const Constraint& c, const Vector2D& impulse);
    Vector2D RelativeVelocity(const Constraint& c) const;

    // A body's position correction, with the body it was worked out for.
    struct Move {
        std::uint32_t index;
        Core::RefPtr<RigidBody> body;
        Vector2D offset;
    };

    std::vector<Constraint> m_constraints;
    std::vector<WarmStart> m_warmStarts;
    // Per body index (0 is the world, never moved): velocity in world units
    // per second, angular velocity in radians per second, inverse mass and
    // inertia, and whether the solve changed the velocities.
    std::vector<Vector2D> m_velocity;
    std::vector<float> m_angular;
    std::vector<float> m_inverseMass;
    std::vector<float> m_inverseInertia;
    std::vector<Vector2D> m_displacement;
    std::vector<Move> m_moves;
    std::vector<WarmStart> m_warmStartScratch;
    std::vector<std::uint32_t> m_starts;

    // The merge's bookkeeping: a pair of bodies (low index, the higher one
    // being the chain it hangs in) with its first and last contact kept so
    // far; per body the first of its chain; per contact the next kept one of
    // its pair and whether it was dropped.
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    struct Pair {
        std::uint32_t low;
        std::uint32_t firstKept;
        std::uint32_t lastKept;
        std::uint32_t next;
    };
    std::vector<Pair> m_pairs;
    std::vector<std::uint32_t> m_firstPair;
    std::vector<std::uint32_t> m_nextKept;
    std::vector<std::uint8_t> m_dropped;
};

}  // namespace Physics2D
