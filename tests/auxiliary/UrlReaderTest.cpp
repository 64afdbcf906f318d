#include "platform/UrlReader.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "LocalServer.h"
#include "platform/ThreadControl.h"

namespace tarvolin::platform {
namespace {

using namespace std::chrono_literals;

struct SeenRequest {
    std::string version, userAgent, pragma, cacheControl, cookie;
};

TEST(UrlReader, SendsAPlainHttp10RequestThatBypassesCaches) {
    SeenRequest seen;
    LocalServer server([&](httplib::Server& s) {
        s.Get("/page", [&](const httplib::Request& request, httplib::Response& response) {
            seen = {request.version, request.get_header_value("User-Agent"),
                    request.get_header_value("Pragma"), request.get_header_value("Cache-Control"),
                    request.get_header_value("Cookie")};
            response.set_header("Set-Cookie", "session=1");
            response.set_content("hello", "text/html");
        });
    });
    EXPECT_EQ(ReadUrl(server.Url("/page")), "hello");
    EXPECT_EQ(seen.version, "HTTP/1.0");
    EXPECT_EQ(seen.userAgent, "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
    EXPECT_EQ(seen.pragma, "no-cache");
    EXPECT_EQ(seen.cacheControl, "no-cache");
    // Nothing is remembered between reads.
    ReadUrl(server.Url("/page"));
    EXPECT_EQ(seen.cookie, "");
}

TEST(UrlReader, ReturnsEveryByteIncludingZerosAndErrorPages) {
    const std::string body("a\0b\xff\0", 5);
    LocalServer server([&](httplib::Server& s) {
        s.Get("/zeros",
              [&](const httplib::Request&, httplib::Response& r) { r.set_content(body, "application/x"); });
        s.Get("/moved", [](const httplib::Request&, httplib::Response& r) { r.set_redirect("/zeros"); });
        s.Get("/missing", [](const httplib::Request&, httplib::Response& r) {
            r.status = 404;
            r.set_content("not here", "text/plain");
        });
    });
    EXPECT_EQ(ReadUrl(server.Url("/zeros")), body);
    EXPECT_EQ(ReadUrl(server.Url("/moved")), body);
    EXPECT_EQ(ReadUrl(server.Url("/missing")), "not here");
}

TEST(UrlReader, KeepsWhatWasReadBeforeTheServerBrokeOff) {
    LocalServer server([](httplib::Server& s) {
        s.Get("/cut", [](const httplib::Request&, httplib::Response& r) {
            r.set_content_provider(1000, "text/plain", [](size_t offset, size_t, httplib::DataSink& sink) {
                if (offset > 0) return false;  // drop the connection after the first part
                sink.write("first part", 10);
                return true;
            });
        });
    });
    EXPECT_EQ(ReadUrl(server.Url("/cut")), "first part");
}

TEST(UrlReader, GivesNothingWhenTheRequestCannotBeMade) {
    EXPECT_EQ(ReadUrl(ClosedPortUrl("/page")), "");
    EXPECT_EQ(ReadUrl(""), "");
    EXPECT_EQ(ReadUrl("not a url at all"), "");
    EXPECT_EQ(ReadUrl("file:///proc/self/cmdline"), "");
}

// A server that answers only once released (or after a long while).
class StallingServer {
public:
    StallingServer()
        : server_([this](httplib::Server& s) {
              s.Get("/slow", [this](const httplib::Request&, httplib::Response& r) {
                  std::unique_lock lock(mutex_);
                  entered_ = true;
                  changed_.notify_all();
                  changed_.wait_for(lock, 60s, [this] { return released_; });
                  r.set_content("late", "text/plain");
              });
          }) {}
    ~StallingServer() { Release(); }

    std::string Url() const { return server_.Url("/slow"); }
    bool WaitUntilEntered() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 30s, [this] { return entered_; });
    }
    void Release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool entered_ = false;
    bool released_ = false;
    LocalServer server_;
};

TEST(UrlReader, AStopRequestEndsAReadThatWaitsForTheServer) {
    StallingServer server;
    std::string body = "untouched";
    auto thread = ControlledThread::Start([&] { body = ReadUrl(server.Url()); });
    ASSERT_TRUE(server.WaitUntilEntered());
    thread->Control().RequestStop();
    // Well before the server would answer (60 s) and the reader's own 30 s without data.
    ASSERT_TRUE(thread->Join(20s));
    EXPECT_EQ(body, "");
}

}  // namespace
}  // namespace tarvolin::platform
