#include "text/TextOps.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "TextTestSupport.h"

namespace tarvolin {
namespace {

using testing::B;

TEST(ByteOps, CountAndCutBytes) {
    const Text text =
        B("ab\xD6\xD0"
          "cd");  // "ab", U+4E2D, "cd"
    EXPECT_EQ(TextLength(text), 6);
    EXPECT_EQ(TextLength(Text()), 0);

    struct Case {
        Text result;
        Text expected;
    } cases[] = {
        {TextLeft(text, 3), B("ab\xD6")},  // may cut a two-byte character
        {TextLeft(text, 99), text},
        {TextLeft(text, 0), Text()},
        {TextLeft(text, -1), Text()},
        {TextRight(text, 3), B("\xD0"
                               "cd")},
        {TextRight(text, 99), text},
        {TextRight(text, 0), Text()},
        {TextMid(text, 2, 3), B("b\xD6\xD0")},
        {TextMid(text, 5, 99), B("cd")},
        {TextMid(text, 6, 1), B("d")},
        {TextMid(text, 0, 3), Text()},  // unlike FindText, start 0 is not the first byte
        {TextMid(text, 7, 1), Text()},
        {TextMid(text, 1, 0), Text()},
        {TextMid(Text(), 1, 1), Text()},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(cases[i].result, cases[i].expected);
    }
}

TEST(ByteOps, ReplaceAt) {
    struct Case {
        int start;
        int count;
        Text replacement;
        Text expected;
    } cases[] = {
        {2, 3, B("XY"), B("aXYef")},   {1, 0, B(">"), B(">abcdef")},  // count 0 only inserts
        {-4, 1, B(""), B("bcdef")},                                   // start below 1 is the first byte
        {5, 99, B("!"), B("abcd!")},                                  // removes only what remains
        {7, 2, B("!"), B("abcdef!")},                                 // at the end
        {99, 1, B("!"), B("abcdef!")},                                // never past the end
        {3, -2, B("_"), B("ab_cdef")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Hex(c.expected.view()));
        EXPECT_EQ(ReplaceAt(B("abcdef"), c.start, c.count, c.replacement), c.expected);
    }
    EXPECT_EQ(ReplaceAt(B("abc"), 2, 1), B("ac"));
}

struct FindCase {
    Text text;
    Text target;
    int start;
    bool ignoreCase;
    int expected;
};

TEST(FindText, PositionsRangesAndCase) {
    const FindCase cases[] = {
        {B("xabcabc"), B("abc"), 0, false, 2},
        {B("xabcabc"), B("abc"), 1, false, 2},
        {B("xabcabc"), B("abc"), -5, false, 2},
        {B("xabcabc"), B("abc"), 3, false, 5},
        {B("xabcabc"), B("c"), 7, false, 7},  // start = length looks only at the last byte
        {B("xabcabc"), B("bc"), 7, false, -1},
        {B("xabcabc"), B("c"), 8, false, -1},  // start = length + 1
        {B("abcdef"), B(""), 4, false, 1},     // empty target: 1, not start
        {B("abc"), B(""), 4, false, -1},
        {Text(), B(""), 1, false, -1},
        {Text(), B("a"), 1, false, -1},
        {B("ab"), B("abc"), 1, false, -1},
        {B("x: SET-COOKIE: a"), B("Set-Cookie:"), 1, true, 4},
        {B("x: SET-COOKIE: a"), B("Set-Cookie:"), 1, false, -1},
        // Folding reaches second bytes too: 0xD6 'a' matches 0xD6 'A'.
        {B("\xD6"
           "a"),
         B("\xD6"
           "A"),
         1, true, 1},
        // Second bytes that look like ASCII are stepped over.
        {B("\xD6"
           "AA"),
         B("A"), 1, false, 3},
        {B("\xB0\xA1\xB0\xA1"), B("\xA1\xB0"), 1, false, -1},
        {B("\xD6\xD0\xCE\xC4\xD6\xD0\xCE\xC4"), B("\xD0\xCE"), 1, false, -1},
        {B("\xD6\xD0\xCE\xC4\xD6\xD0\xCE\xC4"), B("\xCE\xC4"), 3, false, 3},
        {B("\xD6\xD0\xCE\xC4\xD6\xD0\xCE\xC4"), B("\xCE\xC4"), 5, false, 7},
        // The range may start inside a character; stepping counts from there.
        {B("\xD6"
           "AA"),
         B("A"), 2, false, 2},
        {B("\xD6\xD0\xCE\xC4"), B("\xD0\xCE"), 2, false, 2},
        {B("\xD6\xD0\xCE\xC4\xD6\xD0\xCE\xC4"), B("\xCE\xC4"), 4, false, -1},
        // A lone lead byte at the end is still compared.
        {B("ab\xD6"), B("\xD6"), 1, false, 3},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const FindCase& c = cases[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(FindText(c.text, c.target, c.start, c.ignoreCase), c.expected);
    }
}

// The plain stepping scan, byte by byte, to check the search against on random texts.
char Folded(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool EqualAt(const std::string& text, std::size_t pos, const std::string& target, bool ignoreCase) {
    for (std::size_t i = 0; i < target.size(); ++i) {
        const char a = text[pos + i];
        const char b = target[i];
        if (ignoreCase ? Folded(a) != Folded(b) : a != b) return false;
    }
    return true;
}

int SteppingFind(const std::string& text, const std::string& target, int start, bool ignoreCase) {
    const std::size_t offset = start <= 1 ? 0 : static_cast<std::size_t>(start - 1);
    if (offset >= text.size()) return -1;
    if (target.empty()) return 1;
    for (std::size_t pos = offset; pos + target.size() <= text.size();) {
        if (EqualAt(text, pos, target, ignoreCase)) return static_cast<int>(pos) + 1;
        pos += static_cast<unsigned char>(text[pos]) >= 0x80 ? 2 : 1;
    }
    return -1;
}

TEST(FindText, AgreesWithPlainSteppingOnRandomTexts) {
    std::mt19937 random(936);
    // Few distinct bytes, so that targets occur often and straddle character boundaries.
    const char alphabet[] = {'a', 'A', 'b', '\xB0', '\xA1', '\xD6'};
    auto randomBytes = [&](std::size_t maxLength) {
        std::string s(random() % (maxLength + 1), ' ');
        for (char& c : s)
            c = alphabet[random() % std::size(alphabet)];
        return s;
    };
    for (int round = 0; round < 3000; ++round) {
        const std::string text = randomBytes(40);
        const std::string target = randomBytes(3);
        const int start = static_cast<int>(random() % 44) - 2;
        const bool ignoreCase = round % 2 == 1;
        SCOPED_TRACE(testing::Hex(text) + "| " + testing::Hex(target) + "| " + std::to_string(start));
        ASSERT_EQ(FindText(B(text), B(target), start, ignoreCase),
                  SteppingFind(text, target, start, ignoreCase));
    }
}

TEST(FindTextLast, LastOccurrenceEndingBeforeStart) {
    struct Case {
        Text text;
        Text target;
        std::optional<int> start;
        bool ignoreCase;
        int expected;
    } cases[] = {
        {B("abcabc"), B("abc"), std::nullopt, false, 4},  // ends on the last byte
        {B("abcabc"), B("abc"), 6, false, 1},             // start = length: must end by byte 5
        {B("abcabc"), B("abc"), 7, false, 4},
        {B("abcabc"), B("abc"), 99, false, 4},
        {B("abcabc"), B("abc"), 3, false, -1},
        {B("abcabc"), B("abc"), 0, false, -1},
        {B("abcabc"), B("ABC"), std::nullopt, true, 4},
        {B("abcabc"), B("ABC"), std::nullopt, false, -1},
        {B("abc"), B(""), std::nullopt, false, 1},
        {B("abc"), B(""), 1, false, -1},
        {B("aaaa"), B("aa"), std::nullopt, false, 3},  // overlapping occurrences count
        {B("\xD6"
           "A"),
         B("A"), std::nullopt, false, -1},
        {B("A\xD6"
           "AA"),
         B("A"), std::nullopt, false, 4},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(FindTextLast(cases[i].text, cases[i].target, cases[i].start, cases[i].ignoreCase),
                  cases[i].expected);
    }
}

TEST(CaseOps, OnlyAsciiLettersOutsideTwoByteCharacters) {
    EXPECT_EQ(TextToUpper(B("ab\xD6"
                            "az~\xD6")),
              B("AB\xD6"
                "aZ~\xD6"));
    EXPECT_EQ(TextToLower(B("AB\xD6"
                            "AZ@[\xD6")),
              B("ab\xD6"
                "Az@[\xD6"));
    EXPECT_EQ(TextToUpper(Text()), Text());
}

TEST(SpaceOps, AsciiAndFullWidthSpaces) {
    const std::string full = "\xA1\xA1";
    struct Case {
        Text text;
        Text trimmedLeading;
        Text trimmed;
        Text removed;
    } cases[] = {
        {B(" " + full + "a b" + full + " "), B("a b" + full + " "), B("a b"), B("ab")},
        {B(" \t\r\n "), B("\t\r\n "), B("\t\r\n"), B("\t\r\n")},  // tab and line breaks are no spaces
        {B(full + "  " + full), Text(), Text(), Text()},
        // 0xB0 0xA1 is one character, so the 0xA1 0xA1 across it is no space.
        {B("\xB0\xA1\xA1\xA1x"), B("\xB0\xA1\xA1\xA1x"), B("\xB0\xA1\xA1\xA1x"), B("\xB0\xA1x")},
        // A truncated character at the end: TrimSpaces drops only that byte, RemoveSpaces drops it too.
        {B("  a  \xD6"), B("a  \xD6"), B("a  "), B("a")},
        {B("\xA1"), B("\xA1"), Text(), Text()},
        {Text(), Text(), Text(), Text()},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(TrimLeadingSpaces(cases[i].text), cases[i].trimmedLeading);
        EXPECT_EQ(TrimSpaces(cases[i].text), cases[i].trimmed);
        EXPECT_EQ(RemoveSpaces(cases[i].text), cases[i].removed);
    }
}

TEST(SplitText, PiecesAndLimits) {
    using Pieces = std::vector<Text>;
    struct Case {
        Text text;
        Text separator;
        std::optional<int> maxPieces;
        Pieces expected;
    } cases[] = {
        {B(";a;;b;"), B(";"), std::nullopt, {B(""), B("a"), B(""), B("b")}},
        {B("a;b;c;d"), B(";"), 2, {B("a"), B("b")}},
        {B("a;b"), B(";"), 5, {B("a"), B("b")}},
        {B("a;b"), B(";"), 0, {}},
        {B("a;b"), B(";"), -3, {}},
        {Text(), B(";"), std::nullopt, {}},
        {B("a;b"), Text(), std::nullopt, {B("a;b")}},
        {B("a::b::"), B("::"), std::nullopt, {B("a"), B("b")}},
        {B("\xB0;x;y"), B(";"), std::nullopt, {B("\xB0;x"), B("y")}},  // 0xB0 ';' is one character
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(SplitText(cases[i].text, cases[i].separator, cases[i].maxPieces), cases[i].expected);
    }
    EXPECT_EQ(SplitText(B("1,2,,3")), (Pieces{B("1"), B("2"), B(""), B("3")}));
}

TEST(MakingText, SpacesAndBytes) {
    EXPECT_EQ(SpacesText(3), B("   "));
    EXPECT_EQ(SpacesText(0), Text());
    EXPECT_EQ(SpacesText(-2), Text());
    EXPECT_EQ(BytesToText(Bytes(std::string("ab\0cd", 5))), B("ab"));
    EXPECT_EQ(BytesToText(Bytes(std::string("\xD6\xD0"))), B("\xD6\xD0"));
    EXPECT_EQ(BytesToText(Bytes()), Text());
}

}  // namespace
}  // namespace tarvolin
