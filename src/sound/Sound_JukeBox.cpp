#include "sound/Sound_JukeBox.h"

#include "core/Core_ErrorLog.h"
#include "core/Core_File.h"
#include "os/OS_Random.h"
#include "sound/Sound_JukeBoxLink.h"
#include "sound/Sound_JukeBoxTestHooks.h"
#include "sound/Sound_MusicPath.h"
#include "sound/Sound_SoundData.h"
#include "sound/Sound_SoundEngine.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace Tundra {
namespace {

JukeBoxCalls g_calls;
SoundEngine* g_engineForTesting = nullptr;
const JukeBoxLink* g_link = nullptr;

// Looked up at each use: the jukebox may outlive the game and its engine,
// which frees every source and sound when it goes.
SoundEngine* Engine() {
    if (g_engineForTesting != nullptr) {
        return g_engineForTesting;
    }
    return g_link != nullptr ? g_link->engine() : nullptr;
}

bool WritingStateHash() { return g_link != nullptr && g_link->writingStateHash(); }

// The rate that takes the gain to 0 over the seconds; 0 (let go at once)
// when no time is left.
float FadeOutRate(float gain, float seconds) { return seconds > 0.0f ? -gain / seconds : 0.0f; }

// Stored paths a read leaves out, reported in one line however many there
// are: a damaged file must not flood the log.
class LeftOutPaths {
public:
    void Add(std::string_view storedPath) {
        if (m_count++ == 0) {
            m_first = Core::PrintableForLog(storedPath);
        }
    }

    void Report(std::string_view why) const {
        if (m_count > 0) {
            Core::LogError(std::string(why) + ": " + std::to_string(m_count) + " left out, the first \"" + m_first +
                           "\"");
        }
    }

private:
    std::size_t m_count = 0;
    std::string m_first;
};

// Lets go of the source, if any, and empties the handle.
void ReleaseAndForget(SoundEngine& engine, SoundSourceHandle& source) {
    if (source) {
        engine.ReleaseSource(source);
        source = {};
    }
}

}  // namespace

JukeBoxLinkRegistration::JukeBoxLinkRegistration(const JukeBoxLink& link) { g_link = &link; }

JukeBoxCalls& GetJukeBoxCallsForTesting() { return g_calls; }
void SetJukeBoxEngineForTesting(SoundEngine* engine) { g_engineForTesting = engine; }

JukeBox::JukeBox(const std::vector<Core::String>& paths) {
    LoadMusic(paths);
    auto* playlist = TUN_NEW(Playlist, "Default", this);
    m_playlists.emplace_back(playlist);
    m_currentPlaylist = playlist;
    for (const Core::String& path : paths) {
        if (SoundData* sound = FindMusicSound(path)) {
            playlist->AddTrack(path, sound, 0);
        }
    }
}

JukeBox::~JukeBox() {
    if (SoundEngine* engine = Engine()) {
        ReleaseAndForget(*engine, m_musicSource);
        ReleaseAndForget(*engine, m_fadingSource);
    }
    for (const Core::RefPtr<Playlist>& playlist : m_playlists) {
        if (playlist->GetOwner() == this) {
            playlist->ForgetOwner();
        }
    }
}

void JukeBox::PushToLua(lua_State* state) const { PushToLuaAs(state, "JukeBox"); }

std::vector<std::size_t> JukeBox::LoadMusic(const std::vector<Core::String>& paths) {
    std::vector<std::size_t> failed;
    SoundEngine* engine = Engine();
    if (engine == nullptr) {
        return failed;
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (SoundData* sound = engine->LoadSound(paths[i], SoundEngine::kStreamThreshold)) {
            m_musicSounds.push_back({paths[i], sound});
        } else {
            failed.push_back(i);
        }
    }
    return failed;
}

SoundData* JukeBox::FindMusicSound(const Core::String& path) const {
    const auto found = std::find_if(m_musicSounds.begin(), m_musicSounds.end(),
                                    [&path](const MusicSound& music) { return music.path == path; });
    return found != m_musicSounds.end() ? found->sound : nullptr;
}

Playlist::Track* JukeBox::CurrentTrack() const {
    if (m_currentPlaylist == nullptr || m_trackIndex < 0 || m_trackIndex >= m_currentPlaylist->GetTrackCount()) {
        return nullptr;
    }
    return &m_currentPlaylist->GetTrack(m_trackIndex);
}

bool JukeBox::HasRepeatsLeft() const {
    const Playlist::Track* track = CurrentTrack();
    return track != nullptr && track->repeats > m_repeatCounter;
}

std::int32_t JukeBox::DrawUnplayedTrack() const {
    // Callers make sure an unplayed track is left.
    const std::int32_t count = m_currentPlaylist->GetTrackCount();
    std::int32_t index = 0;
    do {
        index = os::Rand() % count;
    } while (m_currentPlaylist->GetTrack(index).played != 0);
    return index;
}

void JukeBox::ReleaseFadingSource(SoundEngine& engine) { ReleaseAndForget(engine, m_fadingSource); }

void JukeBox::StartFadeOut(SoundEngine& engine, float seconds) {
    ReleaseFadingSource(engine);
    m_fadingSource = m_musicSource;
    m_musicSource = {};
    if (m_fadingSource) {
        m_fadeOutRate = FadeOutRate(engine.GetSourceGain(m_fadingSource), seconds);
    }
}

bool JukeBox::StartTrack(SoundEngine& engine, std::int32_t index) {
    const SoundSourceHandle source = engine.CreateSource(m_currentPlaylist->GetTrack(index).sound, true, false);
    if (!source) {
        return false;
    }
    if (!engine.PlaySource(source)) {
        engine.ReleaseSource(source);
        return false;
    }
    m_musicSource = source;
    engine.SetSourceGain(source, 0.0f);
    SetMusicVolume(m_targetVolume, m_fadeTime);
    m_trackIndex = index;
    m_elapsed = 0.0f;
    return true;
}

bool JukeBox::PlayMusic(std::int32_t index) {
    SoundEngine* engine = Engine();
    if (engine == nullptr || m_currentPlaylist == nullptr || m_currentPlaylist->GetTrackCount() == 0) {
        return false;
    }
    if (m_currentPlaylist->AllPlayed()) {
        m_currentPlaylist->ClearPlayedMarks();
    }
    if (index < 0 || index >= m_currentPlaylist->GetTrackCount()) {
        index = m_shuffle != 0 ? DrawUnplayedTrack() : 0;
    }
    Playlist::Track& track = m_currentPlaylist->GetTrack(index);
    track.played = 0;
    StartFadeOut(*engine, m_fadeTime);
    // The same music cannot fade out while it fades in.
    if (m_fadingSource && engine->GetSourceSound(m_fadingSource) == track.sound) {
        ReleaseFadingSource(*engine);
    }
    if (!StartTrack(*engine, index)) {
        return false;
    }
    m_repeatCounter = 0;
    m_playing = 1;
    return true;
}

void JukeBox::StopMusic() {
    ++g_calls.stops;
    if (SoundEngine* engine = Engine()) {
        StartFadeOut(*engine, m_fadeTime);
    }
    if (m_currentPlaylist != nullptr) {
        m_currentPlaylist->ClearPlayedMarks();
    }
    m_repeatCounter = 0;
    m_playing = 0;
    m_elapsed = 0.0f;
    m_trackIndex = -1;
}

bool JukeBox::SetCurrentPlaylist(const Core::String& name) {
    const auto found =
        std::find_if(m_playlists.begin(), m_playlists.end(),
                     [&name](const Core::RefPtr<Playlist>& playlist) { return playlist->GetName() == name; });
    if (found == m_playlists.end()) {
        return false;
    }
    StopMusic();
    m_currentPlaylist = found->Get();
    return true;
}

void JukeBox::PauseMusic() {
    if (SoundEngine* engine = Engine(); engine != nullptr && m_musicSource) {
        engine->PauseSource(m_musicSource);
    }
}

void JukeBox::RewindMusic() {
    if (SoundEngine* engine = Engine(); engine != nullptr && m_musicSource) {
        engine->RewindSource(m_musicSource);
    }
    m_elapsed = 0.0f;
}

bool JukeBox::IsPlaying() const {
    SoundEngine* engine = Engine();
    return engine != nullptr && m_musicSource && engine->IsSourcePlaying(m_musicSource);
}

void JukeBox::SetMusicVolume(float volume, float fadeTime) {
    SoundEngine* engine = Engine();
    if (engine == nullptr || !m_musicSource) {
        return;
    }
    m_targetVolume = volume;
    // A negative time would fade away from the target and never reach it.
    m_fadeInRate = fadeTime > 0.0f ? (volume - engine->GetSourceGain(m_musicSource)) / fadeTime : 0.0f;
}

float JukeBox::GetMusicVolume() const {
    SoundEngine* engine = Engine();
    return engine != nullptr && m_musicSource ? engine->GetSourceGain(m_musicSource) : 0.0f;
}

// In 64 bits: no stored or current index can overflow a step.
void JukeBox::NextTrack() {
    const std::int64_t next = std::int64_t{m_trackIndex} + 1;
    if (m_currentPlaylist != nullptr && next < m_currentPlaylist->GetTrackCount()) {
        PlayMusic(static_cast<std::int32_t>(next));
    }
}

void JukeBox::PreviousTrack() {
    const std::int64_t previous = std::int64_t{m_trackIndex} - 1;
    if (previous >= 0) {
        PlayMusic(static_cast<std::int32_t>(previous));
    }
}

void JukeBox::Update(float dt) {
    ++g_calls.updates;
    SoundEngine* engine = Engine();
    if (engine == nullptr || !FollowTrack(*engine, dt)) {
        return;
    }
    FadeIn(*engine, dt);
    FadeOut(*engine, dt);
}

bool JukeBox::FollowTrack(SoundEngine& engine, float dt) {
    if (!m_musicSource) {
        m_elapsed = 0.0f;
        return true;
    }
    if (!engine.IsSourceActive(m_musicSource)) {
        // The track ended, or something stopped it.
        if (m_playing == 0) {
            ReleaseAndForget(engine, m_musicSource);
            return false;
        }
        if (HasRepeatsLeft()) {
            ++m_repeatCounter;
            engine.PlaySource(m_musicSource);
            engine.SetSourceGain(m_musicSource, m_targetVolume);
            m_elapsed = 0.0f;
            return false;
        }
        m_repeatCounter = 0;
        ReleaseAndForget(engine, m_musicSource);
        m_elapsed = 0.0f;
        AdvanceTrack(engine);
        return true;
    }
    if (!engine.IsSourcePlaying(m_musicSource) || m_playing == 0) {
        return true;
    }
    m_elapsed += dt;
    const SoundData* sound = engine.GetSourceSound(m_musicSource);
    const float remaining = (sound != nullptr ? static_cast<float>(sound->duration) : 0.0f) - m_elapsed;
    if (HasRepeatsLeft() || remaining > m_fadeTime) {
        return true;
    }
    // The cross-fade into the next track takes what is left of this one.
    StartFadeOut(engine, remaining);
    m_elapsed = 0.0f;
    m_repeatCounter = 0;
    AdvanceTrack(engine);
    return true;
}

void JukeBox::AdvanceTrack(SoundEngine& engine) {
    if (m_currentPlaylist == nullptr) {
        return;
    }
    if (Playlist::Track* track = CurrentTrack()) {
        track->played = 1;
    }
    if (m_currentPlaylist->AllPlayed()) {
        if (m_repeat == 0) {
            return;
        }
        m_currentPlaylist->ClearPlayedMarks();
    }
    const std::int64_t count = m_currentPlaylist->GetTrackCount();
    std::int64_t next = m_shuffle != 0 ? DrawUnplayedTrack() : std::int64_t{m_trackIndex} + 1;
    if (m_repeat != 0 && next >= count) {
        next = 0;
    }
    if (next >= count) {
        return;
    }
    const auto index = static_cast<std::int32_t>(next);
    if (m_fadingSource && engine.GetSourceSound(m_fadingSource) == m_currentPlaylist->GetTrack(index).sound) {
        ReleaseFadingSource(engine);
    }
    StartTrack(engine, index);
}

void JukeBox::FadeIn(SoundEngine& engine, float dt) {
    if (!m_musicSource) {
        return;
    }
    float gain = m_targetVolume;
    if (m_fadeInRate != 0.0f) {
        const float g = engine.GetSourceGain(m_musicSource) + m_fadeInRate * dt;
        // The rate stays: the gain stays clamped at the target.
        gain = m_fadeInRate > 0.0f ? std::min(g, m_targetVolume) : std::max(g, m_targetVolume);
    }
    engine.SetSourceGain(m_musicSource, gain);
}

void JukeBox::FadeOut(SoundEngine& engine, float dt) {
    if (!m_fadingSource) {
        return;
    }
    if (m_musicSource && engine.GetSourceSound(m_musicSource) == engine.GetSourceSound(m_fadingSource)) {
        ReleaseFadingSource(engine);
        return;
    }
    if (!(m_fadeOutRate < 0.0f)) {
        ReleaseFadingSource(engine);
        return;
    }
    const float gain = engine.GetSourceGain(m_fadingSource) + m_fadeOutRate * dt;
    engine.SetSourceGain(m_fadingSource, gain);
    if (gain <= 0.0f) {
        m_fadeOutRate = 0.0f;
        ReleaseFadingSource(engine);
    }
}

void JukeBox::Save(Core::File& file) const {
    file.WriteU32(static_cast<std::uint32_t>(m_musicSounds.size()));
    for (const MusicSound& music : m_musicSounds) {
        file << ToStoredMusicPath(music.path);
    }
    file.WriteU32(static_cast<std::uint32_t>(m_playlists.size()));
    for (const Core::RefPtr<Playlist>& playlist : m_playlists) {
        file << playlist;
    }
    // How far the music has come is left out of a state hash: a load starts
    // the track again, and the play does not hang on it. So is whether the
    // device still plays, which follows its own clock.
    const bool hashing = WritingStateHash();
    file << static_cast<const Core::Object*>(m_currentPlaylist);
    file.WriteI32(m_trackIndex);
    file.WriteI32(hashing ? 0 : m_repeatCounter);
    file.WriteU8(m_playing);
    file.WriteU8(m_repeat);
    file.WriteU8(m_shuffle);
    file.WriteF32(m_targetVolume);
    file.WriteF32(m_fadeTime);
    file.WriteF32(hashing ? 0.0f : m_fadeInRate);
    file.WriteF32(hashing ? 0.0f : m_fadeOutRate);
    file.WriteF32(hashing ? 0.0f : m_elapsed);
    file.WriteU8(!hashing && IsPlaying() ? 1 : 0);
}

void JukeBox::Load(Core::File& file) {
    std::uint32_t count = 0;
    file.ReadU32(count);
    std::vector<Core::String> storedPaths;
    std::vector<Core::String> paths;
    LeftOutPaths refused;
    // One by one: a hostile count fails when the bytes run out.
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        Core::String storedPath;
        file >> storedPath;
        Core::String path;
        if (file.HasFailed()) {
            break;
        }
        // An empty path is music saved from outside the resources: it cannot come back.
        if (FromStoredMusicPath(storedPath, path)) {
            storedPaths.push_back(storedPath);
            paths.push_back(path);
        } else {
            refused.Add(storedPath);
        }
    }
    refused.Report("Saved music refused, its path is not in the game's resources");
    LeftOutPaths unloaded;
    for (const std::size_t failed : LoadMusic(paths)) {
        unloaded.Add(storedPaths[failed]);
    }
    unloaded.Report("Saved music dropped, its file does not load");
    file.ReadU32(count);
    for (std::uint32_t i = 0; i < count && !file.HasFailed(); ++i) {
        if (const Core::RefPtr<Playlist> playlist = file.ReadObjectAs<Playlist>(Core::File::Reference::Owning)) {
            m_playlists.push_back(playlist);
        }
    }
    file >> m_currentPlaylist;
    const bool listed =
        std::any_of(m_playlists.begin(), m_playlists.end(),
                    [this](const Core::RefPtr<Playlist>& playlist) { return playlist.Get() == m_currentPlaylist; });
    if (m_currentPlaylist != nullptr && !listed) {
        m_currentPlaylist = nullptr;
        file.SetFailed();
    }
    file.ReadI32(m_trackIndex);
    // -1 for no track, or a track the current playlist stored: it is that
    // track among those that came back, and no track when it did not.
    const std::int32_t storedCount = m_currentPlaylist != nullptr ? m_currentPlaylist->GetStoredTrackCount() : 0;
    if (m_trackIndex < -1 || m_trackIndex >= storedCount) {
        m_trackIndex = -1;
        file.SetFailed();
    } else if (m_trackIndex >= 0) {
        m_trackIndex = m_currentPlaylist->GetTrackOfStoredIndex(m_trackIndex);
    }
    file.ReadI32(m_repeatCounter);
    file.ReadU8(m_playing);
    file.ReadU8(m_repeat);
    file.ReadU8(m_shuffle);
    file.ReadF32(m_targetVolume);
    float fadeTime = 0.0f;
    file.ReadF32(fadeTime);
    SetFadeTime(fadeTime);
    file.ReadF32(m_fadeInRate);
    file.ReadF32(m_fadeOutRate);
    file.ReadF32(m_elapsed);
    std::uint8_t wasPlaying = 0;
    file.ReadU8(wasPlaying);
    // A jukebox saved while it played starts its track again.
    if (wasPlaying == 1 && !file.HasFailed()) {
        PlayMusic(m_trackIndex);
    }
}

}  // namespace Tundra

TUN_DEFINE_UNCLONABLE_CLASS(Tundra::JukeBox)
