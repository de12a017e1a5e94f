#include "AssetGen_MusicStyles.h"

#include <algorithm>
#include <cmath>

namespace AssetGen {
namespace {

Voice Lead(Wave wave, double pan) {
    switch (wave) {
        case Wave::Square:
            return {wave, {0.005, 0.2, 0.5, 0.08}, 3000.0, 0.28, pan, 0.3, 0.003};
        case Wave::Saw:
            return {wave, {0.01, 0.3, 0.6, 0.1}, 2500.0, 0.34, pan, 0.3, 0.004};
        case Wave::Triangle:
            return {wave, {0.005, 0.25, 0.6, 0.1}, 6000.0, 0.5, pan, 0.35, 0.003};
        case Wave::Bell:
            return {wave, {0.002, 0.3, 0.2, 0.2}, 8000.0, 0.42, pan, 0.4, 0.002};
    }
    return {};
}

Voice Bass(Wave wave) {
    const double cutoff = wave == Wave::Triangle ? 2000.0 : 600.0;
    const double gain = wave == Wave::Triangle ? 0.42 : 0.32;
    return {wave, {0.005, 0.15, 0.6, 0.04}, cutoff, gain, 0.0, 0.0};
}

Voice Pad(Wave wave) {
    return {wave, {0.3, 1.0, 0.7, 0.6}, wave == Wave::Saw ? 900.0 : 1500.0, wave == Wave::Saw ? 0.06 : 0.08, 0.0, 0.25};
}

TrackStyle Track(std::uint64_t seed, int root, const std::array<int, 7>& scale, double beatsPerMinute, int bars,
                 std::vector<int> chords) {
    TrackStyle style;
    style.seed = seed;
    style.root = root;
    style.scale = scale;
    style.beatsPerMinute = beatsPerMinute;
    // The jukebox plays each track for a minute or more: at least that many
    // bars, in whole rounds of four.
    const double barsPerMinute = beatsPerMinute / 4.0;
    style.bars = std::max(bars, 4 * static_cast<int>(std::ceil(barsPerMinute / 4.0)));
    style.chords = std::move(chords);
    return style;
}

TrackStyle& Groove(TrackStyle& style, const char* kick, const char* snare, const char* hat, const char* bass) {
    style.kick = kick;
    style.snare = snare;
    style.hat = hat;
    style.bass = bass;
    return style;
}

TrackStyle& Voices(TrackStyle& style, Wave lead, double pan, Wave bass, Wave pad) {
    style.lead = Lead(lead, pan);
    style.bassVoice = Bass(bass);
    style.pad = Pad(pad);
    return style;
}

}  // namespace

std::vector<TrackStyle> TitleTracks() {
    std::vector<TrackStyle> tracks;

    TrackStyle t = Track(101, 50, Scales::kMajor, 118, 20, {0, 4, 5, 3});
    Groove(t, "x.......x.......", "....x.......x...", "x.x.x.x.x.x.x.x.", "r.......r...f...");
    tracks.push_back(Voices(t, Wave::Square, 0.2, Wave::Saw, Wave::Triangle));

    t = Track(102, 57, Scales::kMinor, 96, 16, {0, 5, 2, 6});
    Groove(t, "x.....x...x.....", "....x.......x...", "..x...x...x...x.", "r.....r...f.....");
    t.swing = 0.3;
    t.arpeggio = true;
    tracks.push_back(Voices(t, Wave::Triangle, -0.2, Wave::Triangle, Wave::Saw));

    t = Track(103, 53, Scales::kMajor, 132, 24, {0, 3, 4, 3});
    Groove(t, "x...x...x...x...", "....x.......x...", "..x...x...x...x.", "r.o.r.o.r.o.r.o.");
    tracks.push_back(Voices(t, Wave::Bell, 0.3, Wave::Square, Wave::Triangle));

    t = Track(104, 52, Scales::kDorian, 104, 16, {0, 3, 0, 4});
    Groove(t, "x..x..x...x.....", "....x.......x...", "x.x.x.x.x.x.x.x.", "r..r..f.r..r..o.");
    t.arpeggio = true;
    t.melodyDensity = 0.4;
    tracks.push_back(Voices(t, Wave::Saw, 0.1, Wave::Saw, Wave::Triangle));

    t = Track(105, 55, Scales::kMixolydian, 124, 20, {0, 6, 3, 0});
    Groove(t, "x.......x.x.....", "....x.......x...", "x.xox.x.x.xox.x.", "r...f...o...f...");
    t.melodyDensity = 0.6;
    tracks.push_back(Voices(t, Wave::Square, -0.25, Wave::Triangle, Wave::Saw));

    t = Track(106, 59, Scales::kMinor, 88, 16, {0, 5, 3, 4});
    Groove(t, "x.........x.....", "........x.......", "x...x...x...x...", "r.......f.......");
    t.swing = 0.2;
    t.melodyDensity = 0.35;
    tracks.push_back(Voices(t, Wave::Bell, 0.0, Wave::Triangle, Wave::Triangle));

    t = Track(107, 60, Scales::kMajor, 140, 24, {0, 5, 3, 4});
    Groove(t, "x...x...x...x...", "....x.......x...", "xxxxxxxxxxxxxxxx", "r.r.o.r.r.r.f.o.");
    t.arpeggio = true;
    tracks.push_back(Voices(t, Wave::Triangle, 0.15, Wave::Square, Wave::Triangle));

    t = Track(108, 50, Scales::kHarmonicMinor, 110, 20, {0, 3, 4, 4});
    Groove(t, "x.....x.x.......", "....x.......x..x", "x.x.x.x.x.x.x.x.", "r..r..r.f..f..o.");
    tracks.push_back(Voices(t, Wave::Saw, -0.1, Wave::Saw, Wave::Saw));

    t = Track(109, 58, Scales::kMajor, 100, 16, {0, 3, 1, 4});
    Groove(t, "x.......x..x....", "....x.......x...", "..x...x...x...x.", "r...r...f...o...");
    t.swing = 0.25;
    t.melodyDensity = 0.55;
    tracks.push_back(Voices(t, Wave::Bell, -0.3, Wave::Triangle, Wave::Saw));

    return tracks;
}

std::vector<TrackStyle> StageThemes() {
    std::vector<TrackStyle> themes;

    TrackStyle t = Track(201, 52, Scales::kMinor, 150, 28, {0, 6, 5, 6});
    Groove(t, "x...x...x...x...", "....x.......x...", "xxxxxxxxxxxxxxxx", "r.r.r.r.f.f.o.r.");
    t.melodyDensity = 0.7;
    themes.push_back(Voices(t, Wave::Saw, 0.2, Wave::Saw, Wave::Saw));

    t = Track(202, 55, Scales::kHarmonicMinor, 138, 24, {0, 5, 3, 4});
    Groove(t, "x..x..x.x..x..x.", "....x.......x...", "x.x.x.x.x.x.x.x.", "rr.rr.rff.ff.fo.");
    t.arpeggio = true;
    t.melodyDensity = 0.6;
    themes.push_back(Voices(t, Wave::Square, -0.2, Wave::Square, Wave::Triangle));

    t = Track(203, 56, Scales::kDorian, 160, 28, {0, 3, 6, 4});
    Groove(t, "x.x...x.x.x...x.", "....x..x....x...", "x.xox.x.x.xox.xo", "r.o.r.o.f.o.f.o.");
    t.melodyDensity = 0.65;
    themes.push_back(Voices(t, Wave::Triangle, 0.0, Wave::Saw, Wave::Saw));

    return themes;
}

}  // namespace AssetGen
