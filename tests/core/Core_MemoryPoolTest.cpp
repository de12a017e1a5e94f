#include "core/Core_MemoryPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

using Core::MemoryPool;

namespace {

bool IsAligned(const void* block) { return reinterpret_cast<std::uintptr_t>(block) % MemoryPool::kAlignment == 0; }

void* FailingAllocator(std::size_t) { return nullptr; }

}  // namespace

TEST(MemoryPool, TinyRequestsEachGetTheirOwnBucketOfMinimumBlocks) {
    MemoryPool pool;
    std::vector<void*> blocks;
    for (std::size_t size = 0; size <= 4; ++size) {
        blocks.push_back(pool.Allocate(size));
    }
    for (std::size_t size = 0; size <= 4; ++size) {
        const MemoryPool::BucketStats stats = pool.GetBucketStats(size);
        EXPECT_EQ(stats.chunks, 1u) << "size " << size;
        EXPECT_EQ(stats.blockSize, 16u) << "size " << size;
        EXPECT_EQ(stats.freeBlocks, MemoryPool::kBlocksPerChunk - 1) << "size " << size;
        pool.Free(blocks[size], size);
    }
}

TEST(MemoryPool, EveryBlockIsSixteenByteAlignedAndWritableAndOnly4095BytesArePooled) {
    MemoryPool pool;
    for (std::size_t size : {1u, 7u, 17u, 24u, 100u, 1000u, 4095u, 4096u, 10000u}) {
        void* block = pool.Allocate(size);
        ASSERT_NE(block, nullptr);
        EXPECT_TRUE(IsAligned(block)) << "size " << size;
        std::memset(block, 0xAB, size);
        EXPECT_EQ(pool.GetBucketStats(size).chunks, size < 4096 ? 1u : 0u) << "size " << size;
        pool.Free(block, size);
    }
}

TEST(MemoryPool, FreedBlockIsHandedOutNext) {
    MemoryPool pool;
    void* first = pool.Allocate(24);
    void* second = pool.Allocate(24);
    void* third = pool.Allocate(24);
    pool.Free(second, 24);
    EXPECT_EQ(pool.Allocate(24), second);
    for (void* block : {first, second, third}) {
        pool.Free(block, 24);
    }
}

// 40 bytes round up to 48: blocks of one chunk never overlap.
TEST(MemoryPool, BlockAfterAFullChunkAddsASecondChunk) {
    MemoryPool pool;
    auto* previous = static_cast<char*>(pool.Allocate(40));
    for (std::size_t i = 1; i < MemoryPool::kBlocksPerChunk; ++i) {
        auto* next = static_cast<char*>(pool.Allocate(40));
        EXPECT_EQ(next - previous, 48);
        previous = next;
    }
    EXPECT_EQ(pool.GetBucketStats(40).chunks, 1u);
    EXPECT_EQ(pool.GetBucketStats(40).freeBlocks, 0u);
    pool.Allocate(40);
    EXPECT_EQ(pool.GetBucketStats(40).chunks, 2u);
    EXPECT_EQ(pool.GetBucketStats(40).freeBlocks, MemoryPool::kBlocksPerChunk - 1);
}

TEST(MemoryPool, ExhaustedHeapGivesNullAndLeavesThePoolUsable) {
    MemoryPool pool;
    MemoryPool::SetSystemAllocator(&FailingAllocator);
    EXPECT_EQ(pool.Allocate(64), nullptr);
    EXPECT_EQ(pool.Allocate(8192), nullptr);
    MemoryPool::SetSystemAllocator(nullptr);
    void* block = pool.Allocate(64);
    EXPECT_NE(block, nullptr);
    pool.Free(block, 64);
    pool.Free(nullptr, 64);
}

TEST(MemoryPool, ConcurrentUseNeverSharesABlockAndLosesNone) {
    MemoryPool pool;
    constexpr int kThreads = 4;
    constexpr int kRounds = 3000;
    constexpr std::size_t kSizes[] = {8, 24, 40};
    std::vector<int> corrupted(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            std::vector<std::pair<unsigned char*, std::size_t>> held;
            for (int round = 0; round < kRounds; ++round) {
                const std::size_t size = kSizes[(round + t) % 3];
                auto* block = static_cast<unsigned char*>(pool.Allocate(size));
                std::memset(block, t + 1, size);
                held.emplace_back(block, size);
                if (held.size() < 64 && round + 1 < kRounds) {
                    continue;
                }
                // The owner's pattern is intact: nobody else got these blocks.
                for (const auto& [heldBlock, heldSize] : held) {
                    const auto intact = std::count(heldBlock, heldBlock + heldSize, t + 1);
                    corrupted[t] += intact != static_cast<std::ptrdiff_t>(heldSize);
                    pool.Free(heldBlock, heldSize);
                }
                held.clear();
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(corrupted, std::vector<int>(kThreads, 0));
    for (std::size_t size : kSizes) {
        const MemoryPool::BucketStats stats = pool.GetBucketStats(size);
        EXPECT_EQ(stats.freeBlocks, stats.chunks * MemoryPool::kBlocksPerChunk) << "size " << size;
    }
}
