#include <gtest/gtest.h>

#include "WebTestSupport.h"
#include "web/HttpSession.h"

namespace tarvolin::test {
namespace {

void Redirect(httplib::Response& response, const std::string& location) {
    response.status = 302;
    response.set_header("Location", location);
    response.set_content("moved", "text/plain");
}

class RedirectTest : public ::testing::Test {
protected:
    void SetUp() override {
        httplib::Server& routes = server_.Routes();
        routes.Get("/abs",
                   [this](const httplib::Request&, httplib::Response& r) { Redirect(r, Url("/target")); });
        routes.Get("/root", [](const httplib::Request&, httplib::Response& r) { Redirect(r, "/target"); });
        routes.Get("/dir/rel", [](const httplib::Request&, httplib::Response& r) { Redirect(r, "target"); });
        routes.Get("/dir/target", [](const httplib::Request&, httplib::Response& r) {
            r.set_content("dir target", "text/plain");
        });
        routes.Get("/slashes",
                   [](const httplib::Request&, httplib::Response& r) { Redirect(r, "//target"); });
        routes.Get("//target", [](const httplib::Request&, httplib::Response& r) {
            r.set_content("double slash target", "text/plain");
        });
        routes.Get("/target", [](const httplib::Request&, httplib::Response& r) {
            r.set_content("target", "text/plain");
        });
        routes.Get("/self", [](const httplib::Request&, httplib::Response& r) { Redirect(r, "/self"); });
        routes.Get(R"(/chain/(\d+))", [](const httplib::Request& q, httplib::Response& r) {
            const int hop = std::stoi(q.matches[1]);
            r.set_header("Set-Cookie", "hop=" + std::to_string(hop) + "; Path=/");
            Redirect(r, "/chain/" + std::to_string(hop + 1));
        });
        routes.Get("/ping", [](const httplib::Request&, httplib::Response& r) { Redirect(r, "/pong"); });
        routes.Get("/pong", [](const httplib::Request&, httplib::Response& r) { Redirect(r, "/ping"); });
        routes.Get("/login", [](const httplib::Request&, httplib::Response& r) {
            r.set_header("Set-Cookie", "sid=abc; HttpOnly");
            Redirect(r, "/target");
        });
        routes.Post("/post", [this](const httplib::Request& q, httplib::Response& r) {
            postedBody_ = q.body;
            r.set_header("Set-Cookie", "posted=1; Path=/");
            Redirect(r, "/landing");
        });
        routes.Get("/landing", [](const httplib::Request&, httplib::Response& r) {
            r.set_content("landed", "text/plain");
        });
        server_.Start();
    }

    std::string Url(const std::string& path) const { return server_.Url(path); }
    std::size_t Requests() const { return server_.Seen().size(); }

    LibServer server_;
    HttpSession session_;
    std::string postedBody_;  // the server reads a body after the requests are recorded
};

TEST_F(RedirectTest, FollowsEveryKindOfLocation) {
    struct Case {
        const char* start;
        const char* finalUrlPath;
        const char* body;
    };
    const Case cases[] = {
        {"/abs", "/target", "target"},
        {"/root", "/target", "target"},
        {"/dir/rel", "/dir/target", "dir target"},
        {"/slashes", "//target", "double slash target"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        const std::size_t before = Requests();
        ASSERT_TRUE(session_.Get(T(Url(c.start))));
        EXPECT_EQ(S(session_.CurrentUrl()), Url(c.finalUrlPath));
        EXPECT_EQ(S(session_.ReadBodyRaw(0)), c.body);
        EXPECT_EQ(Requests(), before + 2);
    }
}

TEST_F(RedirectTest, LocationEqualToTheUrlIsNotFollowed) {
    ASSERT_TRUE(session_.Get(T(Url("/self"))));
    EXPECT_EQ(Requests(), 1u);
    EXPECT_EQ(S(session_.ReadBodyRaw(0)), "moved");

    // Spelled differently, the same URL is followed once: the resolved form then equals itself.
    ASSERT_TRUE(session_.Get(T("HTTP://127.0.0.1:" + std::to_string(server_.Port()) + "/self")));
    EXPECT_EQ(Requests(), 3u);
    EXPECT_EQ(S(session_.CurrentUrl()), Url("/self"));
}

TEST_F(RedirectTest, EndlessChainStopsAfterTwentyRedirects) {
    ASSERT_TRUE(session_.Get(T(Url("/chain/0"))));
    EXPECT_EQ(Requests(), 1u + kMaxRedirects);
    // The caller sees the last response, whose Location was not followed.
    EXPECT_EQ(S(session_.CurrentUrl()), Url("/chain/20"));
    EXPECT_EQ(S(session_.GetResponseHeader(T("Location"))), "/chain/21");
    EXPECT_EQ(S(session_.GetCookie(T("hop"), false)), "20");
    EXPECT_EQ(S(session_.ReadBodyRaw(0)), "moved");

    const std::size_t before = Requests();
    ASSERT_TRUE(session_.Get(T(Url("/ping"))));
    EXPECT_EQ(Requests(), before + 1 + kMaxRedirects);
    EXPECT_EQ(S(session_.HeaderBlock()), "\r\n");
    EXPECT_TRUE(session_.DefaultHeadersEnabled());
}

TEST_F(RedirectTest, RedirectedRequestCarriesTheFirstLinesAndTheNewCookies) {
    const std::string url = Url("/login");
    ASSERT_TRUE(session_.Get(T(url)));
    EXPECT_EQ(S(session_.ReadBodyRaw(0)), "target");
    const std::vector<SeenRequest> seen = server_.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_FALSE(seen[0].Has("Cookie"));
    EXPECT_EQ(seen[1].Value("Cookie"), "sid=abc");
    // The header block is not rebuilt for the redirect: the Referer stays the first URL.
    EXPECT_EQ(seen[1].Value("Referer"), url);
    EXPECT_EQ(seen[1].Value("Accept-Language"), "zh-cn");
}

TEST_F(RedirectTest, PostAnsweredByRedirectContinuesAsBodylessGet) {
    const std::string url = Url("/post");
    ASSERT_TRUE(session_.Post(T(url), T("name=value")));
    EXPECT_EQ(S(session_.ReadBodyRaw(0)), "landed");
    EXPECT_FALSE(session_.IsPost());

    const std::vector<SeenRequest> seen = server_.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].method, "POST");
    EXPECT_EQ(postedBody_, "name=value");
    EXPECT_EQ(seen[0].Value("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(seen[1].method, "GET");
    EXPECT_EQ(seen[1].target, "/landing");
    EXPECT_FALSE(seen[1].Has("Transfer-Encoding"));
    EXPECT_FALSE(seen[1].Has("Content-Type"));
    EXPECT_FALSE(seen[1].Has("Content-Length"));
    EXPECT_EQ(seen[1].Value("Cookie"), "posted=1");
}

TEST_F(RedirectTest, WithoutFollowingTheCallerResolvesTheLocation) {
    session_.SetFollowRedirects(false);
    ASSERT_TRUE(session_.Get(T(Url("/dir/rel"))));
    EXPECT_EQ(Requests(), 1u);
    EXPECT_EQ(S(session_.GetRedirectLocation()), Url("/dir/target"));
    EXPECT_EQ(S(session_.ReadBodyRaw(0)), "moved");
}

}  // namespace
}  // namespace tarvolin::test
