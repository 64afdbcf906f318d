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

// UTF-8 of one code point.
std::string Utf8Of(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    }
    if (c >= 0x800) out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    if (c >= 0x80) out += static_cast<char>(0x80 | (c & 0x3F));
    return out;
}

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// Well-formed text takes a faster path than text with a bad sequence or an unpaired surrogate in
// it; both must convert every other character alike.
TEST(Codepage, EveryCharacterConvertsAlikeBesideABadSequence) {
    std::u16string bmp;
    for (char32_t c = 1; c < 0x10000; ++c) {
        if (!IsSurrogate(c)) bmp += static_cast<char16_t>(c);
    }
    const std::u16string lone = u"\xD800";
    for (const int codePage : {kCpGbk, kCpUtf8}) {
        SCOPED_TRACE(codePage);
        const std::string alone = ToBytes(codePage, bmp);
        EXPECT_EQ(ToBytes(codePage, bmp + lone), alone + ToBytes(codePage, lone));
        EXPECT_EQ(ToBytes(codePage, lone + bmp), ToBytes(codePage, lone) + alone);
    }
    std::string utf8;
    std::u16string units;
    for (char32_t c = 1; c < 0x110000; c += c < 0x10000 ? 1 : 61) {
        if (IsSurrogate(c)) continue;
        utf8 += Utf8Of(c);
        if (c < 0x10000) {
            units += static_cast<char16_t>(c);
        } else {
            units += static_cast<char16_t>(0xD7C0 + (c >> 10));
            units += static_cast<char16_t>(0xDC00 | (c & 0x3FF));
        }
    }
    EXPECT_EQ(ToWide(kCpUtf8, utf8), units);
    EXPECT_EQ(ToWide(kCpUtf8, utf8 + "\xFF"), units + u"\uFFFD");
    EXPECT_EQ(ToBytes(kCpUtf8, units), utf8);
}

// ASCII is taken many bytes at a time; a character past ASCII at every place in and around those
// blocks must come out in its place.
TEST(Codepage, CharactersAmongAsciiRuns) {
    for (std::size_t at = 0; at <= 40; ++at) {
        SCOPED_TRACE(at);
        const std::string before(at, 'a');
        const std::string after(40 - at, 'b');
        const std::u16string wide = std::u16string(at, u'a') + u"\u4E2D" + std::u16string(40 - at, u'b');
        EXPECT_EQ(ToWide(kCpUtf8, before + "\xE4\xB8\xAD" + after), wide);
        EXPECT_EQ(ToBytes(kCpGbk, wide), before + "\xD6\xD0" + after);
        EXPECT_EQ(ToBytes(kCpUtf8, wide), before + "\xE4\xB8\xAD" + after);
        EXPECT_EQ(ToWide(kCpUtf8, before + "\x80" + after),
                  std::u16string(at, u'a') + u"\uFFFD" + std::u16string(40 - at, u'b'));
    }
}

TEST(Codepage, RoomTooSmallWritesWhatFitsAndFails) {
    char bytes[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(WideCharToMultiByte(kCpGbk, 0, u"ab\u4E2D", 3, bytes, 3), 0);
    EXPECT_EQ(std::string(bytes, 4), "ab\xD6x");
    char16_t units[3] = {u'x', u'x', u'x'};
    EXPECT_EQ(MultiByteToWideChar(kCpUtf8, 0, "ab\xE4\xB8\xAD", 5, units, 2), 0);
    EXPECT_EQ(std::u16string(units, 3), u"abx");
}

// The converter drops the default-ignorable characters that code page 936 lacks (a soft hyphen, a
// byte order mark); a room of exactly the counted size must still do when the text ends in one.
TEST(Codepage, ExactRoomDoesBeforeDroppedCharacters) {
    for (const std::u16string& text : {std::u16string(u"ab\u00AD"), std::u16string(u"\xD800"
                                                                                   u"ab\uFEFF")}) {
        const int n = static_cast<int>(text.size());
        const int needed = WideCharToMultiByte(kCpGbk, 0, text.data(), n, nullptr, 0);
        std::string out(static_cast<std::size_t>(needed), '\0');
        EXPECT_EQ(WideCharToMultiByte(kCpGbk, 0, text.data(), n, out.data(), needed), needed);
        EXPECT_EQ(out.substr(out.size() - 2), "ab");
    }
}

// A counting call keeps its output for the converting call that follows; a source changed in
// between, or a converting call to another code page, must not get it.
TEST(Codepage, ConvertingCallSeesTheSourceAsItIsThen) {
    std::string utf8 = "abc\xE4\xB8\xAD";
    const int units = MultiByteToWideChar(kCpUtf8, 0, utf8.data(), 6, nullptr, 0);
    utf8[1] = 'X';
    std::u16string wide(static_cast<std::size_t>(units), u'\0');
    EXPECT_EQ(MultiByteToWideChar(kCpUtf8, 0, utf8.data(), 6, wide.data(), units), 4);
    EXPECT_EQ(wide, u"aXc\u4E2D");

    std::u16string text = u"ab\u4E2D";
    const int bytes = WideCharToMultiByte(kCpGbk, 0, text.data(), 3, nullptr, 0);
    text[0] = u'Z';
    std::string out(static_cast<std::size_t>(bytes), '\0');
    EXPECT_EQ(WideCharToMultiByte(kCpGbk, 0, text.data(), 3, out.data(), bytes), 4);
    EXPECT_EQ(out, "Zb\xD6\xD0");

    ASSERT_EQ(WideCharToMultiByte(kCpGbk, 0, text.data(), 3, nullptr, 0), 4);
    std::string utf8Out(5, '\0');
    EXPECT_EQ(WideCharToMultiByte(kCpUtf8, 0, text.data(), 3, utf8Out.data(), 5), 5);
    EXPECT_EQ(utf8Out, "Zb\xE4\xB8\xAD");
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
                if (ToWide(kCpUtf8, ToBytes(kCpUtf8, wide)) != wide) ++failures[t];
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace tarvolin::platform
