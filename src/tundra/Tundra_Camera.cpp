#include "tundra/Tundra_Camera.h"

#include "core/Core_File.h"
#include "input/Input_KeyTable.h"
#include "input/Input_KeyboardImp.h"
#include "math/Math_Quaternion.h"

namespace Tundra {
namespace {

constexpr float kNearPlane = 0.1f;
constexpr float kFarPlane = 10000.0f;
constexpr float kFlightStep = 4.0f;
constexpr float kFlightTurn = 4.0f;

// The debug flight's pose, one for every camera and the process's life.
struct FlightPose {
    Vector3D position;
    Quaternion orientation;
};

FlightPose& Pose() {
    static FlightPose pose;
    return pose;
}

Vector3D Direction(const Matrix4& rotation, const Vector3D& point) {
    Vector3D direction = Matrix4::TransformPoint(rotation, point) - Matrix4::TransformPoint(rotation, {});
    direction.Normalize();
    return direction;
}

void Turn(Quaternion& orientation, Vector3D axis, float degrees) {
    Quaternion turn;
    Quaternion::FromAxisAngle(turn, axis, degrees);
    orientation *= turn;
    orientation.Normalize();
}

// Moves and turns the shared pose by the held keys; the placement it gives
// uses the orientation from before this step's turns.
Matrix4 StepFlight() {
    FlightPose& pose = Pose();
    pose.orientation.Normalize();
    Matrix4 rotation;
    Quaternion::ToMatrix4(pose.orientation, rotation);
    const Vector3D forward = Direction(rotation, {0.0f, 0.0f, -1.0f});
    const Vector3D right = Direction(rotation, {1.0f, 0.0f, 0.0f});
    const Vector3D up = Direction(rotation, {0.0f, 1.0f, 0.0f});

    const Input::KeyboardImp* keyboard = Input::KeyboardImp::GetInstance();
    const auto held = [keyboard](int key) { return keyboard != nullptr && keyboard->IsPressed(key); };
    const auto letter = [](char c) { return Input::kKeyLetterA + (c - 'A'); };
    const struct {
        int key;
        Vector3D direction;
        float step;
    } moves[] = {{Input::kKeyUp, forward, kFlightStep}, {Input::kKeyDown, forward, -kFlightStep},
                 {letter('Q'), up, kFlightStep},        {letter('A'), up, -kFlightStep},
                 {letter('Z'), right, -kFlightStep},    {letter('X'), right, kFlightStep}};
    for (const auto& move : moves) {
        if (held(move.key)) {
            pose.position += move.direction * move.step;
        }
    }
    const struct {
        int key;
        Vector3D axis;
        float degrees;
    } turns[] = {{letter('W'), right, -kFlightTurn},      {letter('S'), right, kFlightTurn},
                 {Input::kKeyRight, up, kFlightTurn},     {Input::kKeyLeft, up, -kFlightTurn},
                 {letter('V'), forward, kFlightTurn},     {letter('C'), forward, -kFlightTurn}};
    for (const auto& turn : turns) {
        if (held(turn.key)) {
            Turn(pose.orientation, turn.axis, turn.degrees);
        }
    }
    if (held(letter('R'))) {
        pose = FlightPose();
    }
    return Matrix4::Translation(pose.position.x, pose.position.y, pose.position.z) * rotation;
}

}  // namespace

Camera* Camera::s_activeListener = nullptr;

Camera::Camera() : Camera(45.0f) {}

Camera::Camera(float fieldOfView)
    : m_node(TUN_NEW(Engine::Camera, fieldOfView, kNearPlane, kFarPlane)), m_fieldOfView(fieldOfView) {
    GetSceneNode()->AddChild(m_node);
    if (s_activeListener == nullptr) {
        s_activeListener = this;
    }
}

// Not cleaned up, whatever the source: like its game-object part, a copy
// lives a life of its own, and its clean-up must run when it is removed.
Camera::Camera(const Camera& other)
    : GameObject(other),
      m_node(static_cast<Engine::Camera*>(other.m_node->Clone())),
      m_fieldOfView(other.m_fieldOfView) {
    GetSceneNode()->AddChild(m_node);
    RunHook("OnClone", true, &other);
}

Camera::~Camera() {
    // Also when a stream marked it cleaned up: the listener never outlives it.
    StopListening();
    Camera::Cleanup();
}

void Camera::StopListening() {
    if (s_activeListener == this) {
        s_activeListener = nullptr;
    }
}

void Camera::PushToLua(lua_State* state) const { PushToLuaAs(state, "Camera"); }

void Camera::Cleanup() {
    if (m_cleanedUp) {
        return;
    }
    StopListening();
    m_cleanedUp = true;
    GameObject::Cleanup();
}

void Camera::SetFOV(float degrees) {
    m_fieldOfView = degrees;
    m_node->SetFOV(degrees);
}

void Camera::GetViewProjectionMatrix(Matrix4& out, std::int32_t width, std::int32_t height) const {
    m_node->GetViewProjectionMatrix(out, width, height);
}

void Camera::Save(Core::File& file) const {
    GameObject::Save(file);
    file.WriteU8(m_cleanedUp ? 1 : 0);
    file.WriteF32(m_fieldOfView);
}

void Camera::Load(Core::File& file) {
    GameObject::Load(file);
    std::uint8_t cleanedUp = m_cleanedUp ? 1 : 0;
    file.ReadU8(cleanedUp);
    float fieldOfView = m_fieldOfView;
    file.ReadF32(fieldOfView);
    // A stored flag never undoes a clean-up that already ran, and a
    // cleaned-up camera is no listener.
    m_cleanedUp = m_cleanedUp || cleanedUp != 0;
    if (m_cleanedUp) {
        StopListening();
    }
    SetFOV(fieldOfView);
}

void Camera::SaveActiveListener(Core::File& file) { file << s_activeListener; }

void Camera::LoadActiveListener(Core::File& file) {
    Camera* listener = file.ReadObjectAs<Camera>();
    if (!file.HasFailed()) {
        s_activeListener = listener != nullptr && !listener->IsCleanedUp() ? listener : nullptr;
    }
}

void Camera::UpdateFromKeyboard() { GetSceneNode()->SetTransformation(StepFlight()); }

}  // namespace Tundra

TUN_DEFINE_CLASS(Tundra::Camera)
