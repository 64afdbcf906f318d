#include <gtest/gtest.h>

#include "WebTestSupport.h"
#include "web/CookieJar.h"
#include "web/HttpSession.h"

namespace tarvolin::test {
namespace {

struct MergeCase {
    const char* name;
    const char* jar;
    const char* headers;
    const char* expected;
};

TEST(MergeSetCookies, KeepsTheJarLayout) {
    const MergeCase cases[] = {
        {"new name appended", "; ", "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; Path=/\r\n\r\n", "; a=1; "},
        {"two lines in order", "; ",
         "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; Path=/\r\nset-cookie:b=2;HttpOnly\r\n\r\n", "; a=1; b=2; "},
        {"same name changes in place", "; a=1; b=2; ", "HTTP/1.1 200 OK\r\nSet-Cookie: a=99; path=/\r\n\r\n",
         "; a=99; b=2; "},
        {"other letter case is another cookie", "; a=1; ", "HTTP/1.1 200 OK\r\nSet-Cookie: A=2;\r\n\r\n",
         "; a=1; A=2; "},
        {"deleted removes", "; a=1; b=2; ", "HTTP/1.1 200 OK\r\nSet-Cookie: a=deleted; expires=x\r\n\r\n",
         "; b=2; "},
        {"DELETED removes", "; a=1; b=2; ", "HTTP/1.1 200 OK\r\nSet-Cookie: b=DELETED;\r\n\r\n", "; a=1; "},
        {"Deleted removes", "; a=1; ", "HTTP/1.1 200 OK\r\nSet-Cookie: a=Deleted;\r\n\r\n", "; "},
        {"deleted absent is not added", "; a=1; ", "HTTP/1.1 200 OK\r\nSet-Cookie: z=deleted;\r\n\r\n",
         "; a=1; "},
        {"other spelling of deleted is a value", "; ", "HTTP/1.1 200 OK\r\nSet-Cookie: a=deLeted;\r\n\r\n",
         "; a=deLeted; "},
        {"name prefix is another cookie", "; ab=1; ", "HTTP/1.1 200 OK\r\nSet-Cookie: b=2;\r\n\r\n",
         "; ab=1; b=2; "},
        {"item without = skipped", "; ", "HTTP/1.1 200 OK\r\nSet-Cookie: flag; x\r\nSet-Cookie: a=1;\r\n\r\n",
         "; a=1; "},
        {"matched inside a longer header name", "; ", "HTTP/1.1 200 OK\r\nX-Set-Cookie: q=1;\r\n\r\n",
         "; q=1; "},
        // A line without ";" ends its item at the line's end and never takes in the next line.
        {"line without ; then another", "; ",
         "HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nSet-Cookie: b=2; path=/\r\n\r\n", "; a=1; b=2; "},
        {"text ending inside a cookie", "; ", "HTTP/1.1 200 OK\r\nSet-Cookie: a=1", "; "},
        {"no Set-Cookie", "; a=1; ", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", "; a=1; "},
    };
    for (const MergeCase& c : cases) {
        SCOPED_TRACE(c.name);
        Text jar = T(c.jar);
        MergeSetCookies(jar, T(c.headers));
        EXPECT_EQ(S(jar), c.expected);
    }
}

TEST(CookieOperations, SetDeleteAndReadCookies) {
    HttpSession session;
    EXPECT_EQ(S(session.CookieJar()), "; ");
    EXPECT_EQ(S(session.GetAllCookies()), "");

    EXPECT_FALSE(session.SetCookies(Text()));
    EXPECT_FALSE(session.SetCookies(T("novalue; ;")));
    EXPECT_TRUE(session.SetCookies(T("a=1; b=2;")));
    EXPECT_EQ(S(session.CookieJar()), "; a=1; b=2; ");
    EXPECT_TRUE(session.SetCookies(T(" b=3;c=4")));
    EXPECT_EQ(S(session.CookieJar()), "; a=1; b=3; c=4; ");
    EXPECT_EQ(S(session.GetAllCookies()), "a=1; b=3; c=4");

    EXPECT_EQ(S(session.GetCookie(T("b"), false)), "3");
    EXPECT_EQ(S(session.GetCookie(T("b"), true)), "b=3");
    EXPECT_EQ(S(session.GetCookie(T("ab"), false)), "");
    EXPECT_EQ(S(session.GetCookie(T("c"), false)), "4");

    EXPECT_FALSE(session.DeleteCookies(T("zz")));
    EXPECT_TRUE(session.DeleteCookies(T("b=whatever; a")));
    EXPECT_EQ(S(session.CookieJar()), "; c=4; ");
    EXPECT_TRUE(session.DeleteCookies(T("c")));
    EXPECT_EQ(S(session.CookieJar()), "; ");
}

TEST(CookieOperations, GetCookieOfAPrefixNameFindsNothing) {
    HttpSession session;
    session.SetCookies(T("session=abc"));
    EXPECT_EQ(S(session.GetCookie(T("sess"), false)), "");
    EXPECT_EQ(S(session.GetCookie(T("session"), false)), "abc");
}

TEST(CookieOperations, SetCookieJarTakesAHeaderValue) {
    const std::pair<const char*, const char*> cases[] = {
        {"a=1; b=2", "; a=1; b=2; "},
        {"; a=1; b=2; ", "; a=1; b=2; "},
        {"a=1;", "; a=1; "},
        {"a=1 ", "; a=1 ; "},
        {"", "; "},
    };
    for (const auto& [given, jar] : cases) {
        SCOPED_TRACE(given);
        HttpSession session;
        session.SetCookieJar(T(given));
        EXPECT_EQ(S(session.CookieJar()), jar);
    }
    HttpSession session;
    session.SetCookieJar(T("x=1; y=2"));
    EXPECT_EQ(S(session.GetAllCookies()), "x=1; y=2");
}

}  // namespace
}  // namespace tarvolin::test
