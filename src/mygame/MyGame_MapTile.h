#pragma once

#include "tundra/Tundra_Sprite.h"

#include <cstdint>
#include <vector>

// One square tile of the ground, 46 units wide and high, showing one of the
// tile looks of the current stage's theme.
class MapTile : public Tundra::Sprite {
    TUN_DECLARE_CLASS(MapTile);
    enum Variant : std::uint32_t {
        kFlatTop = 0,
        kStepUpTop = 1,
        kStepDownTop = 2,
        kUnderStepUp = 3,
        kUnderStepDown = 4,
        kFilling = 7,
        kBlockFilling = 8,
        kBlockTop = 9,
    };

    MapTile() = default;
    explicit MapTile(const std::vector<Core::RefPtr<Tundra::SpriteAnimation>>& animations);
    // The sprite part; the variant starts cleared.
    MapTile(const MapTile& other);

    // The variant and flag after the sprite part; a stored variant above 9
    // fails the stream.
    void Save(Core::File& file) const override;
    void Load(Core::File& file) override;

    // Chooses the frame and flips of the look in the current stage's theme
    // (random draws: frame, horizontal flip, vertical flip). Variants 5 and
    // 6 change no look; one above 9 is refused.
    void SetVariant(std::uint32_t variant);
    std::uint32_t GetVariant() const { return m_variant; }

private:
    std::uint32_t m_variant = 0;
    std::uint8_t m_flag = 0;
};
