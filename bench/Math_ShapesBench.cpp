#include "math/Math_Circle2D.h"
#include "math/Math_LineSegment2D.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

// Classification throughput of the collision engine's two commonest static
// tests, over a fixed mix of shapes spread over a square world: a 1000-wide
// world gives mostly misses, a 100-wide one mostly crossings.

namespace {

constexpr int kCount = 1024;

// A small fixed generator, so every run measures the same pairs.
struct Generator {
    std::uint32_t state = 12345u;
    float Next(float low, float high) {
        state = state * 1664525u + 1013904223u;
        return low + (high - low) * static_cast<float>(state >> 8) / 16777216.0f;
    }
};

std::vector<Math::LineSegment2D> MakeSegments(float world) {
    Generator g;
    std::vector<Math::LineSegment2D> segments;
    segments.reserve(kCount);
    for (int i = 0; i < kCount; ++i) {
        const Point2D a(g.Next(0.0f, world), g.Next(0.0f, world));
        Vector2D d(g.Next(-50.0f, 50.0f), g.Next(-50.0f, 50.0f));
        // Every fourth segment is axis-aligned, as tile edges are.
        if (i % 4 == 1) {
            d.y = 0.0f;
        } else if (i % 4 == 3) {
            d.x = 0.0f;
        }
        segments.emplace_back(a, a + d);
    }
    return segments;
}

std::vector<Math::Circle2D> MakeCircles(float world) {
    Generator g{777u};
    std::vector<Math::Circle2D> circles;
    circles.reserve(kCount);
    for (int i = 0; i < kCount; ++i) {
        circles.emplace_back(Point2D(g.Next(0.0f, world), g.Next(0.0f, world)), g.Next(5.0f, 60.0f));
    }
    return circles;
}

void SegmentToSegment(benchmark::State& state) {
    const std::vector<Math::LineSegment2D> segments = MakeSegments(static_cast<float>(state.range(0)));
    Point2D crossing;
    Math::LineSegment2D overlap;
    for (auto _ : state) {
        int sum = 0;
        for (int i = 0; i < kCount; ++i) {
            sum += segments[i].ClassifyToLineSegment(segments[(i * 7 + 1) % kCount], crossing, overlap);
        }
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(crossing);
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

void SegmentToCircle(benchmark::State& state) {
    const auto world = static_cast<float>(state.range(0));
    const std::vector<Math::LineSegment2D> segments = MakeSegments(world);
    const std::vector<Math::Circle2D> circles = MakeCircles(world);
    Point2D first;
    Point2D second;
    for (auto _ : state) {
        int sum = 0;
        for (int i = 0; i < kCount; ++i) {
            sum += segments[i].ClassifyToCircle(circles[(i * 13 + 5) % kCount], first, second);
        }
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(first);
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

}  // namespace

BENCHMARK(SegmentToSegment)->Arg(1000)->Arg(100);
BENCHMARK(SegmentToCircle)->Arg(1000)->Arg(100);
