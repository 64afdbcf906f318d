// The regular-expression component on UTF-16 units, for what a code page 936 Text cannot hold.
#include "platform/ScriptRegExp.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace tarvolin::platform {
namespace {

std::shared_ptr<MatchCollection> RunPattern(const std::u16string& pattern, const std::u16string& subject,
                                            bool ignoreCase = true) {
    ScriptRegExp regex;
    regex.SetIgnoreCase(ignoreCase);
    regex.SetMultiline(true);
    regex.SetGlobal(true);
    regex.SetPattern(pattern);
    return regex.Execute(std::make_shared<const std::u16string>(subject));
}

int CountOf(const std::u16string& pattern, const std::u16string& subject) {
    const auto matches = RunPattern(pattern, subject);
    return matches ? matches->Count() : -1;
}

TEST(ScriptRegExp, StartsWithTheComponentDefaults) {
    const ScriptRegExp regex;
    EXPECT_FALSE(regex.IgnoreCase());
    EXPECT_FALSE(regex.Multiline());
    EXPECT_FALSE(regex.Global());
    EXPECT_TRUE(regex.Pattern().empty());
}

TEST(ScriptRegExp, WhiteSpaceIsExactlyTheSixAsciiCharacters) {
    EXPECT_EQ(CountOf(u"\\s", u" \t\r\n\f\v"), 6);
    for (const char16_t c : {u'\u00A0', u'\u3000', u'\u0085', u'\u2028', u'\u1680', u'\uFEFF'})
        EXPECT_EQ(CountOf(u"[\\s]", std::u16string(1, c)), 0) << static_cast<int>(c);
}

TEST(ScriptRegExp, DotExcludesOnlyTheLineFeed) {
    EXPECT_EQ(CountOf(u".", u"\r\u2028\u2029\u0085\u000B"), 5);
    EXPECT_EQ(CountOf(u".", u"\n"), 0);
}

TEST(ScriptRegExp, IgnoreCaseFoldsAsciiLettersOnly) {
    EXPECT_EQ(CountOf(u"hReF", u"HrEf"), 1);
    const std::u16string pairs[][2] = {
        {u"\u00C0", u"\u00E0"},  // Latin-1 A with grave
        {u"\u00E9", u"\u00C9"},  // Latin-1 e with acute
        {u"\u0100", u"\u0101"},  // Latin Extended-A
        {u"\uFF21", u"\uFF41"},  // full-width A
        {u"k", u"\u212A"},       // Kelvin sign
        {u"s", u"\u017F"},       // long s
    };
    for (const auto& pair : pairs) {
        EXPECT_EQ(CountOf(pair[0], pair[1]), 0) << static_cast<int>(pair[0][0]);
        EXPECT_EQ(CountOf(pair[0], pair[0]), 1) << static_cast<int>(pair[0][0]);
    }
}

TEST(ScriptRegExp, IndicesCountUtf16Units) {
    // U+1F600 takes two units; the dialect sees two characters, and an unpaired surrogate is fine.
    const std::u16string subject = u"\U0001F600a" + std::u16string(1, static_cast<char16_t>(0xD800)) + u"b";
    const auto matches = RunPattern(u"[ab]", subject);
    ASSERT_TRUE(matches);
    ASSERT_EQ(matches->Count(), 2);
    EXPECT_EQ(matches->Item(0)->FirstIndex(), 2);
    EXPECT_EQ(matches->Item(1)->FirstIndex(), 4);
    EXPECT_EQ(matches->Item(1)->Length(), 1);
    EXPECT_EQ(CountOf(u".", u"\U0001F600"), 2);
}

TEST(ScriptRegExp, MatchesOutliveTheRegExpAndHoldTheirTexts) {
    std::shared_ptr<MatchCollection> matches;
    {
        ScriptRegExp regex;
        regex.SetGlobal(true);
        regex.SetPattern(u"(\\d)(x)?");
        matches = regex.Execute(std::make_shared<const std::u16string>(u"a1b2x"));
    }
    ASSERT_TRUE(matches);
    ASSERT_EQ(matches->Count(), 2);
    EXPECT_EQ(matches->Item(1)->Value(), u"2x");
    const SubMatches first = matches->Item(0)->SubMatches();
    ASSERT_EQ(first.Count(), 2);
    EXPECT_EQ(first.Item(0), std::u16string_view(u"1"));
    EXPECT_EQ(first.Item(1), std::u16string_view());  // took no part
    EXPECT_FALSE(first.Item(2).has_value());
    EXPECT_FALSE(matches->Item(2).has_value());
    EXPECT_FALSE(matches->Item(-1).has_value());
}

TEST(ScriptRegExp, RejectedPatternFailsExecuteAndReplace) {
    ScriptRegExp regex;
    regex.SetPattern(u"a(");
    EXPECT_EQ(regex.Execute(std::make_shared<const std::u16string>(u"a(")), nullptr);
    EXPECT_FALSE(regex.Replace(u"a(", u"b").has_value());
}

TEST(ScriptRegExp, EachThreadMatchesOnItsOwn) {
    // The compiled patterns are kept per thread; threads running the same patterns at once must
    // each get their own right answers.
    std::vector<int> counts(4, -1);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &counts] {
            std::u16string subject;
            for (int i = 0; i <= t; ++i)
                subject += u"<b>\u4E2D</b>\r\n";
            int total = 0;
            for (int round = 0; round < 200; ++round)
                total += CountOf(u"<B>(.*?)</B>", subject);
            counts[t] = total;
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 0; t < 4; ++t)
        EXPECT_EQ(counts[t], 200 * (t + 1));
}

}  // namespace
}  // namespace tarvolin::platform
