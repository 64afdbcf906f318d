#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "app/ExitCleanup.h"
#include "shell/RunState.h"

namespace tarvolin {
namespace {

// Each case ends its own process, so it runs as a death test in a fresh copy of this program.
class ExitCleanupTest : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

std::atomic<bool> sessionDestroyed{false};

WorkerHandle CooperativeThread() {
    return platform::ControlledThread::Start([] {
        while (platform::InterruptibleSleep(std::chrono::milliseconds(5))) {
        }
    });
}

TEST_F(ExitCleanupTest, StopsRunThreadsReleasesTheListsAndDestroysTheSession) {
    EXPECT_EXIT(
        {
            RunState& state = RunState::Instance();
            state.searchThread = CooperativeThread();
            WorkerHandle worker = CooperativeThread();
            state.AppendWorker(worker);
            state.AppendDetailUrl("http://x/1"_t);
            state.pendingGuard = std::make_shared<std::mutex>();
            RegisterExitCleanup([] { sessionDestroyed = true; });
            ExitCleanup();
            const bool released =
                state.WorkerCount() == 0 && state.DetailUrlCount() == 0 && !state.pendingGuard;
            std::fprintf(stderr, "%s%s%s", released ? "released " : "", worker->Finished() ? "stopped " : "",
                         sessionDestroyed ? "destroyed" : "");
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "released stopped destroyed");
}

TEST_F(ExitCleanupTest, WaitsForThreadsNoLongerListedBeforeDestroyingTheSession) {
    EXPECT_EXIT(
        {
            // A worker a Stop has already taken off the list, still leaving its transfer.
            std::atomic<bool> inFetch{false};
            WorkerHandle stopped = platform::ControlledThread::Start([&] {
                while (platform::InterruptibleSleep(std::chrono::milliseconds(5))) {
                }
                inFetch = true;
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                inFetch = false;
            });
            RegisterExitCleanup([&] { std::fprintf(stderr, inFetch ? "in use " : "idle "); });
            ExitCleanup();
            std::fprintf(stderr, "%s", stopped->Finished() ? "ended" : "running");
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "idle ended");
}

TEST_F(ExitCleanupTest, AThreadThatDoesNotStopEndsWithTheProcessAndKeepsTheSession) {
    EXPECT_EXIT(
        {
            // A worker stalled outside any safe point, as in a transfer that never answers.
            RunState::Instance().AppendWorker(platform::ControlledThread::Start(
                [] { std::this_thread::sleep_for(std::chrono::seconds(30)); }));
            RegisterExitCleanup([] { std::_Exit(9); });  // destroyed while still in use
            SetExitStatus(7);
            ExitCleanup();
            std::_Exit(0);  // waited for it or returned
        },
        ::testing::ExitedWithCode(7), "");
}

}  // namespace
}  // namespace tarvolin
