#include "network/Network_EventDispatcher.h"

#include "network/Network_EventDispatcherTestSupport.h"
#include "os/OS_Sleep.h"
#include "support/MovingClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Network::EventDispatcher;
using Network::PostResult;
using Network::Tun_Event;
using namespace dispatchtest;
using namespace std::chrono_literals;

// Only waits for what must happen: a loaded machine may take its time.
constexpr auto kPatience = 10s;

// Sleeps and budgets measure on the Core clock: it runs in real time here.
class EventDispatcherThreadsTest : public testing::Test {
protected:
    testsupport::MovingClock m_clock;
    Recorder m_recorder;
};

struct Mode {
    const char* name;
    bool threaded;
    std::int32_t workerLimit;
};

void PrintTo(const Mode& mode, std::ostream* out) { *out << mode.name; }

std::string ModeName(const testing::TestParamInfo<Mode>& info) { return info.param.name; }

// Mode 2 with one worker at a time: the workers start in posting order, and
// only one running keeps the handler calls in that order too.
constexpr Mode kOwnerDrains{"OwnerDrains", false, 0};
constexpr Mode kDispatchThread{"DispatchThread", true, 0};
constexpr Mode kOneWorker{"OneWorker", true, 1};

class EventDispatcherOrderTest : public EventDispatcherThreadsTest, public testing::WithParamInterface<Mode> {};
INSTANTIATE_TEST_SUITE_P(Modes, EventDispatcherOrderTest, testing::Values(kOwnerDrains, kDispatchThread, kOneWorker),
                         ModeName);

TEST_P(EventDispatcherOrderTest, DeliversInPostingOrder) {
    EventDispatcher dispatcher;
    ASSERT_TRUE(dispatcher.Start(m_recorder.Handler(), GetParam().threaded, GetParam().workerLimit, 0, 1));
    PostFromThread(dispatcher, NumberedEvents(30));
    EXPECT_TRUE(testsupport::WaitUntil(
        [&] {
            std::size_t processed = 0;
            std::size_t remaining = 0;
            dispatcher.ProcessEvents(5, 0, processed, remaining);
            return m_recorder.Count() == 30;
        },
        kPatience));
    EXPECT_EQ(m_recorder.Ids(), Sequence(30));
    EXPECT_TRUE(dispatcher.Stop());
    EXPECT_EQ(dispatcher.GetThreadCount(), 0u);
}

class EventDispatcherStopTest : public EventDispatcherThreadsTest, public testing::WithParamInterface<Mode> {};
INSTANTIATE_TEST_SUITE_P(Modes, EventDispatcherStopTest, testing::Values(kDispatchThread, kOneWorker), ModeName);

// A handler still running when Stop is called is waited for: Stop returns
// after it finished and its thread ended. Afterwards posts are refused (their
// messages freed) and the owner drains what the thread left.
TEST_P(EventDispatcherStopTest, WaitsForTheThreadsAndLeavesTheRestToTheOwner) {
    std::atomic<int> entered{0};
    std::atomic<int> finished{0};
    std::atomic<bool> release{false};
    EventDispatcher dispatcher;
    ASSERT_TRUE(dispatcher.Start(
        [&](Tun_Event* event) {
            ++entered;
            testsupport::WaitUntil([&] { return release.load(); }, kPatience);
            os::Sleep(2);
            m_recorder.Handler()(event);
            ++finished;
        },
        GetParam().threaded, GetParam().workerLimit, 0, 1));
    PostFromThread(dispatcher, NumberedEvents(3));
    ASSERT_TRUE(testsupport::WaitUntil([&] { return entered.load() == 1; }, kPatience));

    std::thread releaser([&] {
        std::this_thread::sleep_for(20ms);
        release = true;
    });
    EXPECT_TRUE(dispatcher.Stop());
    EXPECT_EQ(finished.load(), entered.load());
    EXPECT_EQ(dispatcher.GetThreadCount(), 0u);
    releaser.join();

    const auto refused = PostFromThread(dispatcher, {NumberedEvent(9, 10)});
    EXPECT_EQ(refused, std::vector<PostResult>{PostResult::Refused});
    std::size_t processed = 0;
    std::size_t remaining = 0;
    EXPECT_TRUE(dispatcher.ProcessEvents(1000, 0, processed, remaining));
    EXPECT_EQ(m_recorder.Ids(), Sequence(3));
    EXPECT_EQ(remaining, 0u);
}

TEST_F(EventDispatcherThreadsTest, WorkerLimitHoldsFurtherEventsUntilAWorkerEnds) {
    std::atomic<int> entered{0};
    std::atomic<int> running{0};
    std::atomic<int> mostRunning{0};
    std::atomic<int> releasedUpTo{-1};
    EventDispatcher dispatcher;
    ASSERT_TRUE(dispatcher.Start(
        [&](Tun_Event* event) {
            ++entered;
            const int now = ++running;
            int most = mostRunning.load();
            while (now > most && !mostRunning.compare_exchange_weak(most, now)) {
            }
            const std::int32_t id = event->socketId;
            testsupport::WaitUntil([&] { return id <= releasedUpTo.load(); }, kPatience);
            --running;
            m_recorder.Handler()(event);
        },
        true, 2, 0, 1));
    PostFromThread(dispatcher, NumberedEvents(4));
    ASSERT_TRUE(testsupport::WaitUntil([&] { return entered.load() == 2; }, kPatience));
    // The dispatch thread looks again every millisecond.
    os::Sleep(30);
    EXPECT_EQ(entered.load(), 2);

    releasedUpTo = 0;
    EXPECT_TRUE(testsupport::WaitUntil([&] { return entered.load() == 3; }, kPatience));
    releasedUpTo = 3;
    EXPECT_TRUE(testsupport::WaitUntil([&] { return m_recorder.Count() == 4; }, kPatience));
    EXPECT_EQ(mostRunning.load(), 2);
    EXPECT_TRUE(dispatcher.Stop());
    EXPECT_EQ(dispatcher.GetThreadCount(), 0u);
}

// The poster holds a lock of its own while it posts, as a session's I/O
// thread holds its socket list; the handler takes that lock, as sending or
// closing does. They take turns: each event's handler starts, the poster
// takes its lock to post the next one, then the handler asks for that lock.
// A handler called under the queue lock would wait for the poster while the
// poster waits for the queue.
TEST_F(EventDispatcherThreadsTest, HandlerMayTakeTheLockAPosterHoldsWhilePosting) {
    constexpr std::int32_t kBurst = 50;
    std::mutex posterLock;
    std::atomic<std::int32_t> handling{-1};
    std::atomic<std::int32_t> lockedFor{-1};
    std::atomic<int> stalls{0};
    EventDispatcher dispatcher;
    ASSERT_TRUE(dispatcher.Start(
        [&](Tun_Event* event) {
            handling = event->socketId;
            const std::int32_t next = std::min(event->socketId + 1, kBurst - 1);
            testsupport::WaitUntil([&] { return lockedFor.load() >= next; }, kPatience);
            if (testsupport::WaitUntil([&] { return posterLock.try_lock(); }, 2s)) {
                posterLock.unlock();
            } else {
                ++stalls;
            }
            m_recorder.Handler()(event);
        },
        false, 0, 0, 0));

    std::vector<Tun_Event> events = NumberedEvents(kBurst);
    const ThreadBody poster = [&](ManagedThread* thread) {
        for (Tun_Event& event : events) {
            testsupport::WaitUntil(
                [&] { return handling.load() >= event.socketId - 1 || stalls.load() != 0; }, kPatience);
            std::lock_guard<std::mutex> lock(posterLock);
            lockedFor = event.socketId;
            EXPECT_EQ(dispatcher.PostEvent(event, thread), PostResult::Queued);
        }
    };
    ThreadManager posters;
    ASSERT_NE(StartManagedThread(posters, poster), nullptr);
    EXPECT_TRUE(testsupport::WaitUntil(
        [&] {
            std::size_t processed = 0;
            std::size_t remaining = 0;
            dispatcher.ProcessEvents(5, 0, processed, remaining);
            return m_recorder.Count() == kBurst || stalls.load() != 0;
        },
        kPatience));
    EXPECT_TRUE(posters.WaitForThreads(kThreadPatience));
    EXPECT_EQ(stalls.load(), 0);
    EXPECT_EQ(m_recorder.Ids(), Sequence(kBurst));
}

}  // namespace
