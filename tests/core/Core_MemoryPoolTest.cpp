#include "core/Core_MemoryPool.h"
#include "core/Core_MemoryPoolTestHooks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

using Core::MemoryPool;

// Each requested size has its own bucket; 4096 bytes and more bypass the pool.
TEST(MemoryPool, BlocksAreAlignedWritableAndBucketedByRequestedSize) {
    const std::size_t cases[][3] = {{0, 16, 256},   {1, 16, 256},    {4, 16, 256},    {17, 32, 128}, {40, 48, 85},
                                    {1000, 1008, 4}, {2100, 2112, 1}, {4095, 4096, 1}, {4096, 0, 0},  {10000, 0, 0}};
    MemoryPool pool;
    for (const auto& [size, blockSize, firstChunkBlocks] : cases) {
        void* block = pool.Allocate(size);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % MemoryPool::kAlignment, 0u) << size;
        std::memset(block, 0xAB, size);
        const MemoryPool::BucketStats stats = pool.GetBucketStats(size);
        EXPECT_EQ(stats.blockSize, blockSize) << size;
        EXPECT_EQ(stats.blocks, firstChunkBlocks) << size;
        EXPECT_EQ(stats.freeBlocks, firstChunkBlocks == 0 ? 0 : firstChunkBlocks - 1) << size;
        pool.Free(block, size);
    }
    // Last in, first out.
    void* blocks[3] = {pool.Allocate(24), pool.Allocate(24), pool.Allocate(24)};
    pool.Free(blocks[1], 24);
    EXPECT_EQ(pool.Allocate(24), blocks[1]);
    // An exhausted heap gives null and leaves the pool usable.
    Core::testhooks::SetSystemAllocator([](std::size_t) -> void* { return nullptr; });
    EXPECT_TRUE(pool.Allocate(64) == nullptr && pool.Allocate(8192) == nullptr);
    Core::testhooks::SetSystemAllocator(nullptr);
    EXPECT_NE(pool.Allocate(64), nullptr);
    pool.Free(nullptr, 64);
}

// Chunks of 1, 2, 4 ... blocks, then 256 at a time, each handed out in
// address order. A stream holding a string of every length from 1 to 4095
// (8.4 MB) once took 256 blocks per length: 2.1 GB.
TEST(MemoryPool, RefillsGrowSoThatEverySizeOnceStaysSmall) {
    MemoryPool pool;
    char* previous = nullptr;
    for (std::size_t allocated = 1, chunkEnd = 1, chunk = 1; allocated <= 767; ++allocated) {
        auto* block = static_cast<char*>(pool.Allocate(3000));
        EXPECT_EQ(pool.GetBucketStats(3000).blocks, chunkEnd) << allocated;
        EXPECT_TRUE(allocated == chunkEnd - chunk + 1 || block - previous == 3008) << allocated;
        previous = block;
        if (allocated == chunkEnd) {
            chunk = std::min<std::size_t>(chunk * 2, 256);
            chunkEnd += chunk;
        }
    }
    std::size_t chunkBytes = 0;
    for (std::size_t size = 1; size < MemoryPool::kBucketCount; ++size) {
        pool.Allocate(size);
        chunkBytes += pool.GetBucketStats(size).blocks * pool.GetBucketStats(size).blockSize;
    }
    EXPECT_LT(chunkBytes, 24u << 20);

}

// Through the process-wide entry points, so that the release build also
// exercises the per-thread caches: each thread holds more blocks than a
// cache keeps, and gives its cache back when it ends. Only this test uses
// these sizes.
TEST(MemoryPool, ConcurrentUseNeverSharesABlockAndLosesNone) {
    constexpr std::size_t kSizes[] = {1011, 1013, 3001};
    std::vector<std::pair<unsigned char*, std::size_t>> held[4];
    std::atomic<int> corrupted{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round <= 50; ++round) {
                for (auto [block, size] : held[t]) {
                    corrupted += block[0] != t + 1 || block[size - 1] != t + 1;
                    Core::PoolFree(block, size);
                }
                held[t].clear();
                for (int i = 0; i < 300 && round < 50; ++i) {
                    void* block = std::memset(Core::PoolAllocate(kSizes[i % 3]), t + 1, kSizes[i % 3]);
                    held[t].emplace_back(static_cast<unsigned char*>(block), kSizes[i % 3]);
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(corrupted, 0);
#if !defined(TUNDRA_POOL_PASSTHROUGH)
    for (std::size_t size : kSizes) {
        const MemoryPool::BucketStats stats = MemoryPool::GetInstance().GetBucketStats(size);
        EXPECT_EQ(stats.freeBlocks, stats.blocks) << size;
    }
#endif
}
