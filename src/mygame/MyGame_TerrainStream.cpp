#include "core/Core_File.h"
#include "mygame/MyGame_HorizontalLineSprite.h"
#include "mygame/MyGame_MapTile.h"
#include "mygame/MyGame_StreamLinks.h"
#include "mygame/MyGame_Terrain.h"

#include <cmath>

namespace {

template <class T>
void WriteList(Core::File& file, const std::vector<T*>& objects) {
    file.WriteU32(static_cast<std::uint32_t>(objects.size()));
    for (const T* object : objects) {
        file << object;
    }
}

// Every entry an object of the class that the level holds.
template <class T>
void ReadList(Core::File& file, std::vector<T*>& objects) {
    std::uint32_t count = 0;
    file.ReadU32(count);
    // One by one: a hostile count fails when the bytes run out.
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        T* object = nullptr;
        file >> object;
        if (object == nullptr || !HeldInItsLayer(object)) {
            file.SetFailed();
            return;
        }
        objects.push_back(object);
    }
}

template <class T>
void WriteColumns(Core::File& file, const std::vector<std::vector<T*>>& columns) {
    file.WriteU32(static_cast<std::uint32_t>(columns.size()));
    for (const std::vector<T*>& column : columns) {
        WriteList(file, column);
    }
}

template <class T>
void ReadColumns(Core::File& file, std::vector<std::vector<T*>>& columns) {
    std::uint32_t count = 0;
    file.ReadU32(count);
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        std::vector<T*> column;
        ReadList(file, column);
        // A column always has its top tile.
        if (column.empty()) {
            file.SetFailed();
        }
        columns.push_back(std::move(column));
    }
}

}  // namespace

void Terrain::Save(Core::File& file) const {
    file.WriteU8(m_worldLayer != nullptr ? 1 : 0);
    file.WriteF32(m_screenWidth);
    file << m_topTemplate;
    file << m_fillTemplate;
    WriteList(file, m_freeTopTiles);
    WriteList(file, m_freeFillTiles);
    WriteColumns(file, m_groundColumns);
    WriteColumns(file, m_blocks);
    WriteList(file, m_lines);
    file << m_leadingTile;
    file.WriteI32(m_height);
    file.WriteF32(m_blockCountdown);
    file.WriteU8(m_endCallback ? 1 : 0);
    file.WriteU8(m_ending);
    file.WriteU8(m_endReached);
}

void Terrain::Load(Core::File& file, Tundra::Layer* worldLayer, EndCallback callback) {
    std::uint8_t started = 0;
    float screenWidth = 0.0f;
    MapTile* topTemplate = nullptr;
    MapTile* fillTemplate = nullptr;
    std::vector<MapTile*> freeTopTiles;
    std::vector<MapTile*> freeFillTiles;
    std::vector<Column> groundColumns;
    std::vector<Column> blocks;
    std::vector<HorizontalLineSprite*> lines;
    MapTile* leadingTile = nullptr;
    std::int32_t height = 0;
    float blockCountdown = 0.0f;
    std::uint8_t hasCallback = 0;
    std::uint8_t ending = 0;
    std::uint8_t endReached = 0;
    file.ReadU8(started);
    file.ReadF32(screenWidth);
    file >> topTemplate;
    file >> fillTemplate;
    ReadList(file, freeTopTiles);
    ReadList(file, freeFillTiles);
    ReadColumns(file, groundColumns);
    ReadColumns(file, blocks);
    ReadList(file, lines);
    file >> leadingTile;
    file.ReadI32(height);
    file.ReadF32(blockCountdown);
    file.ReadU8(hasCallback);
    file.ReadU8(ending);
    file.ReadU8(endReached);
    // A started terrain has its templates, a world layer to put tiles in and
    // a leading tile; an ending one the callback it was asked with.
    const bool startedWell = started == 0 || (worldLayer != nullptr && topTemplate != nullptr &&
                                              fillTemplate != nullptr && leadingTile != nullptr);
    const bool linksHeld =
        HeldInItsLayer(topTemplate) && HeldInItsLayer(fillTemplate) && HeldInItsLayer(leadingTile);
    if (file.HasFailed() || started > 1 || hasCallback > 1 || ending > 1 || endReached > 1 || !startedWell ||
        !linksHeld || !(screenWidth >= 0.0f && screenWidth <= kMaxScreenWidth) || !std::isfinite(blockCountdown) ||
        height < 0 || height > 3 || (hasCallback != 0 && (ending == 0 || !callback)) ||
        (endReached != 0 && ending == 0)) {
        file.SetFailed();
        return;
    }
    m_worldLayer = started != 0 ? worldLayer : nullptr;
    m_screenWidth = screenWidth;
    m_topTemplate = topTemplate;
    m_fillTemplate = fillTemplate;
    m_freeTopTiles = std::move(freeTopTiles);
    m_freeFillTiles = std::move(freeFillTiles);
    m_groundColumns = std::move(groundColumns);
    m_blocks = std::move(blocks);
    m_lines = std::move(lines);
    m_leadingTile = leadingTile;
    m_height = height;
    m_blockCountdown = blockCountdown;
    m_endCallback = hasCallback != 0 ? std::move(callback) : EndCallback();
    m_ending = ending;
    m_endReached = endReached;
}
