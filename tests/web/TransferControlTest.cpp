// Stalled servers, time-outs, and pause and stop of the thread that runs a transfer.

#include <gtest/gtest.h>

#include <atomic>

#include "RawServer.h"
#include "WebTestSupport.h"
#include "platform/ThreadControl.h"
#include "web/HttpSession.h"

namespace tarvolin::test {
namespace {

using namespace std::chrono_literals;

const std::string kPartialHead = "HTTP/1.1 200 OK\r\nContent-Length: 200\r\n\r\n";

// Sends the headers and half of the body, then stalls until the server is destroyed.
void StallAfterHalf(const RawRequest&, RawExchange& exchange) {
    exchange.Write(kPartialHead + std::string(100, 'a'));
    exchange.Hold(60s);
}

TEST(StalledServer, ReceiveTimeoutEndsTheRead) {
    RawServer server(StallAfterHalf);
    HttpSession session;
    session.SetTimeouts(2000, 300, 300);
    ASSERT_TRUE(session.Get(T(server.Url("/stall"))));
    EXPECT_EQ(S(session.ReadBodyRaw(0)), std::string(100, 'a'));
    EXPECT_EQ(session.ReceiveCapacity(), kReadChunkBytes);
    EXPECT_EQ(session.ReceiveLength(), 0);
}

TEST(StalledServer, ReceiveTimeoutEndsAWaitForHeaders) {
    RawServer server([](const RawRequest&, RawExchange& exchange) { exchange.Hold(60s); });
    HttpSession session;
    session.SetTimeouts(2000, 300, 300);
    ASSERT_TRUE(session.Get(T(server.Url("/silent"))));
    EXPECT_TRUE(session.RawHeaders().empty());
    EXPECT_TRUE(session.ReadBody(0).empty());
}

struct Outcome {
    std::atomic<bool> sent{false};
    Bytes body;
};

std::shared_ptr<platform::ControlledThread> FetchOnThread(HttpSession& session, const std::string& url,
                                                          Outcome& outcome) {
    return platform::ControlledThread::Start([&session, url, &outcome] {
        session.Get(T(url));
        outcome.sent = true;
        outcome.body = session.ReadBody(0);
    });
}

TEST(StopDuringTransfer, AbandonsAStalledBodyAndResetsTheBuffer) {
    RawServer server(StallAfterHalf);
    HttpSession session;  // default time-outs: only the stop can end this read
    Outcome outcome;
    auto thread = FetchOnThread(session, server.Url("/stall"), outcome);
    ASSERT_TRUE(server.WaitForRequests(1));
    std::this_thread::sleep_for(200ms);  // the first half arrives and the reader waits for more
    thread->Control().RequestStop();
    ASSERT_TRUE(thread->Join(5s));
    EXPECT_EQ(outcome.body.data(), std::string(100, 'a'));
    EXPECT_EQ(session.ReceiveCapacity(), kReadChunkBytes);
    EXPECT_EQ(session.ReceiveLength(), 0);
    EXPECT_TRUE(session.HasReceiveBuffer());
}

TEST(StopDuringTransfer, AbandonsAWaitForHeaders) {
    RawServer server([](const RawRequest&, RawExchange& exchange) { exchange.Hold(60s); });
    HttpSession session;
    Outcome outcome;
    auto thread = FetchOnThread(session, server.Url("/silent"), outcome);
    ASSERT_TRUE(server.WaitForRequests(1));
    thread->Control().RequestStop();
    ASSERT_TRUE(thread->Join(5s));
    EXPECT_TRUE(outcome.sent);
    EXPECT_TRUE(session.RawHeaders().empty());
    EXPECT_TRUE(outcome.body.empty());
}

TEST(PauseDuringTransfer, HoldsTheReaderUntilResumed) {
    std::mutex mutex;
    std::condition_variable released;
    bool release = false;
    RawServer server([&](const RawRequest&, RawExchange& exchange) {
        exchange.Write(kPartialHead + std::string(100, 'a'));
        std::unique_lock lock(mutex);
        released.wait_for(lock, 10s, [&] { return release; });
        exchange.Write(std::string(100, 'b'));
    });
    HttpSession session;
    Outcome outcome;
    auto thread = FetchOnThread(session, server.Url("/slow"), outcome);
    ASSERT_TRUE(server.WaitForRequests(1));
    std::this_thread::sleep_for(200ms);
    thread->Control().Suspend();
    std::this_thread::sleep_for(200ms);  // past the reader's next safe point
    {
        std::lock_guard lock(mutex);
        release = true;
    }
    released.notify_all();
    // The rest of the body is there to read, but a suspended reader does not take it.
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(thread->Finished());
    thread->Control().Resume();
    ASSERT_TRUE(thread->Join(5s));
    EXPECT_EQ(outcome.body.data(), std::string(100, 'a') + std::string(100, 'b'));
}

}  // namespace
}  // namespace tarvolin::test
