#include <gtest/gtest.h>

#include "RawServer.h"
#include "WebTestSupport.h"
#include "web/HttpSession.h"

namespace tarvolin::test {
namespace {

void AnswerOk(const RawRequest&, RawExchange& exchange) {
    exchange.Write(RawServer::Response("200 OK", {"Set-Cookie: s=1;"}, "ok"));
}

TEST(SessionLife, ConstructionLeavesTheObjectReady) {
    HttpSession session;
    EXPECT_TRUE(session.HasLibrarySession());
    EXPECT_FALSE(session.HasRequest());
    EXPECT_TRUE(session.FollowsRedirects());
    EXPECT_TRUE(session.DefaultHeadersEnabled());
    EXPECT_EQ(S(session.CookieJar()), "; ");
    EXPECT_EQ(S(session.HeaderBlock()), "\r\n");
    EXPECT_TRUE(session.HasReceiveBuffer());
    EXPECT_EQ(session.ReceiveCapacity(), kReadChunkBytes);
    EXPECT_EQ(session.ReceiveLength(), 0);
    EXPECT_EQ(session.Port(), 0);
}

TEST(SessionLife, FailedOpenings) {
    HttpSession session;
    EXPECT_FALSE(session.Get(Text()));
    EXPECT_FALSE(session.OpenRequest(T("GET"), Text()));
    EXPECT_FALSE(session.OpenRequest(T("   "), T("http://127.0.0.1/")));
    EXPECT_FALSE(session.Get(T("http:///nohost")));
    EXPECT_FALSE(session.HasRequest());
    EXPECT_FALSE(session.Send(Bytes()));
    EXPECT_FALSE(session.SendText(T("x")));
}

TEST(SessionLife, CloseSessionEndsUseUntilInitialize) {
    RawServer server(AnswerOk);
    HttpSession session;
    ASSERT_TRUE(session.Get(T(server.Url("/a"))));
    session.CloseSession();
    EXPECT_FALSE(session.HasLibrarySession());
    EXPECT_FALSE(session.HasRequest());
    EXPECT_FALSE(session.HasReceiveBuffer());
    EXPECT_TRUE(session.CookieJar().empty());
    EXPECT_TRUE(session.CurrentUrl().empty());
    EXPECT_FALSE(session.Get(T(server.Url("/b"))));
    EXPECT_TRUE(session.ReadBody(0).empty());

    session.Reinitialize();
    EXPECT_EQ(S(session.CookieJar()), "; ");
    ASSERT_TRUE(session.Get(T(server.Url("/c"))));
    EXPECT_EQ(S(session.ReadBodyRaw(0)), "ok");
    EXPECT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(server.Requests()[1].Header("User-Agent"), std::string(kBrowserAgent));
}

TEST(SessionLife, CopyIsIndependentAndClosesOnlyItsOwnHandles) {
    RawServer server(AnswerOk);
    auto original = std::make_unique<HttpSession>();
    ASSERT_TRUE(original->Get(T(server.Url("/first"))));
    original->SetFollowRedirects(false);

    std::unique_ptr<HttpSession> copy = original->Copy();
    EXPECT_EQ(S(copy->CookieJar()), "; s=1; ");
    EXPECT_FALSE(copy->FollowsRedirects());
    EXPECT_EQ(copy->RawHeaders(), original->RawHeaders());
    EXPECT_FALSE(copy->HasRequest());

    // The original's open request still delivers its body after the copy.
    EXPECT_EQ(S(original->ReadBodyRaw(0)), "ok");
    original.reset();

    copy->SetCookies(T("c=2"));
    ASSERT_TRUE(copy->Get(T(server.Url("/second"))));
    EXPECT_EQ(S(copy->ReadBodyRaw(0)), "ok");
    const std::vector<RawRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].Header("Cookie"), "s=1; c=2");
}

}  // namespace
}  // namespace tarvolin::test
