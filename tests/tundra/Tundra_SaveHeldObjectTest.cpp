#include "Tundra_SaveLoadTest.h"
#include "Tundra_SpriteShapes.h"

#include "collision/Collision_DynamicObject.h"
#include "core/Core_File.h"
#include "physics/Physics_PhysicsEngine.h"
#include "tundra/Tundra_Sprite.h"

using namespace tundratest;

namespace {

// A game that keeps an object of its own outside every layer, as a game
// keeps the objects it clones from, and streams it after the framework's part.
struct HoldingGame : SavingGame {
    using SavingGame::SavingGame;
    void Save(Core::File& file) const override {
        SavingGame::Save(file);
        file << held;
    }
    void Load(Core::File& file) override {
        SavingGame::Load(file);
        if (file.HasFailed()) {
            return;
        }
        // Making the object read moves the id counter the framework's part set.
        const std::uint32_t idCounter = Tundra::GameObject::GetIdCounter();
        file >> held;
        Tundra::GameObject::SetIdCounter(idCounter);
        if (held == nullptr || !RelinkObject(*held)) {
            file.SetFailed();
        }
    }
    Core::RefPtr<Tundra::GameObject> held;
};

class SaveHeldObjectTest : public SaveLoadTest {
protected:
    HoldingGame& StartHolding() {
        m_game = nullptr;
        Tundra::GameObject::SetIdCounter(0);
        m_game = TUN_NEW(HoldingGame, m_factory.Get(), 0);
        Step(2);
        auto& game = static_cast<HoldingGame&>(*m_game);
        game.held = TUN_NEW(TestObject, "held");
        game.held->AddCollision(CircleShape(2.0f, 3), 0);
        const Physics2D::MassProperties mass(1.0f, 1.0f);
        game.held->AddPhysicalProperties(&mass, 0);
        return game;
    }
};

// Saved games, loads and state hashes go through the concrete game's own
// stream, and what it holds outside the layers gets its engine entries back.
TEST_F(SaveHeldObjectTest, AnObjectHeldOutsideTheLayersIsSavedHashedAndRelinked) {
    HoldingGame& game = StartHolding();
    const std::uint64_t before = game.GetStateHash();
    game.held->SetPositionX(40.0f);
    EXPECT_NE(game.GetStateHash(), before);
    ASSERT_TRUE(game.SaveStateTo(EnginePath("held")));
    const Core::RefPtr<Tundra::GameObject> saved = game.held;
    const std::uint64_t hash = game.GetStateHash();

    ASSERT_TRUE(game.LoadStateFrom(EnginePath("held")));
    ASSERT_NE(game.held, saved);
    EXPECT_EQ(game.held->GetPositionX(), 40.0f);
    EXPECT_EQ(game.GetStateHash(), hash);
    ASSERT_NE(game.held->GetCollisionObject(), nullptr);
    EXPECT_EQ(game.GetPhysicsEngine()->GetRigidBody(game.held->GetPhysicsId())->GetUserData(), game.held.Get());
    // Its clones take engine entries of their own.
    const Core::RefPtr<Tundra::GameObject> clone = static_cast<Tundra::GameObject*>(game.held->Clone());
    EXPECT_NE(clone->GetCollisionObject(), nullptr);
    Vector2D velocity;
    EXPECT_TRUE(clone->GetVelocity(velocity));
}

// A held sprite is never updated: its collision object keeps the frame it
// was given, whatever frame the sprite shows since, and a load keeps it too.
TEST_F(SaveHeldObjectTest, AHeldSpriteComesBackTestingTheFrameItsCollisionObjectHad) {
    HoldingGame& game = StartHolding();
    // Where loads look for animation sheets.
    auto* sprite =
        TUN_NEW(Tundra::Sprite, SpriteAnimations(Tundra::Game::GetDirectory() + "\\Resources\\Animations\\"));
    game.held = sprite;
    game.AddCollisionAssets(SpriteShapesActor());
    auto* shape = new Collision2D::DynamicObject;
    shape->AddCollisionData(game.GetCollisionAssets().back(), 0, 0);
    ASSERT_TRUE(sprite->AddCollision(shape, 0));
    sprite->SetCollisionActorIndex(static_cast<int>(game.GetCollisionAssets().size()) - 1);
    sprite->Stop();
    sprite->SetCurrentFrameIndex(1, false);
    const std::uint64_t hash = game.GetStateHash();
    ASSERT_TRUE(game.SaveStateTo(EnginePath("sprite")));

    ASSERT_TRUE(game.LoadStateFrom(EnginePath("sprite")));
    const Collision2D::DynamicObject* loaded = game.held->GetCollisionObject();
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(std::pair(loaded->GetAnimationIndex(), loaded->GetFrameIndex()), std::pair(0, 0));
    EXPECT_EQ(loaded->GetCurrentLineSegments().size(), 2u);
    EXPECT_EQ(game.GetStateHash(), hash);
}

}  // namespace
