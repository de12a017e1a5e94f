#pragma once

#include "math/Math_Color.h"
#include "math/Math_Vector2D.h"
#include "mygame/generated/MyGame_ContentClasses.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

// The rows the content is written in. Every value a row leaves out is the
// recipe's default.

// One animation: "\Resources\Animations\<sheet>.png" cut into columns x rows,
// one delay a frame; the animation is named after the sheet.
struct SheetAnimation {
    const char* sheet;
    int columns;
    int rows;
    std::vector<float> delays;
};

// `frames` frames of `delay` seconds each.
std::vector<float> Delays(int frames, float delay = 1.0f);
// Runs of equal delays in turn: {{0.25f, 5}, {1.0f, 1}}.
std::vector<float> DelayRuns(std::initializer_list<std::pair<float, int>> runs);

// The collision object of a row.
struct ColliderSettings {
    // 0 the bounding rectangle only, 1 the frame's shapes.
    std::uint8_t type = 0;
    float thickness = 4.0f;
    // The object's own collision group, and the groups it may collide with.
    std::uint8_t group = 0;
    std::vector<std::uint8_t> collidesWith{0};
    bool updateOnIdle = false;
    // The collision actor; the row's actor index when not given.
    std::optional<std::uint32_t> actor{};
};

// The bounding rectangle in group 0, the collider of most rows.
inline const ColliderSettings kRectangleCollider{};

// The rigid body of a row.
struct BodySettings {
    float mass = 0.0f;
    // The strength of a downward gravity force, when the body has one.
    std::optional<float> gravity{};
};

struct SpriteRow {
    const char* name = "";
    SpriteClass make{};
    std::vector<SheetAnimation> animations{};
    int actorIndex{};
    std::optional<ColliderSettings> collider{};
    Vector2D position{};
    float z{};
    Vector2D scale{1.0f, 1.0f};
    // Not playing and not looping.
    bool stopped = false;
    bool hidden = false;
    int animation = 0;
    int frame = 0;
    float opacity = 1.0f;
    // Flipped horizontally.
    bool flipped = false;
    std::optional<BodySettings> body{};
    // Set after the z-order.
    std::optional<Color> color{};
};

struct TextRow {
    const char* name = "";
    TextClass make{};
    const char* text = "";
    Vector2D position{};
    float z{};
    float scale = 1.0f;
    bool hidden = false;
    // None leaves the class's own colour.
    std::optional<Color> color = Color{0.0f, 0.0f, 0.0f, 1.0f};
};

template <class T>
struct ValueRange {
    T low{};
    T high{};
};

struct ParticleRow {
    const char* name = "";
    ParticleClass make{};
    std::uint32_t count{};
    Vector2D gravity{};
    // A point emitter at the offset, sending particles between the two
    // angles (degrees); or, with a radius, a disk emitter around the offset.
    Vector2D emitterOffset{};
    ValueRange<float> emitterAngles{};
    std::optional<float> diskRadius{};
    Vector2D position{};
    float z{};
    ValueRange<float> emissionRate{};
    std::uint32_t sourceBlend{};
    std::uint32_t destinationBlend{};
    ValueRange<Color> startColor{};
    ValueRange<Color> endColor{};
    ValueRange<float> lifetime{};
    ValueRange<float> speed{};
    // None keeps the system's own.
    std::optional<ValueRange<float>> rotationSpeed{};
    std::int32_t direction{};
    ValueRange<Vector2D> startScale{};
    ValueRange<Vector2D> endScale{};
    float warmUp{};
    // Hidden before its settings are made.
    bool hidden = false;
};

// One row of any kind; a layer's rows in creation order; a level's three
// layers.
using ContentRow = std::variant<SpriteRow, TextRow, ParticleRow>;
using LayerRows = std::vector<ContentRow>;
using LevelRows = std::array<LayerRows, 3>;
