#pragma once

#include "core/Core_SpinLock.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace Core {

// Size-class pool for small blocks. Each requested size (0 to 4095 bytes) has
// its own bucket; a bucket hands out fixed-size blocks from chunks taken from
// the C heap and never returns them before exit. Blocks carry no header:
// whoever frees a block passes its requested size back. Requests of 4096
// bytes or more go straight to the C heap.
//
// A bucket's first chunk holds about 4 KB of blocks (at least one block) and
// each further chunk twice as many, up to 256 blocks. With 4096 buckets, a
// first chunk of 256 blocks would hold gigabytes for a program that uses
// each size only a few times; the growth keeps busy sizes at one refill per
// 256 blocks.
//
// Blocks are at least 16 bytes and 16-byte aligned, so a free block can hold
// its 64-bit free-list link and any scalar type fits. Each bucket has its own
// lock: the pool is used directly by strings on several threads. The
// process-wide entry points below add a small per-thread cache in front of
// the buckets, so that the common allocation takes no lock at all.
class MemoryPool {
public:
    static constexpr std::size_t kBucketCount = 4096;
    static constexpr std::size_t kBlocksPerChunk = 256;
    static constexpr std::size_t kFirstChunkBytes = 4096;
    static constexpr std::size_t kAlignment = 16;

    // The process-wide pool. It is never destroyed: static objects may still
    // free pool memory while the process exits, and the OS reclaims it.
    static MemoryPool& GetInstance();

    constexpr MemoryPool() = default;
    ~MemoryPool();
    MemoryPool(const MemoryPool&) = delete;
    MemoryPool& operator=(const MemoryPool&) = delete;

    // A block of at least max(size, 16) bytes, or null when the heap is exhausted.
    void* Allocate(std::size_t size);
    // Gives back a block obtained from Allocate with the same size; null is ignored.
    void Free(void* block, std::size_t size);

    // A chain of free blocks linked through their first word.
    struct FreeBlock {
        FreeBlock* next;
    };
    // Takes up to count blocks of the bucket at once (adding chunks as needed)
    // and returns them as a chain; *taken tells how many (0 when the heap is
    // exhausted). Only for sizes below 4096.
    FreeBlock* TakeBlocks(std::size_t size, std::size_t count, std::size_t* taken);
    // Gives a chain from first to last back to the bucket of size.
    void GiveBlocks(std::size_t size, FreeBlock* first, FreeBlock* last);

    struct BucketStats {
        std::size_t chunks = 0;
        std::size_t blocks = 0;  // in all chunks
        std::size_t freeBlocks = 0;
        std::size_t blockSize = 0;
    };
    // Chunks, blocks and free blocks of the bucket of this requested size
    // (all zero while the bucket does not exist). Walks the free list.
    BucketStats GetBucketStats(std::size_t requested);

private:
    // Block size used for a requested size below 4096.
    static std::size_t BlockSizeFor(std::size_t requested);
    // Blocks in the chunk that follows one of previousBlocks (0: the first chunk).
    static std::size_t ChunkBlocksAfter(std::size_t blockSize, std::size_t previousBlocks);

    struct Chunk {
        Chunk* next;
    };
    struct Bucket {
        SpinLock lock;
        FreeBlock* freeList = nullptr;
        Chunk* chunks = nullptr;
        std::size_t blockSize = 0;
        std::size_t chunkCount = 0;
        std::size_t blockCount = 0;
        std::size_t lastChunkBlocks = 0;
    };

    Bucket* GetOrCreateBucket(std::size_t size);
    static bool AddChunk(Bucket& bucket);

    std::atomic<Bucket*> m_buckets[kBucketCount] = {};
    SpinLock m_creationLock;
};

// The process-wide pool's entry points, taking no memory mutex. With
// TUNDRA_POOL_PASSTHROUGH they go straight to the C heap, so that memory
// checkers see every block.
void* PoolAllocate(std::size_t size);
void PoolFree(void* block, std::size_t size);

}  // namespace Core
