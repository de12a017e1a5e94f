#pragma once

#include "mygame/MyGame_Terrain.h"

#include <vector>

// What tests look at inside a terrain.
class TerrainTestAccess {
public:
    using Column = Terrain::Column;

    static const std::vector<Column>& GetGroundColumns(const Terrain& terrain) { return terrain.m_groundColumns; }
    static const std::vector<Column>& GetBlocks(const Terrain& terrain) { return terrain.m_blocks; }
    static const std::vector<HorizontalLineSprite*>& GetLines(const Terrain& terrain) { return terrain.m_lines; }
    static std::size_t GetFreeTileCount(const Terrain& terrain) {
        return terrain.m_freeTopTiles.size() + terrain.m_freeFillTiles.size();
    }
    static std::int32_t GetHeight(const Terrain& terrain) { return terrain.m_height; }
};
