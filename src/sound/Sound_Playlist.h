#pragma once

#include "core/Core_Object.h"
#include "core/Core_String.h"

#include <cstdint>
#include <vector>

struct SoundData;

namespace Tundra {

class JukeBox;

// A named list of a jukebox's tracks. The sounds belong to the sound engine;
// the jukebox that owns the playlist resolves stored paths to them on load.
class Playlist : public Core::Object {
    TUN_DECLARE_CLASS(Playlist);
    struct Track {
        // The music file's full path.
        Core::String path;
        SoundData* sound = nullptr;
        // Extra plays before the jukebox moves on (0 = once).
        std::int32_t repeats = 0;
        // Set once the track finished in the current pass.
        std::uint8_t played = 0;
    };

    Playlist() = default;
    Playlist(const Core::String& name, JukeBox* owner) : m_name(name), m_owner(owner) {}

    void Save(Core::File& file) const override;
    // Keeps only the tracks whose music the owner has loaded.
    void Load(Core::File& file) override;
    // How many tracks the read stored, those it left out included; 0 for a
    // playlist that was not read.
    std::int32_t GetStoredTrackCount() const { return static_cast<std::int32_t>(m_storedTrackPlaces.size()); }
    // The place among the tracks that came back of the one the read stored
    // at that index; -1 when it did not come back or none was stored there.
    std::int32_t GetTrackOfStoredIndex(std::int32_t storedIndex) const;

    const Core::String& GetName() const { return m_name; }
    JukeBox* GetOwner() const { return m_owner; }
    // The owner going away leaves the playlist without one.
    void ForgetOwner() { m_owner = nullptr; }

    void AddTrack(const Core::String& path, SoundData* sound, std::int32_t repeats);
    std::int32_t GetTrackCount() const { return static_cast<std::int32_t>(m_tracks.size()); }
    Track& GetTrack(std::int32_t index) { return m_tracks[static_cast<std::size_t>(index)]; }
    const Track& GetTrack(std::int32_t index) const { return m_tracks[static_cast<std::size_t>(index)]; }
    bool AllPlayed() const;
    void ClearPlayedMarks();

private:
    std::vector<Track> m_tracks;
    Core::String m_name;
    JukeBox* m_owner = nullptr;
    // By stored index: the track's place, or -1 when it was left out.
    std::vector<std::int32_t> m_storedTrackPlaces;
};

}  // namespace Tundra
