#include <gtest/gtest.h>

#include "WebTestSupport.h"
#include "web/Location.h"
#include "web/UrlSplit.h"

namespace tarvolin::test {
namespace {

struct SplitCase {
    const char* url;
    const char* scheme;
    const char* host;
    int port;
    const char* path;
};

TEST(SplitUrl, SplitsEveryShapeOfUrl) {
    const SplitCase cases[] = {
        {"example.com/a", "http://", "example.com", 80, "/a"},
        {"HTTPS://Host.Example/x?y=1", "https://", "Host.Example", 443, "/x?y=1"},
        {"HtTp://host/p", "http://", "host", 80, "/p"},
        {"http://host", "http://", "host", 80, "/"},
        {"https://host", "https://", "host", 443, "/"},
        {"http://host:8080", "http://", "host", 8080, "/"},
        {"http://host:81/p", "http://", "host", 81, "/p"},
        {"http://host: 81 /p", "http://", "host", 81, "/p"},
        {"http://host:0/p", "http://", "host", 80, "/p"},
        {"http://host:10/p", "http://", "host", 80, "/p"},
        {"http://host:11/p", "http://", "host", 11, "/p"},
        {"https://host:5/p", "https://", "host", 80, "/p"},
        {"https://host:abc/p", "https://", "host", 80, "/p"},
        {"http://host/p?u=a:b", "http://", "host", 80, "/p?u=a:b"},
        {"https://host/p?t=12:30", "https://", "host", 443, "/p?t=12:30"},
        {"http://a:8/p", "http://", "a", 80, "/p"},
        {"a/b", "http://", "a", 80, "/b"},
        {"ab:99/x", "http://", "ab", 99, "/x"},
        {"ftp://h/x", "http://", "ftp", 80, "//h/x"},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.url);
        const std::optional<UrlParts> parts = SplitUrl(T(c.url));
        ASSERT_TRUE(parts.has_value());
        EXPECT_EQ(S(parts->scheme), c.scheme);
        EXPECT_EQ(S(parts->host), c.host);
        EXPECT_EQ(parts->port, c.port);
        EXPECT_EQ(S(parts->path), c.path);
    }
}

TEST(SplitUrl, EmptyUrlFails) {
    EXPECT_FALSE(SplitUrl(Text()).has_value());
}

struct LocationCase {
    const char* headers;
    const char* scheme;
    const char* host;
    int port;
    const char* currentUrl;
    const char* expected;
};

TEST(ResolveLocation, MakesAbsoluteUrls) {
    const char* kHttp = "http://";
    const LocationCase cases[] = {
        // root-relative: scheme, host and the port always written out
        {"HTTP/1.1 302 Found\r\nLocation: /b\r\n\r\n", "https://", "h", 443, "https://h/a",
         "https://h:443/b"},
        {"HTTP/1.1 302 Found\r\nLocation: /b?x=1\r\n\r\n", kHttp, "h", 8080, "http://h:8080/a",
         "http://h:8080/b?x=1"},
        // "//" counts as root-relative
        {"HTTP/1.1 302 Found\r\nLocation: //cdn/x\r\n\r\n", kHttp, "h", 80, "http://h/a",
         "http://h:80//cdn/x"},
        // absolute, in any letter case
        {"HTTP/1.1 302 Found\r\nLocation: HTTP://Other/x\r\n\r\n", kHttp, "h", 80, "http://h/a",
         "HTTP://Other/x"},
        {"HTTP/1.1 301 Moved\r\nlocation: https://o/y\r\n\r\n", kHttp, "h", 80, "http://h/a", "https://o/y"},
        // relative: replaces the last path segment, dot segments kept
        {"HTTP/1.1 302 Found\r\nLocation: page.html\r\n\r\n", kHttp, "h", 81, "http://h:81/dir/x.html",
         "http://h:81/dir/page.html"},
        {"HTTP/1.1 302 Found\r\nLocation: ?q=2\r\n\r\n", kHttp, "h", 80, "http://h/dir/x",
         "http://h/dir/?q=2"},
        {"HTTP/1.1 302 Found\r\nLocation: ../up\r\n\r\n", kHttp, "h", 80, "http://h/dir/x",
         "http://h/dir/../up"},
        {"HTTP/1.1 302 Found\r\nLocation: rel\r\n\r\n", kHttp, "h", 80, "h", "h/rel"},
        // spaces around the value are trimmed
        {"HTTP/1.1 302 Found\r\nLocation:    /b   \r\n\r\n", kHttp, "h", 80, "http://h/a", "http://h:80/b"},
        // no Location, an empty one, one without a line end, a longer header name
        {"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n", kHttp, "h", 80, "http://h/a", ""},
        {"HTTP/1.1 302 Found\r\nLocation:   \r\n\r\n", kHttp, "h", 80, "http://h/a", ""},
        {"HTTP/1.1 302 Found\r\nLocation: /b", kHttp, "h", 80, "http://h/a", ""},
        {"HTTP/1.1 200 OK\r\nContent-Location: /c\r\n\r\n", kHttp, "h", 80, "http://h/a", ""},
    };
    for (const LocationCase& c : cases) {
        SCOPED_TRACE(c.headers);
        EXPECT_EQ(S(ResolveLocation(T(c.headers), T(c.scheme), T(c.host), c.port, T(c.currentUrl))),
                  c.expected);
    }
}

}  // namespace
}  // namespace tarvolin::test
