#include "core/Core_GlobalOperators.h"
#include "core/Core_MemoryPool.h"
#include "core/Core_String.h"
#include "core/Core_TrackedMemory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {

// Keeps the compiler from eliding a new/delete pair.
void Escape(void* pointer) { asm volatile("" : : "g"(pointer) : "memory"); }

// Records what the allocation-tracking hooks see. The hooks run under the
// memory mutex, so they only count and remember.
struct HookLog {
    int allocations = 0;
    int releases = 0;
    Core::AllocationKind lastKind = Core::AllocationKind::Object;
    std::size_t lastSize = 0;
    const char* lastFile = nullptr;
    int lastLine = 0;
    void* blockFromThisFile = nullptr;
    bool blockFromThisFileReleased = false;
};
HookLog g_log;

void OnAllocated(void* block, Core::AllocationKind kind, std::size_t size, const char* file, int line) {
    ++g_log.allocations;
    g_log.lastKind = kind;
    g_log.lastSize = size;
    g_log.lastFile = file;
    g_log.lastLine = line;
    if (file != nullptr && std::strcmp(file, __FILE__) == 0) {
        g_log.blockFromThisFile = block;
    }
}
void OnReleased(void* block, Core::AllocationKind kind) {
    ++g_log.releases;
    g_log.blockFromThisFileReleased |= block == g_log.blockFromThisFile;
    g_log.lastKind = kind;
}
const Core::AllocationHooks kHooks{&OnAllocated, &OnReleased};

class TrackedMemory : public testing::Test {
protected:
    void SetUp() override {
        g_log = {};
        Core::SetAllocationHooks(&kHooks);
    }
    void TearDown() override {
        Core::SetAllocationHooks(nullptr);
        Core::MemoryPool::SetSystemAllocator(nullptr);
    }
};

void* FailingAllocator(std::size_t) { return nullptr; }

struct ThrowsOnConstruction {
    char payload[40];
    ThrowsOnConstruction() { throw std::runtime_error("constructor failed"); }
};

}  // namespace

TEST_F(TrackedMemory, TrackedNewPassesTheSourcePositionToTheHook) {
    void* block = TrackedNew(48, "Core_Test", 12);
    EXPECT_EQ(g_log.allocations, 1);
    EXPECT_EQ(g_log.lastSize, 48u);
    EXPECT_STREQ(g_log.lastFile, "Core_Test");
    EXPECT_EQ(g_log.lastLine, 12);
    TrackedDelete(block, 48);
    EXPECT_EQ(g_log.releases, 1);
    TrackedDelete(nullptr, 16);
    EXPECT_EQ(g_log.releases, 1);

    void* unknown = TrackedNewUnknownSource(8);
    EXPECT_STREQ(g_log.lastFile, "unknown");
    EXPECT_EQ(g_log.lastLine, -1);
    TrackedDelete(unknown, 8);
}

TEST_F(TrackedMemory, ExhaustedHeapThrowsBadAllocation) {
    Core::MemoryPool::SetSystemAllocator(&FailingAllocator);
    // A size no other test uses, so its bucket has no free block to hand out.
    for (std::size_t size : {std::size_t{3333}, std::size_t{1u << 20}}) {
        try {
            TrackedNew(size, __FILE__, __LINE__);
            ADD_FAILURE() << "no exception for size " << size;
        } catch (const std::bad_alloc& error) {
            EXPECT_STREQ(error.what(), "bad allocation");
        }
    }
    EXPECT_EQ(g_log.allocations, 0);
}

// The exception machinery allocates too, so only the block allocated from
// this file is followed.
TEST_F(TrackedMemory, ThrowingConstructorGivesItsBlockBack) {
    EXPECT_THROW(TUN_NEW(ThrowsOnConstruction), std::runtime_error);
    ASSERT_NE(g_log.blockFromThisFile, nullptr);
    EXPECT_TRUE(g_log.blockFromThisFileReleased);

    g_log = {};
    EXPECT_THROW(new (__FILE__, __LINE__) ThrowsOnConstruction, std::runtime_error);
    ASSERT_NE(g_log.blockFromThisFile, nullptr);
    EXPECT_TRUE(g_log.blockFromThisFileReleased);
}

TEST_F(TrackedMemory, EveryFormOfTheGlobalOperatorsIsTracked) {
    int* single = new int(7);
    Escape(single);
    EXPECT_EQ(g_log.lastKind, Core::AllocationKind::Object);
    delete single;
    EXPECT_EQ(g_log.lastKind, Core::AllocationKind::Object);

    int* array = new int[5];
    Escape(array);
    EXPECT_EQ(g_log.lastKind, Core::AllocationKind::Array);
    EXPECT_EQ(g_log.lastSize, 5 * sizeof(int));
    delete[] array;
    EXPECT_EQ(g_log.lastKind, Core::AllocationKind::Array);

    int* positioned = new ("Core_Here", 99) int(3);
    Escape(positioned);
    EXPECT_STREQ(g_log.lastFile, "Core_Here");
    EXPECT_EQ(g_log.lastLine, 99);
    delete positioned;

    struct alignas(64) Wide {
        char bytes[64];
    };
    Wide* wide = new Wide;
    Escape(wide);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(wide) % 64, 0u);
    delete wide;

    char* quiet = new (std::nothrow) char[3];
    Escape(quiet);
    EXPECT_EQ(g_log.lastSize, 3u);
    delete[] quiet;
    EXPECT_EQ(g_log.allocations, g_log.releases);
}

namespace {
[[noreturn]] void ExitHoldingStaticPoolStrings() {
    static Core::String longLived(200, 'x');
    static Core::StringVector names(2, Core::String("a fairly long name that needs a pool block"));
    std::exit(longLived.size() == 200 && names.size() == 2 ? 0 : 3);
}
}  // namespace

TEST(TrackedMemoryExit, StaticObjectsHoldingPoolMemorySurviveProcessExit) {
    EXPECT_EXIT(ExitHoldingStaticPoolStrings(), testing::ExitedWithCode(0), "");
}
