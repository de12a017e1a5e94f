#include "core/Core_File.h"
#include "core/Core_MemoryFile.h"
#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "core/Core_Startup.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

// 100,000 small objects written to a memory stream and read back, each as
// its own reference (the path every save and network object takes).

namespace {

constexpr int kObjects = 100000;

// Measure as the game runs: after Core start-up, with the memory mutex in place.
std::uint8_t g_coreGuard = 0;
[[maybe_unused]] const bool g_started = (CoreStartup(g_coreGuard), true);

class BenchParticle : public Core::Object {
    TUN_DECLARE_CLASS(BenchParticle);

    void Save(Core::File& file) const override {
        file.WriteF32(x);
        file.WriteF32(y);
        file.WriteF32(life);
        file.WriteI32(kind);
    }
    void Load(Core::File& file) override {
        file.ReadF32(x);
        file.ReadF32(y);
        file.ReadF32(life);
        file.ReadI32(kind);
    }

    float x = 0.0f;
    float y = 0.0f;
    float life = 0.0f;
    std::int32_t kind = 0;
};

}  // namespace

TUN_DEFINE_CLASS_NAMED(BenchParticle, "BenchParticle")

namespace {

std::vector<Core::RefPtr<BenchParticle>> MakeParticles() {
    std::vector<Core::RefPtr<BenchParticle>> particles;
    particles.reserve(kObjects);
    for (int i = 0; i < kObjects; ++i) {
        Core::RefPtr<BenchParticle> particle(static_cast<BenchParticle*>(BenchParticle::Create()));
        particle->x = static_cast<float>(i);
        particle->kind = i % 7;
        particles.push_back(particle);
    }
    return particles;
}

void WriteAll(Core::File& file, const std::vector<Core::RefPtr<BenchParticle>>& particles) {
    for (const auto& particle : particles) {
        file << particle;
    }
}

std::vector<Core::RefPtr<BenchParticle>> ReadAll(Core::File& file) {
    std::vector<Core::RefPtr<BenchParticle>> particles;
    particles.reserve(kObjects);
    for (int i = 0; i < kObjects; ++i) {
        particles.emplace_back(file.ReadObjectAs<BenchParticle>());
    }
    return particles;
}

void WriteObjects(benchmark::State& state) {
    const auto particles = MakeParticles();
    for (auto _ : state) {
        Core::MemoryFile file;
        WriteAll(file, particles);
        benchmark::DoNotOptimize(file.GetData());
    }
    state.SetItemsProcessed(state.iterations() * kObjects);
}

void ReadObjects(benchmark::State& state) {
    Core::MemoryFile written;
    WriteAll(written, MakeParticles());
    for (auto _ : state) {
        Core::MemoryFile file(written.GetData(), written.GetSize());
        auto particles = ReadAll(file);
        benchmark::DoNotOptimize(particles.data());
    }
    state.SetItemsProcessed(state.iterations() * kObjects);
}

void WriteAndReadBack(benchmark::State& state) {
    const auto particles = MakeParticles();
    for (auto _ : state) {
        Core::MemoryFile file;
        WriteAll(file, particles);
        auto back = ReadAll(file);
        benchmark::DoNotOptimize(back.data());
    }
    state.SetItemsProcessed(state.iterations() * kObjects);
}

}  // namespace

BENCHMARK(WriteObjects)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadObjects)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteAndReadBack)->Unit(benchmark::kMillisecond);
