#include "Sound_JukeBoxFixture.h"

#include "os/OS_Random.h"
#include "sound/Sound_SoundEngineTestHooks.h"

#include <algorithm>
#include <numeric>

using soundtest::JukeBoxTest;

namespace {

using NullAudioJukeBox = JukeBoxTest;

TEST_F(NullAudioJukeBox, WithFadeTimeZeroTheNextTrackStartsAtFullVolumeAndTheOldGoesAtTheNextUpdate) {
    const auto jukebox = MakeJukeBox({Tone("a.wav", 1.0, 440.0), Tone("b.wav", 1.0, 1000.0)});
    ASSERT_TRUE(jukebox->PlayMusic(0));
    jukebox->Update(0.01f);
    EXPECT_FLOAT_EQ(jukebox->GetMusicVolume(), 1.0f);
    const SoundSourceHandle first = jukebox->GetMusicSource();
    jukebox->NextTrack();
    EXPECT_EQ(jukebox->GetCurrentTrack(), 1);
    EXPECT_EQ(jukebox->GetFadingSource(), first);
    jukebox->Update(0.01f);
    EXPECT_FLOAT_EQ(jukebox->GetMusicVolume(), 1.0f);
    EXPECT_FALSE(jukebox->GetFadingSource());
    EXPECT_FALSE(Engine().ReleaseSource(first));
    // Nothing after the last track, nor before the first.
    const SoundSourceHandle last = jukebox->GetMusicSource();
    jukebox->NextTrack();
    EXPECT_TRUE(jukebox->GetCurrentTrack() == 1 && jukebox->GetMusicSource() == last);
    jukebox->PreviousTrack();
    const SoundSourceHandle second = jukebox->GetMusicSource();
    jukebox->PreviousTrack();
    EXPECT_TRUE(jukebox->GetCurrentTrack() == 0 && jukebox->GetMusicSource() == second);
}

TEST_F(NullAudioJukeBox, VolumeAndFadeTimeRefuseWhatTheyCannotHonour) {
    const auto jukebox = MakeJukeBox({Tone("a.wav", 1.0, 440.0)});
    jukebox->SetFadeTime(-2.0f);
    EXPECT_EQ(jukebox->GetFadeTime(), 0.0f);
    // Without music the target stays: the track then fades in to 1.
    jukebox->SetMusicVolume(0.3f, 1.0f);
    EXPECT_EQ(jukebox->GetMusicVolume(), 0.0f);
    ASSERT_TRUE(jukebox->PlayMusic(0));
    jukebox->Update(0.01f);
    EXPECT_FLOAT_EQ(jukebox->GetMusicVolume(), 1.0f);
    // A negative fade time sets the volume at the next update.
    jukebox->SetMusicVolume(2.0f, -1.0f);
    jukebox->Update(0.01f);
    EXPECT_FLOAT_EQ(jukebox->GetMusicVolume(), 2.0f);
}

// A fade time longer than the tracks starts the cross-fade into the next
// track at every update: one update, one track.
TEST_F(NullAudioJukeBox, ShuffleNeverRepeatsATrackWithinAPassAndRepeatStartsAnother) {
    std::vector<Core::String> paths;
    for (int i = 0; i < 5; ++i) {
        paths.push_back(Tone("t" + std::to_string(i) + ".wav", 0.3, 300.0 + 100.0 * i));
    }
    const struct {
        bool shuffle;
        bool repeat;
        std::size_t plays;
    } cases[] = {{true, true, 15}, {true, false, 5}, {false, true, 15}, {false, false, 5}};
    for (const auto& [shuffle, repeat, plays] : cases) {
        for (std::uint32_t seed = 1; seed <= (shuffle ? 20u : 1u); ++seed) {
            os::SeedRand(seed);
            const auto jukebox = MakeJukeBox(paths);
            jukebox->SetShuffle(shuffle);
            jukebox->SetRepeat(repeat);
            jukebox->SetFadeTime(5.0f);
            ASSERT_TRUE(jukebox->PlayMusic(-1));
            std::vector<int> order{jukebox->GetCurrentTrack()};
            for (int update = 0; update < 14; ++update) {
                const SoundSourceHandle before = jukebox->GetMusicSource();
                jukebox->Update(0.01f);
                if (jukebox->GetMusicSource() && jukebox->GetMusicSource() != before) {
                    order.push_back(jukebox->GetCurrentTrack());
                }
            }
            ASSERT_EQ(order.size(), plays) << shuffle << repeat;
            EXPECT_EQ(static_cast<bool>(jukebox->GetMusicSource()), repeat);
            for (std::size_t pass = 0; pass < plays; pass += 5) {
                std::vector<int> tracks(order.begin() + static_cast<long>(pass),
                                        order.begin() + static_cast<long>(pass) + 5);
                if (!shuffle) {
                    EXPECT_TRUE(std::is_sorted(tracks.begin(), tracks.end()));
                }
                std::sort(tracks.begin(), tracks.end());
                EXPECT_EQ(tracks, (std::vector<int>{0, 1, 2, 3, 4})) << "seed " << seed;
            }
        }
    }
}

TEST_F(NullAudioJukeBox, ATrackWithTwoRepeatsPlaysThreeTimesWithoutCrossFading) {
    const auto jukebox = MakeJukeBox({Tone("a.wav", 0.3, 440.0), Tone("b.wav", 0.3, 1000.0)});
    jukebox->GetPlaylist(0)->GetTrack(0).repeats = 2;
    jukebox->SetFadeTime(0.2f);
    ASSERT_TRUE(jukebox->PlayMusic(0));
    const SoundSourceHandle source = jukebox->GetMusicSource();
    bool sameSource = true;
    bool crossFaded = false;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(UpdateUntil(*jukebox, 5.0, [&] {
        if (jukebox->GetCurrentTrack() == 0) {
            sameSource = sameSource && jukebox->GetMusicSource() == source;
            crossFaded = crossFaded || jukebox->GetFadingSource();
        }
        return jukebox->GetCurrentTrack() == 1;
    }));
    // Two whole plays, and the third until its cross-fade.
    EXPECT_GE(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 0.65);
    EXPECT_TRUE(sameSource);
    EXPECT_FALSE(crossFaded);
}

TEST_F(NullAudioJukeBox, TheDestructorReleasesBothSources) {
    const std::size_t before = SoundEngineTestAccess::SourceCount(Engine());
    {
        const auto jukebox = MakeJukeBox({Tone("a.wav", 1.0, 440.0), Tone("b.wav", 1.0, 1000.0)});
        jukebox->SetFadeTime(1.0f);
        ASSERT_TRUE(jukebox->PlayMusic(0));
        jukebox->NextTrack();
        ASSERT_TRUE(jukebox->GetMusicSource() && jukebox->GetFadingSource());
        EXPECT_EQ(SoundEngineTestAccess::SourceCount(Engine()), before + 2);
    }
    EXPECT_EQ(SoundEngineTestAccess::SourceCount(Engine()), before);
}

}  // namespace
