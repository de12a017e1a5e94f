#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_String.h"
#include "sound/Sound_Playlist.h"
#include "sound/Sound_SoundSource.h"
#include "tundra/Tundra_UnclonableClass.h"

#include <cstdint>
#include <vector>

class SoundEngine;
struct SoundData;

namespace Tundra {

// Plays a level's background music: named playlists of tracks, one track at
// a time, each fading in to the target volume while the one before fades
// out; a track cross-fades into the next during its last fade-time seconds.
// Tracks may repeat, and a playlist may repeat and be shuffled. The sounds
// and sources belong to the game's sound engine; without one it is silent.
class JukeBox : public Core::Object {
    // A copy would release the same sources twice.
    TUN_DECLARE_UNCLONABLE_CLASS(JukeBox);
    // No music and no playlists: what a saved jukebox is read into.
    JukeBox() = default;
    // Loads each file (those that fail are left out) and makes the playlist
    // "Default" of them, in order, the current one.
    explicit JukeBox(const std::vector<Core::String>& paths);
    JukeBox(const JukeBox&) = delete;
    JukeBox& operator=(const JukeBox&) = delete;
    ~JukeBox() override;

    void PushToLua(lua_State* state) const override;
    void Save(Core::File& file) const override;
    // Loads the stored music again and plays the stored track when the
    // jukebox was playing it. Music that does not come back is left out,
    // logged in a line or two however much it is; a stored track index past
    // the tracks that came back is no track.
    void Load(Core::File& file) override;

    // An index outside the playlist picks the first track, or with shuffle
    // an unplayed one at random.
    bool PlayMusic(std::int32_t index);
    // The music fades out over the fade time.
    void StopMusic();
    bool SetCurrentPlaylist(const Core::String& name);
    void PauseMusic();
    void RewindMusic();
    bool IsPlaying() const;
    // Fades the playing track to the volume over fadeTime seconds (a negative
    // time counts as 0: at once). Without a playing track nothing changes.
    void SetMusicVolume(float volume, float fadeTime);
    float GetMusicVolume() const;
    void SetRepeat(bool repeat) { m_repeat = repeat ? 1 : 0; }
    bool GetRepeat() const { return m_repeat != 0; }
    void SetShuffle(bool shuffle) { m_shuffle = shuffle ? 1 : 0; }
    bool GetShuffle() const { return m_shuffle != 0; }
    // A negative time stores 0.
    void SetFadeTime(float seconds) { m_fadeTime = seconds < 0.0f ? 0.0f : seconds; }
    float GetFadeTime() const { return m_fadeTime; }
    std::int32_t GetCurrentTrack() const { return m_trackIndex; }
    // Nothing past the last track, nor before the first.
    void NextTrack();
    void PreviousTrack();

    // The frame step: track ends, repeats, cross-fades and both fades.
    void Update(float dt);

    // The first loaded music sound of that full path, or null.
    SoundData* FindMusicSound(const Core::String& path) const;
    std::uint32_t GetMusicSoundsCount() const { return static_cast<std::uint32_t>(m_musicSounds.size()); }
    std::uint32_t GetPlaylistsCount() const { return static_cast<std::uint32_t>(m_playlists.size()); }
    // Null past the last playlist.
    Playlist* GetPlaylist(std::uint32_t index) const {
        return index < m_playlists.size() ? m_playlists[index].Get() : nullptr;
    }
    Playlist* GetCurrentPlaylist() const { return m_currentPlaylist; }
    // The sources of the current track and of the one fading out (null when none).
    SoundSourceHandle GetMusicSource() const { return m_musicSource; }
    SoundSourceHandle GetFadingSource() const { return m_fadingSource; }

private:
    // Keeps the sound of each file that loads; the positions in paths of
    // those that do not.
    std::vector<std::size_t> LoadMusic(const std::vector<Core::String>& paths);
    // The current track, or null when the index names none.
    Playlist::Track* CurrentTrack() const;
    bool HasRepeatsLeft() const;
    std::int32_t DrawUnplayedTrack() const;
    // The music source starts fading out over the given seconds.
    void StartFadeOut(SoundEngine& engine, float seconds);
    // Starts the track at gain 0 fading in; false when it cannot play.
    bool StartTrack(SoundEngine& engine, std::int32_t index);
    void ReleaseFadingSource(SoundEngine& engine);
    // Step 1 of the update; false when the frame ends there.
    bool FollowTrack(SoundEngine& engine, float dt);
    void AdvanceTrack(SoundEngine& engine);
    void FadeIn(SoundEngine& engine, float dt);
    void FadeOut(SoundEngine& engine, float dt);

    // Each with the path it was loaded from: a save never reads the
    // engine's records, which a StopAll may have freed.
    struct MusicSound {
        Core::String path;
        SoundData* sound = nullptr;
    };

    std::vector<MusicSound> m_musicSounds;
    std::vector<Core::RefPtr<Playlist>> m_playlists;
    Playlist* m_currentPlaylist = nullptr;
    std::int32_t m_trackIndex = -1;
    std::int32_t m_repeatCounter = 0;
    SoundSourceHandle m_musicSource;
    SoundSourceHandle m_fadingSource;
    std::uint8_t m_playing = 0;
    std::uint8_t m_repeat = 0;
    std::uint8_t m_shuffle = 0;
    float m_targetVolume = 1.0f;
    float m_fadeTime = 0.0f;
    float m_fadeInRate = 0.0f;
    float m_fadeOutRate = 0.0f;
    float m_elapsed = 0.0f;
};

}  // namespace Tundra
