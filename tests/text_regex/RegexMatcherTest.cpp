// RegexMatcher's own behaviour: indices, empty answers, re-execution, copies, replacement and
// positions.
#include "text/RegexMatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RegexTestSupport.h"
#include "text/Encodings.h"

namespace tarvolin {
namespace {

using Strings = std::vector<std::string>;

void ExpectEmpty(const RegexMatcher& matcher) {
    EXPECT_EQ(matcher.MatchCount(), 0);
    EXPECT_EQ(matcher.SubMatchCount(), 0);
    EXPECT_EQ(matcher.MatchText(1), Text());
    EXPECT_EQ(matcher.SubMatchText(1, 1), Text());
    EXPECT_EQ(matcher.GetPattern(), Text());
    EXPECT_EQ(matcher.ReplaceMatches("x"_t), Text());
    int position = 7;
    EXPECT_EQ(matcher.MatchText(1, &position), Text());
    EXPECT_EQ(position, -1);
}

TEST(RegexMatcher, NeverExecutedAnswersEmpty) {
    ExpectEmpty(RegexMatcher());
}

TEST(RegexMatcher, FailedExecuteAfterASuccessLeavesNothingBehind) {
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.ExecutePattern("(a)"_t, "aaa"_t));
    ASSERT_EQ(matcher.MatchCount(), 3);
    EXPECT_FALSE(matcher.ExecutePattern("(a"_t, "aaa"_t));
    ExpectEmpty(matcher);
}

TEST(RegexMatcher, RunawayBacktrackingFailsTheExecuteInsteadOfHanging) {
    RegexMatcher matcher;
    EXPECT_FALSE(matcher.ExecutePattern("(a+)+[bc]"_t, Text::FromBytes(std::string(40, 'a'))));
    ExpectEmpty(matcher);
}

TEST(RegexMatcher, IndicesOutsideTheMatchesGiveEmptyText) {
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.ExecutePattern("(a)(b)(c)(d)(e)(f)(g)"_t, "abcdefg-abcdefg"_t));
    ASSERT_EQ(matcher.MatchCount(), 2);
    ASSERT_EQ(matcher.SubMatchCount(), 7);
    EXPECT_EQ(matcher.SubMatchText(1, 7), "g"_t);
    EXPECT_EQ(matcher.SubMatchText(1, 8), Text());
    EXPECT_EQ(matcher.SubMatchText(3, 1), Text());
    EXPECT_EQ(matcher.MatchText(3), Text());
    for (int bad : {0, -1}) {
        EXPECT_EQ(matcher.MatchText(bad), Text());
        EXPECT_EQ(matcher.SubMatchText(bad, 1), Text());
        EXPECT_EQ(matcher.SubMatchText(1, bad), Text());
    }
}

TEST(RegexMatcher, NoMatchIsASuccessfulExecute) {
    RegexMatcher matcher;
    EXPECT_TRUE(matcher.ExecutePattern("z(z)"_t, "abc"_t));
    EXPECT_EQ(matcher.MatchCount(), 0);
    EXPECT_EQ(matcher.SubMatchCount(), 0);
    EXPECT_EQ(matcher.GetPattern(), "z(z)"_t);
    EXPECT_TRUE(matcher.ExecutePattern("a"_t, Text()));
    EXPECT_EQ(matcher.MatchCount(), 0);
}

TEST(RegexMatcher, ReexecutionReplacesTheOldMatches) {
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.ExecutePattern("<b>(.*?)</b>"_t, "<b>一</b><b>二</b><b>三</b>"_t));
    ASSERT_EQ(matcher.MatchCount(), 3);
    ASSERT_TRUE(matcher.ExecutePattern("<i>(.*?)</i>"_t, "<i>四</i><b>五</b>"_t));
    EXPECT_EQ(matcher.MatchCount(), 1);
    EXPECT_EQ(matcher.SubMatchText(1, 1), "四"_t);
    EXPECT_EQ(matcher.SubMatchText(2, 1), Text());
    EXPECT_EQ(matcher.GetPattern(), "<i>(.*?)</i>"_t);
    // Same pattern, new subject.
    ASSERT_TRUE(matcher.ExecutePattern("<i>(.*?)</i>"_t, "<i>六</i><i>七</i>"_t));
    EXPECT_EQ(testing::MatchTexts(matcher), (Strings{"<i>六</i>", "<i>七</i>"}));
}

TEST(RegexMatcher, CopyKeepsItsAnswersWhenTheOriginalMovesOn) {
    RegexMatcher original;
    ASSERT_TRUE(original.ExecutePattern("(\\d+)"_t, "电话 12 传真 345"_t));
    RegexMatcher copy(original);
    RegexMatcher assigned;
    assigned = original;
    ASSERT_TRUE(original.ExecutePattern("(x)"_t, "xx x"_t));
    EXPECT_EQ(original.MatchCount(), 3);
    for (const RegexMatcher* m : {&copy, &assigned}) {
        EXPECT_EQ(testing::MatchTexts(*m), (Strings{"12", "345"}));
        EXPECT_EQ(m->SubMatchText(2, 1), "345"_t);
        EXPECT_EQ(m->GetPattern(), "(\\d+)"_t);
        EXPECT_EQ(m->ReplaceMatches("#"_t), "电话 # 传真 #"_t);
    }
    assigned = RegexMatcher();
    ExpectEmpty(assigned);
    EXPECT_EQ(copy.MatchCount(), 2);
}

TEST(RegexMatcher, PatternComesBackAsGiven) {
    RegexMatcher matcher;
    const Text pattern = "<li class=\"mp6\">电话：</li>[\\s]*?(.*?)"_t;
    ASSERT_TRUE(matcher.ExecutePattern(pattern, "x"_t));
    EXPECT_EQ(matcher.GetPattern(), pattern);
}

TEST(RegexMatcher, SubjectUnitsAreThoseOfGbkToUtf16) {
    // Truncated, ill-formed and unusual byte sequences included: each unit is one character.
    for (const char* bytes :
         {"a\xD6", "\xD6\xD0\xD6", "\x81\x20z", "\x80\xFF", "\xA1", "\x81\x7F", "ab\xD6\xD0"}) {
        const Text subject = Text::FromBytes(bytes);
        SCOPED_TRACE(TextToUtf8(subject));
        const Bytes units = GbkToUtf16(subject);
        RegexMatcher matcher;
        ASSERT_TRUE(matcher.ExecutePattern("[\\s\\S]"_t, subject));
        ASSERT_EQ(matcher.MatchCount(), static_cast<int>(units.size() / 2) - 1);
        for (int i = 1; i <= matcher.MatchCount(); ++i)
            EXPECT_EQ(matcher.MatchText(i), Utf16ToGbk(Bytes(units.view().substr(2 * (i - 1), 2).data(), 2)));
    }
}

TEST(RegexMatcher, ReplaceMatches) {
    struct Case {
        const char* pattern;
        const char* subject;
        const char* replacement;
        const char* expected;
        bool global = true;
    } cases[] = {
        {"a", "banana", "o", "bonono"},
        {"a", "banana", "o", "bonana", false},
        {"A", "banana", "", "bnn"},
        {"(\\w+)@(\\w+)", "li@example", "$2 at $1", "example at li"},
        {"b(a)", "xbay", "[$&|$`|$'|$$|$1]", "x[ba|x|y|$|a]y"},
        {"(a)", "a", "$2$0$", "$2$0$"},
        {"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", "abcdefghij", "$10-$11", "j-a1"},
        {"x*", "ab", "-", "-a-b-"},
        {"中", "中文中", "英", "英文英"},
        {"z", "abc", "y", "abc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern + std::string(" / ") + c.replacement);
        RegexMatcher matcher;
        ASSERT_TRUE(matcher.ExecutePattern(Utf8Text(c.pattern), Utf8Text(c.subject), false, true, c.global));
        EXPECT_EQ(TextToUtf8(matcher.ReplaceMatches(Utf8Text(c.replacement))), c.expected);
    }
}

TEST(RegexMatcher, PositionIsTheByteOffsetInTheSubjectText) {
    // Byte offsets: 中 0-1, 文 2-3, "abc" 4-6, 中 7-8, 文 9-10, "abc" 11-13.
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.ExecutePattern("a(b)c"_t, "中文abc中文abc"_t));
    ASSERT_EQ(matcher.MatchCount(), 2);
    int position = 0;
    EXPECT_EQ(matcher.MatchText(1, &position), "abc"_t);
    EXPECT_EQ(position, 4);
    EXPECT_EQ(matcher.MatchText(2, &position), "abc"_t);
    EXPECT_EQ(position, 11);
    EXPECT_EQ(matcher.SubMatchText(1, 1, &position), "b"_t);
    EXPECT_EQ(position, 5);
    EXPECT_EQ(matcher.SubMatchText(2, 1, &position), "b"_t);
    EXPECT_EQ(position, 12);
    EXPECT_EQ(matcher.SubMatchText(2, 2, &position), Text());
    EXPECT_EQ(position, -1);
    EXPECT_EQ(matcher.MatchText(3, &position), Text());
    EXPECT_EQ(position, -1);
}

TEST(RegexMatcher, GroupPositionIsTheFirstOccurrenceFromTheMatch) {
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.ExecutePattern("电(话)：(话)"_t, "电话电话：话"_t));
    int position = 0;
    EXPECT_EQ(matcher.MatchText(1, &position), "电话：话"_t);
    EXPECT_EQ(position, 4);
    EXPECT_EQ(matcher.SubMatchText(1, 1, &position), "话"_t);
    EXPECT_EQ(position, 6);
    // The second group's text first occurs inside the match before the group itself.
    EXPECT_EQ(matcher.SubMatchText(1, 2, &position), "话"_t);
    EXPECT_EQ(position, 6);
}

}  // namespace
}  // namespace tarvolin
