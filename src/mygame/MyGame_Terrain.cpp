#include "mygame/MyGame_Terrain.h"

#include "mygame/MyGame.h"
#include "mygame/MyGame_HorizontalLineSprite.h"
#include "mygame/MyGame_MapTile.h"
#include "mygame/MyGame_Random.h"
#include "tundra/Tundra_FindObject.h"
#include "tundra/Tundra_Layer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kTileSize = 46.0f;
// Row r's tiles stand at y = 46 r + 24; the first column at x 24.
constexpr float kRowOffset = 24.0f;
constexpr std::int32_t kTopRow = 3;
constexpr float kScrollSpeed = 100.0f;
// A ground column is recycled two tiles past the left edge, a block one.
constexpr float kGroundRecycleX = -92.0f;
constexpr float kBlockRecycleX = -46.0f;
constexpr float kBlockDepthBase = -1.0f;
constexpr float kDepthStep = 0.00001f;
constexpr float kDepthFloor = -1.0f;
// The line stands this far above its block's top row centre.
constexpr float kLineRowOffset = 41.0f;
constexpr std::int32_t kMaxEndRun = 100;

enum Pool : std::uint32_t { kTopPool = 0, kFillPool = 1 };

float g_tileDepthCounter = 0.0f;

float RowY(std::int32_t row) { return kTileSize * static_cast<float>(row) + kRowOffset; }

// Moves without a sweep: a placed or recycled tile did not travel there.
void Teleport(Tundra::GameObject& object, const Vector2D& position) {
    object.SetOldPosition(position);
    object.SetPosition(position);
}

}  // namespace

Terrain::~Terrain() = default;

float Terrain::GetTileDepthCounter() { return g_tileDepthCounter; }

void Terrain::SetTileDepthCounter(float value) {
    if (value >= kDepthFloor && value <= 0.0f) {
        g_tileDepthCounter = value;
    }
}

void Terrain::Start(float screenWidth) {
    if (m_worldLayer != nullptr || !(screenWidth >= 0.0f && screenWidth <= kMaxScreenWidth)) {
        return;
    }
    m_screenWidth = screenWidth;
    m_topTemplate = Tundra::FindObject<MapTile>("MapTileColliderTemplate");
    m_fillTemplate = Tundra::FindObject<MapTile>("MapTileTemplate");
    m_height = RandomInt(0, kTopRow);
    MyGame* game = GetGame();
    Tundra::Layer* world = game != nullptr ? game->GetWorldLayer() : nullptr;
    if (m_topTemplate == nullptr || m_fillTemplate == nullptr || world == nullptr) {
        // Without tiles to clone the ground stays empty.
        m_topTemplate = nullptr;
        m_fillTemplate = nullptr;
        return;
    }
    m_worldLayer = world;
    BuildColumn(MapTile::kFlatTop, kRowOffset, m_height);
    m_blockCountdown = 0.0f;
}

void Terrain::Update(float dt) {
    if (m_endReached != 0 || !std::isfinite(dt) || dt < 0.0f) {
        return;
    }
    if (m_ending == 0) {
        Extend();
        Scroll(dt);
        return;
    }
    if (m_leadingTile == nullptr || m_leadingTile->GetPositionX() <= m_screenWidth) {
        // The callback may end the stage and free this terrain with it:
        // nothing here is touched after it.
        const float groundY = GetLeadingPosition().y;
        const EndCallback callback = std::move(m_endCallback);
        m_endCallback = nullptr;
        m_endReached = 1;
        if (callback) {
            callback(groundY);
        }
        return;
    }
    Scroll(dt);
}

void Terrain::End(std::int32_t flatCount, EndCallback callback) {
    if (m_ending != 0 || flatCount < 0 || flatCount > kMaxEndRun) {
        return;
    }
    if (m_leadingTile != nullptr) {
        if (m_height > kTopRow) {
            StepDown();
        }
        FlatRun(flatCount);
    }
    m_endCallback = std::move(callback);
    m_ending = 1;
}

Vector2D Terrain::GetLeadingPosition() const {
    return m_leadingTile != nullptr ? m_leadingTile->GetPosition() : Vector2D{0.0f, 0.0f};
}

Vector2D Terrain::GetRespawnPosition() const {
    constexpr std::size_t kRespawnColumn = 5;
    if (m_groundColumns.empty()) {
        return {0.0f, 0.0f};
    }
    return m_groundColumns[std::min(kRespawnColumn, m_groundColumns.size() - 1)].front()->GetPosition();
}

MapTile* Terrain::GetTile(std::uint32_t pool, std::uint32_t variant, const Vector2D& position, float depthBase) {
    g_tileDepthCounter -= kDepthStep;
    if (g_tileDepthCounter < kDepthFloor) {
        g_tileDepthCounter = 0.0f;
    }
    std::vector<MapTile*>& freeTiles = pool == kTopPool ? m_freeTopTiles : m_freeFillTiles;
    MapTile* tile = nullptr;
    if (!freeTiles.empty()) {
        tile = freeTiles.back();
        freeTiles.pop_back();
    } else {
        const MapTile* source = pool == kTopPool ? m_topTemplate : m_fillTemplate;
        tile = static_cast<MapTile*>(source->Clone());
        m_worldLayer->AddGameObject(tile);
    }
    tile->SetZOrder(depthBase + g_tileDepthCounter);
    tile->SetVisible(true);
    Teleport(*tile, position);
    tile->SetVariant(variant);
    return tile;
}

void Terrain::BuildColumn(std::uint32_t variant, float x, std::int32_t row) {
    Column column;
    column.push_back(GetTile(kTopPool, variant, {x, RowY(row)}, 0.0f));
    m_leadingTile = column.front();
    std::int32_t below = row - 1;
    if ((variant == MapTile::kStepUpTop || variant == MapTile::kStepDownTop) && below >= 0) {
        const std::uint32_t under = variant == MapTile::kStepUpTop ? MapTile::kUnderStepUp : MapTile::kUnderStepDown;
        column.push_back(GetTile(kFillPool, under, {x, RowY(below)}, 0.0f));
        --below;
    }
    for (; below >= 0; --below) {
        column.push_back(GetTile(kFillPool, MapTile::kFilling, {x, RowY(below)}, 0.0f));
    }
    m_groundColumns.push_back(std::move(column));
}

void Terrain::StepUp() {
    ++m_height;
    BuildColumn(MapTile::kStepUpTop, m_leadingTile->GetPositionX() + kTileSize, m_height);
}

void Terrain::StepDown() {
    BuildColumn(MapTile::kStepDownTop, m_leadingTile->GetPositionX() + kTileSize, m_height);
    --m_height;
}

void Terrain::FlatRun(std::int32_t count) {
    for (std::int32_t i = 0; i < count; ++i) {
        BuildColumn(MapTile::kFlatTop, m_leadingTile->GetPositionX() + kTileSize, m_height);
    }
}

// The ground stays between rows 0 and 3, every slope one row high, with
// flat runs of 4 to 8 columns between slopes.
void Terrain::Extend() {
    // Nothing left of where columns are recycled is ever shown, so the ground
    // goes on from there at the furthest (a leading tile read from a stream
    // may lie anywhere): the catch-up is at most a screen of columns, and
    // never starts so far out that adding a tile's width no longer moves x.
    if (m_leadingTile != nullptr && !(m_leadingTile->GetPositionX() >= kGroundRecycleX)) {
        m_leadingTile->SetPositionX(kGroundRecycleX);
    }
    while (m_leadingTile != nullptr && m_leadingTile->GetPositionX() <= m_screenWidth) {
        switch (m_leadingTile->GetVariant()) {
            case MapTile::kStepUpTop:
                if (m_height < kTopRow && RandomInt(0, 1) != 0) {
                    StepUp();
                } else {
                    FlatRun(RandomInt(4, 8));
                }
                break;
            case MapTile::kStepDownTop:
                if (m_height < 1 || RandomInt(0, 1) == 0) {
                    FlatRun(RandomInt(4, 8));
                } else {
                    StepDown();
                }
                break;
            default:
                if (m_height >= kTopRow) {
                    StepDown();
                } else if (m_height < 1 || RandomInt(0, 1) == 0) {
                    StepUp();
                } else {
                    StepDown();
                }
                break;
        }
    }
}

void Terrain::AddBlock() {
    const std::int32_t columns = RandomInt(3, 6);
    const std::int32_t rows = RandomInt(4, 6);
    float x = 0.0f;
    for (std::int32_t i = 0; i < columns; ++i) {
        x = std::trunc(m_screenWidth + kRowOffset + kTileSize * static_cast<float>(i));
        Column column;
        column.push_back(GetTile(kFillPool, MapTile::kBlockTop, {x, RowY(rows)}, kBlockDepthBase));
        for (std::int32_t row = rows - 1; row >= 0; --row) {
            column.push_back(GetTile(kFillPool, MapTile::kBlockFilling, {x, RowY(row)}, kBlockDepthBase));
        }
        m_blocks.push_back(std::move(column));
    }
    const Vector2D linePosition{x + kRowOffset, kTileSize * static_cast<float>(rows) + kLineRowOffset};
    m_lines.push_back(TUN_NEW(HorizontalLineSprite, linePosition, kTileSize * static_cast<float>(columns)));
}

// Recycled tiles wait hidden where they left the screen.
void Terrain::Recycle(Column& column, bool groundColumn) {
    for (std::size_t i = 0; i < column.size(); ++i) {
        column[i]->SetVisible(false);
        (groundColumn && i == 0 ? m_freeTopTiles : m_freeFillTiles).push_back(column[i]);
    }
}

void Terrain::Scroll(float dt) {
    m_blockCountdown -= dt;
    const float shift = -kScrollSpeed * dt;
    for (std::size_t i = 0; i < m_groundColumns.size();) {
        const float x = m_groundColumns[i].front()->GetPositionX() + shift;
        if (x <= kGroundRecycleX) {
            if (m_groundColumns[i].front() == m_leadingTile) {
                // A long frame took the whole ground off: the next columns
                // continue from where the leading one went, or from where
                // columns are recycled when it went further.
                m_leadingTile->SetPositionX(std::max(x, kGroundRecycleX));
            }
            Recycle(m_groundColumns[i], true);
            m_groundColumns.erase(m_groundColumns.begin() + static_cast<std::ptrdiff_t>(i));
            if (m_blockCountdown <= 0.0f) {
                m_blockCountdown = RandomFloat(6.0f, 10.0f);
                AddBlock();
            }
            continue;
        }
        for (MapTile* tile : m_groundColumns[i]) {
            tile->SetPositionX(x);
        }
        ++i;
    }
    for (std::size_t i = 0; i < m_blocks.size();) {
        const float x = m_blocks[i].front()->GetPositionX() + shift;
        if (x <= kBlockRecycleX) {
            Recycle(m_blocks[i], false);
            m_blocks.erase(m_blocks.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        for (MapTile* tile : m_blocks[i]) {
            tile->SetPositionX(x);
        }
        ++i;
    }
    for (std::size_t i = 0; i < m_lines.size();) {
        HorizontalLineSprite* line = m_lines[i];
        const float x = line->GetPositionX() + shift;
        if (x < 0.0f) {
            line->Destroy();
            m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        Teleport(*line, {x, line->GetPositionY()});
        ++i;
    }
}
