#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_RefPtrVector.h"
#include "engine/Engine_Sprite.h"
#include "math/Math_Color.h"
#include "tundra/Tundra_Circle.h"
#include "tundra/Tundra_GameObject.h"
#include "tundra/Tundra_Line.h"
#include "tundra/Tundra_SpriteAnimation.h"

#include <array>
#include <cstdint>
#include <vector>

namespace Tundra {

class Level;
class Viewport;

// The game object that draws an animated, textured quad: its scene node
// carries one engine sprite playing named animations. The sprite keeps its
// collision object's shapes on the drawn frame, and can show those shapes
// and their bounding rectangle as line and circle objects of its layer.
// Made by the class registry it has no render node until Load: the
// animation setters then do nothing and the getters give defaults.
class Sprite : public GameObject {
    TUN_DECLARE_CLASS(Sprite);
    Sprite() = default;
    explicit Sprite(const std::vector<Core::RefPtr<SpriteAnimation>>& animations);
    // Used by Clone: the node is copied, the displays start empty and are
    // made again by the clone's first update.
    Sprite(const Sprite& other);
    Sprite& operator=(const Sprite&) = delete;

    void PushToLua(lua_State* state) const override;
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;
    void NetworkSyncSend(Core::File& file) const override;
    void NetworkSyncReceive(Core::File& file) override;
    // Hands the drawn frame to the collision object and updates the
    // displays, then the object's own tick.
    void EngineUpdate(float dt) override;
    void Update(float dt) override;
    void RenderSync(float dt) override;

    Core::RefPtr<Engine::Sprite> GetEngineSprite() const { return m_sprite; }

    // Animation control: a current index or frame chosen again changes nothing.
    void SetCurrentAnimationIndex(int index, bool restart);
    int GetCurrentAnimationIndex() const;
    void SetCurrentAnimationName(const Core::String& name, bool restart);
    Core::String GetCurrentAnimationName() const;
    int GetAnimationsCount() const;
    void SetCurrentFrameIndex(int index, bool force);
    int GetCurrentFrameIndex() const;
    void GoToFirstFrame();
    void GoToLastFrame();
    int GetFramesCount() const;
    // Plays (from the first frame after an end), or stops on frame 0.
    void Play(bool play);
    void Stop() { Play(false); }
    void Pause();
    bool IsPlaying() const;
    bool IsPaused() const;
    void SetLoop(bool loop);
    bool GetLoop() const;
    bool IsEndOfAnimation() const;
    // Negative speeds become 0.
    void SetAnimationSpeed(float speed);
    float GetAnimationSpeed() const;
    // The node is told only of a change.
    void SetFlipHorizontal(bool flip);
    bool GetFlipHorizontal() const;
    void SetFlipVertical(bool flip);
    bool GetFlipVertical() const;
    // Of the given animation; 0 when there is none.
    int GetFrameWidth(int animation) const;
    int GetFrameHeight(int animation) const;
    float GetFrameDelay(int animation, int frame) const;
    float GetCurrentFrameDelay() const;
    // Drawn without the view test, in screen space.
    void SetHUDObject(bool hud);
    bool IsHUDObject() const;
    // Whether the drawn frame may show in the viewport: false without a
    // viewport, its camera or a render node, and otherwise only when the
    // frame lies wholly outside the camera's view.
    bool IsInViewport(const Viewport* viewport) const;

    // Which collision-asset actor the collision object's shapes come from; -1 none.
    void SetCollisionActorIndex(int index) { m_collisionActorIndex = index; }
    int GetCollisionActorIndex() const { return m_collisionActorIndex; }
    // Switching a display off destroys its objects.
    void SetVisibleCollisionData(bool visible);
    bool GetVisibleCollisionData() const { return m_collisionDataVisible; }
    void SetCollisionDataColor(const Color& color) { m_collisionDataColor = color; }
    const Color& GetCollisionDataColor() const { return m_collisionDataColor; }
    void SetVisibleBoundingRectangle(bool visible);
    bool GetVisibleBoundingRectangle() const { return m_boundingRectangleVisible; }
    void SetBoundingRectangleColor(const Color& color) { m_boundingRectangleColor = color; }
    const Color& GetBoundingRectangleColor() const { return m_boundingRectangleColor; }
    // How many display lines (circles) show a shape of the current frame.
    int GetLinesInUse() const { return m_linesInUse; }
    int GetCirclesInUse() const { return m_circlesInUse; }
    const std::vector<Core::RefPtr<Line>>& GetSegmentLines() const { return m_segmentLines; }
    const std::vector<Core::RefPtr<Circle>>& GetCircleObjects() const { return m_circleObjects; }
    const std::array<Core::RefPtr<Line>, 4>& GetBoundingRectangleLines() const { return m_rectangleLines; }

    // For the level's stream: the other object's ID for each sprite record
    // of the collision object, by bounding rectangle and then by shape
    // (0xFFFFFFFF once the other is gone); reading puts back into each
    // record the collision handle of the sprite with that ID (searched in
    // every layer of the given level for rectangle records, in this
    // sprite's layer for shape records), 0 when there is none. The level is
    // the one being read: a loaded game's level is not current yet.
    void WriteCollidedSpriteIds(Core::File& file) const;
    void ReadCollidedSpriteIds(Core::File& file, const Level& level);

private:
    // Hangs the node under the scene node in place of the old one.
    void SetRenderNode(const Core::RefPtr<Engine::Sprite>& node);
    void LoadAnimationState(Core::File& file);
    void LoadCollisionActor();
    void UpdateShapeDisplay();
    void UpdateSegmentDisplay(const Collision2D::DynamicObject& object);
    void UpdateCircleDisplay(const Collision2D::DynamicObject& object);
    void UpdateBoundingRectangleDisplay(const Collision2D::DynamicObject& object);
    // Gives the layer a new display object at this sprite's z-order + 0.1.
    void AddDisplayObject(GameObject& object);

    Core::RefPtr<Engine::Sprite> m_sprite;
    std::int32_t m_collisionActorIndex = -1;
    std::vector<Core::RefPtr<Line>> m_segmentLines;
    std::vector<Core::RefPtr<Circle>> m_circleObjects;
    std::int32_t m_linesInUse = 0;
    std::int32_t m_circlesInUse = 0;
    bool m_collisionDataVisible = false;
    std::array<Core::RefPtr<Line>, 4> m_rectangleLines;
    bool m_boundingRectangleVisible = false;
    Color m_collisionDataColor{0.0f, 0.0f, 0.0f, 1.0f};
    Color m_boundingRectangleColor{0.0f, 0.0f, 0.0f, 1.0f};
};

}  // namespace Tundra
