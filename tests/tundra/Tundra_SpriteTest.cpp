#include "Tundra_HostileRead.h"
#include "Tundra_SpriteShapes.h"
#include "support/Tundra_TestGame.h"

#include "collision/Collision_DynamicObject.h"
#include "core/Core_MemoryFile.h"
#include "support/Renderer_FakeTextureCache.h"
#include "support/VideoDriver.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_Level.h"
#include "tundra/Tundra_Sprite.h"
#include "tundra/Tundra_Viewport.h"

using namespace tundratest;
using Core::RefPtr;
using Tundra::Sprite;

namespace {

class SpriteTest : public GameTest {
protected:
    // A stopped sprite in the layer, at (10, 0) with z-order 2, whose
    // collision object takes its shapes from the actor above.
    template <class T = Sprite>
    T& AddSprite(std::uint32_t layer = 0, bool collision = true) {
        auto* sprite = TUN_NEW(T, SpriteAnimations());
        sprite->SetName("sprite");
        sprite->SetPosition({10.0f, 0.0f});
        sprite->SetZOrder(2.0f);
        if (collision) {
            m_game->AddCollisionAssets(SpriteShapesActor());
            auto* object = new Collision2D::DynamicObject;
            object->AddCollisionData(m_game->GetCollisionAssets().back(), 0, 0);
            object->SetCollisionType(1);
            object->SetCanCollid(0, true);
            EXPECT_TRUE(sprite->AddCollision(object, LayerAt(layer).GetCollisionId()));
            sprite->SetCollisionActorIndex(static_cast<int>(m_game->GetCollisionAssets().size()) - 1);
        }
        LayerAt(layer).AddGameObject(sprite);
        return *sprite;
    }
};

struct Edge {
    Vector2D start, end;
    friend bool operator==(const Edge&, const Edge&) = default;
};

Edge EdgeOf(const Tundra::Line& line) { return {line.GetStartPoint(), line.GetEndPoint()}; }

auto PlayState(const Sprite& s) {
    return std::tuple(s.GetCurrentAnimationIndex(), s.GetCurrentFrameIndex(), s.GetFlipHorizontal(),
                      s.GetFlipVertical(), s.GetLoop(), s.IsPlaying(), s.IsPaused(), s.GetAnimationSpeed());
}

// The collision frame the sprite's Update finds.
struct ProbeSprite : Sprite {
    using Sprite::Sprite;
    void Update(float dt) override {
        const Collision2D::DynamicObject* object = GetCollisionObject();
        seen = {object->GetAnimationIndex(), object->GetFrameIndex()};
        firstSegmentStart = object->GetCurrentLineSegments()[0].pointA;
        Sprite::Update(dt);
    }
    std::pair<int, int> seen{-1, -1};
    Vector2D firstSegmentStart;
};

}  // namespace

TEST_F(SpriteTest, AnimationControlChangesOnlyWhatDiffersAndANodelessSpriteAnswersDefaults) {
    const RefPtr<Sprite> sprite = TUN_NEW(Sprite, SpriteAnimations());
    sprite->Play(true);
    sprite->GetEngineSprite()->Update(0.15f);
    ASSERT_EQ(sprite->GetCurrentFrameIndex(), 1);
    // The current index chosen again does not restart, even when forced.
    sprite->SetCurrentAnimationIndex(0, true);
    sprite->SetCurrentFrameIndex(1, true);
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 1);
    sprite->SetAnimationSpeed(-2.0f);
    EXPECT_EQ(sprite->GetAnimationSpeed(), 0.0f);
    sprite->Play(false);
    EXPECT_FALSE(sprite->IsPlaying());
    EXPECT_EQ(sprite->GetCurrentFrameIndex(), 0);

    const RefPtr<Sprite> bare = static_cast<Sprite*>(Sprite::Create());
    bare->SetCurrentFrameIndex(1, true);
    bare->Play(true);
    bare->SetAnimationSpeed(3.0f);
    bare->RenderSync(0.0f);
    EXPECT_EQ(std::tuple(bare->GetAnimationsCount(), bare->GetCurrentFrameIndex(), bare->IsPlaying(),
                         bare->GetAnimationSpeed(), bare->GetLoop(), bare->GetFrameWidth(0),
                         bare->GetCurrentAnimationName()),
              std::tuple(0, 0, false, 1.0f, true, 0, Core::String()));
}

TEST_F(SpriteTest, TheCollisionObjectFollowsTheDrawnFrameBeforeUpdateRuns) {
    Start();
    ProbeSprite& sprite = AddSprite<ProbeSprite>();
    sprite.SetCurrentAnimationIndex(1, false);
    sprite.SetFlipHorizontal(true);
    Step(1);
    EXPECT_EQ(sprite.seen, std::pair(1, 0));
    EXPECT_EQ(sprite.firstSegmentStart, Vector2D(12.0f, 0.0f));
}

TEST_F(SpriteTest, TheShapeDisplayIsMadeOnceThenMovedHiddenAndDestroyed) {
    Start();
    Sprite& sprite = AddSprite();
    sprite.SetVisibleCollisionData(true);
    sprite.SetVisibleBoundingRectangle(true);
    sprite.SetCollisionDataColor({1.0f, 0.0f, 0.0f, 1.0f});
    Sprite& inert = AddSprite();
    inert.SetCollisionActorIndex(-1);
    inert.SetVisibleCollisionData(true);
    inert.SetVisibleBoundingRectangle(true);
    Step(1);
    ASSERT_EQ(sprite.GetSegmentLines().size(), 2u);
    ASSERT_EQ(sprite.GetCircleObjects().size(), 1u);
    const std::vector<RefPtr<Tundra::Line>> lines = sprite.GetSegmentLines();
    const std::array<RefPtr<Tundra::Line>, 4> rectangle = sprite.GetBoundingRectangleLines();
    const RefPtr<Tundra::Circle> circle = sprite.GetCircleObjects()[0];
    EXPECT_EQ(EdgeOf(*lines[1]), (Edge{{11.0f, -4.0f}, {11.0f, 4.0f}}));
    EXPECT_EQ(circle->GetPosition(), Vector2D(10.0f, 1.0f));
    EXPECT_EQ(lines[0]->GetModulationColor().g, 0.0f);
    std::vector<Edge> edges;
    for (const RefPtr<Tundra::Line>& line : rectangle) {
        ASSERT_TRUE(line != nullptr);
        EXPECT_FLOAT_EQ(line->GetZOrder(), 2.1f);
        edges.push_back(EdgeOf(*line));
    }
    EXPECT_EQ(edges, (std::vector<Edge>{{{8.0f, 4.0f}, {12.0f, 4.0f}},
                                        {{12.0f, 4.0f}, {12.0f, -4.0f}},
                                        {{12.0f, -4.0f}, {8.0f, -4.0f}},
                                        {{8.0f, -4.0f}, {8.0f, 4.0f}}}));
    EXPECT_TRUE(inert.GetSegmentLines().empty() && inert.GetBoundingRectangleLines()[0] == nullptr);

    sprite.SetPosition({20.0f, 0.0f});
    sprite.SetCurrentFrameIndex(1, false);
    Step(1);
    // Moved, not made again (the second circle joins the layer next frame);
    // a frame without segments leaves the lines.
    EXPECT_EQ(LayerAt(0).GetGameObjectsCount(), 2u + 2u + 1u + 4u);
    EXPECT_EQ(sprite.GetSegmentLines(), lines);
    EXPECT_EQ(sprite.GetLinesInUse(), 2);
    EXPECT_EQ(sprite.GetBoundingRectangleLines(), rectangle);
    EXPECT_EQ(EdgeOf(*rectangle[0]), (Edge{{19.0f, 3.0f}, {21.0f, 3.0f}}));
    ASSERT_EQ(sprite.GetCircleObjects().size(), 2u);
    EXPECT_EQ(sprite.GetCircleObjects()[0], circle);
    EXPECT_EQ(circle->GetRadius(), 2.0f);
    EXPECT_EQ(sprite.GetCirclesInUse(), 2);

    sprite.SetCurrentFrameIndex(0, false);
    Step(1);
    EXPECT_EQ(sprite.GetCirclesInUse(), 1);
    EXPECT_FALSE(sprite.GetCircleObjects()[1]->GetVisible());

    const RefPtr<Sprite> clone = static_cast<Sprite*>(sprite.Clone());
    EXPECT_TRUE(clone->GetVisibleCollisionData() && clone->GetVisibleBoundingRectangle());
    EXPECT_TRUE(clone->GetSegmentLines().empty() && clone->GetCircleObjects().empty());
    EXPECT_EQ(clone->GetBoundingRectangleLines()[0], nullptr);
    LayerAt(0).AddGameObject(clone.Get());
    Step(1);
    EXPECT_EQ(clone->GetSegmentLines().size(), 2u);
    EXPECT_NE(clone->GetSegmentLines()[0], lines[0]);

    const RefPtr<Tundra::Circle> surplus = sprite.GetCircleObjects()[1];
    sprite.SetVisibleCollisionData(false);
    sprite.SetVisibleBoundingRectangle(false);
    EXPECT_TRUE(sprite.GetSegmentLines().empty() && sprite.GetCircleObjects().empty());
    EXPECT_EQ(std::pair(sprite.GetLinesInUse(), sprite.GetCirclesInUse()), std::pair(0, 0));
    EXPECT_EQ(sprite.GetBoundingRectangleLines()[3], nullptr);
    EXPECT_TRUE(lines[0]->IsDestroyRequested() && circle->IsDestroyRequested() && surplus->IsDestroyRequested() &&
                rectangle[3]->IsDestroyRequested());
    // Held by reference: one the layer let go of already is left alone.
    clone->GetSegmentLines()[0]->Destroy();
    Step(1);
    clone->SetVisibleCollisionData(false);
    m_game->Shutdown();
    clone->SetVisibleBoundingRectangle(false);
}

TEST_F(SpriteTest, ClonesShareTheTemplatesTexturesWhichOutliveItWhileAnyCloneHoldsThem) {
    const testsupport::FakeTextureCache textures;
    RefPtr<Sprite> original = TUN_NEW(Sprite, SpriteAnimations());
    const std::size_t requests = textures.Requests().size();
    const RefPtr<Sprite> clone = static_cast<Sprite*>(original->Clone());
    const RefPtr<Sprite> cloneOfClone = static_cast<Sprite*>(clone->Clone());
    EXPECT_EQ(textures.Requests().size(), requests);
    const RefPtr<Renderer::ITexture> sheet = original->GetEngineSprite()->GetAnimation(1)->GetTexture();
    original = nullptr;
    for (const RefPtr<Sprite>& copy : {clone, cloneOfClone}) {
        EXPECT_EQ(copy->GetEngineSprite()->GetAnimation(1)->GetTexture(), sheet);
    }
    EXPECT_GT(sheet->GetWidth(), 0u);
}

TEST_F(SpriteTest, ASpriteIsInAViewportUnlessWhollyOutsideItsCamerasView) {
    Start();
    Sprite& near = AddSprite(0, false);
    Sprite& far = AddSprite(0, false);
    near.SetPosition({0.0f, 0.0f});
    far.SetPosition({100000.0f, 0.0f});
    auto* camera = TUN_NEW(Tundra::Camera);
    camera->SetZOrder(500.0f);
    camera->UpdateTransformation();
    LayerAt(0).AddGameObject(camera);
    const RefPtr<Tundra::Viewport> viewport = TUN_NEW(Tundra::Viewport, 0, 0, 64, 48);
    Step(1);
    EXPECT_FALSE(near.IsInViewport(nullptr));
    EXPECT_FALSE(near.IsInViewport(viewport.Get()));
    viewport->SetCamera(camera);
    EXPECT_TRUE(near.IsInViewport(viewport.Get()));
    EXPECT_FALSE(far.IsInViewport(viewport.Get()));
}

TEST_F(SpriteTest, CollidedSpriteIdsWriteTheOthersIdAndReadBackTheirHandles) {
    Start();
    Sprite& a = AddSprite(0);
    Sprite& b = AddSprite(0);
    Sprite& far = AddSprite(1);
    TestObject& plain = Spawn("plain");
    Step(1);
    const Collision2D::DynamicObject* records = a.GetCollisionObject();
    ASSERT_EQ(records->GetBoundingRectangleCollisions().Count(), 1u);
    ASSERT_EQ(records->GetShapeCollisions().Count(), 1u);
    const auto ids = [&a] {
        Core::MemoryFile file;
        a.WriteCollidedSpriteIds(file);
        return Bytes(file.GetData(), file.GetData() + file.GetSize());
    };
    const auto read = [&a, records](std::uint32_t rectangleId, std::uint32_t shapeId) {
        Core::MemoryFile file;
        file.WriteU32(rectangleId);
        file.WriteU32(shapeId);
        Core::MemoryFile reading(file.GetData(), file.GetSize());
        a.ReadCollidedSpriteIds(reading, *Tundra::Game::GetInstance()->GetCurrentLevel());
        return std::pair(records->GetBoundingRectangleCollisions()[0].handle, records->GetShapeCollisions()[0].handle);
    };
    const auto word = [](std::uint32_t v) {
        return Bytes{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                     static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    };
    Bytes expected = word(b.GetID());
    expected.insert(expected.end(), expected.begin(), expected.end());
    EXPECT_EQ(ids(), expected);

    // Rectangle records look in every layer, shape records in the sprite's own.
    EXPECT_EQ(read(far.GetID(), far.GetID()), std::pair(far.GetCollisionId(), 0u));
    EXPECT_EQ(read(999u, plain.GetID()), std::pair(0u, 0u));
    EXPECT_EQ(read(b.GetID(), b.GetID()), std::pair(b.GetCollisionId(), b.GetCollisionId()));
    b.RemoveCollision();
    EXPECT_EQ(ids(), (Bytes(8, 0xFF)));
}

TEST_F(SpriteTest, ASavedSpriteComesBackWithItsAnimationStateTexturesAndDisplays) {
    const testsupport::ScopedVideoDriver driver("offscreen");
    {
        Start();
        const Core::String folder = Tundra::Game::GetDirectory() + "\\Resources\\Animations\\";
        Sprite& sprite = AddSprite();
        const RefPtr<Sprite> source = TUN_NEW(Sprite, SpriteAnimations(folder));
        sprite.SetVisibleCollisionData(true);
        Step(1);
        for (const bool playing : {false, true}) {
            source->SetCurrentAnimationIndex(1, false);
            source->SetCurrentFrameIndex(1, false);
            source->SetFlipHorizontal(true);
            source->SetLoop(false);
            source->SetAnimationSpeed(2.5f);
            source->Play(true);
            if (!playing) {
                source->Pause();
            }
            const Bytes bytes = Saved(source.Get());
            Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
            const RefPtr<Sprite> back = file.ReadObjectAs<Sprite>(Core::File::Reference::Owning);
            ASSERT_TRUE(back != nullptr);
            EXPECT_EQ(PlayState(*back), PlayState(*source));
            EXPECT_EQ(Saved(back.Get()), bytes);
            for (std::uint32_t i = 0; i < 2; ++i) {
                EXPECT_EQ(back->GetEngineSprite()->GetAnimation(i)->GetTexture(),
                          source->GetEngineSprite()->GetAnimation(i)->GetTexture());
            }
        }
        const Bytes displayed = Saved(&sprite);
        ReadHostile<Sprite>(displayed, 10000, [](const Sprite& read) {
            EXPECT_LE(static_cast<std::size_t>(read.GetLinesInUse()), read.GetSegmentLines().size());
        });
        Core::MemoryFile file(displayed.data(), static_cast<std::uint32_t>(displayed.size()));
        const RefPtr<Sprite> back = file.ReadObjectAs<Sprite>(Core::File::Reference::Owning);
        ASSERT_TRUE(back != nullptr);
        EXPECT_EQ(std::pair(back->GetLinesInUse(), back->GetCirclesInUse()), std::pair(2, 1));
        EXPECT_EQ(EdgeOf(*back->GetSegmentLines()[1]), EdgeOf(*sprite.GetSegmentLines()[1]));
        m_game->Shutdown();
        m_game = nullptr;
    }
}

// Read back, a sprite is where it was within its frame, and the sprite
// mounted on it keeps its own visibility.
TEST_F(SpriteTest, ASpriteReadBackKeepsItsTimeOnTheFrameAndItsMountsVisibility) {
    Start();
    Sprite& mount = AddSprite(0, false);
    Sprite& hidden = AddSprite(0, false);
    mount.SetName("mount");
    hidden.SetName("hidden");
    mount.Mount(&hidden);
    hidden.SetVisible(false);
    mount.Play(true);
    Step(2);
    ASSERT_GT(mount.GetEngineSprite()->GetFrameTimer(), 0.0f);
    const Bytes bytes = Saved(&LayerAt(0));
    Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    const RefPtr<Tundra::Layer> back = file.ReadObjectAs<Tundra::Layer>(Core::File::Reference::Owning);
    ASSERT_TRUE(back != nullptr);
    std::vector<Tundra::GameObject*> found;
    back->GetGameObjectsByName("mount", found);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(static_cast<Sprite*>(found[0])->GetEngineSprite()->GetFrameTimer(),
              mount.GetEngineSprite()->GetFrameTimer());
    back->GetGameObjectsByName("hidden", found);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_FALSE(found[0]->GetVisible());
    EXPECT_FALSE(found[0]->GetSceneNode()->GetChild(0)->GetVisible());
}
