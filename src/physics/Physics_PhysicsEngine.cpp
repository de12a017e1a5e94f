#include "physics/Physics_PhysicsEngine.h"

#include "physics/Physics_Finite.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace Physics2D {

namespace {

bool IsBodyIn(const BodyList& bodies, std::uint32_t index) {
    return index >= 1 && index <= bodies.size() && bodies[index - 1] != nullptr;
}

// A first body that exists and a second that exists or is the world.
bool NamesBodies(const BodyList& bodies, std::uint32_t a, std::uint32_t b) {
    return IsBodyIn(bodies, a) && (b == 0 || IsBodyIn(bodies, b));
}

// One body at two indices would be stepped twice a frame and meet itself
// in contacts; AddRigidBody never lists a body twice, so no stream may.
bool ListsABodyTwice(const BodyList& bodies) {
    std::vector<const RigidBody*> listed;
    for (const auto& body : bodies) {
        if (body != nullptr) listed.push_back(body.Get());
    }
    std::sort(listed.begin(), listed.end(), std::less<>());
    return std::adjacent_find(listed.begin(), listed.end()) != listed.end();
}

}  // namespace

PhysicsEngine::PhysicsEngine(const PhysicsEngine& other)
    : Core::Object(other),
      m_scale(other.m_scale),
      m_accuracy(other.m_accuracy),
      m_maximumStep(other.m_maximumStep),
      m_contactCallback(other.m_contactCallback),
      m_contactCallbackData(other.m_contactCallbackData),
      m_contacts(other.m_contacts) {
    for (const auto& body : other.m_bodies) {
        m_bodies.emplace_back(body != nullptr ? static_cast<RigidBody*>(body->Clone()) : nullptr);
    }
    for (const auto& joint : other.m_joints) {
        m_joints.emplace_back(static_cast<Joint*>(joint->Clone()));
    }
    // Part of the state: the next solve starts from them.
    m_solver.SetWarmStarts(other.m_solver.GetWarmStarts());
}

void PhysicsEngine::Update(float dt) {
    const float h = std::min(dt, m_maximumStep);
    if (!(h > 0.0f) || !std::isfinite(h)) return;
    // Callbacks re-enter the engine: the walk stops at the count it started
    // with, looks each entry up again, and holds the body it is moving.
    const std::size_t count = m_bodies.size();
    for (std::size_t i = 0; i < count && i < m_bodies.size(); ++i) {
        Core::RefPtr<RigidBody> body = m_bodies[i];
        if (body == nullptr || !body->CanMove()) continue;
        body->NotifyBeforeMove();
        body->Integrate(h, m_scale);
        body->NotifyAfterMove();
    }
}

void PhysicsEngine::PostCollisionUpdate(float) {
    if (m_contactCallback != nullptr) m_contactCallback(this, m_contactCallbackData);
    m_solver.MergeContacts(m_contacts, m_bodies);
    m_solver.Solve(m_contacts, m_bodies, m_accuracy, m_scale);
    m_contacts.clear();
}

void PhysicsEngine::Reset() {
    m_bodies.clear();
    m_joints.clear();
    m_contacts.clear();
    m_solver.Clear();
}

void PhysicsEngine::SetScale(float scale) {
    if (std::isfinite(scale) && scale > 0.0f) m_scale = scale;
}

void PhysicsEngine::SetAccuracy(std::int32_t iterations) { m_accuracy = std::clamp(iterations, 1, kMaxAccuracy); }

void PhysicsEngine::SetMaximumSimulationStep(float seconds) {
    if (std::isfinite(seconds)) m_maximumStep = seconds;
}

std::uint32_t PhysicsEngine::AddRigidBody(RigidBody* body) {
    if (body == nullptr) return 0;
    const auto listed = std::find(m_bodies.begin(), m_bodies.end(), body);
    if (listed != m_bodies.end()) return static_cast<std::uint32_t>(listed - m_bodies.begin()) + 1;
    const auto hole = std::find(m_bodies.begin(), m_bodies.end(), nullptr);
    if (hole != m_bodies.end()) {
        *hole = body;
        return static_cast<std::uint32_t>(hole - m_bodies.begin()) + 1;
    }
    m_bodies.emplace_back(body);
    return static_cast<std::uint32_t>(m_bodies.size());
}

void PhysicsEngine::RemoveRigidBody(std::uint32_t index) {
    if (!IsUsable(index)) return;
    std::erase_if(m_contacts, [index](const ContactEntry& entry) {
        return entry.bodyA == index || entry.bodyB == index;
    });
    m_solver.ForgetBody(index);
    // Emptied before the body goes: its destruction must not find itself listed.
    Core::RefPtr<RigidBody> removed = std::move(m_bodies[index - 1]);
}

std::uint32_t PhysicsEngine::CloneRigidBody(std::uint32_t index, Core::Object* owner) {
    const RigidBody* source = GetRigidBody(index);
    if (source == nullptr) return 0;
    auto* copy = static_cast<RigidBody*>(source->Clone());
    copy->SetUserData(owner);
    return AddRigidBody(copy);
}

RigidBody* PhysicsEngine::GetRigidBody(std::uint32_t index) const {
    return IsBodyIn(m_bodies, index) ? m_bodies[index - 1].Get() : nullptr;
}

void PhysicsEngine::SetRigidBodyPosition(std::uint32_t index, const Vector2D& position) {
    if (RigidBody* body = GetRigidBody(index)) body->SetPosition(position);
}

void PhysicsEngine::SetRigidBodyOrientation(std::uint32_t index, float degrees) {
    if (RigidBody* body = GetRigidBody(index)) body->SetOrientation(degrees);
}

void PhysicsEngine::SetRigidBodyVelocity(std::uint32_t index, const Vector2D& velocity) {
    if (RigidBody* body = GetRigidBody(index)) body->SetVelocity(velocity);
}

bool PhysicsEngine::GetRigidBodyVelocity(std::uint32_t index, Vector2D& velocity) const {
    const RigidBody* body = GetRigidBody(index);
    if (body == nullptr) return false;
    velocity = body->GetVelocity();
    return true;
}

void PhysicsEngine::SetRigidBodyAngularVelocity(std::uint32_t index, float degreesPerSecond) {
    if (RigidBody* body = GetRigidBody(index)) body->SetAngularVelocity(degreesPerSecond);
}

bool PhysicsEngine::GetRigidBodyAngularVelocity(std::uint32_t index, float& degreesPerSecond) const {
    const RigidBody* body = GetRigidBody(index);
    if (body == nullptr) return false;
    degreesPerSecond = body->GetAngularVelocity();
    return true;
}

void PhysicsEngine::RemoveAllRigidBodyForces(std::uint32_t index) {
    if (RigidBody* body = GetRigidBody(index)) body->RemoveAllForces();
}

void PhysicsEngine::AddRigidBodyForce(std::uint32_t index, Force* force) {
    // Held for the call, so that a new force handed to a bad index is freed.
    const Core::RefPtr<Force> held(force);
    if (RigidBody* body = GetRigidBody(index)) body->AddForce(force);
}

bool PhysicsEngine::RemoveRigidBodyForce(std::uint32_t index, std::uint32_t i) {
    RigidBody* body = GetRigidBody(index);
    return body != nullptr && body->RemoveForce(i);
}

bool PhysicsEngine::GetMassProperties(std::uint32_t index, MassProperties& mass) const {
    const RigidBody* body = GetRigidBody(index);
    if (body == nullptr) return false;
    mass = body->GetMassProperties();
    return true;
}

void PhysicsEngine::SetMassProperties(std::uint32_t index, const MassProperties& mass) {
    if (RigidBody* body = GetRigidBody(index)) body->SetMassProperties(mass);
}

bool PhysicsEngine::GetRigidBodyCenterOfMass(std::uint32_t index, Vector2D& center) const {
    const RigidBody* body = GetRigidBody(index);
    if (body == nullptr) return false;
    center = body->GetWorldCenterOfMass();
    return true;
}

void PhysicsEngine::AddContact(std::uint32_t bodyA, std::uint32_t bodyB, const Contact& contact) {
    if (!IsUsable(bodyA) || !contact.HasFiniteValues()) return;
    // Made in place: a temporary entry would cost a second copy and a destructor call per contact.
    ContactEntry& entry = m_contacts.emplace_back();
    entry.bodyA = bodyA;
    entry.bodyB = IsUsable(bodyB) ? bodyB : 0;
    entry.contact = contact;
}

std::uint32_t PhysicsEngine::AddJoint(Joint* joint) {
    // Held for the call, so that a new joint refused is freed.
    const Core::RefPtr<Joint> held(joint);
    if (joint == nullptr || !joint->HasFiniteAnchors()) return 0;
    m_joints.push_back(held);
    return static_cast<std::uint32_t>(m_joints.size());
}

void PhysicsEngine::Save(Core::File& file) const {
    file.WriteF32(m_scale);
    file.WriteI32(m_accuracy);
    file.WriteF32(m_maximumStep);
    file.WriteU32(static_cast<std::uint32_t>(m_bodies.size()));
    for (const auto& body : m_bodies) {
        file << body;
    }
    file.WriteU32(static_cast<std::uint32_t>(m_joints.size()));
    for (const auto& joint : m_joints) {
        file << joint;
    }
    file.WriteU32(static_cast<std::uint32_t>(m_contacts.size()));
    for (const ContactEntry& entry : m_contacts) {
        file.WriteU32(entry.bodyA);
        file.WriteU32(entry.bodyB);
        entry.contact.Save(file);
    }
    const std::vector<WarmStart>& warmStarts = m_solver.GetWarmStarts();
    file.WriteU32(static_cast<std::uint32_t>(warmStarts.size()));
    for (const WarmStart& w : warmStarts) {
        file.WriteU32(w.bodyA);
        file.WriteU32(w.bodyB);
        file << w.normal;
        file.WriteF32(w.normalImpulse);
        file.WriteF32(w.tangentImpulse);
    }
}

void PhysicsEngine::Load(Core::File& file) {
    float scale = 0.0f;
    std::int32_t accuracy = 0;
    float maximumStep = 0.0f;
    file.ReadF32(scale);
    file.ReadI32(accuracy);
    file.ReadF32(maximumStep);
    if (!(std::isfinite(scale) && scale > 0.0f) || accuracy < 1 || accuracy > kMaxAccuracy ||
        !std::isfinite(maximumStep)) {
        file.SetFailed();
        return;
    }

    // Loops over stored counts stop as soon as the data runs out.
    BodyList bodies;
    std::uint32_t count = 0;
    file.ReadU32(count);
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        Core::RefPtr<RigidBody> body;
        file >> body;
        bodies.push_back(std::move(body));
    }
    if (ListsABodyTwice(bodies)) file.SetFailed();
    std::vector<Core::RefPtr<Joint>> joints;
    file.ReadU32(count);
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        Core::RefPtr<Joint> joint;
        file >> joint;
        if (joint == nullptr) file.SetFailed();
        joints.push_back(std::move(joint));
    }
    std::vector<ContactEntry> contacts;
    file.ReadU32(count);
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        ContactEntry entry;
        file.ReadU32(entry.bodyA);
        file.ReadU32(entry.bodyB);
        entry.contact.Load(file);
        if (!NamesBodies(bodies, entry.bodyA, entry.bodyB)) file.SetFailed();
        contacts.push_back(entry);
    }
    std::vector<WarmStart> warmStarts;
    file.ReadU32(count);
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        WarmStart w;
        file.ReadU32(w.bodyA);
        file.ReadU32(w.bodyB);
        ReadFinite(file, w.normal);
        ReadFinite(file, w.normalImpulse);
        ReadFinite(file, w.tangentImpulse);
        if (!NamesBodies(bodies, w.bodyA, w.bodyB)) file.SetFailed();
        warmStarts.push_back(w);
    }
    if (file.HasFailed()) return;

    m_scale = scale;
    m_accuracy = accuracy;
    m_maximumStep = maximumStep;
    m_bodies = std::move(bodies);
    m_joints = std::move(joints);
    m_contacts = std::move(contacts);
    m_solver.SetWarmStarts(std::move(warmStarts));
}

}  // namespace Physics2D

TUN_DEFINE_CLASS(Physics2D::PhysicsEngine)
