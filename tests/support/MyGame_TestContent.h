#pragma once

#include "core/Core_RefPtr.h"
#include "core/Core_TrackedMemory.h"
#include "math/Math_Vector2D.h"
#include "mygame/MyGame_LevelContent.h"
#include "mygame/MyGame_SpawnWave.h"
#include "mygame/generated/MyGame_ContentRecipe.h"
#include "tundra/Tundra_Layer.h"
#include "tundra/Tundra_SpriteAnimation.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace Tundra {
class Text;
}  // namespace Tundra

// Level content for tests: each layer of each level is filled by the
// callback set for it, with objects placed by name as the game's content
// places them; the factory's calls are recorded.
namespace mygametest {

using ::LayerBuild;

class TestContent : public LevelContent {
public:
    using Builder = std::function<void(const LayerBuild&)>;

    // Replaces the builder of that layer of that level.
    void OnBuild(std::uint32_t level, std::uint32_t layer, Builder builder);
    // Runs after the layer's present builder.
    void ThenBuild(std::uint32_t level, std::uint32_t layer, Builder builder);
    // Fills the factory's actor table at the start of every level build.
    void OnLoadActors(std::function<void(MyLevelFactory&)> builder) { m_actorBuilder = std::move(builder); }

    void LoadCollisionActors(MyLevelFactory& factory) override;
    void BuildLayer(MyLevelFactory& factory, std::uint32_t level, std::uint32_t layer) override;
    void ForgetObjects() override { ++forgetCount; }

    int actorLoads = 0;
    int forgetCount = 0;
    // (level, layer) in the order the factory asked for them.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> builtLayers;

private:
    std::map<std::pair<std::uint32_t, std::uint32_t>, Builder> m_builders;
    std::function<void(MyLevelFactory&)> m_actorBuilder;
};

// `count` animations of `frames` frames each (0.1 s a frame), each on a
// sheet of its own ("test/animation<i>.png").
std::vector<Core::RefPtr<Tundra::SpriteAnimation>> TestAnimations(int count, int frames = 12);

// A sprite of class T (constructed from an animation list) named `name`,
// at the position, added to the layer being built.
template <class T>
T& PlaceSprite(const LayerBuild& build, const char* name, const Vector2D& position = {}, int animations = 1) {
    auto* sprite = TUN_NEW(T, TestAnimations(animations));
    sprite->SetName(name);
    sprite->SetOldPosition(position);
    build.layer.AddGameObject(sprite);
    return *sprite;
}

// A text object without a font.
Tundra::Text& PlaceText(const LayerBuild& build, const char* name, const char* text, const Vector2D& position = {});

// The seventeen templates as plain sprites named as their slots, but for
// the slots in `skip`.
void PlaceTemplates(const LayerBuild& build, std::initializer_list<std::uint32_t> skip = {});

// "MapTileColliderTemplate" and "MapTileTemplate", tiles of one animation.
void PlaceTileTemplates(const LayerBuild& build);

// Rows placed as the game's content places them, by the game's recipe:
// animations cut from the generated sheets, the object's settings in the
// content's order, its collision object over the factory's actor and its
// body.
using ::AnimationList;
using ::BodySettings;
using ::ColliderSettings;
using ::DelayRuns;
using ::Delays;
using ::MakeParticles;
using ::MakeSprite;
using ::MakeText;
using ::ParticleRow;
using ::PlaceParticleRow;
using ::PlaceSpriteRow;
using ::PlaceTextRow;
using ::SheetAnimation;
using ::SheetAnimations;
using ::SpriteRow;
using ::TextRow;
template <class T>
using Range = ::ValueRange<T>;

// The title level (level 1): the game's own rows of its HUD and world
// layers, with the game's collision actors.
void AddTitleContent(TestContent& content);

// The stage (level 2): the game's own rows of its HUD and world layers, with
// the game's collision actors; no layer reads a static-collision file.
// Rows a test can do without: the enemies' templates (the waves then bring
// nothing), the bosses' bodies (a boss stage then plays as one without a
// boss).
struct StageLeftOut {
    bool enemies = false;
    bool bosses = false;
};
void AddStageContent(TestContent& content, StageLeftOut leftOut = {});
std::unique_ptr<TestContent> MakeStageContent();

// A stage stand-in that records what a wave spawns.
class RecordingSpawner : public WaveSpawner {
public:
    enum Kind { kGround, kFlying, kRolling };
    struct Call {
        Kind kind;
        std::int32_t path = 0;
        float phase = 0.0f;
        friend bool operator==(const Call&, const Call&) = default;
    };

    void SpawnGroundEnemy() override { calls.push_back({kGround}); }
    void SpawnFlyingEnemy(std::int32_t path, float phase) override { calls.push_back({kFlying, path, phase}); }
    void SpawnRollingSpike() override { calls.push_back({kRolling}); }

    std::vector<Call> calls;
};

}  // namespace mygametest
