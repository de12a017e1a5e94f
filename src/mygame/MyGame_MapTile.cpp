#include "mygame/MyGame_MapTile.h"

#include "core/Core_File.h"
#include "mygame/MyGame_Random.h"
#include "mygame/MyGame_StageTheme.h"

TUN_DEFINE_CLASS(MapTile)

namespace {

constexpr std::uint32_t kHighestVariant = MapTile::kBlockTop;

bool RandomBit() { return RandomInt(0, 1) != 0; }

}  // namespace

MapTile::MapTile(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations) : Sprite(animations) {}

MapTile::MapTile(const MapTile& other) : Sprite(other) {}

void MapTile::Save(Core::File& file) const {
    Sprite::Save(file);
    file.WriteU32(m_variant);
    file.WriteU8(m_flag);
}

void MapTile::Load(Core::File& file) {
    Sprite::Load(file);
    std::uint32_t variant = m_variant;
    std::uint8_t flag = m_flag;
    file.ReadU32(variant);
    file.ReadU8(flag);
    if (variant > kHighestVariant) {
        file.SetFailed();
    }
    if (file.HasFailed()) {
        return;
    }
    m_variant = variant;
    m_flag = flag;
}

// Each theme has three top looks (two flat, one slope) and five filling
// looks (two plain, block filling, block top, under a slope) on its sprite
// sheet; the draws go frame, horizontal flip, vertical flip.
void MapTile::SetVariant(std::uint32_t variant) {
    if (variant > kHighestVariant) {
        return;
    }
    m_variant = variant;
    const std::int32_t theme = GetCurrentStageTheme();
    const std::int32_t topBase = 3 * theme;
    const std::int32_t fillBase = 5 * theme;
    switch (variant) {
        case kFlatTop:
            SetCurrentFrameIndex(topBase + RandomInt(0, 1), true);
            SetFlipHorizontal(false);
            break;
        case kStepUpTop:
        case kStepDownTop:
            SetCurrentFrameIndex(topBase + 2, true);
            SetFlipHorizontal(variant == kStepDownTop);
            break;
        case kUnderStepUp:
        case kUnderStepDown:
            SetCurrentFrameIndex(fillBase + 4, true);
            SetFlipHorizontal(variant == kUnderStepDown);
            SetFlipVertical(false);
            break;
        case kFilling:
        case kBlockFilling: {
            SetCurrentFrameIndex(variant == kFilling ? fillBase + RandomInt(0, 1) : fillBase + 2, true);
            const bool horizontal = RandomBit();
            SetFlipHorizontal(horizontal);
            SetFlipVertical(RandomBit());
            break;
        }
        case kBlockTop:
            SetCurrentFrameIndex(fillBase + 3, true);
            SetFlipHorizontal(false);
            SetFlipVertical(false);
            break;
        default:
            break;
    }
}
