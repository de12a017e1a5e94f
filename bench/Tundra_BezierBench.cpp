#include "core/Core_DiskFile.h"
#include "core/Core_Startup.h"
#include "tundra/Tundra_CompositeBezierCurve.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

// Paths like the game's (coordinates up to about 1,100 world units): the
// cost of building a curve from its file, the size of its arc-length table,
// and one follower step (advance, lookup, position, direction).

namespace {

std::uint8_t g_coreGuard = 0;
[[maybe_unused]] const bool g_started = (CoreStartup(g_coreGuard), true);

// A swoop across the screen, as a flying enemy's path.
const std::vector<float> kOneSegment = {-1100.0f, 300.0f, -400.0f, -600.0f, 500.0f, 900.0f, 1100.0f, -200.0f};
// A rise and a set, as the title sun's two paths joined.
const std::vector<float> kTwoSegments = {-1000.0f, -500.0f, -700.0f, 400.0f,  -200.0f, 650.0f,  0.0f,    700.0f,
                                         0.0f,     700.0f,  300.0f,  780.0f, 800.0f,  300.0f, 1050.0f, -450.0f};

// Writes the path file once per process and gives its full path.
Core::String WritePath(const char* name, const std::vector<float>& coordinates) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    Core::DiskFile file(path.string(), Core::DiskFile::kModeWrite);
    file.WriteU32(static_cast<std::uint32_t>(coordinates.size() / 8));
    for (const float value : coordinates) {
        file.WriteF32(value);
    }
    file.Close();
    return Core::String(path.string());
}

void Load(benchmark::State& state, const std::vector<float>& coordinates, const char* name) {
    const Core::String path = WritePath(name, coordinates);
    std::size_t entries = 0;
    for (auto _ : state) {
        const Core::RefPtr<Tundra::CompositeBezierCurve> curve = TUN_NEW(Tundra::CompositeBezierCurve, path);
        entries = curve->GetArcLengthKeys().size();
        benchmark::DoNotOptimize(curve.Get());
    }
    state.counters["table_entries"] = static_cast<double>(entries);
    std::filesystem::remove(path.c_str());
}

void BM_LoadOneSegment(benchmark::State& state) { Load(state, kOneSegment, "tundra_bench_path1"); }
void BM_LoadTwoSegments(benchmark::State& state) { Load(state, kTwoSegments, "tundra_bench_path2"); }

// One frame of a path follower at 300 units per second and 60 frames per second.
void BM_FollowerStep(benchmark::State& state) {
    const Core::String path = WritePath("tundra_bench_path3", kTwoSegments);
    const Core::RefPtr<Tundra::CompositeBezierCurve> curve = TUN_NEW(Tundra::CompositeBezierCurve, path);
    const float advance = 300.0f / 60.0f / curve->GetLength();
    float s = 0.0f;
    for (auto _ : state) {
        s += advance;
        if (s > 1.0f) {
            s -= 1.0f;
        }
        const float t = curve->LookupSampledValue(s);
        benchmark::DoNotOptimize(curve->GetPosition(t));
        benchmark::DoNotOptimize(curve->GetDirection(t));
    }
    state.counters["table_entries"] = static_cast<double>(curve->GetArcLengthKeys().size());
    std::filesystem::remove(path.c_str());
}

}  // namespace

BENCHMARK(BM_LoadOneSegment)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadTwoSegments)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FollowerStep);
