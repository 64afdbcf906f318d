#include "platform/Codepage.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace tarvolin::platform {
namespace {

std::u16string ToWide(int codePage, std::string_view bytes) {
    const int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::u16string out(static_cast<std::size_t>(n), u'\0');
    const int written =
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    out.resize(static_cast<std::size_t>(written));
    return out;
}

std::string ToBytes(int codePage, std::u16string_view units, unsigned flags = 0) {
    const int n =
        WideCharToMultiByte(codePage, flags, units.data(), static_cast<int>(units.size()), nullptr, 0);
    std::string out(static_cast<std::size_t>(n), '\0');
    const int written =
        WideCharToMultiByte(codePage, flags, units.data(), static_cast<int>(units.size()), out.data(), n);
    out.resize(static_cast<std::size_t>(written));
    return out;
}

TEST(Codepage, Windows936Table) {
    struct Case {
        std::string gbk;
        std::u16string unicode;
    } cases[] = {
        {"\xD6\xD0", u"\u4E2D"}, {"\x80", u"\u20AC"},  // the euro sign is a single byte
        {"\xFF", u"\uF8F5"},                           // private use
        {"\xA1\xA4", u"\u00B7"},                       // Windows maps the middle dot here
        {"\xAA\xA1", u"\uE000"},                       // user-defined area to private use
        {"\xFE\x40", u"\uFA0C"}, {"a\x7F", u"a\x7F"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gbk);
        EXPECT_EQ(ToWide(kCpGbk, c.gbk), c.unicode);
        EXPECT_EQ(ToWide(kCpAcp, c.gbk), c.unicode);
        EXPECT_EQ(ToBytes(kCpGbk, c.unicode), c.gbk);
    }
}

TEST(Codepage, SubstitutesWhatCannotBeConverted) {
    // Characters 936 lacks become "?", one per character.
    EXPECT_EQ(ToBytes(kCpGbk, u"a\uD55C\u20A9\U0001F600\u30FBb"), "a????b");
    EXPECT_EQ(ToBytes(kCpGbk, u"\xDC00"), "?");
    // Malformed UTF-8: one U+FFFD for each bad sequence.
    struct Case {
        std::string utf8;
        std::u16string unicode;
    } cases[] = {
        {"a\xFF"
         "b",
         u"a\uFFFDb"},
        {"\xE4\xB8", u"\uFFFD"},
        {"\xE4\xB8"
         "A",
         u"\uFFFDA"},
        {"\xC0\x80", u"\uFFFD\uFFFD"},
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // an encoded surrogate
        {"\x80\x80", u"\uFFFD\uFFFD"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToWide(kCpUtf8, c.utf8), c.unicode);
    }
    EXPECT_EQ(ToBytes(kCpUtf8,
                      u"\xD800"
                      "A"),
              "\xEF\xBF\xBD"
              "A");
    // A lead byte without a valid second byte; the byte after it stays a character of its own.
    EXPECT_EQ(ToWide(kCpGbk, "\x81 A"), u"\uFFFD A");
}

TEST(Codepage, LengthAndSizeConventions) {
    // Length -1 converts and counts the terminating zero too.
    EXPECT_EQ(MultiByteToWideChar(kCpGbk, 0, "a\xD6\xD0", -1, nullptr, 0), 3);
    EXPECT_EQ(MultiByteToWideChar(kCpGbk, 0, "a\xD6\xD0", 3, nullptr, 0), 2);
    EXPECT_EQ(WideCharToMultiByte(kCpGbk, 0, u"a\u4E2D", -1, nullptr, 0), 4);
    EXPECT_EQ(WideCharToMultiByte(kCpUtf8, 0, u"a\u4E2D", -1, nullptr, 0), 5);

    char16_t wide[4] = {u'x', u'x', u'x', u'x'};
    EXPECT_EQ(MultiByteToWideChar(kCpGbk, 0, "a\xD6\xD0", -1, wide, 4), 3);
    EXPECT_EQ(std::u16string(wide, 4), std::u16string(u"a\u4E2D\0x", 4));  // nothing past the count

    // A zero byte inside an explicit length is converted like any other.
    EXPECT_EQ(ToWide(kCpUtf8, std::string("a\0b", 3)), std::u16string(u"a\0b", 3));

    // Room too small: the call fails.
    char16_t small[1];
    EXPECT_EQ(MultiByteToWideChar(kCpGbk, 0, "ab", 2, small, 1), 0);
    char bytes[3];
    EXPECT_EQ(WideCharToMultiByte(kCpUtf8, 0, u"\u4E2D", 1, bytes, 2), 0);

    // Refused calls.
    EXPECT_EQ(MultiByteToWideChar(kCpGbk, 0, "ab", 0, nullptr, 0), 0);
    EXPECT_EQ(MultiByteToWideChar(12345, 0, "ab", 2, nullptr, 0), 0);
    EXPECT_EQ(MultiByteToWideChar(kCpGbk, 0, nullptr, 2, nullptr, 0), 0);
    EXPECT_EQ(MultiByteToWideChar(kCpGbk, 0, "ab", 2, nullptr, 5), 0);
    EXPECT_EQ(WideCharToMultiByte(kCpGbk, 0, u"ab", 2, bytes, -1), 0);
    EXPECT_EQ(WideCharToMultiByte(kCpUtf8, kWcCompositeCheck, u"ab", 2, nullptr, 0), 0);
}

TEST(Codepage, CompositeCheckPrecomposesWhere936HasTheCharacter) {
    EXPECT_EQ(ToBytes(kCpGbk, u"e\u0301", kWcCompositeCheck), "\xA8\xA6");
    EXPECT_EQ(ToBytes(kCpGbk, u"e\u0301", 0), "e?");
    EXPECT_EQ(ToBytes(kCpGbk, u"\u4E2Da\u0300b", kWcCompositeCheck),
              "\xD6\xD0\xA8\xA4"
              "b");
    EXPECT_EQ(WideCharToMultiByte(kCpGbk, kWcCompositeCheck, u"e\u0301", -1, nullptr, 0), 3);
}

TEST(Codepage, ThreadsConvertAtTheSameTime) {
    const std::string gbk = "\xD6\xD0\xCE\xC4 abc \x80";
    const std::u16string wide = u"\u4E2D\u6587 abc \u20AC";
    std::vector<int> failures(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 2000; ++i) {
                if (ToWide(kCpGbk, gbk) != wide || ToBytes(kCpGbk, wide) != gbk) ++failures[t];
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace tarvolin::platform
