#include "core/Core_MemoryPool.h"

#include "core/Core_MemoryPoolTestHooks.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>

namespace Core {
namespace {

std::atomic<testhooks::SystemAllocator> g_systemAllocator{nullptr};

void* SystemAllocate(std::size_t size) {
    if (testhooks::SystemAllocator allocator = g_systemAllocator.load(std::memory_order_acquire)) {
        return allocator(size);
    }
    return std::malloc(size);
}

// Chunk data starts one alignment unit after the chunk header.
constexpr std::size_t kChunkHeaderSize = MemoryPool::kAlignment;
static_assert(sizeof(void*) <= kChunkHeaderSize);

}  // namespace

void testhooks::SetSystemAllocator(SystemAllocator allocator) {
    g_systemAllocator.store(allocator, std::memory_order_release);
}

namespace {
// Constant-initialised, so it is usable from the first static initialiser on,
// and never destroyed.
union ProcessPool {
    MemoryPool pool;
    constexpr ProcessPool() : pool() {}
    ~ProcessPool() {}
};
constinit ProcessPool g_processPool;
}  // namespace

MemoryPool& MemoryPool::GetInstance() { return g_processPool.pool; }

MemoryPool::~MemoryPool() {
    for (std::atomic<Bucket*>& slot : m_buckets) {
        Bucket* bucket = slot.load(std::memory_order_relaxed);
        if (bucket == nullptr) {
            continue;
        }
        for (Chunk* chunk = bucket->chunks; chunk != nullptr;) {
            Chunk* next = chunk->next;
            std::free(chunk);
            chunk = next;
        }
        bucket->~Bucket();
        std::free(bucket);
    }
}

std::size_t MemoryPool::BlockSizeFor(std::size_t requested) {
    const std::size_t rounded = (requested + kAlignment - 1) & ~(kAlignment - 1);
    return rounded < kAlignment ? kAlignment : rounded;
}

MemoryPool::Bucket* MemoryPool::GetOrCreateBucket(std::size_t size) {
    Bucket* bucket = m_buckets[size].load(std::memory_order_acquire);
    if (bucket != nullptr) {
        return bucket;
    }
    std::lock_guard<SpinLock> guard(m_creationLock);
    bucket = m_buckets[size].load(std::memory_order_relaxed);
    if (bucket == nullptr) {
        void* memory = SystemAllocate(sizeof(Bucket));
        if (memory == nullptr) {
            return nullptr;
        }
        bucket = new (memory) Bucket();
        bucket->blockSize = BlockSizeFor(size);
        m_buckets[size].store(bucket, std::memory_order_release);
    }
    return bucket;
}

std::size_t MemoryPool::ChunkBlocksAfter(std::size_t blockSize, std::size_t previousBlocks) {
    if (previousBlocks == 0) {
        return std::clamp<std::size_t>(kFirstChunkBytes / blockSize, 1, kBlocksPerChunk);
    }
    return std::min(previousBlocks * 2, kBlocksPerChunk);
}

bool MemoryPool::AddChunk(Bucket& bucket) {
    const std::size_t blockSize = bucket.blockSize;
    const std::size_t blocks = ChunkBlocksAfter(blockSize, bucket.lastChunkBlocks);
    auto* raw = static_cast<unsigned char*>(SystemAllocate(kChunkHeaderSize + blocks * blockSize));
    if (raw == nullptr) {
        return false;
    }
    auto* chunk = reinterpret_cast<Chunk*>(raw);
    chunk->next = bucket.chunks;
    bucket.chunks = chunk;
    ++bucket.chunkCount;
    bucket.blockCount += blocks;
    bucket.lastChunkBlocks = blocks;

    // Thread the blocks in address order so that they are handed out that way.
    unsigned char* first = raw + kChunkHeaderSize;
    for (std::size_t k = 0; k + 1 < blocks; ++k) {
        reinterpret_cast<FreeBlock*>(first + k * blockSize)->next =
            reinterpret_cast<FreeBlock*>(first + (k + 1) * blockSize);
    }
    reinterpret_cast<FreeBlock*>(first + (blocks - 1) * blockSize)->next = bucket.freeList;
    bucket.freeList = reinterpret_cast<FreeBlock*>(first);
    return true;
}

void* MemoryPool::Allocate(std::size_t size) {
    if (size >= kBucketCount) {
        return SystemAllocate(size);
    }
    std::size_t taken = 0;
    return TakeBlocks(size, 1, &taken);
}

void MemoryPool::Free(void* block, std::size_t size) {
    if (block == nullptr) {
        return;
    }
    if (size >= kBucketCount) {
        std::free(block);
        return;
    }
    Bucket* bucket = m_buckets[size].load(std::memory_order_acquire);
    if (bucket == nullptr) {
        return;  // Not a block of this pool: a size mismatch by the caller.
    }
    std::lock_guard<SpinLock> guard(bucket->lock);
    auto* freed = static_cast<FreeBlock*>(block);
    freed->next = bucket->freeList;
    bucket->freeList = freed;
}

MemoryPool::FreeBlock* MemoryPool::TakeBlocks(std::size_t size, std::size_t count, std::size_t* taken) {
    *taken = 0;
    Bucket* bucket = size < kBucketCount ? GetOrCreateBucket(size) : nullptr;
    if (bucket == nullptr) {
        return nullptr;
    }
    std::lock_guard<SpinLock> guard(bucket->lock);
    if (bucket->freeList == nullptr && !AddChunk(*bucket)) {
        return nullptr;
    }
    FreeBlock* first = bucket->freeList;
    FreeBlock* last = first;
    *taken = 1;
    while (*taken < count && last->next != nullptr) {
        last = last->next;
        ++*taken;
    }
    bucket->freeList = last->next;
    last->next = nullptr;
    return first;
}

void MemoryPool::GiveBlocks(std::size_t size, FreeBlock* first, FreeBlock* last) {
    Bucket* bucket = size < kBucketCount ? m_buckets[size].load(std::memory_order_acquire) : nullptr;
    if (bucket == nullptr || first == nullptr) {
        return;
    }
    std::lock_guard<SpinLock> guard(bucket->lock);
    last->next = bucket->freeList;
    bucket->freeList = first;
}

MemoryPool::BucketStats MemoryPool::GetBucketStats(std::size_t requested) {
    BucketStats stats;
    if (requested >= kBucketCount) {
        return stats;
    }
    Bucket* bucket = m_buckets[requested].load(std::memory_order_acquire);
    if (bucket == nullptr) {
        return stats;
    }
    std::lock_guard<SpinLock> guard(bucket->lock);
    stats.chunks = bucket->chunkCount;
    stats.blocks = bucket->blockCount;
    stats.blockSize = bucket->blockSize;
    for (FreeBlock* block = bucket->freeList; block != nullptr; block = block->next) {
        ++stats.freeBlocks;
    }
    return stats;
}

#if defined(TUNDRA_POOL_PASSTHROUGH)

void* PoolAllocate(std::size_t size) { return SystemAllocate(size == 0 ? 1 : size); }

void PoolFree(void* block, std::size_t) { std::free(block); }

#else

namespace {

// Per-thread stacks of free blocks for the small sizes, in front of the
// process-wide pool. A stack is refilled and drained in batches, so the
// bucket lock is taken once per batch instead of once per block.
constexpr std::size_t kCachedSizes = 1024;
constexpr std::size_t kRefillBatch = 32;
constexpr std::uint16_t kCacheLimit = 64;

struct ThreadCache {
    MemoryPool::FreeBlock* heads[kCachedSizes];
    std::uint16_t counts[kCachedSizes];
};
// Trivially destructible, so that reaching it costs no initialisation check.
thread_local constinit ThreadCache t_cache{};

MemoryPool::FreeBlock* LastOf(MemoryPool::FreeBlock* chain) {
    while (chain->next != nullptr) {
        chain = chain->next;
    }
    return chain;
}

// Gives the cached blocks back when the thread ends.
struct ThreadCacheReturn {
    ~ThreadCacheReturn() {
        MemoryPool& pool = MemoryPool::GetInstance();
        for (std::size_t size = 0; size < kCachedSizes; ++size) {
            MemoryPool::FreeBlock* first = t_cache.heads[size];
            if (first == nullptr) {
                continue;
            }
            pool.GiveBlocks(size, first, LastOf(first));
            t_cache.heads[size] = nullptr;
            t_cache.counts[size] = 0;
        }
    }
};

void RegisterCacheReturn() {
    thread_local ThreadCacheReturn cacheReturn;
    (void)cacheReturn;
}

// Keeps kRefillBatch blocks and gives the rest of the stack to the pool.
void DrainCache(std::size_t size) {
    MemoryPool::FreeBlock* last = t_cache.heads[size];
    for (std::size_t i = 1; i < kRefillBatch; ++i) {
        last = last->next;
    }
    MemoryPool::FreeBlock* surplus = last->next;
    last->next = nullptr;
    t_cache.counts[size] = kRefillBatch;
    MemoryPool::GetInstance().GiveBlocks(size, surplus, LastOf(surplus));
}

}  // namespace

void* PoolAllocate(std::size_t size) {
    if (size >= kCachedSizes) {
        return MemoryPool::GetInstance().Allocate(size);
    }
    MemoryPool::FreeBlock* block = t_cache.heads[size];
    if (block == nullptr) {
        RegisterCacheReturn();
        std::size_t taken = 0;
        block = MemoryPool::GetInstance().TakeBlocks(size, kRefillBatch, &taken);
        if (block == nullptr) {
            return nullptr;
        }
        t_cache.counts[size] = static_cast<std::uint16_t>(taken);
    }
    t_cache.heads[size] = block->next;
    --t_cache.counts[size];
    return block;
}

void PoolFree(void* block, std::size_t size) {
    if (block == nullptr) {
        return;
    }
    if (size >= kCachedSizes) {
        MemoryPool::GetInstance().Free(block, size);
        return;
    }
    auto* freed = static_cast<MemoryPool::FreeBlock*>(block);
    freed->next = t_cache.heads[size];
    if (freed->next == nullptr) {
        RegisterCacheReturn();  // a thread may free blocks it never allocated
    }
    t_cache.heads[size] = freed;
    if (++t_cache.counts[size] > kCacheLimit) {
        DrainCache(size);
    }
}

#endif

}  // namespace Core
