#include "AssetGen_Synth.h"

#include <algorithm>
#include <cmath>

namespace AssetGen {

Pcm Pcm::Silence(int channels, std::size_t frames) {
    Pcm pcm;
    pcm.channels = channels;
    pcm.samples.assign(frames * static_cast<std::size_t>(channels), 0.0f);
    return pcm;
}

std::size_t SecondsToFrames(double seconds) {
    return static_cast<std::size_t>(std::llround(std::max(0.0, seconds) * kSampleRate));
}

double NoteFrequency(double midiNote) { return 440.0 * std::exp2((midiNote - 69.0) / 12.0); }

float Sine(double phase) { return static_cast<float>(std::sin(kTwoPi * phase)); }

float Triangle(double phase) {
    const double f = phase - std::floor(phase);
    return static_cast<float>(f < 0.5 ? 4.0 * f - 1.0 : 3.0 - 4.0 * f);
}

float Saw(double phase) { return static_cast<float>(2.0 * (phase - std::floor(phase)) - 1.0); }

float Pulse(double phase, double duty) { return phase - std::floor(phase) < duty ? 1.0f : -1.0f; }

EnvelopeRunner::EnvelopeRunner(const Envelope& envelope, double length)
    : sustain_(envelope.sustain),
      attackFrames_(envelope.attack * kSampleRate),
      lengthFrames_(length * kSampleRate),
      decayStep_(std::exp(-1.0 / (envelope.decay * kSampleRate))),
      releaseStep_(std::exp(-1.0 / (envelope.release * kSampleRate))) {}

float EnvelopeRunner::Next() {
    double level;
    if (frame_ < lengthFrames_) {
        if (frame_ < attackFrames_) {
            level = frame_ / attackFrames_;
        } else {
            level = sustain_ + (1.0 - sustain_) * decayed_;
            decayed_ *= decayStep_;
        }
        held_ = level;
    } else {
        level = held_ * released_;
        released_ *= releaseStep_;
    }
    frame_ += 1.0;
    return static_cast<float>(level);
}

void LowPass::SetCutoff(double hertz) {
    coefficient_ = static_cast<float>(1.0 - std::exp(-kTwoPi * hertz / kSampleRate));
}

void StateVariableFilter::Set(double cutoffHertz, double resonance) {
    // The filter stays stable up to a sixth of the sample rate.
    const double cutoff = std::min(cutoffHertz, kSampleRate / 6.0);
    frequency_ = static_cast<float>(2.0 * std::sin(kTwoPi * 0.5 * cutoff / kSampleRate));
    damping_ = static_cast<float>(std::clamp(2.0 - 2.0 * resonance, 0.1, 2.0));
}

void StateVariableFilter::Process(float input) {
    low_ += frequency_ * band_;
    high_ = input - low_ - damping_ * band_;
    band_ += frequency_ * high_;
}

void Normalize(Pcm& pcm, float peak) {
    float loudest = 0.0f;
    for (const float s : pcm.samples) {
        loudest = std::max(loudest, std::fabs(s));
    }
    if (loudest <= 0.0f) {
        return;
    }
    const float gain = peak / loudest;
    for (float& s : pcm.samples) {
        s *= gain;
    }
}

void FadeOutEnd(Pcm& pcm, double seconds) {
    const std::size_t frames = pcm.Frames();
    const std::size_t fade = std::min(frames, SecondsToFrames(seconds));
    for (std::size_t i = 0; i < fade; ++i) {
        const float gain = static_cast<float>(i) / static_cast<float>(fade);
        const std::size_t frame = frames - 1 - i;
        for (int c = 0; c < pcm.channels; ++c) {
            pcm.samples[frame * static_cast<std::size_t>(pcm.channels) + static_cast<std::size_t>(c)] *= gain;
        }
    }
}

}  // namespace AssetGen
