#include "Sound_JukeBoxFixture.h"

#include "core/Core_ErrorLogTestHooks.h"
#include "core/Core_MemoryFile.h"
#include "support/DamagedBytes.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>

using soundtest::JukeBoxTest;

namespace {

using NullAudioJukeBoxSave = JukeBoxTest;

std::string Saved(const Tundra::JukeBox& jukebox) {
    Core::MemoryFile file;
    file << &jukebox;
    return std::string(reinterpret_cast<const char*>(file.GetData()), file.GetSize());
}

Core::RefPtr<Tundra::JukeBox> Loaded(const std::string& bytes) {
    Core::MemoryFile file(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return file.ReadObjectAs<Tundra::JukeBox>(Core::File::Reference::Owning);
}

TEST_F(NullAudioJukeBoxSave, KeepsOnePlaylistAndStoresPathsFromTheResourcesFolder) {
    m_directory.WriteFile("Resources/Sounds/music (1).ogg", testsupport::OggTone({.seconds = 0.5}));
    const Core::String path = GetExecutableDirectory() + "\\Resources\\Sounds\\music (1).ogg";
    const auto jukebox = MakeJukeBox({path});
    jukebox->GetPlaylist(0)->GetTrack(0).repeats = 3;
    jukebox->SetRepeat(true);
    jukebox->SetFadeTime(2.0f);
    const std::string bytes = Saved(*jukebox);
    EXPECT_NE(bytes.find("\\Resources\\Sounds\\music (1).ogg"), std::string::npos);
    EXPECT_EQ(bytes.find(m_directory.Path()), std::string::npos);

    const auto loaded = Loaded(bytes);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->GetPlaylistsCount(), 1u);
    const Tundra::Playlist& playlist = *loaded->GetPlaylist(0);
    EXPECT_EQ(playlist.GetName(), "Default");
    EXPECT_EQ(loaded->GetCurrentPlaylist(), &playlist);
    ASSERT_EQ(playlist.GetTrackCount(), 1);
    EXPECT_EQ(playlist.GetTrack(0).path, path);
    EXPECT_EQ(playlist.GetTrack(0).repeats, 3);
    EXPECT_NE(playlist.GetTrack(0).sound, nullptr);
    // Stopped, it stays stopped and saves the same bytes again.
    EXPECT_FALSE(loaded->GetMusicSource());
    EXPECT_EQ(Saved(*loaded), bytes);
}

TEST_F(NullAudioJukeBoxSave, PlaysAfterTheLoadOnlyWhatPlayedWhenSaved) {
    const auto jukebox = MakeJukeBox({Tone("a.wav", 1.0, 440.0), Tone("b.wav", 1.0, 1000.0)});
    ASSERT_TRUE(jukebox->PlayMusic(1));
    const auto playing = Loaded(Saved(*jukebox));
    EXPECT_TRUE(playing->IsPlaying());
    EXPECT_EQ(playing->GetCurrentTrack(), 1);
    jukebox->PauseMusic();
    EXPECT_FALSE(Loaded(Saved(*jukebox))->GetMusicSource());
}

TEST_F(NullAudioJukeBoxSave, RefusesMusicOutsideTheGameFolderAndSaysSo) {
    Tone("inside.wav", 0.3, 440.0);
    m_directory.WriteFile(
        "outside.wav", testsupport::PcmWav({}, testsupport::SampleBytes(testsupport::SineTone(440.0, 0.3, 1, 22050))));
    const auto jukebox = MakeJukeBox({GetExecutableDirectory() + "\\Resources\\Sounds\\..\\..\\outside.wav"});
    ASSERT_EQ(jukebox->GetMusicSoundsCount(), 1u);
    Core::testhooks::StartCapturingErrors();
    const auto loaded = Loaded(Saved(*jukebox));
    const std::vector<std::string> errors = Core::testhooks::StopCapturingErrors();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->GetMusicSoundsCount(), 0u);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("outside.wav"), std::string::npos);
}

// A string as a stream stores it: u32 length, then the text.
std::string Stored(const std::string& text) {
    const auto length = static_cast<std::uint32_t>(text.size());
    return std::string(reinterpret_cast<const char*>(&length), 4) + text;
}

// The bytes of a jukebox saved over one music path with its music list
// (the count, then the path) replaced by the given paths.
std::string WithStoredMusic(std::string bytes, const std::string& from, const std::vector<std::string>& to) {
    const std::size_t at = bytes.find(Stored(from));
    EXPECT_NE(at, std::string::npos) << from;
    if (at == std::string::npos) {
        return bytes;
    }
    const auto count = static_cast<std::uint32_t>(to.size());
    std::string music(reinterpret_cast<const char*>(&count), 4);
    for (const std::string& path : to) {
        music += Stored(path);
    }
    return bytes.replace(at - 4, from.size() + 8, music);
}

TEST_F(NullAudioJukeBoxSave, LoadsStoredMusicOnlyFromTheGamesResources) {
    const std::string wav = testsupport::PcmWav({}, testsupport::SampleBytes(testsupport::SineTone(440.0, 0.3, 1, 22050)));
    m_directory.WriteFile("Resources/Other/in.wav", wav);
    m_directory.WriteFile("Resources/Music/in.wav", wav);
    // Beside the game's folder, which a path without its leading backslash would name.
    const std::filesystem::path sibling = std::filesystem::path(m_directory.Path() + "2") / "Resources" / "Sounds";
    std::filesystem::create_directories(sibling);
    std::ofstream(sibling / "in.wav", std::ios::binary) << wav;
    const std::string saved = Saved(*MakeJukeBox({Tone("in.wav", 0.3, 440.0)}));
    const struct {
        std::string stored;
        bool loads;
    } cases[] = {
        {"\\Resources\\Sounds\\in.wav", true},
        {"\\resources\\SOUNDS\\in.wav", true},
        {"2\\Resources\\Sounds\\in.wav", false},
        {"\\Resources\\Music\\in.wav", true},
        {"\\Resources\\Other\\in.wav", true},
        {"Resources\\Music\\in.wav", false},
        {"\\Resources\\Sounds\\..\\Other\\in.wav", false},
    };
    for (const auto& [stored, loads] : cases) {
        Core::testhooks::StartCapturingErrors();
        const auto loaded = Loaded(WithStoredMusic(saved, "\\Resources\\Sounds\\in.wav", {stored}));
        const std::vector<std::string> errors = Core::testhooks::StopCapturingErrors();
        ASSERT_TRUE(loaded) << stored;
        EXPECT_EQ(loaded->GetMusicSoundsCount(), loads ? 1u : 0u) << stored;
        EXPECT_EQ(errors.size(), loads ? 0u : 1u) << stored;
    }
    std::filesystem::remove_all(sibling.parent_path().parent_path());
}

// An index below -1 or past the stored tracks fails the read; with the
// second track's file gone, its index reads as no track.
TEST_F(NullAudioJukeBoxSave, AStoredTrackOutsideTheStoredPlaylistFailsTheRead) {
    const auto jukebox = MakeJukeBox({Tone("a.wav", 1.0, 440.0), Tone("b.wav", 1.0, 1000.0)});
    ASSERT_TRUE(jukebox->PlayMusic(1));
    jukebox->PauseMusic();
    std::string bytes = Saved(*jukebox);
    // The track index leads the jukebox's last 32 bytes.
    const std::size_t at = bytes.size() - 32;
    ASSERT_EQ(bytes.substr(at, 4), std::string("\x01\0\0\0", 4));
    for (const bool secondGone : {false, true}) {
        if (secondGone) {
            std::filesystem::remove(m_directory.Path() + "/Resources/Sounds/b.wav");
        }
        for (const std::int32_t index : {-1, 0, 1, 2, -2, INT32_MAX, INT32_MIN}) {
            bytes.replace(at, 4, reinterpret_cast<const char*>(&index), 4);
            const auto loaded = Loaded(bytes);
            const bool inside = index >= -1 && index < 2;
            ASSERT_EQ(loaded != nullptr, inside) << index << secondGone;
            if (loaded) {
                EXPECT_EQ(loaded->GetCurrentTrack(), secondGone && index == 1 ? -1 : index) << secondGone;
                loaded->NextTrack();
                loaded->PreviousTrack();
                EXPECT_EQ(loaded->GetCurrentTrack(), 0) << index << secondGone;
            }
        }
    }
}

// The stored index names a stored track: after the read it is that track's
// place among the tracks that came back, or no track when it did not.
TEST_F(NullAudioJukeBoxSave, AStoredTrackIndexFollowsItsTrackPastGoneFiles) {
    const auto jukebox = MakeJukeBox({Tone("a.wav", 0.3, 440.0), Tone("b.wav", 0.3, 660.0), Tone("c.wav", 0.3, 880.0)});
    ASSERT_TRUE(jukebox->PlayMusic(1));
    jukebox->PauseMusic();
    const std::string bytes = Saved(*jukebox);
    const struct {
        const char* gone;
        std::int32_t track;
    } cases[] = {{"a.wav", 0}, {"b.wav", -1}, {"c.wav", 1}};
    for (const auto& [gone, track] : cases) {
        std::filesystem::remove(m_directory.Path() + "/Resources/Sounds/" + gone);
        const auto loaded = Loaded(bytes);
        ASSERT_TRUE(loaded) << gone;
        EXPECT_EQ(loaded->GetCurrentTrack(), track) << gone;
        if (track >= 0) {
            EXPECT_TRUE(loaded->GetCurrentPlaylist()->GetTrack(track).path.EndsWith("b.wav")) << gone;
        }
        Tone(gone, 0.3, 440.0);
    }
}

// Stored paths that are refused, or whose files are gone, with terminal
// escapes in them: a line for each kind, short and printable, however many.
TEST_F(NullAudioJukeBoxSave, ADamagedSaveLogsAFewShortPrintableLines) {
    const std::string path = "\\Resources\\Sounds\\in.wav";
    const std::string saved = Saved(*MakeJukeBox({Tone("in.wav", 0.3, 440.0)}));
    std::vector<std::string> damaged;
    for (int i = 0; i < 40; ++i) {
        damaged.push_back("\x1b]0;title\x07\\..\\" + std::string(300, 'x'));
        damaged.push_back("\\Resources\\Sounds\\gone\x1b[2J" + std::to_string(i) + std::string(300, 'y'));
    }
    Core::testhooks::StartCapturingErrors();
    EXPECT_TRUE(Loaded(WithStoredMusic(saved, path, damaged)));
    const std::vector<std::string> errors = Core::testhooks::StopCapturingErrors();
    EXPECT_EQ(errors.size(), 2u);
    for (const std::string& line : errors) {
        EXPECT_LT(line.size(), 160u) << line;
        EXPECT_TRUE(std::none_of(line.begin(), line.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; }))
            << line;
    }
}

TEST_F(NullAudioJukeBoxSave, DamagedBytesReadIntoAJukeBoxThatPlaysOrIntoNothing) {
    const auto jukebox = MakeJukeBox({Tone("a.wav", 0.2, 440.0), Tone("b.wav", 0.2, 1000.0)});
    jukebox->GetPlaylist(0)->GetTrack(1).repeats = 1;
    jukebox->SetRepeat(true);
    jukebox->SetFadeTime(0.05f);
    ASSERT_TRUE(jukebox->PlayMusic(1));
    const std::string saved = Saved(*jukebox);
    int read = 0;
    Core::testhooks::StartCapturingErrors();
    testsupport::ForEachDamaged(testsupport::ToBytes(saved), 300, 4, 29u,
                                [&](const std::vector<std::uint8_t>& bytes, const char*, std::size_t) {
                                    const auto loaded = Loaded(std::string(bytes.begin(), bytes.end()));
                                    if (!loaded) {
                                        return;
                                    }
                                    ++read;
                                    for (int frame = 0; frame < 3; ++frame) {
                                        loaded->Update(0.1f);
                                    }
                                    loaded->NextTrack();
                                    loaded->PreviousTrack();
                                    loaded->StopMusic();
                                    loaded->Update(0.1f);
                                });
    Core::testhooks::StopCapturingErrors();
    Engine().StopAll();
    EXPECT_GT(read, 0) << "some damage leaves a jukebox to play";
}

}  // namespace
