#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "RawServer.h"
#include "WebTestSupport.h"
#include "web/FetchPage.h"
#include "web/HttpSession.h"

namespace tarvolin::test {
namespace {

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>('a' + (i * 7 + i / 1000) % 26);
    return bytes;
}

class ResponseReadingTest : public ::testing::Test {
protected:
    void SetUp() override {
        httplib::Server& routes = server_.Routes();
        routes.Get("/zero", [](const httplib::Request&, httplib::Response& r) {
            r.set_content(std::string("abc\0def", 7), "text/plain");
        });
        routes.Get("/long", [](const httplib::Request&, httplib::Response& r) {
            r.set_content(Pattern(kLong), "application/octet-stream");
        });
        routes.Get("/page", [](const httplib::Request&, httplib::Response& r) {
            r.set_header("Set-Cookie", "seen=1; Path=/");
            r.set_content("<p>公司名称：测试</p>", "text/html; charset=utf-8");
        });
        routes.Get("/empty", [](const httplib::Request&, httplib::Response& r) { r.status = 204; });
        server_.Start();
    }

    std::string Url(const std::string& path) const { return server_.Url(path); }

    static constexpr std::size_t kLong = 300 * 1024;
    LibServer server_;
    HttpSession session_;
};

TEST_F(ResponseReadingTest, BodyWithAZeroByte) {
    ASSERT_TRUE(session_.Get(T(Url("/zero"))));
    EXPECT_EQ(session_.ReadBody(0).data(), std::string("abc\0def", 7));
    EXPECT_EQ(S(session_.ReadBodyRaw(0)), "abc");
    EXPECT_EQ(S(session_.ReadBodyText(0)), "abc");
}

TEST_F(ResponseReadingTest, LongBodyIsReadWholeOnceAndTheBufferComesBack) {
    ASSERT_TRUE(session_.Get(T(Url("/long"))));
    const Bytes body = session_.ReadBody(0);
    EXPECT_EQ(body.size(), kLong);
    EXPECT_TRUE(body.data() == Pattern(kLong));
    EXPECT_EQ(session_.ReceiveCapacity(), kReadChunkBytes);
    EXPECT_EQ(session_.ReceiveLength(), 0);
    // Later reads return the same bytes: the transfer is over, only the cache can answer.
    EXPECT_TRUE(session_.ReadBody(0) == body);
    EXPECT_EQ(session_.ReadBodyRaw(0).bytes(), body.data());
}

TEST_F(ResponseReadingTest, MaxChunksLimitsTheReads) {
    ASSERT_TRUE(session_.Get(T(Url("/long"))));
    const Bytes part = session_.ReadBody(3);
    EXPECT_GT(part.size(), 0u);
    EXPECT_LE(part.size(), 3u * kReadChunkBytes);
    EXPECT_EQ(part.data(), Pattern(kLong).substr(0, part.size()));
    // The next exchange starts clean on the same session.
    ASSERT_TRUE(session_.Get(T(Url("/zero"))));
    EXPECT_EQ(session_.ReadBody(0).size(), 7u);
}

TEST_F(ResponseReadingTest, ResponseHeadersAndOneMergePerResponse) {
    EXPECT_EQ(S(session_.GetResponseHeader(T("Content-Type"))), "");
    ASSERT_TRUE(session_.Get(T(Url("/page"))));
    EXPECT_EQ(S(session_.GetResponseHeader(Text())), "");
    EXPECT_EQ(S(session_.GetResponseHeader(T("content-type"))), "text/html; charset=utf-8");
    EXPECT_EQ(S(session_.GetResponseHeader(T("X-Missing"))), "");
    const Text all = session_.GetAllResponseHeaders();
    EXPECT_TRUE(S(all).starts_with("HTTP/1.1 200 OK\r\n"));
    EXPECT_TRUE(S(all).ends_with("\r\n\r\n"));
    EXPECT_EQ(session_.GetRedirectLocation(), Text());

    // Send merged the cookies already; the header operations do not merge them again.
    EXPECT_EQ(S(session_.CookieJar()), "; seen=1; ");
    session_.SetCookieJar(Text());
    session_.GetAllResponseHeaders();
    session_.GetResponseHeader(T("Set-Cookie"));
    EXPECT_EQ(S(session_.CookieJar()), "; ");
}

TEST_F(ResponseReadingTest, Utf8BodyBecomesText) {
    ASSERT_TRUE(session_.Get(T(Url("/page"))));
    EXPECT_EQ(session_.ReadBodyText(0), "<p>公司名称：测试</p>"_t);
    EXPECT_EQ(session_.ReadBodyText(0), "<p>公司名称：测试</p>"_t);
}

TEST_F(ResponseReadingTest, EmptyBodyAndHeadGiveEmptyBodies) {
    ASSERT_TRUE(session_.Get(T(Url("/empty"))));
    EXPECT_TRUE(session_.ReadBody(0).empty());
    EXPECT_TRUE(S(session_.RawHeaders()).starts_with("HTTP/1.1 204"));
    ASSERT_TRUE(session_.Head(T(Url("/long"))));
    EXPECT_EQ(S(session_.GetResponseHeader(T("Content-Length"))), std::to_string(kLong));
    EXPECT_TRUE(session_.ReadBody(0).empty());
}

TEST_F(ResponseReadingTest, FetchPageUsesTheSharedSession) {
    EXPECT_EQ(SharedSession(), nullptr);
    EXPECT_EQ(FetchPage(T(Url("/page"))), Text());
    CreateSharedSession();
    HttpSession* shared = SharedSession();
    ASSERT_NE(shared, nullptr);
    CreateSharedSession();
    EXPECT_EQ(SharedSession(), shared);

    EXPECT_EQ(FetchPage(T(Url("/page"))), "<p>公司名称：测试</p>"_t);
    EXPECT_EQ(S(shared->GetCookie(T("seen"), false)), "1");
    EXPECT_EQ(FetchPage(Text()), Text());
    EXPECT_EQ(S(FetchPage(T(Url("/zero")))), "abc");

    DestroySharedSession();
    EXPECT_EQ(SharedSession(), nullptr);
    EXPECT_EQ(FetchPage(T(Url("/page"))), Text());
}

TEST(SharedSession, DestroyedWhileAFetchRunsStaysAliveUntilItReturns) {
    std::mutex mutex;
    std::condition_variable released;
    bool release = false;
    RawServer server([&](const RawRequest&, RawExchange& exchange) {
        exchange.Write("HTTP/1.1 200 OK\r\nContent-Length: 8\r\n\r\nhalf");
        std::unique_lock lock(mutex);
        released.wait_for(lock, std::chrono::seconds(10), [&] { return release; });
        exchange.Write("done");
    });
    CreateSharedSession();
    Text page;
    std::thread fetcher([&] { page = FetchPage(T(server.Url("/slow"))); });
    ASSERT_TRUE(server.WaitForRequests(1));
    DestroySharedSession();
    EXPECT_EQ(SharedSession(), nullptr);
    {
        std::lock_guard lock(mutex);
        release = true;
    }
    released.notify_all();
    fetcher.join();
    EXPECT_EQ(S(page), "halfdone");
}

TEST(ResponseHeaders, BlockIsTheFinalResponsesWithCrlfLines) {
    RawServer server([](const RawRequest&, RawExchange& exchange) {
        exchange.Write(
            "HTTP/1.1 100 Continue\r\n\r\n"
            "HTTP/1.1 200 OK\nX-Bare-Lf: 1\nTransfer-Encoding: chunked\r\n\r\n"
            "5\r\nhello\r\n6\r\n world\r\n0\r\nX-Trailer: late\r\n\r\n");
    });
    HttpSession session;
    ASSERT_TRUE(session.Get(T(server.Url("/chunked"))));
    EXPECT_EQ(S(session.RawHeaders()),
              "HTTP/1.1 200 OK\r\nX-Bare-Lf: 1\r\nTransfer-Encoding: chunked\r\n\r\n");
    EXPECT_EQ(S(session.ReadBodyRaw(0)), "hello world");
    EXPECT_EQ(S(session.GetResponseHeader(T("x-bare-lf"))), "1");
    EXPECT_EQ(S(session.GetResponseHeader(T("X-Trailer"))), "");
}

// Header blocks are counted with their terminating zero against the 10240-byte buffer.
std::string HeaderBlockOfSize(std::size_t size, const std::string& location) {
    std::string block = "HTTP/1.1 302 Found\r\nSet-Cookie: big=1;\r\nLocation: " + location +
                        "\r\nContent-Length: 4\r\nX-Pad: ";
    const std::size_t fixed = block.size() + 4;  // the pad line's CRLF and the closing empty line
    block += std::string(size - fixed, 'p');
    return block + "\r\n\r\n";
}

TEST(OversizedHeaders, CountAsNoHeaders) {
    for (const std::size_t size : {std::size_t{10239}, std::size_t{10240}, std::size_t{16000}}) {
        SCOPED_TRACE(size);
        RawServer server([size](const RawRequest& request, RawExchange& exchange) {
            if (request.requestLine.starts_with("GET /next")) {
                exchange.Write(RawServer::Response("200 OK", {}, "next"));
            } else {
                exchange.Write(HeaderBlockOfSize(size, "/next") + "body");
            }
        });
        HttpSession session;
        ASSERT_TRUE(session.Get(T(server.Url("/big"))));
        const bool fits = size < static_cast<std::size_t>(kHeaderBufferBytes);
        EXPECT_EQ(server.Requests().size(), fits ? 2u : 1u);
        EXPECT_EQ(session.RawHeaders().empty(), !fits);
        EXPECT_EQ(S(session.GetCookie(T("big"), false)), fits ? "1" : "");
        EXPECT_EQ(session.CookiesMerged(), fits);
        EXPECT_EQ(S(session.ReadBodyRaw(0)), fits ? "next" : "body");
        if (!fits) {
            EXPECT_EQ(S(session.GetResponseHeader(T("Location"))), "");
        }
    }
}

TEST(CutShortBody, KeepsTheBytesThatCame) {
    RawServer server([](const RawRequest&, RawExchange& exchange) {
        exchange.Write("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + std::string(400, 'x'));
        exchange.Close();
    });
    HttpSession session;
    ASSERT_TRUE(session.Get(T(server.Url("/cut"))));
    EXPECT_EQ(S(session.ReadBodyRaw(0)), std::string(400, 'x'));
    EXPECT_EQ(session.ReceiveLength(), 0);
}

TEST(HugeBody, IsCutAtTheLimitKeepingTheBytesSoFar) {
    const std::size_t total = static_cast<std::size_t>(kMaxBodyBytes) + 5000;
    RawServer server([total](const RawRequest&, RawExchange& exchange) {
        exchange.Write("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(total) + "\r\n\r\n");
        const std::string block(1 << 20, 'z');
        for (std::size_t sent = 0; sent < total; sent += block.size()) {
            exchange.Write(block.substr(0, std::min(block.size(), total - sent)));
        }
        exchange.Close();
    });
    HttpSession session;
    ASSERT_TRUE(session.Get(T(server.Url("/huge"))));
    const Bytes body = session.ReadBody(0);
    EXPECT_EQ(body.size(), static_cast<std::size_t>(kMaxBodyBytes));
    EXPECT_EQ(body.data().find_first_not_of('z'), std::string::npos);
    EXPECT_EQ(session.ReceiveCapacity(), kReadChunkBytes);
    EXPECT_EQ(session.ReceiveLength(), 0);
}

TEST(RefusedConnection, ShowsAsAResponseWithoutHeadersOrBody) {
    int port = 0;
    {
        RawServer closed([](const RawRequest&, RawExchange&) {});
        port = closed.Port();
    }
    HttpSession session;
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/";
    EXPECT_TRUE(session.Get(T(url)));
    EXPECT_TRUE(session.RawHeaders().empty());
    EXPECT_FALSE(session.CookiesMerged());
    EXPECT_TRUE(session.ReadBody(0).empty());
    EXPECT_EQ(S(session.GetAllResponseHeaders()), "");
}

}  // namespace
}  // namespace tarvolin::test
