#include <gtest/gtest.h>

#include "WebTestSupport.h"
#include "web/HttpSession.h"

namespace tarvolin::test {
namespace {

TEST(HeaderStore, AddHeaderNormalisesNamesAndReplacesValues) {
    HttpSession session;
    session.AddHeader(T("X-One"), T("1"));
    session.AddHeader(T("X-Two:"), T("2"));
    session.AddHeader(T("X-Three: "), T("3"));
    EXPECT_EQ(S(session.HeaderBlock()), "\r\nX-One: 1\r\nX-Two: 2\r\nX-Three: 3\r\n");

    // Another letter case finds the stored line, which keeps its own spelling.
    session.AddHeader(T("x-two"), T("twenty"));
    EXPECT_EQ(S(session.HeaderBlock()), "\r\nX-One: 1\r\nX-Two: twenty\r\nX-Three: 3\r\n");

    session.AddHeader(Text(), T("ignored"));
    EXPECT_EQ(S(session.HeaderBlock()), "\r\nX-One: 1\r\nX-Two: twenty\r\nX-Three: 3\r\n");
}

TEST(HeaderStore, RemoveHeaderTakesOutExactlyOneLine) {
    HttpSession session;
    session.AddHeader(T("A"), T("1"));
    const Text before = session.HeaderBlock();
    session.AddHeader(T("Empty"), Text());
    EXPECT_EQ(S(session.HeaderBlock()), "\r\nA: 1\r\nEmpty: \r\n");
    session.RemoveHeader(T("empty:"));
    EXPECT_EQ(session.HeaderBlock(), before);

    session.AddHeader(T("B"), T("2"));
    session.RemoveHeader(T("a"));
    EXPECT_EQ(S(session.HeaderBlock()), "\r\nB: 2\r\n");
    session.RemoveHeader(T("Missing"));
    EXPECT_EQ(S(session.HeaderBlock()), "\r\nB: 2\r\n");
}

TEST(HeaderStore, CookieHeaderGoesToTheJar) {
    HttpSession session;
    session.AddHeader(T("Cookie"), T("a=1; b=2"));
    session.AddHeader(T("COOKIE:"), Text());
    EXPECT_EQ(S(session.HeaderBlock()), "\r\n");
    EXPECT_EQ(S(session.CookieJar()), "; a=1; b=2; ");

    // Removing "cookie" finds no line and leaves the jar alone.
    session.RemoveHeader(T("Cookie"));
    EXPECT_EQ(S(session.CookieJar()), "; a=1; b=2; ");
}

}  // namespace
}  // namespace tarvolin::test
