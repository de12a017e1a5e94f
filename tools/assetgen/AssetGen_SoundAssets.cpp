#include "AssetGen_SoundAssets.h"

#include "AssetGen_MusicStyles.h"
#include "AssetGen_MusicTrack.h"
#include "AssetGen_SoundEffects.h"

namespace AssetGen {
namespace {

constexpr float kEffectQuality = 0.5f;
constexpr float kMusicQuality = 0.2f;

}  // namespace

std::vector<SoundAsset> SoundAssets() {
    std::vector<SoundAsset> assets = {
        {"buttonHover.ogg", Effects::ButtonHover, kEffectQuality},
        {"playerHit.ogg", Effects::PlayerHit, kEffectQuality},
        {"playerDeath.ogg", Effects::PlayerDeath, kEffectQuality},
        {"playerCollect.ogg", Effects::PlayerCollect, kEffectQuality},
        {"weaponStart0.ogg", Effects::BlasterShot, kEffectQuality},
        {"weaponStart1.ogg", Effects::BeamShot, kEffectQuality},
        {"weaponStart2.ogg", Effects::FlameLoop, kEffectQuality},
        {"weaponStart3.ogg", Effects::RapidFireLoop, kEffectQuality},
        {"weaponEnd2.ogg", Effects::FlameEnd, kEffectQuality},
        {"weaponEnd3.ogg", Effects::RapidFireEnd, kEffectQuality},
    };
    const std::vector<TrackStyle> title = TitleTracks();
    for (std::size_t i = 0; i < title.size(); ++i) {
        assets.push_back({"music (" + std::to_string(i + 1) + ").ogg",
                          [style = title[i]] { return RenderTrack(style); }, kMusicQuality});
    }
    const std::vector<TrackStyle> stage = StageThemes();
    for (std::size_t i = 0; i < stage.size(); ++i) {
        assets.push_back({"bgm" + std::to_string(i) + ".ogg", [style = stage[i]] { return RenderTrack(style); },
                          kMusicQuality});
    }
    return assets;
}

}  // namespace AssetGen
