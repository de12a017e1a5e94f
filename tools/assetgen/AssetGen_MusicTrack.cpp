#include "AssetGen_MusicTrack.h"

#include <algorithm>
#include <cmath>

#include "AssetGen_Random.h"

namespace AssetGen {
namespace {

constexpr int kStepsPerBar = 16;
constexpr int kIntroBars = 4;
constexpr int kPhraseBars = 4;
constexpr double kTailSeconds = 3.0;
constexpr float kMusicPeak = 0.89f;
constexpr float kMusicLoudness = 0.2f;  // RMS before the peaks are rounded off

// Equal-power gains of a position between left (-1) and right (1).
struct Pan {
    explicit Pan(double position)
        : left(static_cast<float>(std::cos((position + 1.0) * kTwoPi / 8.0))),
          right(static_cast<float>(std::sin((position + 1.0) * kTwoPi / 8.0))) {}
    float left;
    float right;
};

// Dry mix and the share sent through the echo, both stereo.
struct Mix {
    Pcm dry;
    Pcm send;

    void Add(std::size_t frame, float sample, const Pan& pan, float echo) {
        if (frame >= dry.Frames()) {
            return;
        }
        dry.samples[frame * 2] += sample * pan.left;
        dry.samples[frame * 2 + 1] += sample * pan.right;
        send.samples[frame * 2] += echo * sample * pan.left;
        send.samples[frame * 2 + 1] += echo * sample * pan.right;
    }
};

struct Note {
    int step = 0;    // from the start of its phrase
    int length = 1;  // in steps
    int degree = 0;  // scale degree from the tonic
};

float Oscillator(Wave wave, double phase, float envelope) {
    switch (wave) {
        case Wave::Square:
            return Pulse(phase, 0.5);
        case Wave::Saw:
            return 0.5f * (Saw(phase) + Saw(phase * 1.004));
        case Wave::Triangle:
            return Triangle(phase);
        case Wave::Bell:
            return static_cast<float>(std::sin(kTwoPi * phase + 1.2 * envelope * std::sin(kTwoPi * 3.0 * phase)));
    }
    return 0.0f;
}

// Raises the mix to a game's usual loudness; the drum peaks this pushes past
// full scale are rounded off rather than clipped.
void Compress(Pcm& pcm) {
    double sum = 0.0;
    for (const float s : pcm.samples) {
        sum += static_cast<double>(s) * s;
    }
    const double rms = std::sqrt(sum / static_cast<double>(std::max<std::size_t>(1, pcm.samples.size())));
    if (rms <= 0.0) {
        return;
    }
    const auto gain = static_cast<float>(kMusicLoudness / rms);
    for (float& s : pcm.samples) {
        s = std::tanh(gain * s);
    }
}

class TrackRenderer {
public:
    explicit TrackRenderer(const TrackStyle& style)
        : style_(style), random_(style.seed), stepSeconds_(60.0 / style.beatsPerMinute / 4.0) {
        const std::size_t frames = SecondsToFrames(style.bars * BarSeconds() + kTailSeconds);
        mix_.dry = Pcm::Silence(2, frames);
        mix_.send = Pcm::Silence(2, frames);
    }

    Pcm Render() {
        // Four-bar phrases in the form A B A C: the opening phrase comes back.
        const std::vector<Note> phrases[] = {ComposePhrase(0), ComposePhrase(1), ComposePhrase(0), ComposePhrase(2)};
        for (int bar = 0; bar < style_.bars; ++bar) {
            const int chord = ChordOf(bar);
            PlayPad(bar, chord, BarSeconds());
            PlayBass(bar, chord);
            PlayDrums(bar);
            if (style_.arpeggio && bar >= 2) {
                PlayArpeggio(bar, chord);
            }
        }
        const int lastBar = style_.bars - 1;
        for (int bar = kIntroBars; bar < lastBar; bar += kPhraseBars) {
            const int phrase = ((bar - kIntroBars) / kPhraseBars) % 4;
            for (const Note& note : phrases[phrase]) {
                const int absoluteStep = bar * kStepsPerBar + note.step;
                if (absoluteStep < lastBar * kStepsPerBar) {
                    PlayNote(style_.lead, absoluteStep, note.length, LeadPitch(note.degree));
                }
            }
        }
        // The last bar holds the tonic; the chord after it only rings out.
        PlayNote(style_.lead, lastBar * kStepsPerBar, 8, LeadPitch(7));
        const double end = style_.bars * BarSeconds();
        PlayPad(style_.bars, 0, 0.6);
        AddNote(style_.bassVoice, end, 0.6, style_.root - 12);
        Crash(end, 0.8);
        Kick(end, 1.0);
        return Finish();
    }

private:
    double BarSeconds() const { return stepSeconds_ * kStepsPerBar; }

    double StepTime(int absoluteStep) const {
        const double swing = (absoluteStep % 2 == 1) ? style_.swing * stepSeconds_ : 0.0;
        return absoluteStep * stepSeconds_ + swing;
    }

    int ChordOf(int bar) const { return style_.chords[static_cast<std::size_t>(bar) % style_.chords.size()]; }

    int Pitch(int degree, int base) const {
        const int octave = static_cast<int>(std::floor(degree / 7.0));
        const int index = degree - octave * 7;
        return base + 12 * octave + style_.scale[static_cast<std::size_t>(index)];
    }

    int LeadPitch(int degree) const { return Pitch(degree, style_.root + 12); }

    // Strong steps nearly always sound, weak ones by the style's density; the
    // line moves by small steps and lands on a chord tone on each half bar.
    std::vector<Note> ComposePhrase(int variant) {
        Random random(style_.seed * 1000003u + static_cast<std::uint64_t>(variant));
        std::vector<Note> notes;
        int degree = 7;
        for (int step = 0; step < kPhraseBars * kStepsPerBar; ++step) {
            double chance = style_.melodyDensity * 0.4;
            if (step % 16 == 0) {
                chance = 0.95;
            } else if (step % 8 == 0) {
                chance = 0.8;
            } else if (step % 4 == 0) {
                chance = 0.6;
            } else if (step % 2 == 0) {
                chance = style_.melodyDensity;
            }
            if (!random.Chance(chance)) {
                continue;
            }
            if (step % 8 == 0) {
                const int chord = ChordOf(kIntroBars + step / kStepsPerBar);
                int best = degree;
                int bestDistance = 99;
                for (const int offset : {-7, -5, -3, 0, 2, 4, 7, 9, 11, 14}) {
                    if (std::abs(chord + offset - degree) < bestDistance) {
                        best = chord + offset;
                        bestDistance = std::abs(best - degree);
                    }
                }
                degree = best;
            } else {
                static constexpr int kMoves[] = {-2, -1, -1, 0, 1, 1, 2, 3};
                degree += kMoves[random.Below(8)];
            }
            degree = std::clamp(degree, 2, 12);
            if (!notes.empty()) {
                notes.back().length = std::min(step - notes.back().step, 6);
            }
            notes.push_back({step, 2, degree});
        }
        return notes;
    }

    void AddNote(const Voice& voice, double start, double length, int midiNote) {
        const double frequency = NoteFrequency(midiNote);
        LowPass first;
        LowPass second;
        first.SetCutoff(voice.cutoff);
        second.SetCutoff(voice.cutoff);
        const std::size_t begin = SecondsToFrames(start);
        const std::size_t frames = SecondsToFrames(voice.envelope.Duration(length));
        const Pan pan(voice.pan);
        const auto echo = static_cast<float>(voice.echo);
        const auto gain = static_cast<float>(voice.gain);
        EnvelopeRunner envelope(voice.envelope, length);
        double phase = 0.0;
        for (std::size_t i = 0; i < frames; ++i) {
            const double t = static_cast<double>(i) * kDt;
            const bool held = voice.vibrato > 0.0 && length > 0.25 && t > 0.2;
            phase += frequency * (held ? 1.0 + voice.vibrato * std::sin(kTwoPi * 5.5 * t) : 1.0) * kDt;
            const float level = envelope.Next();
            const float sample = second.Process(first.Process(Oscillator(voice.wave, phase, level)));
            mix_.Add(begin + i, gain * level * sample, pan, echo);
        }
    }

    void PlayNote(const Voice& voice, int absoluteStep, int steps, int midiNote) {
        AddNote(voice, StepTime(absoluteStep), (steps - 0.3) * stepSeconds_, midiNote);
    }

    void PlayPad(int bar, int chord, double length) {
        for (int tone = 0; tone < 3; ++tone) {
            AddNote(style_.pad, bar * BarSeconds(), length, Pitch(chord + 2 * tone, style_.root));
        }
    }

    void PlayBass(int bar, int chord) {
        const char* pattern = style_.bass;
        for (int step = 0; step < kStepsPerBar; ++step) {
            const char symbol = pattern[step];
            if (symbol != 'r' && symbol != 'f' && symbol != 'o') {
                continue;
            }
            int length = 1;
            while (step + length < kStepsPerBar && length < 4 && pattern[step + length] == '.') {
                ++length;
            }
            const int degree = chord + (symbol == 'f' ? 4 : symbol == 'o' ? 7 : 0);
            PlayNote(style_.bassVoice, bar * kStepsPerBar + step, length, Pitch(degree, style_.root - 24));
        }
    }

    void PlayArpeggio(int bar, int chord) {
        static constexpr int kTones[] = {0, 2, 4, 7};
        Voice voice = style_.pad;
        voice.envelope = {0.003, 0.08, 0.0, 0.05};
        voice.gain = style_.pad.gain * 0.8;
        voice.pan = -style_.lead.pan;
        voice.echo = 0.4;
        for (int step = 0; step < kStepsPerBar; ++step) {
            PlayNote(voice, bar * kStepsPerBar + step, 1, Pitch(chord + kTones[step % 4], style_.root + 12));
        }
    }

    void PlayDrums(int bar) {
        const bool intro = bar < 2;
        const bool fill = bar % 8 == 7;
        for (int step = 0; step < kStepsPerBar; ++step) {
            const double time = StepTime(bar * kStepsPerBar + step);
            if (style_.kick[step] == 'x') {
                Kick(time, 1.0);
            }
            const bool fillHit = fill && step >= 12 && (step % 2 == 0 || step == 15);
            if (!intro && (style_.snare[step] == 'x' || fillHit)) {
                Snare(time, fill && step >= 12 ? 0.7 : 1.0);
            }
            if (style_.hat[step] == 'x' || style_.hat[step] == 'o') {
                Hat(time, style_.hat[step] == 'o', step % 4 == 0 ? 1.0 : 0.7);
            }
        }
        if (bar == kIntroBars) {
            Crash(bar * BarSeconds(), 0.5);
        }
    }

    // A drum hit: `voice(time)` over `seconds`, placed at `start`.
    template <typename Sound>
    void Hit(double start, double seconds, double pan, double echo, Sound voice) {
        const std::size_t begin = SecondsToFrames(start);
        const std::size_t frames = SecondsToFrames(seconds);
        const Pan gains(pan);
        for (std::size_t i = 0; i < frames; ++i) {
            mix_.Add(begin + i, voice(static_cast<double>(i) * kDt), gains, static_cast<float>(echo));
        }
    }

    void Kick(double start, double level) {
        double phase = 0.0;
        Hit(start, 0.4, 0.0, 0.0, [&](double t) {
            phase += (45.0 + 110.0 * std::exp(-t / 0.03)) * kDt;
            return static_cast<float>(0.9 * level) * Sine(phase) * Decay(t, 0.22);
        });
    }

    void Snare(double start, double level) {
        StateVariableFilter filter;
        filter.Set(1800.0, 0.3);
        Hit(start, 0.25, 0.1, 0.1, [&](double t) {
            filter.Process(random_.Signed());
            const float body = Triangle(185.0 * t) * Decay(t, 0.05);
            return static_cast<float>(0.5 * level) * (1.6f * filter.Band() * Decay(t, 0.07) + body);
        });
    }

    void Hat(double start, bool open, double level) {
        StateVariableFilter filter;
        filter.Set(7000.0, 0.2);
        Hit(start, open ? 0.3 : 0.06, -0.3, 0.0, [&](double t) {
            filter.Process(random_.Signed());
            return static_cast<float>(0.22 * level) * filter.High() * Decay(t, open ? 0.1 : 0.015);
        });
    }

    void Crash(double start, double level) {
        StateVariableFilter filter;
        filter.Set(5000.0, 0.1);
        Hit(start, kTailSeconds - 0.1, 0.25, 0.0, [&](double t) {
            filter.Process(random_.Signed());
            return static_cast<float>(0.3 * level) * filter.High() * Decay(t, 0.6);
        });
    }

    // Ping-pong echo of the send, three sixteenths apart, then the level.
    Pcm Finish() {
        const std::size_t delay = SecondsToFrames(3.0 * stepSeconds_);
        Pcm out = mix_.dry;
        std::vector<float> echo(mix_.send.samples.size(), 0.0f);
        for (std::size_t frame = 0; frame < out.Frames(); ++frame) {
            for (int channel = 0; channel < 2; ++channel) {
                const std::size_t index = frame * 2 + static_cast<std::size_t>(channel);
                float fed = 0.0f;
                if (frame >= delay) {
                    const std::size_t from = (frame - delay) * 2 + static_cast<std::size_t>(1 - channel);
                    fed = mix_.send.samples[from] + 0.4f * echo[from];
                }
                echo[index] = fed;
                out.samples[index] += 0.5f * fed;
            }
        }
        FadeOutEnd(out, 0.3);
        Compress(out);
        Normalize(out, kMusicPeak);
        return out;
    }

    const TrackStyle& style_;
    Random random_;
    double stepSeconds_;
    Mix mix_;
};

}  // namespace

Pcm RenderTrack(const TrackStyle& style) { return TrackRenderer(style).Render(); }

}  // namespace AssetGen
