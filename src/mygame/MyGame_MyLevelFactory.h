#pragma once

#include "mygame/MyGame_LevelContent.h"
#include "tundra/Tundra_LevelFactory.h"

#include <array>
#include <cstdint>
#include <memory>

namespace Tundra {
class Camera;
class Layer;
class Level;
class Viewport;
}  // namespace Tundra
class IntroLevel;
class MenuLevel;
class GameLevel;

// The game's three levels: 0 the intro, 1 the title level, 2 a stage. Each
// is built with its three layers, camera and viewport, then filled by the
// content.
class MyLevelFactory : public Tundra::LevelFactory {
    TUN_DECLARE_CLASS(MyLevelFactory);
    enum LevelIndex : std::uint32_t { kIntroLevel = 0, kMenuLevel = 1, kGameLevel = 2, kLevelCount = 3 };
    enum LayerIndex : std::uint32_t { kHudLayer = 0, kWorldLayer = 1, kBackLayer = 2 };

    // Without content (the class registry's) the levels come out empty.
    MyLevelFactory() = default;
    explicit MyLevelFactory(std::unique_ptr<LevelContent> content);
    // The content is not shared: a copy builds empty levels.
    MyLevelFactory(const MyLevelFactory& other);
    ~MyLevelFactory() override;

    std::uint32_t GetLevelsCount() const override { return kLevelCount; }
    // The actors first, then the level; null (after the actors) for an
    // index past the last level.
    Tundra::Level* CreateLevel(std::uint32_t index) override;
    // Forgets the content's handles and every working pointer below.
    void OnLevelChanged() override;
    bool GetLevelIndex(const Core::String& name, std::uint32_t& index) const override;

    // What the content builders work with.
    CollisionActorTable& GetCollisionActors() { return m_collisionActors; }
    // The layer of that index of the level being built; null outside a build.
    Tundra::Layer* GetLayer(std::uint32_t index) const;
    Tundra::Viewport* GetViewport() const { return m_viewport; }
    Tundra::Camera* GetCamera(std::uint32_t level) const;
    // The level of that index last built; null once the level changed.
    Tundra::Level* GetLevel(std::uint32_t index) const;

private:
    Tundra::Level* BuildIntroLevel();
    Tundra::Level* BuildMenuLevel();
    Tundra::Level* BuildGameLevel();
    // Layers, camera and viewport of the level; then the content's layers.
    void BuildFrame(Tundra::Level& level, std::uint32_t index);
    // Children on their parents, found by name in the level being built.
    void MountObjects(Tundra::Level& level);

    std::unique_ptr<LevelContent> m_content;
    CollisionActorTable m_collisionActors{};
    std::array<Tundra::Camera*, kLevelCount> m_cameras{};
    Tundra::Viewport* m_viewport = nullptr;
    Tundra::Layer* m_hudLayer = nullptr;
    Tundra::Layer* m_worldLayer = nullptr;
    Tundra::Layer* m_backLayer = nullptr;
    IntroLevel* m_introLevel = nullptr;
    MenuLevel* m_menuLevel = nullptr;
    GameLevel* m_gameLevel = nullptr;
};
