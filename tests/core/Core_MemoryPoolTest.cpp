#include "core/Core_MemoryPool.h"
#include "core/Core_MemoryPoolTestHooks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <thread>
#include <unistd.h>
#include <vector>

using Core::MemoryPool;

namespace {

void* FailingAllocator(std::size_t) { return nullptr; }

// Resident bytes of this process, as the kernel counts them.
double ResidentBytes() {
    double pages = 0.0;
    double resident = 0.0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * static_cast<double>(sysconf(_SC_PAGESIZE));
}

}  // namespace

// Each requested size has its own bucket; 4096 bytes and more bypass the pool.
TEST(MemoryPool, BlocksAreAlignedWritableAndBucketedByRequestedSize) {
    struct Case {
        std::size_t size, blockSize, firstChunkBlocks;
    };
    const Case cases[] = {{0, 16, 256},    {1, 16, 256},      {4, 16, 256}, {17, 32, 128}, {40, 48, 85},
                          {1000, 1008, 4}, {2100, 2112, 1},   {4095, 4096, 1}, {4096, 0, 0}, {10000, 0, 0}};
    MemoryPool pool;
    for (const Case& c : cases) {
        void* block = pool.Allocate(c.size);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % MemoryPool::kAlignment, 0u) << c.size;
        std::memset(block, 0xAB, c.size);
        const MemoryPool::BucketStats stats = pool.GetBucketStats(c.size);
        EXPECT_EQ(stats.blockSize, c.blockSize) << c.size;
        EXPECT_EQ(stats.blocks, c.firstChunkBlocks) << c.size;
        EXPECT_EQ(stats.freeBlocks, c.firstChunkBlocks == 0 ? 0 : c.firstChunkBlocks - 1) << c.size;
        pool.Free(block, c.size);
    }
    // Last in, first out.
    void* blocks[3] = {pool.Allocate(24), pool.Allocate(24), pool.Allocate(24)};
    pool.Free(blocks[1], 24);
    EXPECT_EQ(pool.Allocate(24), blocks[1]);
}

// Chunks of 1, 2, 4 ... blocks, then 256 at a time; the blocks of a chunk
// are handed out in address order and never overlap.
TEST(MemoryPool, RefillsDoubleUpToTheFullChunk) {
    MemoryPool pool;
    const std::size_t chunkEnds[] = {1, 3, 7, 15, 31, 63, 127, 255, 511, 767};
    char* previous = nullptr;
    std::size_t previousBlocks = 0;
    for (std::size_t allocated = 1; allocated <= 767; ++allocated) {
        auto* block = static_cast<char*>(pool.Allocate(3000));
        const std::size_t blocks = pool.GetBucketStats(3000).blocks;
        EXPECT_EQ(blocks, *std::lower_bound(std::begin(chunkEnds), std::end(chunkEnds), allocated)) << allocated;
        if (blocks == previousBlocks) {
            EXPECT_EQ(block - previous, 3008) << allocated;
        }
        previous = block;
        previousBlocks = blocks;
    }
    EXPECT_EQ(pool.GetBucketStats(3000).chunks, 10u);
}

// A stream holding a string of every length from 1 to 4095 (8.4 MB) once
// took a 256-block chunk per length: 2.1 GB.
TEST(MemoryPool, OneBlockOfEverySizeStaysSmall) {
    MemoryPool pool;
    std::size_t chunkBytes = 0;
    for (std::size_t size = 1; size < MemoryPool::kBucketCount; ++size) {
        pool.Allocate(size);
        const MemoryPool::BucketStats stats = pool.GetBucketStats(size);
        chunkBytes += stats.blocks * stats.blockSize;
    }
    EXPECT_LT(chunkBytes, 20u << 20);

    // The process-wide entry points, as strings use them, measured honestly.
    const double before = ResidentBytes();
    std::vector<void*> held;
    for (std::size_t size = 1; size < MemoryPool::kBucketCount; ++size) {
        held.push_back(Core::PoolAllocate(size));
        std::memset(held.back(), 0x5A, size);
    }
    EXPECT_GT(before, 0.0);
    EXPECT_LT(ResidentBytes() - before, 100.0 * (1 << 20));
    for (std::size_t size = 1; size < MemoryPool::kBucketCount; ++size) {
        Core::PoolFree(held[size - 1], size);
    }
}

TEST(MemoryPool, ExhaustedHeapGivesNullAndLeavesThePoolUsable) {
    MemoryPool pool;
    Core::testhooks::SetSystemAllocator(&FailingAllocator);
    EXPECT_EQ(pool.Allocate(64), nullptr);
    EXPECT_EQ(pool.Allocate(8192), nullptr);
    Core::testhooks::SetSystemAllocator(nullptr);
    void* block = pool.Allocate(64);
    EXPECT_NE(block, nullptr);
    pool.Free(block, 64);
    pool.Free(nullptr, 64);
}

// Through the process-wide entry points, so that the release build also
// exercises the per-thread caches: each thread holds more blocks than a
// cache keeps. Only this test uses these sizes.
TEST(MemoryPool, ConcurrentUseNeverSharesABlockAndLosesNone) {
    constexpr std::size_t kSizes[] = {1011, 1013, 3001};
    std::vector<std::pair<unsigned char*, std::size_t>> held[4];
    std::atomic<int> corrupted{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 50; ++round) {
                for (auto [block, size] : held[t]) {
                    corrupted += block[0] != t + 1 || block[size - 1] != t + 1;
                    Core::PoolFree(block, size);
                }
                held[t].clear();
                for (int i = 0; i < 300; ++i) {
                    held[t].emplace_back(static_cast<unsigned char*>(Core::PoolAllocate(kSizes[i % 3])), kSizes[i % 3]);
                    std::memset(held[t].back().first, t + 1, kSizes[i % 3]);
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    // A thread that frees blocks it never allocated gives them back when it ends.
    std::thread([&] {
        for (const auto& blocks : held) {
            for (auto [block, size] : blocks) {
                Core::PoolFree(block, size);
            }
        }
    }).join();
    EXPECT_EQ(corrupted, 0);
#if !defined(TUNDRA_POOL_PASSTHROUGH)
    for (std::size_t size : kSizes) {
        const MemoryPool::BucketStats stats = MemoryPool::GetInstance().GetBucketStats(size);
        EXPECT_EQ(stats.freeBlocks, stats.blocks) << size;
    }
#endif
}
