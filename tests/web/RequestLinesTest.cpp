// What goes out on the wire, line by line, recorded by a byte-exact server.

#include <gtest/gtest.h>

#include "RawServer.h"
#include "WebTestSupport.h"
#include "web/HttpSession.h"

namespace tarvolin::test {
namespace {

using Lines = std::vector<std::string>;

void AnswerOk(const RawRequest&, RawExchange& exchange) {
    exchange.Write(RawServer::Response("200 OK", {"Content-Type: text/plain"}, "ok"));
}

std::string HostLine(const RawServer& server) {
    return "Host: 127.0.0.1:" + std::to_string(server.Port());
}

const std::string kAgentLine = "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

TEST(RequestLines, DefaultGetCarriesTheSixDefaultsInOrderOnOneConnection) {
    RawServer server(AnswerOk);
    HttpSession session;
    const std::string url = server.Url("/page?q=1");
    ASSERT_TRUE(session.Get(T(url)));
    EXPECT_EQ(S(session.ReadBodyRaw(0)), "ok");
    EXPECT_EQ(session.RequestFlags(), 0x84283000u);
    EXPECT_EQ(S(session.HeaderBlock()), "\r\n");

    session.SetCookies(T("a=1; b=2"));
    const std::string second = server.Url("/next");
    ASSERT_TRUE(session.Get(T(second)));
    EXPECT_EQ(S(session.ReadBodyRaw(0)), "ok");
    ASSERT_TRUE(session.Get(T(url)));
    EXPECT_EQ(S(session.ReadBodyRaw(0)), "ok");

    const std::vector<RawRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].requestLine, "GET /page?q=1 HTTP/1.1");
    // An empty jar sends no Cookie line.
    EXPECT_EQ(requests[0].headerLines,
              (Lines{HostLine(server), "Accept: */*", "Referer: " + url, "Accept-Language: zh-cn", kAgentLine,
                     "Connection: Keep-Alive"}));
    EXPECT_EQ(requests[1].requestLine, "GET /next HTTP/1.1");
    EXPECT_EQ(requests[1].headerLines,
              (Lines{HostLine(server), "Accept: */*", "Referer: " + second, "Accept-Language: zh-cn",
                     kAgentLine, "Connection: Keep-Alive", "Cookie: a=1; b=2"}));
    // Kept alive: every request went over the first connection.
    EXPECT_EQ(requests[2].connection, 1);
    EXPECT_EQ(server.Connections(), 1);
}

TEST(RequestLines, CallerHeadersComeFirstAndReplaceOrSuppressDefaultsForOneRequest) {
    RawServer server(AnswerOk);
    HttpSession session;
    const std::string url = server.Url("/h");
    session.AddHeader(T("User-Agent"), T("Custom/1"));
    session.AddHeader(T("accept-LANGUAGE:"), T("en"));
    session.AddHeader(T("X-Trace"), T("7"));
    session.AddHeader(T("X-Empty"), Text());
    session.RemoveHeader(T("Accept"));
    session.RemoveHeader(T("Referer:"));
    ASSERT_TRUE(session.Get(T(url)));
    ASSERT_TRUE(session.Get(T(url)));

    const std::vector<RawRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].headerLines, (Lines{HostLine(server), "User-Agent: Custom/1", "accept-LANGUAGE: en",
                                              "X-Trace: 7", "X-Empty:", "Connection: Keep-Alive"}));
    // Stored headers and suppressions apply to the next request only.
    EXPECT_EQ(requests[1].headerLines,
              (Lines{HostLine(server), "Accept: */*", "Referer: " + url, "Accept-Language: zh-cn", kAgentLine,
                     "Connection: Keep-Alive"}));
}

TEST(RequestLines, PostCarriesContentTypeAndLengthAndTheBody) {
    RawServer server(AnswerOk);
    HttpSession session;
    const std::string url = server.Url("/form");
    ASSERT_TRUE(session.Post(T(url), T("a=1&b=2")));
    EXPECT_TRUE(session.IsPost());
    ASSERT_TRUE(session.Post(T(url), Text(), Bytes(std::string("x\0y", 3))));

    const std::vector<RawRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].requestLine, "POST /form HTTP/1.1");
    EXPECT_EQ(requests[0].headerLines,
              (Lines{HostLine(server), "Accept: */*", "Referer: " + url, "Accept-Language: zh-cn", kAgentLine,
                     "Content-Type: application/x-www-form-urlencoded", "Connection: Keep-Alive",
                     "Content-Length: 7"}));
    EXPECT_EQ(requests[0].body, "a=1&b=2");
    EXPECT_EQ(requests[1].body, std::string("x\0y", 3));
}

TEST(RequestLines, WithoutDefaultsOnlyTheLibraryAgentIsAdded) {
    RawServer server(AnswerOk);
    HttpSession session;
    session.SetDefaultHeadersEnabled(false);
    ASSERT_TRUE(session.Get(T(server.Url("/a"))));
    EXPECT_TRUE(session.Referer().empty());
    session.Reinitialize(T("Agent/2"));
    session.SetDefaultHeadersEnabled(false);
    ASSERT_TRUE(session.Head(T(server.Url("/b"))));

    const std::vector<RawRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].headerLines, (Lines{HostLine(server), kAgentLine}));
    EXPECT_EQ(requests[1].requestLine, "HEAD /b HTTP/1.1");
    EXPECT_EQ(requests[1].headerLines, (Lines{HostLine(server), "User-Agent: Agent/2"}));
}

TEST(RequestLines, VerbIsTrimmedAndUpperCasedAndPathSentAsGiven) {
    RawServer server(AnswerOk);
    HttpSession session;
    ASSERT_TRUE(session.OpenRequest(T("  delete "), T(server.Url("/a/../b/./c?x=%41&y=a:b"))));
    ASSERT_TRUE(session.Send(Bytes()));
    const std::vector<RawRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].requestLine, "DELETE /a/../b/./c?x=%41&y=a:b HTTP/1.1");
}

TEST(RequestLines, ProxyGetsTheAbsoluteUrlAndCredentials) {
    RawServer proxy(AnswerOk);
    HttpSession session;
    const Text proxyAddress = T("127.0.0.1:" + std::to_string(proxy.Port()));
    session.SetProxy(proxyAddress);
    ASSERT_TRUE(session.OpenRequest(T("GET"), T("http://directory.invalid/list?p=2")));
    session.SetProxy(proxyAddress, T("user"), T("secret"));
    ASSERT_TRUE(session.Send(Bytes()));
    EXPECT_EQ(S(session.ReadBodyRaw(0)), "ok");

    const std::vector<RawRequest> requests = proxy.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(requests[0].requestLine.starts_with("GET http://directory.invalid"));
    EXPECT_TRUE(requests[0].requestLine.ends_with("/list?p=2 HTTP/1.1"));
    EXPECT_EQ(requests[0].Header("Proxy-Authorization"), "Basic dXNlcjpzZWNyZXQ=");

    // Back to direct: the proxy sees nothing more.
    RawServer direct(AnswerOk);
    session.SetProxy(Text());
    ASSERT_TRUE(session.Get(T(direct.Url("/d"))));
    EXPECT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(direct.Requests().size(), 1u);
}

}  // namespace
}  // namespace tarvolin::test
