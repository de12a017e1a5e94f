#include "core/Core_MemoryPool.h"
#include "core/Core_Startup.h"
#include "core/Core_TrackedMemory.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

// Tracked allocation against plain malloc/free for small blocks, in batches
// so that both allocators also see frees out of the order of allocation.

namespace {

constexpr int kBatch = 64;
constexpr std::size_t kSizes[] = {16, 24, 48, 64, 100, 200};

// Measure as the game runs: after Core start-up, with the memory mutex in place.
std::uint8_t g_coreGuard = 0;
[[maybe_unused]] const bool g_started = (CoreStartup(g_coreGuard), true);

void TrackedSmallBlocks(benchmark::State& state) {
    void* blocks[kBatch];
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            blocks[i] = TrackedNew(kSizes[i % 6], __FILE__, __LINE__);
        }
        benchmark::DoNotOptimize(blocks);
        for (int i = kBatch - 1; i >= 0; --i) {
            TrackedDelete(blocks[i], kSizes[i % 6]);
        }
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}

void PoolSmallBlocks(benchmark::State& state) {
    void* blocks[kBatch];
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            blocks[i] = Core::PoolAllocate(kSizes[i % 6]);
        }
        benchmark::DoNotOptimize(blocks);
        for (int i = kBatch - 1; i >= 0; --i) {
            Core::PoolFree(blocks[i], kSizes[i % 6]);
        }
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}

void MallocSmallBlocks(benchmark::State& state) {
    void* blocks[kBatch];
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            blocks[i] = std::malloc(kSizes[i % 6]);
        }
        benchmark::DoNotOptimize(blocks);
        for (int i = kBatch - 1; i >= 0; --i) {
            std::free(blocks[i]);
        }
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}

}  // namespace

BENCHMARK(TrackedSmallBlocks);
BENCHMARK(PoolSmallBlocks);
BENCHMARK(MallocSmallBlocks);
BENCHMARK(TrackedSmallBlocks)->Threads(4);
BENCHMARK(PoolSmallBlocks)->Threads(4);
BENCHMARK(MallocSmallBlocks)->Threads(4);
