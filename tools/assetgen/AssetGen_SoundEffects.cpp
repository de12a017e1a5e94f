#include "AssetGen_SoundEffects.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "AssetGen_Random.h"

namespace AssetGen::Effects {
namespace {

constexpr float kEffectPeak = 0.8f;

// Fills a mono buffer sample by sample from `voice(time)`, then sets its peak.
Pcm Render(double seconds, const std::function<float(double)>& voice) {
    Pcm pcm = Pcm::Silence(1, SecondsToFrames(seconds));
    for (std::size_t i = 0; i < pcm.samples.size(); ++i) {
        pcm.samples[i] = voice(static_cast<double>(i) * kDt);
    }
    Normalize(pcm, kEffectPeak);
    return pcm;
}

// A loop is rendered twice over the same input so that every filter enters the
// first sample with the state it leaves the last one in: the cycle has no seam.
Pcm RenderLoop(std::size_t frames, const std::function<float(std::size_t)>& voice) {
    Pcm pcm = Pcm::Silence(1, frames);
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < frames; ++i) {
            pcm.samples[i] = voice(i);
        }
    }
    return pcm;
}

// Adds a short grain at `start`, its part past the end wrapping to the front.
void AddWrapped(Pcm& loop, std::size_t start, double seconds, const std::function<float(double)>& grain) {
    const std::size_t frames = SecondsToFrames(seconds);
    for (std::size_t i = 0; i < frames; ++i) {
        loop.samples[(start + i) % loop.samples.size()] += grain(static_cast<double>(i) * kDt);
    }
}

}  // namespace

Pcm ButtonHover() {
    double phase = 0.0;
    return Render(0.09, [&](double t) {
        phase += (1400.0 + 5000.0 * t) * kDt;
        const float env = static_cast<float>(std::min(1.0, t / 0.002)) * Decay(t, 0.022);
        return env * (Sine(phase) + 0.3f * Triangle(2.0 * phase));
    });
}

Pcm PlayerHit() {
    Random random(11);
    LowPass noiseFilter;
    noiseFilter.SetCutoff(1200.0);
    double phase = 0.0;
    return Render(0.35, [&](double t) {
        phase += (55.0 + 160.0 * std::exp(-t / 0.05)) * kDt;
        const float body = Sine(phase) * Decay(t, 0.12);
        const float crunch = noiseFilter.Process(random.Signed()) * Decay(t, 0.03);
        return std::tanh(1.5f * (body + 1.2f * crunch));
    });
}

Pcm PlayerDeath() {
    Random random(12);
    LowPass toneFilter;
    LowPass noiseFilter;
    toneFilter.SetCutoff(2500.0);
    noiseFilter.SetCutoff(300.0);
    double phase = 0.0;
    double lowPhase = 0.0;
    return Render(1.6, [&](double t) {
        const double wobble = 1.0 + 0.04 * std::sin(kTwoPi * 9.0 * t);
        const double pitch = 520.0 * std::pow(70.0 / 520.0, std::min(t / 1.4, 1.0)) * wobble;
        phase += pitch * kDt;
        lowPhase += pitch * 0.8409 * kDt;
        const float env = static_cast<float>(std::min(1.0, t / 0.01)) *
                          static_cast<float>(t < 1.1 ? 1.0 : std::max(0.0, 1.0 - (t - 1.1) / 0.5));
        const float tone = toneFilter.Process(Pulse(phase, 0.5) + 0.6f * Saw(lowPhase));
        return env * (0.6f * tone + 0.5f * noiseFilter.Process(random.Signed()));
    });
}

Pcm PlayerCollect() {
    const auto bell = [](double t, double start, double frequency) {
        const double local = t - start;
        if (local < 0.0) {
            return 0.0f;
        }
        const float env = static_cast<float>(std::min(1.0, local / 0.003)) * Decay(local, 0.18);
        const double modulator = 1.8 * env * std::sin(kTwoPi * 2.0 * frequency * local);
        return env * static_cast<float>(std::sin(kTwoPi * frequency * local + modulator));
    };
    return Render(0.6, [&](double t) {
        return bell(t, 0.0, NoteFrequency(88)) + bell(t, 0.07, NoteFrequency(95)) +
               0.6f * bell(t, 0.14, NoteFrequency(100));
    });
}

Pcm BlasterShot() {
    Random random(21);
    StateVariableFilter hiss;
    hiss.Set(5000.0, 0.2);
    double phase = 0.0;
    return Render(0.3, [&](double t) {
        phase += (200.0 + 1200.0 * std::exp(-t / 0.04)) * kDt;
        hiss.Process(random.Signed());
        return Pulse(phase, 0.3) * 0.7f * Decay(t, 0.06) + hiss.High() * Decay(t, 0.015);
    });
}

Pcm BeamShot() {
    StateVariableFilter filter;
    double phaseA = 0.0;
    double phaseB = 0.0;
    return Render(0.7, [&](double t) {
        const double vibrato = 1.0 + 0.02 * std::sin(kTwoPi * 28.0 * t);
        phaseA += 220.0 * vibrato * kDt;
        phaseB += 223.0 * vibrato * kDt;
        filter.Set(600.0 + 3400.0 * std::exp(-t / 0.12), 0.6);
        filter.Process(Saw(phaseA) + Saw(phaseB));
        const float zap = t < 0.06 ? Sine(3000.0 * t - 9000.0 * t * t) * static_cast<float>(1.0 - t / 0.06) : 0.0f;
        return static_cast<float>(std::min(1.0, t / 0.005)) * filter.Low() * Decay(t, 0.3) + 0.4f * zap;
    });
}

Pcm FlameLoop() {
    constexpr std::size_t kFrames = kSampleRate;  // one second: every rate below is a whole number of cycles
    Random random(31);
    std::vector<float> noise(kFrames);
    for (float& n : noise) {
        n = random.Signed();
    }
    StateVariableFilter roar;
    LowPass body;
    body.SetCutoff(180.0);
    Pcm loop = RenderLoop(kFrames, [&](std::size_t i) {
        const double cycle = static_cast<double>(i) / kFrames;
        roar.Set(900.0 + 400.0 * std::sin(kTwoPi * 3.0 * cycle), 0.5);
        roar.Process(noise[i]);
        const float rumble = Sine(60.0 * cycle) + 0.5f * Sine(90.0 * cycle);
        const float flutter = 1.0f + 0.15f * Sine(5.0 * cycle);
        return flutter * (0.8f * roar.Low() + 0.6f * body.Process(noise[i]) + 0.12f * rumble);
    });
    for (int crackle = 0; crackle < 25; ++crackle) {
        const std::size_t at = static_cast<std::size_t>(random.Below(kFrames));
        const float level = 0.2f + 0.3f * static_cast<float>(random.Unit());
        AddWrapped(loop, at, 0.01, [&](double t) { return level * random.Signed() * Decay(t, 0.002); });
    }
    Normalize(loop, kEffectPeak);
    return loop;
}

Pcm RapidFireLoop() {
    constexpr std::size_t kShots = 8;
    constexpr std::size_t kShotFrames = 3087;  // 0.07 s
    constexpr std::size_t kFrames = kShots * kShotFrames;
    Random random(41);
    // The motor hum runs 56 cycles per loop (100 Hz): whole cycles, so no seam.
    Pcm loop = RenderLoop(kFrames, [](std::size_t i) {
        return 0.1f * Triangle(56.0 * static_cast<double>(i) / kFrames);
    });
    // Shots start half a shot in, so the loop point falls between two of them.
    for (std::size_t shot = 0; shot < kShots; ++shot) {
        StateVariableFilter crack;
        crack.Set(2200.0 + 600.0 * random.Unit(), 0.4);
        double phase = 0.0;
        AddWrapped(loop, shot * kShotFrames + kShotFrames / 2, 0.09, [&](double t) {
            phase += (110.0 + 110.0 * std::exp(-t / 0.01)) * kDt;
            crack.Process(random.Signed());
            const float attack = static_cast<float>(std::min(1.0, t / 0.001));
            return attack * (1.4f * crack.Band() * Decay(t, 0.012) + 0.7f * Sine(phase) * Decay(t, 0.02));
        });
    }
    Normalize(loop, kEffectPeak);
    return loop;
}

Pcm FlameEnd() {
    Random random(51);
    LowPass filter;
    double phase = 0.0;
    return Render(0.6, [&](double t) {
        filter.SetCutoff(200.0 + 1300.0 * std::exp(-t / 0.12));
        phase += (40.0 + 30.0 * std::exp(-t / 0.1)) * kDt;
        return Decay(t, 0.18) * (filter.Process(random.Signed()) + 0.4f * Sine(phase));
    });
}

Pcm RapidFireEnd() {
    Random random(61);
    StateVariableFilter click;
    click.Set(4000.0, 0.3);
    double phase = 0.0;
    return Render(0.7, [&](double t) {
        phase += (30.0 + 70.0 * std::exp(-t / 0.2)) * kDt;
        const float whir = 0.5f * Saw(phase) * Decay(t, 0.25);
        const double local = std::max(0.0, t - 0.05);
        const float clank = t < 0.05 ? 0.0f
                                     : Decay(local, 0.12) * (Sine(1230.0 * local) + 0.7f * Sine(1790.0 * local) +
                                                             0.5f * Sine(2610.0 * local));
        click.Process(random.Signed());
        return whir + 0.4f * clank + click.Band() * Decay(t, 0.01);
    });
}

}  // namespace AssetGen::Effects
