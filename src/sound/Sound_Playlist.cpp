#include "sound/Sound_Playlist.h"

#include "core/Core_File.h"
#include "sound/Sound_JukeBox.h"
#include "sound/Sound_MusicPath.h"

#include <algorithm>

namespace Tundra {

void Playlist::AddTrack(const Core::String& path, SoundData* sound, std::int32_t repeats) {
    m_tracks.push_back({path, sound, repeats, 0});
}

bool Playlist::AllPlayed() const {
    return std::all_of(m_tracks.begin(), m_tracks.end(), [](const Track& track) { return track.played != 0; });
}

void Playlist::ClearPlayedMarks() {
    for (Track& track : m_tracks) {
        track.played = 0;
    }
}

std::int32_t Playlist::GetTrackOfStoredIndex(std::int32_t storedIndex) const {
    return storedIndex >= 0 && storedIndex < GetStoredTrackCount()
               ? m_storedTrackPlaces[static_cast<std::size_t>(storedIndex)]
               : -1;
}

void Playlist::Save(Core::File& file) const {
    file << m_name;
    file << static_cast<const Core::Object*>(m_owner);
    file.WriteU32(static_cast<std::uint32_t>(m_tracks.size()));
    for (const Track& track : m_tracks) {
        file << ToStoredMusicPath(track.path);
        file.WriteI32(track.repeats);
    }
}

void Playlist::Load(Core::File& file) {
    file >> m_name;
    file >> m_owner;
    std::uint32_t count = 0;
    file.ReadU32(count);
    m_tracks.clear();
    m_storedTrackPlaces.clear();
    // One by one: a hostile count fails when the bytes run out.
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        Core::String storedPath;
        std::int32_t repeats = 0;
        file >> storedPath;
        file.ReadI32(repeats);
        if (file.HasFailed()) {
            break;
        }
        Core::String path;
        SoundData* sound =
            m_owner != nullptr && FromStoredMusicPath(storedPath, path) ? m_owner->FindMusicSound(path) : nullptr;
        m_storedTrackPlaces.push_back(sound != nullptr ? GetTrackCount() : -1);
        if (sound != nullptr) {
            AddTrack(path, sound, std::max(repeats, 0));
        }
    }
}

}  // namespace Tundra

TUN_DEFINE_CLASS(Tundra::Playlist)
