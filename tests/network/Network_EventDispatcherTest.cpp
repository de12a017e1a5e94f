#include "network/Network_EventDispatcher.h"

#include "core/Core_Clock.h"
#include "network/Network_EventDispatcherTestSupport.h"
#include "support/MovingClock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <vector>

namespace {

using Network::EventDispatcher;
using Network::PostResult;
using Network::Tun_Event;
using namespace dispatchtest;

// The Core clock stands still unless a test or a handler moves it: the
// budgets are checked against exactly the time that passed.
double g_now = 0.0;
double ManualMilliseconds() { return g_now; }

class EventDispatcherTest : public testing::Test {
protected:
    void SetUp() override {
        g_now = 0.0;
        Core::SetClockFunction(&ManualMilliseconds);
    }
    void TearDown() override { Core::SetClockFunction(m_clock); }

    // Mode 0 with the recorder as handler.
    void StartOwnerDrained(std::uint32_t idleSleep = 0) {
        ASSERT_TRUE(m_dispatcher.Start(m_recorder.Handler(), false, 0, 0, idleSleep));
    }
    bool Process(std::uint32_t maxMs, std::uint32_t waitMs) {
        return m_dispatcher.ProcessEvents(maxMs, waitMs, m_processed, m_remaining);
    }

    const Core::ClockFunction m_clock = Core::GetClockFunction();
    Recorder m_recorder;
    EventDispatcher m_dispatcher;
    std::size_t m_processed = 99;
    std::size_t m_remaining = 99;
};

// The clock never moves: any wait on an empty queue would never end.
TEST_F(EventDispatcherTest, EmptyQueueWithoutWaitReturnsAtOnce) {
    StartOwnerDrained(5);
    EXPECT_TRUE(Process(1000, 0));
    EXPECT_EQ(m_processed, 0u);
    EXPECT_EQ(m_remaining, 0u);
}

// Each event takes 20 ms to handle; the one being handled when the budget
// runs out is finished, the rest wait for the next call.
TEST_F(EventDispatcherTest, MaxBudgetStopsAfterTheEventBeingHandled) {
    ASSERT_TRUE(m_dispatcher.Start(
        [this](Tun_Event* event) {
            g_now += 20.0;
            m_recorder.Handler()(event);
        },
        false, 0, 0, 0));
    PostFromThread(m_dispatcher, NumberedEvents(4));
    EXPECT_TRUE(Process(5, 0));
    EXPECT_EQ(m_processed, 1u);
    EXPECT_EQ(m_remaining, 3u);
    EXPECT_TRUE(Process(50, 0));
    EXPECT_EQ(m_processed, 3u);
    EXPECT_EQ(m_remaining, 0u);
    EXPECT_EQ(m_recorder.Ids(), Sequence(4));
    EXPECT_TRUE(Process(0, 0));
    EXPECT_EQ(m_processed, 0u);
}

TEST_F(EventDispatcherTest, RefusedPostsFreeTheirMessage) {
    EXPECT_EQ(PostFromThread(m_dispatcher, {NumberedEvent(1, 100)}), std::vector<PostResult>{PostResult::Refused});
    StartOwnerDrained();
    Tun_Event orphan = NumberedEvent(2, 100);
    EXPECT_EQ(m_dispatcher.PostEvent(orphan, nullptr), PostResult::Refused);
    EXPECT_EQ(orphan.rawMessage, nullptr);

    // A poster told to stop is on its way out: nothing it posts is taken.
    std::atomic<bool> told{false};
    Tun_Event late = NumberedEvent(3, 100);
    ThreadManager manager;
    const ThreadBody postWhenStopped = [&](ManagedThread* thread) {
        testsupport::WaitUntil([&] { return told.load(); }, std::chrono::seconds(10));
        EXPECT_EQ(m_dispatcher.PostEvent(late, thread), PostResult::Refused);
    };
    ManagedThread* poster = StartManagedThread(manager, postWhenStopped);
    ASSERT_NE(poster, nullptr);
    manager.StopThread(poster, false);
    told = true;
    ASSERT_TRUE(manager.WaitForThreads(kThreadPatience));
    EXPECT_EQ(late.rawMessage, nullptr);

    EXPECT_TRUE(Process(10, 0));
    EXPECT_EQ(m_processed, 0u);
}

// 8 MiB of messages fill the queue: a further message is refused as full,
// an event without a message still goes in, and handing a message over
// makes room again. What stays queued is freed with the dispatcher.
TEST_F(EventDispatcherTest, QueuedMessagesAreCappedAt8MiB) {
    ASSERT_TRUE(m_dispatcher.Start(
        [this](Tun_Event* event) {
            g_now += 1.0;
            m_recorder.Handler()(event);
        },
        false, 0, 0, 0));
    const std::int64_t mebibytePayload = Network::kMaxPayloadLength;
    std::vector<Tun_Event> events;
    for (std::int32_t id = 0; id < 8; ++id) {
        events.push_back(NumberedEvent(id, mebibytePayload));
    }
    events.push_back(NumberedEvent(8, 0));
    events.push_back(NumberedEvent(9));
    std::vector<PostResult> expected(8, PostResult::Queued);
    expected.push_back(PostResult::Full);
    expected.push_back(PostResult::Queued);
    EXPECT_EQ(PostFromThread(m_dispatcher, events), expected);

    EXPECT_TRUE(Process(1, 0));
    EXPECT_EQ(m_processed, 1u);
    std::vector<Tun_Event> more;
    more.push_back(NumberedEvent(10, mebibytePayload));
    more.push_back(NumberedEvent(11, 0));
    EXPECT_EQ(PostFromThread(m_dispatcher, more), (std::vector<PostResult>{PostResult::Queued, PostResult::Full}));
}

TEST_F(EventDispatcherTest, HandlerCannotDrainOrStopItsOwnDispatcher) {
    std::vector<bool> answers;
    ASSERT_TRUE(m_dispatcher.Start(
        [&](Tun_Event* event) {
            std::size_t processed = 0;
            std::size_t remaining = 0;
            answers.push_back(m_dispatcher.IsHandlerThread());
            answers.push_back(m_dispatcher.ProcessEvents(10, 0, processed, remaining));
            answers.push_back(m_dispatcher.Stop());
            m_recorder.Handler()(event);
        },
        false, 0, 0, 0));
    PostFromThread(m_dispatcher, NumberedEvents(2));
    EXPECT_FALSE(m_dispatcher.IsHandlerThread());
    EXPECT_TRUE(Process(10, 0));
    EXPECT_EQ(m_recorder.Ids(), Sequence(2));
    EXPECT_EQ(answers, (std::vector<bool>{true, false, false, true, false, false}));
    EXPECT_TRUE(m_dispatcher.Stop());
}

}  // namespace
