#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "AssetGen_Synth.h"

// A small sequencer: a track is described by its key, tempo, chords, drum and
// bass patterns and voices; its melody is composed from the seed. Every track
// opens with a few bars without the melody and ends on its tonic chord,
// followed by a tail that only decays (a repeating playlist may cut it).
namespace AssetGen {

enum class Wave { Square, Saw, Triangle, Bell };

struct Voice {
    Wave wave = Wave::Square;
    Envelope envelope;
    double cutoff = 4000.0;  // Hz, low-pass after the oscillator
    double gain = 0.3;
    double pan = 0.0;        // -1 left .. 1 right
    double echo = 0.0;       // share sent to the echo
    double vibrato = 0.0;    // depth, as a share of the frequency, on held notes
};

struct TrackStyle {
    std::uint64_t seed = 1;
    int root = 57;                     // MIDI note of the key's tonic
    std::array<int, 7> scale{};        // semitones of the seven degrees
    double beatsPerMinute = 120.0;
    int bars = 20;                     // before the tail
    std::vector<int> chords;           // scale degree of each bar's chord, repeated
    const char* kick = "";             // 16 steps a bar: 'x' hit, anything else rest
    const char* snare = "";
    const char* hat = "";              // 'x' closed, 'o' open
    const char* bass = "";             // 'r' root, 'f' fifth, 'o' octave
    bool arpeggio = false;             // sixteenths over the chord
    double swing = 0.0;                // delay of the off sixteenths, in steps
    double melodyDensity = 0.5;        // chance of a note on a weak step
    Voice lead;
    Voice bassVoice;
    Voice pad;
};

// Stereo, ending with a tail of at least 2.5 s.
Pcm RenderTrack(const TrackStyle& style);

namespace Scales {
constexpr std::array<int, 7> kMajor{0, 2, 4, 5, 7, 9, 11};
constexpr std::array<int, 7> kMinor{0, 2, 3, 5, 7, 8, 10};
constexpr std::array<int, 7> kDorian{0, 2, 3, 5, 7, 9, 10};
constexpr std::array<int, 7> kMixolydian{0, 2, 4, 5, 7, 9, 10};
constexpr std::array<int, 7> kHarmonicMinor{0, 2, 3, 5, 7, 8, 11};
}  // namespace Scales

}  // namespace AssetGen
