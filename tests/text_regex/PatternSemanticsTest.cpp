// How patterns read and match through RegexMatcher: one table row per point of the dialect the
// crawl's patterns rely on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RegexTestSupport.h"
#include "text/RegexMatcher.h"

namespace tarvolin {
namespace {

using Strings = std::vector<std::string>;

struct MatchCase {
    const char* name;
    const char* pattern;  // UTF-8, becomes Text
    const char* subject;
    Strings matches;
    bool caseSensitive = false;
    bool global = true;
    bool multiline = true;
};

const MatchCase kMatchCases[] = {
    // A character is a UTF-16 unit of the subject, not a byte of its Text.
    {"dot takes a two-byte character whole", ".", "中a", {"中", "a"}},
    {"lead byte is no character", "\\xD6", "中", {}},
    {"second byte 0x40 is no at sign", "@", "丂", {}},
    {"second byte 0x41 is no letter", "A", "丄旳", {}},
    {"Chinese literal", "电话", "手机电话传真", {"电话"}},
    {"full-width colon is itself", "话：", "电话：1 电话:2", {"话："}},
    {"ASCII colon is not the full-width one", "话:", "电话：1", {}},
    // Dot: everything but the line feed.
    {"dot takes carriage return", "a.b", "a\rb", {"a\rb"}},
    {"dot stops at line feed", "a.b", "a\nb", {}},
    {"dot-star stops at line feed", "<(.*)>", "<x\n>", {}},
    {"dot takes tab and form feed", "a..b", "a\t\fb", {"a\t\fb"}},
    // White space: space, tab, CR, LF, FF, VT.
    {"space class takes the six", "x[\\s]*?y", "x \t\r\n\f\vy", {"x \t\r\n\f\vy"}},
    {"space class leaves ideographic space", "x\\sy", "x　y", {}},
    {"space class leaves letters", "x\\s+y", "x_y", {}},
    // Case: ASCII letters only, by default ignored.
    {"case ignored by default", "<A HREF=\"", "<a href=\"x\"", {"<a href=\""}},
    {"case kept when asked", "<A HREF", "<a href", {}, true},
    {"case asked and equal", "<a href", "<a href", {"<a href"}, true},
    {"full-width letters have no case", "Ａ", "ａ", {}},
    {"Greek letters have no case", "Α", "α", {}},
    {"letter in class folds", "[a-c]+", "xABCx", {"ABC"}},
    // Lazy repetition takes as little as possible.
    {"lazy group stops at the first end", "<b>(.*?)</b>", "<b>1</b><b>2</b>", {"<b>1</b>", "<b>2</b>"}},
    {"greedy group runs to the last end", "<b>(.*)</b>", "<b>1</b><b>2</b>", {"<b>1</b><b>2</b>"}},
    {"lazy plus takes one", "a+?", "aaa", {"a", "a", "a"}},
    // Global: non-overlapping, left to right, one unit past an empty match.
    {"global finds all", "an", "banana", {"an", "an"}},
    {"not global finds the first", "an", "banana", {"an"}, false, false},
    {"matches do not overlap", "aba", "ababa", {"aba"}},
    {"empty matches step one unit", "x*", "ab", {"", "", ""}},
    {"lazy star matches empty everywhere", "a*?", "aa", {"", "", ""}},
    {"empty match after a match", "a|", "ab", {"a", "", ""}},
    {"no match", "zz", "banana", {}},
    // Escapes as the dialect reads them.
    {"u escape", "\\u4E2D", "文中", {"中"}},
    {"x escape", "\\x41\\x62", "zAb", {"Ab"}},
    {"short x escape is a letter", "\\x4g", "zx4g", {"x4g"}},
    {"short u escape is a letter", "\\u12", "zu12", {"u12"}},
    {"u escape has no braces", "\\u{41}", "A", {}},
    // Anchors: only multiline reads line ends; without it "$" is the end of the subject.
    {"caret after a line feed with multiline", "^b", "a\nb", {"b"}},
    {"caret at the start only without multiline", "^b", "a\nb", {}, false, true, false},
    {"dollar before a line feed with multiline", "a$", "a\nb", {"a"}},
    {"dollar only at the end without multiline", "a$", "a\n", {}, false, true, false},
    // The rest of the dialect around classes and back references.
    {"negated empty class takes anything", "a[^]b", "a\nb", {"a\nb"}},
    {"empty class takes nothing", "a[]", "a", {}},
    {"back reference to an idle group is empty", "(a)?\\1b", "b", {"b"}},
};

TEST(PatternSemantics, MatchesAsTheDialectReads) {
    for (const MatchCase& c : kMatchCases) {
        SCOPED_TRACE(c.name);
        RegexMatcher matcher;
        ASSERT_TRUE(matcher.ExecutePattern(Utf8Text(c.pattern), Utf8Text(c.subject), c.caseSensitive,
                                           c.multiline, c.global));
        EXPECT_EQ(testing::MatchTexts(matcher), c.matches);
    }
}

struct GroupCase {
    const char* name;
    const char* pattern;
    const char* subject;
    int match;
    Strings groups;
};

const GroupCase kGroupCases[] = {
    {"groups numbered by opening parenthesis", "((a)(b))(c)", "abc", 1, {"ab", "a", "b", "c"}},
    {"idle group is empty", "(a)|(b)", "b", 1, {"", "b"}},
    {"idle group inside an optional one", "x((y)|z)?w", "xw", 1, {"", ""}},
    {"group of the second match", "<b>(.*?)</b>", "<b>one</b> <b>two</b>", 2, {"two"}},
    {"group with Chinese text", "电话：(.*?)<", "电话：０１０－１２３<", 1, {"０１０－１２３"}},
    {"group takes a carriage return", "=(.*?);", "=a\rb;", 1, {"a\rb"}},
    {"lazy group may be empty", "<i>(.*?)</i>", "<i></i>", 1, {""}},
};

TEST(PatternSemantics, CaptureGroups) {
    for (const GroupCase& c : kGroupCases) {
        SCOPED_TRACE(c.name);
        RegexMatcher matcher;
        ASSERT_TRUE(matcher.ExecutePattern(Utf8Text(c.pattern), Utf8Text(c.subject)));
        EXPECT_EQ(matcher.SubMatchCount(), static_cast<int>(c.groups.size()));
        EXPECT_EQ(testing::GroupTexts(matcher, c.match, static_cast<int>(c.groups.size())), c.groups);
    }
}

TEST(PatternSemantics, RejectedPatternFailsTheExecute) {
    for (const char* pattern : {"(", "a)", "[a", "*a", "a{2,1}", "\\", "(?<", "x**"}) {
        SCOPED_TRACE(pattern);
        RegexMatcher matcher;
        EXPECT_FALSE(matcher.ExecutePattern(Utf8Text(pattern), Utf8Text("a(b)*c")));
        EXPECT_EQ(matcher.MatchCount(), 0);
        EXPECT_EQ(matcher.SubMatchCount(), 0);
        EXPECT_EQ(matcher.SubMatchText(1, 1), Text());
        EXPECT_EQ(matcher.MatchText(1), Text());
        EXPECT_EQ(matcher.GetPattern(), Text());
    }
}

}  // namespace
}  // namespace tarvolin
