#include "physics/Physics_ContactSolver.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Physics2D {

namespace {

constexpr float kRadiansPerDegree = std::numbers::pi_v<float> / 180.0f;
// Normals closer to opposite than this make two contacts mirrors; closer to
// equal, the same direction.
constexpr float kMirrorCosine = -0.999f;
constexpr float kSameCosine = 0.999f;
// How close last frame's normal must be for its impulses to be reused.
constexpr float kWarmStartCosine = 0.95f;

Vector2D Perpendicular(const Vector2D& v) { return {-v.y, v.x}; }

RigidBody* BodyAt(const BodyList& bodies, std::uint32_t index) {
    return index >= 1 && index <= bodies.size() ? bodies[index - 1].Get() : nullptr;
}

bool Turns(const RigidBody* body) { return body != nullptr && body->GetMassProperties().GetInverseInertia() != 0.0f; }

std::uint64_t PairKey(std::uint32_t a, std::uint32_t b) { return std::uint64_t{a} << 32 | b; }

bool ByPair(const WarmStart& x, const WarmStart& y) { return PairKey(x.bodyA, x.bodyB) < PairKey(y.bodyA, y.bodyB); }

// Moves from into to ordered by the body index digit gives, keeping the
// order of entries with equal digits.
template <class Digit>
void CountingPass(const std::vector<WarmStart>& from, std::vector<WarmStart>& to, std::vector<std::uint32_t>& starts,
                  std::uint32_t top, Digit digit) {
    starts.assign(std::size_t{top} + 2, 0);
    for (const WarmStart& w : from) ++starts[std::size_t{digit(w)} + 1];
    for (std::size_t d = 1; d < starts.size(); ++d) starts[d] += starts[d - 1];
    to.resize(from.size());
    for (const WarmStart& w : from) to[starts[digit(w)]++] = w;
}

// The stable sort ByPair gives. Indices are at most the body count, so two
// counting passes take linear time where a comparison sort would not.
void SortByPair(std::vector<WarmStart>& items, std::vector<WarmStart>& scratch, std::vector<std::uint32_t>& starts) {
    std::uint32_t top = 0;
    for (const WarmStart& w : items) top = std::max({top, w.bodyA, w.bodyB});
    CountingPass(items, scratch, starts, top, [](const WarmStart& w) { return w.bodyB; });
    CountingPass(scratch, items, starts, top, [](const WarmStart& w) { return w.bodyA; });
}

}  // namespace

void ContactSolver::MergeContacts(std::vector<ContactEntry>& contacts, const BodyList& bodies) {
    // One pass in list order. Each pair of bodies (in either order) keeps,
    // in list order, its contacts not dropped so far: the only earlier ones
    // a contact can be dropped against. The pairs of a body are chained from
    // its higher index, so a look-up walks no more pairs than that body has.
    std::uint32_t top = 0;
    for (const ContactEntry& entry : contacts) top = std::max({top, entry.bodyA, entry.bodyB});
    m_firstPair.assign(std::size_t{top} + 1, kNone);
    m_pairs.clear();
    m_nextKept.assign(contacts.size(), kNone);
    m_dropped.assign(contacts.size(), 0);
    for (std::uint32_t j = 0; j < contacts.size(); ++j) {
        ContactEntry& later = contacts[j];
        const std::uint32_t low = std::min(later.bodyA, later.bodyB);
        const std::uint32_t high = std::max(later.bodyA, later.bodyB);
        std::uint32_t pair = m_firstPair[high];
        while (pair != kNone && m_pairs[pair].low != low) pair = m_pairs[pair].next;
        if (pair == kNone) {
            m_pairs.push_back({low, j, j, m_firstPair[high]});
            m_firstPair[high] = static_cast<std::uint32_t>(m_pairs.size() - 1);
            continue;
        }
        // Asked only of points that could merge: a mirror never needs the bodies.
        const auto turns = [&] { return Turns(BodyAt(bodies, later.bodyA)) || Turns(BodyAt(bodies, later.bodyB)); };
        for (std::uint32_t i = m_pairs[pair].firstKept; i != kNone; i = m_nextKept[i]) {
            ContactEntry& earlier = contacts[i];
            const float cosine = earlier.contact.GetNormal().Dot(later.contact.GetNormal());
            const bool mirrored = later.bodyB != 0 && earlier.bodyA == later.bodyB && earlier.bodyB == later.bodyA &&
                                  cosine <= kMirrorCosine;
            const bool alike = earlier.bodyA == later.bodyA && cosine >= kSameCosine && !turns();
            if (!mirrored && !alike) continue;
            if (alike) {
                Contact& e = earlier.contact;
                const Contact& l = later.contact;
                // Halved first, so that two far points cannot overflow.
                e.m_point = e.m_point * 0.5f + l.m_point * 0.5f;
                e.m_depth = std::max(e.m_depth, l.m_depth);
            }
            m_dropped[j] = 1;
            break;
        }
        if (m_dropped[j] == 0) {
            m_nextKept[m_pairs[pair].lastKept] = j;
            m_pairs[pair].lastKept = j;
        }
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        if (m_dropped[i] != 0) continue;
        if (kept != i) contacts[kept] = contacts[i];
        ++kept;
    }
    contacts.resize(kept);
}

void ContactSolver::Solve(const std::vector<ContactEntry>& contacts, const BodyList& bodies, std::int32_t accuracy,
                          float scale) {
    // A frame without contacts leaves every body as it is and remembers no impulse.
    if (contacts.empty()) {
        m_warmStarts.clear();
        return;
    }
    Prepare(contacts, bodies, scale);
    WarmStartConstraints();
    SolveVelocities(accuracy);
    StoreVelocities(bodies, scale);
    SolvePositions(accuracy);
    // Remembered before the moves, whose callbacks may remove bodies: a
    // removal then forgets the body's impulses like any other.
    RememberImpulses();
    MoveBodies(bodies);
}

void ContactSolver::SetWarmStarts(std::vector<WarmStart> warmStarts) {
    m_warmStarts = std::move(warmStarts);
    std::stable_sort(m_warmStarts.begin(), m_warmStarts.end(), ByPair);
}

void ContactSolver::ForgetBody(std::uint32_t index) {
    std::erase_if(m_warmStarts, [index](const WarmStart& w) { return w.bodyA == index || w.bodyB == index; });
}

void ContactSolver::Prepare(const std::vector<ContactEntry>& contacts, const BodyList& bodies, float scale) {
    const std::size_t slots = bodies.size() + 1;
    m_velocity.assign(slots, Vector2D{});
    m_angular.assign(slots, 0.0f);
    m_inverseMass.assign(slots, 0.0f);
    m_inverseInertia.assign(slots, 0.0f);
    for (std::uint32_t index = 1; index < slots; ++index) {
        if (const RigidBody* body = bodies[index - 1].Get()) {
            m_velocity[index] = body->GetVelocity() * scale;
            m_angular[index] = body->GetAngularVelocity() * kRadiansPerDegree;
            m_inverseMass[index] = body->GetMassProperties().GetInverseMass();
            m_inverseInertia[index] = body->GetMassProperties().GetInverseInertia();
        }
    }

    m_constraints.clear();
    for (const ContactEntry& entry : contacts) {
        const RigidBody* a = BodyAt(bodies, entry.bodyA);
        const RigidBody* b = BodyAt(bodies, entry.bodyB);
        if (a == nullptr) continue;
        const std::uint32_t indexB = b != nullptr ? entry.bodyB : 0;
        if (m_inverseMass[entry.bodyA] == 0.0f && m_inverseMass[indexB] == 0.0f) continue;
        // Filled where it stays: a copy of a freshly written one would stall on its own stores.
        Constraint& c = m_constraints.emplace_back();
        c.a = entry.bodyA;
        c.b = indexB;
        c.inverseMassA = m_inverseMass[c.a];
        c.inverseMassB = m_inverseMass[c.b];
        const Contact& contact = entry.contact;
        c.normal = Vector2D::Normalized(contact.GetNormal());
        c.tangent = Perpendicular(c.normal);
        c.turns = m_inverseInertia[c.a] != 0.0f || m_inverseInertia[c.b] != 0.0f;
        if (c.turns) {
            c.armA = contact.GetPoint() - a->GetWorldCenterOfMass();
            c.armB = b != nullptr ? contact.GetPoint() - b->GetWorldCenterOfMass() : Vector2D{};
        }
        const auto effectiveMass = [&](const Vector2D& axis) {
            const float turnA = Math::CrossProduct(c.armA, axis);
            const float turnB = Math::CrossProduct(c.armB, axis);
            const float k = m_inverseMass[c.a] + m_inverseMass[c.b] + m_inverseInertia[c.a] * turnA * turnA +
                            m_inverseInertia[c.b] * turnB * turnB;
            return k > 0.0f ? 1.0f / k : 0.0f;
        };
        c.normalMass = effectiveMass(c.normal);
        c.tangentMass = effectiveMass(c.tangent);
        c.friction = std::max(contact.GetFriction(), 0.0f);
        c.depth = contact.GetDepth();
        const float approach = RelativeVelocity(c).Dot(c.normal);
        c.targetSpeed = approach < -kRestitutionThreshold * scale ? -contact.GetRestitution() * approach : 0.0f;
    }
}

void ContactSolver::WarmStartConstraints() {
    // Where each first body's entries start in the sorted list, so that a
    // look-up searches only that body's few entries.
    std::uint32_t top = 0;
    for (const WarmStart& w : m_warmStarts) top = std::max(top, w.bodyA);
    m_starts.assign(std::size_t{top} + 2, 0);
    for (const WarmStart& w : m_warmStarts) ++m_starts[std::size_t{w.bodyA} + 1];
    for (std::size_t a = 1; a < m_starts.size(); ++a) m_starts[a] += m_starts[a - 1];
    for (Constraint& c : m_constraints) {
        if (c.a > top) continue;
        const WarmStart key{c.a, c.b, {}, 0.0f, 0.0f};
        const auto first = m_warmStarts.begin() + m_starts[c.a];
        const auto last = m_warmStarts.begin() + m_starts[c.a + 1];
        auto [begin, end] =
            std::equal_range(first, last, key, [](const WarmStart& x, const WarmStart& y) { return ByPair(x, y); });
        for (auto it = begin; it != end; ++it) {
            // Each stored entry serves one constraint: its normal is then spent.
            if (it->normal.Dot(c.normal) < kWarmStartCosine) continue;
            c.normalImpulse = it->normalImpulse;
            c.tangentImpulse = it->tangentImpulse;
            it->normal = {};
            Apply(c, c.normal * c.normalImpulse + c.tangent * c.tangentImpulse);
            break;
        }
    }
}

Vector2D ContactSolver::RelativeVelocity(const Constraint& c) const {
    Vector2D relative = m_velocity[c.a] - m_velocity[c.b];
    if (c.turns) relative += Perpendicular(c.armA) * m_angular[c.a] - Perpendicular(c.armB) * m_angular[c.b];
    return relative;
}

void ContactSolver::Apply(const Constraint& c, const Vector2D& impulse) {
    m_velocity[c.a] += impulse * m_inverseMass[c.a];
    m_velocity[c.b] -= impulse * m_inverseMass[c.b];
    if (c.turns) {
        m_angular[c.a] += m_inverseInertia[c.a] * Math::CrossProduct(c.armA, impulse);
        m_angular[c.b] -= m_inverseInertia[c.b] * Math::CrossProduct(c.armB, impulse);
    }
}

void ContactSolver::SolveVelocities(std::int32_t accuracy) {
    for (std::int32_t iteration = 0; iteration < std::max(accuracy, 1); ++iteration) {
        for (Constraint& c : m_constraints) {
            // A body held against itself goes the general way too, where
            // each change is seen by the next read of the same velocity.
            if (c.turns || c.a == c.b) {
                SolveTurning(c);
                continue;
            }
            // Bodies that cannot turn: the point velocity is the body's,
            // kept in registers for the constraint's two steps.
            Vector2D velocityA = m_velocity[c.a];
            Vector2D velocityB = m_velocity[c.b];
            const float limit = c.friction * c.normalImpulse;
            const float tangentImpulse = std::clamp(
                c.tangentImpulse - (velocityA - velocityB).Dot(c.tangent) * c.tangentMass, -limit, limit);
            const Vector2D tangentChange = c.tangent * (tangentImpulse - c.tangentImpulse);
            velocityA += tangentChange * c.inverseMassA;
            velocityB -= tangentChange * c.inverseMassB;
            c.tangentImpulse = tangentImpulse;

            const float speed = (velocityA - velocityB).Dot(c.normal);
            const float normalImpulse = std::max(c.normalImpulse + (c.targetSpeed - speed) * c.normalMass, 0.0f);
            const Vector2D normalChange = c.normal * (normalImpulse - c.normalImpulse);
            velocityA += normalChange * c.inverseMassA;
            velocityB -= normalChange * c.inverseMassB;
            c.normalImpulse = normalImpulse;
            m_velocity[c.a] = velocityA;
            m_velocity[c.b] = velocityB;
        }
    }
}

void ContactSolver::SolveTurning(Constraint& c) {
    const float limit = c.friction * c.normalImpulse;
    const float tangentImpulse =
        std::clamp(c.tangentImpulse - RelativeVelocity(c).Dot(c.tangent) * c.tangentMass, -limit, limit);
    Apply(c, c.tangent * (tangentImpulse - c.tangentImpulse));
    c.tangentImpulse = tangentImpulse;

    const float speed = RelativeVelocity(c).Dot(c.normal);
    const float normalImpulse = std::max(c.normalImpulse + (c.targetSpeed - speed) * c.normalMass, 0.0f);
    Apply(c, c.normal * (normalImpulse - c.normalImpulse));
    c.normalImpulse = normalImpulse;
}

void ContactSolver::StoreVelocities(const BodyList& bodies, float scale) {
    // Only velocities the solve changed are written back, so that an
    // untouched one never goes through a rounding round trip.
    for (std::uint32_t index = 1; index < m_velocity.size(); ++index) {
        RigidBody* body = bodies[index - 1].Get();
        if (body == nullptr) continue;
        const Vector2D velocity = body->GetVelocity() * scale;
        if (!(m_velocity[index] == velocity)) body->SetVelocity(m_velocity[index] / scale);
        const float angular = body->GetAngularVelocity() * kRadiansPerDegree;
        if (m_angular[index] != angular) body->SetAngularVelocity(m_angular[index] / kRadiansPerDegree);
    }
}

void ContactSolver::SolvePositions(std::int32_t accuracy) {
    m_displacement.assign(m_velocity.size(), Vector2D{});
    const std::int32_t passes = std::clamp(accuracy, 1, kMaxPositionPasses);
    for (std::int32_t pass = 0; pass < passes; ++pass) {
        for (const Constraint& c : m_constraints) {
            const float total = m_inverseMass[c.a] + m_inverseMass[c.b];
            const float moved = (m_displacement[c.a] - m_displacement[c.b]).Dot(c.normal);
            const float correction = std::max(c.depth - moved - kSlop, 0.0f) * kCorrectionFactor;
            if (correction <= 0.0f) continue;
            m_displacement[c.a] += c.normal * (correction * m_inverseMass[c.a] / total);
            m_displacement[c.b] -= c.normal * (correction * m_inverseMass[c.b] / total);
        }
    }
}

void ContactSolver::RememberImpulses() {
    m_warmStarts.clear();
    for (const Constraint& c : m_constraints) {
        // An overflowed solve leaves nothing to start from.
        if (!std::isfinite(c.normalImpulse) || !std::isfinite(c.tangentImpulse)) continue;
        m_warmStarts.push_back({c.a, c.b, c.normal, c.normalImpulse, c.tangentImpulse});
    }
    SortByPair(m_warmStarts, m_warmStartScratch, m_starts);
}

void ContactSolver::MoveBodies(const BodyList& bodies) {
    // The callbacks may add, remove or replace bodies, and even solve again:
    // the moves are taken out of the solver first, each with the body it was
    // worked out for held, and a body is moved only while its index still
    // names it (a new body in a removed one's place is not).
    std::vector<Move> moves = std::move(m_moves);
    moves.clear();
    for (std::uint32_t index = 1; index < m_displacement.size(); ++index) {
        if (m_displacement[index] == Vector2D{}) continue;
        if (RigidBody* body = BodyAt(bodies, index)) moves.push_back({index, body, m_displacement[index]});
    }
    for (const Move& move : moves) {
        if (BodyAt(bodies, move.index) == move.body.Get()) move.body->MoveAndNotify(move.offset);
    }
    moves.clear();
    m_moves = std::move(moves);
}

}  // namespace Physics2D
