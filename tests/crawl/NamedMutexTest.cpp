#include <gtest/gtest.h>

#include <sched.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "ChildProcess.h"
#include "CrawlTestSupport.h"
#include "platform/NamedMutex.h"
#include "platform/ProcessAffinity.h"
#include "platform/ThreadControl.h"

namespace tarvolin::testing {
namespace {

using namespace std::chrono_literals;
using platform::ControlledThread;
using platform::NamedMutex;

// A name of this test's own, so that programs running beside the tests do not wait on it.
std::string TestMutexName() {
    return "限制线程访问-test-" + std::to_string(::getpid());
}

// Removes the test's lock file when the test is done.
struct LockFileCleanup {
    ~LockFileCleanup() { ::unlink(NamedMutex::Open(TestMutexName())->LockFilePath().c_str()); }
};

TEST(NamedMutex, OneHolderAtATimeAcrossThreadsAndOpens) {
    LockFileCleanup cleanup;
    std::atomic<int> inside{0};
    std::atomic<int> most{0};
    std::atomic<int> entries{0};
    std::vector<WorkerHandle> threads;
    for (int t = 0; t < 4; ++t) {
        threads.push_back(ControlledThread::Start([&] {
            auto mutex = NamedMutex::Open(TestMutexName());  // each thread opens it itself
            for (int i = 0; i < 25; ++i) {
                NamedMutex::Holding holding = mutex->Acquire();
                ASSERT_TRUE(holding.Owns());
                most = std::max(most.load(), ++inside);
                std::this_thread::sleep_for(200us);
                --inside;
                ++entries;
            }
        }));
    }
    for (const WorkerHandle& thread : threads)
        ASSERT_TRUE(thread->Join(20s));
    EXPECT_EQ(most, 1);
    EXPECT_EQ(entries, 100);
}

TEST(NamedMutex, WaitGivesUpOnStopAndHoldsWhileSuspended) {
    LockFileCleanup cleanup;
    auto mutex = NamedMutex::Open(TestMutexName());
    NamedMutex::Holding mine = mutex->Acquire();
    ASSERT_TRUE(mine.Owns());

    // A suspended waiter does not take the mutex when it comes free.
    std::atomic<int> waiterOwned{-1};
    WorkerHandle waiter = ControlledThread::Start([&] { waiterOwned = mutex->Acquire().Owns() ? 1 : 0; });
    waiter->Control().Suspend();
    std::this_thread::sleep_for(50ms);
    mine.Release();
    std::this_thread::sleep_for(100ms);
    NamedMutex::Holding again = mutex->Acquire();
    EXPECT_TRUE(again.Owns());
    EXPECT_EQ(waiterOwned, -1);

    // A stop ends the wait without the mutex, also while suspended.
    waiter->Control().RequestStop();
    ASSERT_TRUE(waiter->Join(5s));
    EXPECT_EQ(waiterOwned, 0);
}

TEST(NamedMutex, ExcludesOtherProcessesAndOutlivesADeadHolder) {
    LockFileCleanup cleanup;
    ChildProcess holder({CRAWL_HELPER, "hold", TestMutexName()});
    ASSERT_EQ(holder.ReadLine(), "held");

    auto mutex = NamedMutex::Open(TestMutexName());
    std::atomic<bool> owned{false};
    WorkerHandle waiter = ControlledThread::Start([&] {
        NamedMutex::Holding holding = mutex->Acquire();
        owned = holding.Owns();
    });
    std::this_thread::sleep_for(200ms);
    EXPECT_FALSE(waiter->Finished());

    holder.Kill();  // dies holding it
    holder.Wait();
    ASSERT_TRUE(waiter->Join(5s));
    EXPECT_TRUE(owned);
}

int AllowedOn(pid_t thread) {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(thread, sizeof set, &set) != 0) return -1;
    return CPU_COUNT(&set);
}

TEST(ProcessAffinity, EveryThreadNowAndLaterRunsOnOneProcessor) {
    std::atomic<pid_t> earlierId{0};
    std::atomic<bool> done{false};
    std::thread earlier([&] {
        earlierId = ::gettid();
        while (!done)
            std::this_thread::sleep_for(1ms);
    });
    ASSERT_TRUE(WaitUntil([&] { return earlierId != 0; }));

    ASSERT_TRUE(platform::RestrictProcessToFirstProcessor());
    EXPECT_EQ(AllowedOn(0), 1);
    EXPECT_EQ(AllowedOn(earlierId), 1);
    int later = -1;
    std::thread([&] { later = AllowedOn(0); }).join();
    EXPECT_EQ(later, 1);
    EXPECT_EQ(platform::AllowedProcessorCount(), 1);
    done = true;
    earlier.join();
}

}  // namespace
}  // namespace tarvolin::testing
