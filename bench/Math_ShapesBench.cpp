#include "math/Math_Circle2D.h"
#include "math/Math_LineSegment2D.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

// Classification throughput of the collision engine's two commonest static
// tests, over fixed pairs in a 1000 x 1000 world. Segment pairs are about a
// quarter each crossing, missing, parallel and collinear overlapping (float
// rounding moves a few between these); segment/circle pairs are a quarter
// each crossing twice, crossing once, missing the circle's line and lying
// inside the circle.

namespace {

constexpr int kCount = 1024;

// A small fixed generator, so every run measures the same pairs.
struct Generator {
    std::uint32_t state = 12345u;
    float Next(float low, float high) {
        state = state * 1664525u + 1013904223u;
        return low + (high - low) * static_cast<float>(state >> 8) / 16777216.0f;
    }
    Point2D NextPoint() { return {Next(100.0f, 900.0f), Next(100.0f, 900.0f)}; }
    Vector2D NextDirection(float length) {
        Vector2D d(Next(-1.0f, 1.0f), Next(0.2f, 1.0f));
        d.Normalize();
        return d * length;
    }
};

struct SegmentPair {
    Math::LineSegment2D first;
    Math::LineSegment2D second;
};

struct SegmentCirclePair {
    Math::LineSegment2D segment;
    Math::Circle2D circle;
};

std::vector<SegmentPair> MakeSegmentPairs() {
    Generator g;
    std::vector<SegmentPair> pairs;
    pairs.reserve(kCount);
    for (int i = 0; i < kCount; ++i) {
        const Point2D a = g.NextPoint();
        const Vector2D d = g.NextDirection(g.Next(10.0f, 60.0f));
        const Math::LineSegment2D first(a, a + d);
        const Point2D middle = a + d * 0.5f;
        const Vector2D across(-d.y, d.x);
        switch (i % 4) {
            case 0:
                pairs.push_back({first, {middle - across * 0.5f, middle + across * 0.5f}});
                break;
            case 1:
                pairs.push_back({first, {middle + across * 0.6f, middle + across * 1.5f}});
                break;
            case 2:
                pairs.push_back({first, {a + across, a + across + d}});
                break;
            default:
                pairs.push_back({first, {middle, middle + d}});
                break;
        }
    }
    return pairs;
}

std::vector<SegmentCirclePair> MakeSegmentCirclePairs() {
    Generator g{777u};
    std::vector<SegmentCirclePair> pairs;
    pairs.reserve(kCount);
    for (int i = 0; i < kCount; ++i) {
        const Math::Circle2D circle(g.NextPoint(), g.Next(5.0f, 60.0f));
        const Vector2D d = g.NextDirection(circle.radius);
        const Point2D& c = circle.center;
        const Vector2D across(-d.y, d.x);
        switch (i % 4) {
            case 0:
                pairs.push_back({{c - d * 2.0f, c + d * 2.0f}, circle});
                break;
            case 1:
                pairs.push_back({{c, c + d * 2.0f}, circle});
                break;
            case 2:
                pairs.push_back({{c + across * 1.5f - d, c + across * 1.5f + d}, circle});
                break;
            default:
                pairs.push_back({{c - d * 0.5f, c + d * 0.5f}, circle});
                break;
        }
    }
    return pairs;
}

void SegmentToSegment(benchmark::State& state) {
    const std::vector<SegmentPair> pairs = MakeSegmentPairs();
    Point2D crossing;
    Math::LineSegment2D overlap;
    for (auto _ : state) {
        int sum = 0;
        for (const SegmentPair& pair : pairs) {
            sum += pair.first.ClassifyToLineSegment(pair.second, crossing, overlap);
        }
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(crossing);
        benchmark::DoNotOptimize(overlap);
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

void SegmentToCircle(benchmark::State& state) {
    const std::vector<SegmentCirclePair> pairs = MakeSegmentCirclePairs();
    Point2D first;
    Point2D second;
    for (auto _ : state) {
        int sum = 0;
        for (const SegmentCirclePair& pair : pairs) {
            sum += pair.segment.ClassifyToCircle(pair.circle, first, second);
        }
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(first);
        benchmark::DoNotOptimize(second);
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

}  // namespace

BENCHMARK(SegmentToSegment);
BENCHMARK(SegmentToCircle);
