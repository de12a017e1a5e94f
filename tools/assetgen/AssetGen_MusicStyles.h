#pragma once

#include <vector>

#include "AssetGen_MusicTrack.h"

// The game's music: nine title-screen tracks (a shuffled playlist) and three
// stage themes, each in its own key, tempo and groove.
namespace AssetGen {

std::vector<TrackStyle> TitleTracks();
std::vector<TrackStyle> StageThemes();

}  // namespace AssetGen
