#include "text/Encodings.h"

#include <gtest/gtest.h>

#include <string>

#include "TextTestSupport.h"

namespace tarvolin {
namespace {

using testing::B;
using testing::U16;

Bytes Raw(std::string_view bytes) {
    return Bytes(std::string(bytes));
}

TEST(UrlEncodeUtf8, KeepsOnlyLettersDigitsDashAndPoint) {
    struct Case {
        Text keyword;
        bool keepUnreserved;
        Text expected;
    } cases[] = {
        {B("\xD6\xD0"), true, B("%E4%B8%AD")},
        {B("aZ09-. _~/+"), true, B("aZ09-.%20%5F%7E%2F%2B")},
        {B("A"), false, B("%41")},
        {B("\x0F"), false, B("%0F")},
        {B("\xD6\xD0\xCE\xC4 pump"), true, B("%E4%B8%AD%E6%96%87%20pump")},
        {Text(), true, Text()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Hex(c.keyword.view()));
        EXPECT_EQ(UrlEncodeUtf8(c.keyword, c.keepUnreserved), c.expected);
    }
}

TEST(GbkToUtf8, CodePage936ToUtf8Bytes) {
    struct Case {
        Text gbk;
        Text utf8;
    } cases[] = {
        {B("\xD6\xD0\xCE\xC4"
           "abc"),
         B("\xE4\xB8\xAD\xE6\x96\x87"
           "abc")},
        {B("\x80"), B("\xE2\x82\xAC")},  // single byte 0x80 is the euro sign
        {B("\xFE\x40"), B("\xEF\xA8\x8C")},
        {Text(), Text()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Hex(c.gbk.view()));
        EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8);
    }
}

TEST(Utf8ToGbk, ConvertsPageBodies) {
    struct Case {
        std::string utf8;
        Text gbk;
    } cases[] = {
        {"\xE4\xB8\xAD", B("\xD6\xD0")},
        {std::string("ab\0cd", 5), B("ab")},  // a zero byte in the body ends the text
        {"a\xED\x95\x9C"
         "b",
         B("a?b")},                    // U+D55C: code page 936 has no Hangul syllables
        {"\xF0\x9F\x98\x80", B("?")},  // one character outside the BMP, one "?"
        {"a\xFF"
         "b",
         B("a?b")},  // malformed UTF-8: U+FFFD, which 936 lacks too
        {"\xE4\xB8"
         "c",
         B("?c")},                                    // a truncated sequence is one bad sequence
        {"\xC0\x80", B("??")},                        // an overlong form: two bad bytes
        {"\xE2\x82\xAC\xEF\xA3\xB5", B("\x80\xFF")},  // U+20AC and U+F8F5 are single bytes
        {"", Text()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Hex(c.utf8));
        EXPECT_EQ(Utf8ToGbk(Raw(c.utf8)), c.gbk);
    }
}

TEST(Encodings, MixedChineseAndAsciiRoundTrips) {
    const std::string utf8 = "<td>中文搜索 pump 123</td>，状态：运行中€";
    const Text gbk = Utf8ToGbk(Raw(utf8));
    EXPECT_EQ(TextToUtf8(gbk), utf8);
    EXPECT_EQ(gbk,
              B("<td>\xD6\xD0\xCE\xC4\xCB\xD1\xCB\xF7 pump 123</td>\xA3\xAC\xD7\xB4\xCC\xAC\xA3\xBA\xD4\xCB"
                "\xD0\xD0\xD6\xD0\x80"));
    EXPECT_EQ(GbkToUtf8(gbk).view(), utf8);
    EXPECT_EQ(Utf16ToGbk(GbkToUtf16Ex(gbk, true)), gbk);
    EXPECT_EQ(Utf16ToGbk(GbkToUtf16(gbk)), gbk);
    EXPECT_EQ(Utf16ToText(TextToUtf16(gbk, kCodePageGbk)), gbk);
}

TEST(GbkToUtf16, UnitsWithTerminator) {
    EXPECT_EQ(GbkToUtf16(B("A")), Raw(std::string("A\0\0\0", 4)));
    EXPECT_EQ(GbkToUtf16(B("\xD6\xD0"
                           "a")),
              Raw(std::string("\x2D\x4E"
                              "a\0\0\0",
                              6)));
    EXPECT_EQ(GbkToUtf16(B("\xFF")), Raw(std::string("\xF5\xF8\0\0", 4)));
    EXPECT_EQ(GbkToUtf16(Text()), Bytes());
    EXPECT_EQ(GbkToUtf16Ex(B("A"), true), Raw(std::string("A\0", 2)));
    EXPECT_EQ(GbkToUtf16Ex(B("A"), false), Raw(std::string("A\0\0\0", 4)));
    EXPECT_EQ(GbkToUtf16Ex(Text(), false), Bytes());
    EXPECT_EQ(GbkToUtf16Ex(Text(), true), Bytes());
}

TEST(Utf16ToGbk, UnitsToCodePage936) {
    struct Case {
        Bytes utf16;
        Text gbk;
    } cases[] = {
        {Raw("\x2D\x4E"
             "A"),
         B("\xD6\xD0")},  // an odd last byte is ignored
        {U16(u"\u4E2DA"), B("\xD6\xD0"
                            "A")},                       // no terminator: every unit
        {U16(std::u16string(u"A\0B", 3)), B("A")},       // stops at a zero unit
        {U16(u"e\u0301"), B("\xA8\xA6")},                // composed to U+00E9
        {U16(u"u\u0308\u0304"), B("\xA8\xB5")},          // composed twice to U+01D6
        {U16(u"x\u0301"), B("x?")},                      // no composed form: mark on its own
        {U16(u"o\u030B"), B("o?")},                      // U+0151 exists, 936 lacks it
        {U16(u"\uFA0Ce\u0301"), B("\xFE\x40\xA8\xA6")},  // compatibility ideograph kept as it is
        {U16(u"\u0301"), B("?")},                        // a mark with no base
        {U16(u"\xD800"
             "A"),
         B("?A")},  // a lone surrogate
        {Raw("A"), Text()},
        {Bytes(), Text()},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Utf16ToGbk(cases[i].utf16), cases[i].gbk);
    }
}

TEST(TextToUtf16, CountsInAnsiAndConvertsInTheRequestedCodePage) {
    // UTF-8 bytes in a Text, read as UTF-8 (the default): counted as 936 (three units with the
    // terminator), so the room holds U+4E2D, the terminator and one more zero unit.
    EXPECT_EQ(TextToUtf16(B("\xE4\xB8\xAD")), Raw(std::string("\x2D\x4E\0\0\0\0", 6)));
    EXPECT_EQ(TextToUtf16(B("\xD6\xD0"), kCodePageGbk), Raw(std::string("\x2D\x4E\0\0", 4)));
    EXPECT_EQ(TextToUtf16(B("ab"), kCodePageAnsi), Raw(std::string("a\0b\0\0\0", 6)));
    EXPECT_EQ(TextToUtf16(Text()), Bytes());
    EXPECT_EQ(TextToUtf16(B("a"), 12345), Bytes());  // a code page the platform does not know
    // Code page 936 bytes read as UTF-8 need more units than the 936 count: every unit is kept.
    EXPECT_EQ(TextToUtf16(B("\xD6\xD0")), U16(std::u16string(u"\uFFFD\uFFFD\0", 3)));
}

TEST(Utf16ToText, RoomForTheWholeUtf8Form) {
    struct Case {
        Bytes units;
        int codePage;
        Text expected;
    } cases[] = {
        {U16(std::u16string(u"\u4E2D\0", 2)), kCodePageAnsi, B("\xD6\xD0")},
        {U16(std::u16string(u"\u4E2D\0", 2)), kCodePageUtf8, B("\xE4\xB8\xAD")},
        {U16(u"\u4E2Dz"), kCodePageUtf8,
         B("\xE4\xB8\xAD"
           "z")},  // no terminator: up to the end
        {U16(std::u16string(u"a\0b", 3)), kCodePageUtf8, B("a")},
        // Characters 936 lacks count one byte each in the ANSI code page; twice that is too short
        // for their UTF-8 form, which still comes out whole.
        {U16(std::u16string(u"\uD55C\uAD6D\0", 3)), kCodePageUtf8, B("\xED\x95\x9C\xEA\xB5\xAD")},
        {U16(std::u16string(u"\U0001F600\U0001F600\0", 5)), kCodePageUtf8,
         B("\xF0\x9F\x98\x80\xF0\x9F\x98\x80")},
        {U16(std::u16string(u"\uD55C\0", 2)), kCodePageAnsi, B("?")},
        {Bytes(), kCodePageUtf8, Text()},
        {U16(u"a"), 12345, Text()},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Utf16ToText(cases[i].units, cases[i].codePage), cases[i].expected);
    }
}

}  // namespace
}  // namespace tarvolin
