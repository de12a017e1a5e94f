#include "physics/Physics_ContactSolver.h"

#include <algorithm>
#include <numbers>

namespace Physics2D {

namespace {

constexpr float kRadiansPerDegree = std::numbers::pi_v<float> / 180.0f;
// Normals closer to opposite than this make two contacts mirrors.
constexpr float kMirrorCosine = -0.999f;

Vector2D Perpendicular(const Vector2D& v) { return {-v.y, v.x}; }

RigidBody* BodyAt(const BodyList& bodies, std::uint32_t index) {
    return index >= 1 && index <= bodies.size() ? bodies[index - 1].Get() : nullptr;
}

}  // namespace

void ContactSolver::MergeMirroredContacts(std::vector<ContactEntry>& contacts) {
    // Contacts between two bodies, grouped by their unordered pair and kept
    // in list order inside a group.
    m_pairs.clear();
    for (std::uint32_t i = 0; i < contacts.size(); ++i) {
        const std::uint32_t a = contacts[i].bodyA;
        const std::uint32_t b = contacts[i].bodyB;
        if (b != 0) m_pairs.emplace_back(std::uint64_t{std::min(a, b)} << 32 | std::max(a, b), i);
    }
    std::sort(m_pairs.begin(), m_pairs.end());

    std::vector<bool> dropped(contacts.size(), false);
    std::vector<bool> matched(contacts.size(), false);
    for (std::size_t first = 0; first < m_pairs.size();) {
        std::size_t end = first;
        while (end < m_pairs.size() && m_pairs[end].first == m_pairs[first].first) ++end;
        for (std::size_t j = first; j < end; ++j) {
            const ContactEntry& later = contacts[m_pairs[j].second];
            for (std::size_t i = first; i < j; ++i) {
                const std::uint32_t e = m_pairs[i].second;
                const ContactEntry& earlier = contacts[e];
                if (dropped[e] || matched[e] || earlier.bodyA != later.bodyB) continue;
                if (earlier.contact.GetNormal().Dot(later.contact.GetNormal()) > kMirrorCosine) continue;
                matched[e] = true;
                dropped[m_pairs[j].second] = true;
                break;
            }
        }
        first = end;
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        if (!dropped[i]) contacts[kept++] = contacts[i];
    }
    contacts.resize(kept);
}

void ContactSolver::Solve(const std::vector<ContactEntry>& contacts, const BodyList& bodies, std::int32_t accuracy,
                          float scale) {
    Prepare(contacts, bodies, scale);
    if (m_constraints.empty()) return;
    SolveVelocities(bodies, accuracy, scale);
    SolvePositions(bodies, accuracy);
}

void ContactSolver::Prepare(const std::vector<ContactEntry>& contacts, const BodyList& bodies, float scale) {
    m_constraints.clear();
    m_velocityChange.assign(bodies.size() + 1, Vector2D{});
    m_angularChange.assign(bodies.size() + 1, 0.0f);
    for (const ContactEntry& entry : contacts) {
        const RigidBody* a = BodyAt(bodies, entry.bodyA);
        const RigidBody* b = BodyAt(bodies, entry.bodyB);
        if (a == nullptr) continue;
        const Contact& contact = entry.contact;
        Constraint c{};
        c.a = entry.bodyA;
        c.b = b != nullptr ? entry.bodyB : 0;
        c.inverseMassA = a->GetMassProperties().GetInverseMass();
        c.inverseInertiaA = a->GetMassProperties().GetInverseInertia();
        c.inverseMassB = b != nullptr ? b->GetMassProperties().GetInverseMass() : 0.0f;
        c.inverseInertiaB = b != nullptr ? b->GetMassProperties().GetInverseInertia() : 0.0f;
        if (c.inverseMassA == 0.0f && c.inverseMassB == 0.0f) continue;
        c.normal = Vector2D::Normalized(contact.GetNormal());
        c.tangent = Perpendicular(c.normal);
        c.armA = contact.GetPoint() - a->GetWorldCenterOfMass();
        c.armB = b != nullptr ? contact.GetPoint() - b->GetWorldCenterOfMass() : Vector2D{};
        const auto effectiveMass = [&](const Vector2D& axis) {
            const float turnA = Math::CrossProduct(c.armA, axis);
            const float turnB = Math::CrossProduct(c.armB, axis);
            const float k = c.inverseMassA + c.inverseMassB + c.inverseInertiaA * turnA * turnA +
                            c.inverseInertiaB * turnB * turnB;
            return k > 0.0f ? 1.0f / k : 0.0f;
        };
        c.normalMass = effectiveMass(c.normal);
        c.tangentMass = effectiveMass(c.tangent);
        c.friction = std::max(contact.GetFriction(), 0.0f);
        c.depth = contact.GetDepth();

        // Velocities of the contact point in world units per second.
        const auto pointVelocity = [&](const RigidBody* body, const Vector2D& arm) {
            if (body == nullptr) return Vector2D{};
            const float omega = body->GetAngularVelocity() * kRadiansPerDegree;
            return body->GetVelocity() * scale + Perpendicular(arm) * omega;
        };
        const float approach = (pointVelocity(a, c.armA) - pointVelocity(b, c.armB)).Dot(c.normal);
        c.targetSpeed = approach < -kRestitutionThreshold * scale ? -contact.GetRestitution() * approach : 0.0f;
        m_constraints.push_back(c);
    }
}

void ContactSolver::SolveVelocities(const BodyList& bodies, std::int32_t accuracy, float scale) {
    const auto velocityOf = [&](std::uint32_t index, const Vector2D& arm) {
        const RigidBody* body = BodyAt(bodies, index);
        if (body == nullptr) return Vector2D{};
        const float omega = body->GetAngularVelocity() * kRadiansPerDegree + m_angularChange[index];
        return body->GetVelocity() * scale + m_velocityChange[index] + Perpendicular(arm) * omega;
    };
    const auto applyImpulse = [&](const Constraint& c, const Vector2D& impulse) {
        m_velocityChange[c.a] += impulse * c.inverseMassA;
        m_angularChange[c.a] += c.inverseInertiaA * Math::CrossProduct(c.armA, impulse);
        if (c.b != 0) {
            m_velocityChange[c.b] -= impulse * c.inverseMassB;
            m_angularChange[c.b] -= c.inverseInertiaB * Math::CrossProduct(c.armB, impulse);
        }
    };

    for (std::int32_t iteration = 0; iteration < std::max(accuracy, 1); ++iteration) {
        for (Constraint& c : m_constraints) {
            const Vector2D relative = velocityOf(c.a, c.armA) - velocityOf(c.b, c.armB);
            const float limit = c.friction * c.normalImpulse;
            const float tangentImpulse =
                std::clamp(c.tangentImpulse - relative.Dot(c.tangent) * c.tangentMass, -limit, limit);
            applyImpulse(c, c.tangent * (tangentImpulse - c.tangentImpulse));
            c.tangentImpulse = tangentImpulse;

            const float speed = (velocityOf(c.a, c.armA) - velocityOf(c.b, c.armB)).Dot(c.normal);
            const float normalImpulse = std::max(c.normalImpulse + (c.targetSpeed - speed) * c.normalMass, 0.0f);
            applyImpulse(c, c.normal * (normalImpulse - c.normalImpulse));
            c.normalImpulse = normalImpulse;
        }
    }

    // Only bodies whose velocity changed are written, so that an untouched
    // velocity never goes through a rounding round trip.
    for (std::uint32_t index = 1; index <= bodies.size(); ++index) {
        RigidBody* body = bodies[index - 1].Get();
        if (body == nullptr) continue;
        if (!(m_velocityChange[index] == Vector2D{})) {
            body->SetVelocity(body->GetVelocity() + m_velocityChange[index] / scale);
        }
        if (m_angularChange[index] != 0.0f) {
            body->SetAngularVelocity(body->GetAngularVelocity() + m_angularChange[index] / kRadiansPerDegree);
        }
    }
}

void ContactSolver::SolvePositions(const BodyList& bodies, std::int32_t accuracy) {
    m_displacement.assign(bodies.size() + 1, Vector2D{});
    const std::int32_t passes = std::clamp(accuracy, 1, kMaxPositionPasses);
    for (std::int32_t pass = 0; pass < passes; ++pass) {
        for (const Constraint& c : m_constraints) {
            const float total = c.inverseMassA + c.inverseMassB;
            const float moved = (m_displacement[c.a] - m_displacement[c.b]).Dot(c.normal);
            const float correction = std::max(c.depth - moved - kSlop, 0.0f) * kCorrectionFactor;
            if (correction <= 0.0f) continue;
            m_displacement[c.a] += c.normal * (correction * c.inverseMassA / total);
            if (c.b != 0) m_displacement[c.b] -= c.normal * (correction * c.inverseMassB / total);
        }
    }
    // The callbacks may add or remove bodies: each entry is looked up again
    // and held while its owner is told.
    for (std::uint32_t index = 1; index < m_displacement.size(); ++index) {
        if (m_displacement[index] == Vector2D{}) continue;
        Core::RefPtr<RigidBody> body(BodyAt(bodies, index));
        if (body != nullptr) body->MoveAndNotify(m_displacement[index]);
    }
}

}  // namespace Physics2D
