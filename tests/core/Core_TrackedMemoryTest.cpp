#include "core/Core_GlobalOperators.h"
#include "core/Core_MemoryPoolTestHooks.h"
#include "core/Core_String.h"
#include "core/Core_TrackedMemory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {

// Keeps the compiler from eliding a new/delete pair.
void Escape(void* pointer) { asm volatile("" : : "g"(pointer) : "memory"); }

// What the hooks saw last. They run under the memory mutex: no allocation here.
struct HookLog {
    int allocations = 0;
    int releases = 0;
    Core::AllocationKind kind = Core::AllocationKind::Object;
    std::size_t size = 0;
    const char* file = nullptr;
    int line = 0;
    void* fromThisFile = nullptr;  // the exception machinery allocates too
    bool fromThisFileReleased = false;
} g_log;

const Core::AllocationHooks kHooks{
    [](void* block, Core::AllocationKind kind, std::size_t size, const char* file, int line) {
        ++g_log.allocations;
        g_log.kind = kind;
        g_log.size = size;
        g_log.file = file;
        g_log.line = line;
        if (file != nullptr && std::strcmp(file, __FILE__) == 0) {
            g_log.fromThisFile = block;
        }
    },
    [](void* block, Core::AllocationKind kind) {
        ++g_log.releases;
        g_log.kind = kind;
        g_log.fromThisFileReleased |= block == g_log.fromThisFile;
    }};

class TrackedMemory : public testing::Test {
protected:
    void SetUp() override {
        g_log = {};
        Core::SetAllocationHooks(&kHooks);
    }
    void TearDown() override {
        Core::SetAllocationHooks(nullptr);
        Core::testhooks::SetSystemAllocator(nullptr);
    }
};

struct ThrowsOnConstruction {
    char payload[40];
    ThrowsOnConstruction() { throw std::runtime_error("constructor failed"); }
};

}  // namespace

TEST_F(TrackedMemory, TrackedNewPassesTheSourcePositionToTheHook) {
    TrackedDelete(TrackedNew(48, "Core_Test", 12), 48);
    EXPECT_EQ(g_log.size, 48u);
    EXPECT_STREQ(g_log.file, "Core_Test");
    EXPECT_EQ(g_log.line, 12);
    TrackedDelete(TrackedNewUnknownSource(8), 8);
    EXPECT_STREQ(g_log.file, "unknown");
    EXPECT_EQ(g_log.line, -1);
    TrackedDelete(nullptr, 16);
    EXPECT_EQ(g_log.releases, 2);
}

// Size 3333 is used nowhere else, so its bucket has no free block to hand out.
TEST_F(TrackedMemory, ExhaustedHeapThrowsBadAllocation) {
    Core::testhooks::SetSystemAllocator([](std::size_t) -> void* { return nullptr; });
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

TEST_F(TrackedMemory, ThrowingConstructorGivesItsBlockBack) {
    EXPECT_THROW(TUN_NEW(ThrowsOnConstruction), std::runtime_error);
    EXPECT_TRUE(g_log.fromThisFile != nullptr && g_log.fromThisFileReleased);
    g_log = {};
    EXPECT_THROW(new (__FILE__, __LINE__) ThrowsOnConstruction, std::runtime_error);
    EXPECT_TRUE(g_log.fromThisFile != nullptr && g_log.fromThisFileReleased);
}

TEST_F(TrackedMemory, EveryFormOfTheGlobalOperatorsIsTracked) {
    int* array = new int[5];
    Escape(array);
    EXPECT_EQ(g_log.kind, Core::AllocationKind::Array);
    EXPECT_EQ(g_log.size, 5 * sizeof(int));
    delete[] array;
    EXPECT_EQ(g_log.kind, Core::AllocationKind::Array);
    int* positioned = new ("Core_Here", 99) int(3);
    Escape(positioned);
    EXPECT_EQ(g_log.kind, Core::AllocationKind::Object);
    EXPECT_STREQ(g_log.file, "Core_Here");
    EXPECT_EQ(g_log.line, 99);
    delete positioned;
    EXPECT_EQ(g_log.kind, Core::AllocationKind::Object);

    struct alignas(64) Wide {
        char bytes[64];
    };
    Wide* wide = new Wide;
    Escape(wide);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(wide) % 64, 0u);
    delete wide;
    char* quiet = new (std::nothrow) char[3];
    Escape(quiet);
    EXPECT_EQ(g_log.size, 3u);
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
