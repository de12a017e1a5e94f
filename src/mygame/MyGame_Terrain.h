#pragma once

#include "math/Math_Vector2D.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace Core {
class File;
}
class MapTile;
class HorizontalLineSprite;
namespace Tundra {
class Layer;
}

// A stage's endless ground: columns of 46-unit tiles enter at the right
// edge, scroll left at 100 units per second and are recycled once they have
// left; the ground steps up and down one row at a time between flat runs,
// and raised blocks with a standing line on top pass from time to time.
// Asked to end, it lays a last flat run and stops when that reaches the
// right edge, telling where the ground lies.
class Terrain {
public:
    using EndCallback = std::function<void(float groundY)>;
    // Far wider than any display, and far longer than a stage's last run:
    // larger widths would only lay columns until memory runs out.
    static constexpr float kMaxScreenWidth = 16384.0f;

    Terrain() = default;
    Terrain(const Terrain&) = delete;
    Terrain& operator=(const Terrain&) = delete;
    ~Terrain();

    // Finds the tile templates in the current level and lays the first
    // column; without templates (or a world layer) the ground stays empty.
    // Once started, or for a width that is negative, not finite or wider
    // than any display, it does nothing.
    void Start(float screenWidth);
    // A negative or non-finite dt does nothing.
    void Update(float dt);
    // A last flat run of that many columns (0 to 100); the callback gets the
    // top tiles' y once the run has reached the right edge (at once, with 0,
    // for an empty ground). Asked once: later requests do nothing.
    void End(std::int32_t flatCount, EndCallback callback);

    // The fields, with the tiles and lines as references to objects the
    // level holds, and whether an end was asked with a callback.
    void Save(Core::File& file) const;
    // What Save wrote; a started terrain takes the world layer given, an
    // ending one the callback given (its owner rebuilds the one it asked
    // with). A value the terrain could not hold fails the stream and leaves
    // the terrain as it was.
    void Load(Core::File& file, Tundra::Layer* worldLayer, EndCallback callback);

    // The rightmost top tile's position; (0, 0) before the first column.
    Vector2D GetLeadingPosition() const;
    // The top tile of the sixth column from the left (of the last when
    // there are fewer); (0, 0) without columns.
    Vector2D GetRespawnPosition() const;
    bool IsEnding() const { return m_ending != 0; }
    // The ground no longer moves.
    bool IsEndReached() const { return m_endReached != 0; }

    // Shared by every terrain: each tile placed takes a depth a step below
    // the last one's, so that no two tiles tie in the draw order.
    static float GetTileDepthCounter();
    // A value outside [-1, 0] (or not a number) is refused.
    static void SetTileDepthCounter(float value);

private:
    friend class TerrainTestAccess;
    using Column = std::vector<MapTile*>;

    MapTile* GetTile(std::uint32_t pool, std::uint32_t variant, const Vector2D& position, float depthBase);
    void BuildColumn(std::uint32_t variant, float x, std::int32_t row);
    void StepUp();
    void StepDown();
    void FlatRun(std::int32_t count);
    void Extend();
    void AddBlock();
    // Hands a column's tiles back to the free arrays (a ground column's top
    // tile to the top tiles).
    void Recycle(Column& column, bool groundColumn);
    void Scroll(float dt);

    float m_screenWidth = 0.0f;
    // The stage's world layer, where the tiles and lines live; null until a
    // start found the templates.
    Tundra::Layer* m_worldLayer = nullptr;
    MapTile* m_topTemplate = nullptr;
    MapTile* m_fillTemplate = nullptr;
    std::vector<MapTile*> m_freeTopTiles;
    std::vector<MapTile*> m_freeFillTiles;
    std::vector<Column> m_groundColumns;
    std::vector<Column> m_blocks;
    std::vector<HorizontalLineSprite*> m_lines;
    MapTile* m_leadingTile = nullptr;
    std::int32_t m_height = 0;
    float m_blockCountdown = 0.0f;
    EndCallback m_endCallback;
    std::uint8_t m_ending = 0;
    std::uint8_t m_endReached = 0;
};
