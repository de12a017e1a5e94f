#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

// Building blocks shared by the effects and the music: a sample buffer,
// oscillators over a phase in cycles, envelopes and simple filters.
namespace AssetGen {

constexpr int kSampleRate = 44100;
constexpr double kTwoPi = 6.283185307179586;
// Seconds per sample.
constexpr double kDt = 1.0 / kSampleRate;

// Interleaved float samples in [-1, 1]. Everything the generator makes is at
// kSampleRate; other rates are for encoding samples made elsewhere.
struct Pcm {
    int channels = 1;
    int rate = kSampleRate;
    std::vector<float> samples;

    static Pcm Silence(int channels, std::size_t frames);
    std::size_t Frames() const { return samples.size() / static_cast<std::size_t>(channels); }
};

std::size_t SecondsToFrames(double seconds);

double NoteFrequency(double midiNote);

// An exponential fall from 1 with the time constant tau (seconds).
inline float Decay(double time, double tau) { return static_cast<float>(std::exp(-time / tau)); }

// Phase in cycles; only its fractional part matters.
float Sine(double phase);
float Triangle(double phase);
float Saw(double phase);
float Pulse(double phase, double duty);

// A linear attack, then exponential decay to `sustain`, held for the note's
// length, then an exponential release.
struct Envelope {
    double attack = 0.005;
    double decay = 0.1;
    double sustain = 0.0;
    double release = 0.05;

    // Long enough for the release to fall below -50 dB.
    double Duration(double length) const { return length + release * 6.0; }
};

// Steps an envelope one sample at a time (multiplications, not exponentials).
class EnvelopeRunner {
public:
    EnvelopeRunner(const Envelope& envelope, double length);
    float Next();

private:
    double sustain_;
    double attackFrames_;
    double lengthFrames_;
    double decayStep_;
    double releaseStep_;
    double decayed_ = 1.0;
    double released_ = 1.0;
    double held_ = 0.0;
    double frame_ = 0.0;
};

// One-pole low-pass; its coefficient comes from a cut-off in Hz.
class LowPass {
public:
    void SetCutoff(double hertz);
    float Process(float input) {
        state_ += coefficient_ * (input - state_);
        return state_;
    }

private:
    float coefficient_ = 1.0f;
    float state_ = 0.0f;
};

// Chamberlin state-variable filter: low, band and high outputs of one step.
class StateVariableFilter {
public:
    void Set(double cutoffHertz, double resonance);
    void Process(float input);
    float Low() const { return low_; }
    float Band() const { return band_; }
    float High() const { return high_; }

private:
    float frequency_ = 0.1f;
    float damping_ = 1.0f;
    float low_ = 0.0f;
    float band_ = 0.0f;
    float high_ = 0.0f;
};

// Scales every sample so the loudest reaches `peak`.
void Normalize(Pcm& pcm, float peak);

// Fades the last `seconds` out linearly.
void FadeOutEnd(Pcm& pcm, double seconds);

}  // namespace AssetGen
