#include "support/Tundra_ReplayProbe.h"

#include "core/Core_MersenneTwister.h"
#include "core/Core_Random.h"
#include "input/Input_KeyTable.h"
#include "physics/Physics_PhysicsEngine.h"
#include "support/Collision_CircleShape.h"
#include "tundra/Tundra_Layer.h"

namespace tundratest {

void ReplayProbe::Update(float dt) {
    const Tundra::Game& game = *Tundra::Game::GetInstance();
    const Input::Keyboard& keyboard = *game.GetKeyboard();
    const Input::Mouse& mouse = *game.GetMouse();
    Vector2D push(0.0f, 0.0f);
    push.x += keyboard.IsPressed(Input::kKeyRight) ? 60.0f : 0.0f;
    push.x -= keyboard.IsPressed(Input::kKeyLeft) ? 60.0f : 0.0f;
    push.y += keyboard.IsTriggered(Input::kKeyUp) ? 400.0f : 0.0f;
    if (mouse.IsTriggered(0)) {
        push = push + RandomPointBetween({-300.0f, -300.0f}, {300.0f, 300.0f});
        score += static_cast<float>(Core::GameRandomGenerator().Next() % 97);
    }
    score += mouse.IsMoved() ? 0.5f + static_cast<float>(mouse.GetPositionX() % 7) : 0.0f;
    score += mouse.IsPressed(0) ? 3.0f : 0.0f;
    score += ObjectInCollision() ? 1.0f : 0.0f;
    score += RandomFloatRange(0.0f, 0.25f);
    Vector2D velocity;
    if (GetVelocity(velocity)) {
        SetVelocity(velocity + push * dt * 10.0f);
    }
}

void ReplayProbe::Save(Core::File& file) const {
    GameObject::Save(file);
    file.WriteF32(score);
}

void ReplayProbe::Load(Core::File& file) {
    GameObject::Load(file);
    file.ReadF32(score);
}

void AddReplayProbes(Tundra::Level& level, Tundra::Game& game) {
    Tundra::Layer& layer = *level.GetLayer(0);
    const Physics2D::MassProperties mass(1.0f, 1.0f);
    for (int i = 0; i < 6; ++i) {
        auto* probe = TUN_NEW(ReplayProbe);
        layer.AddGameObject(probe);
        probe->SetPosition({static_cast<float>(i * 9), static_cast<float>(i % 2) * 4.0f});
        probe->AddCollision(testsupport::MakeCircleShape(game, 5.0f, i + 1), 0);
        probe->AddPhysicalProperties(&mass, 0);
        probe->SetVelocity({static_cast<float>(3 - i) * 5.0f, 0.0f});
    }
    layer.AddStaticCircle({20.0f, -40.0f}, 30.0f, 0, 9);
}

}  // namespace tundratest

TUN_DEFINE_CLASS(tundratest::ReplayProbe)
