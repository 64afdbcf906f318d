// The crawl's link and detail patterns over pages shaped like the directory site's.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "RegexTestSupport.h"
#include "SitePages.h"
#include "text/RegexMatcher.h"

namespace tarvolin {
namespace {

using testing::Company;
using testing::DetailBlock;
using testing::DetailPage;

TEST(LinkPattern, FindsEveryLinkInOrderWhateverTheCase) {
    std::vector<std::string> links;
    for (int i = 0; i < 25; ++i)
        links.push_back("http://127.0.0.1:8418/company/" + std::to_string(1000 + i) + ".html");
    const std::vector<int> capitals = {0, 7, 13, 24};
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.ExecutePattern(Utf8Text(testing::kLinkPattern),
                                       Utf8Text(testing::ResultPage(links, capitals))));
    ASSERT_EQ(matcher.MatchCount(), 25);
    EXPECT_EQ(matcher.SubMatchCount(), 1);
    for (int j = 1; j <= 25; ++j)
        EXPECT_EQ(TextToUtf8(matcher.SubMatchText(j, 1)), links[j - 1]) << j;
    EXPECT_EQ(matcher.SubMatchText(26, 1), Text());
}

TEST(LinkPattern, EmptyAndSpacedLinksComeBackAsTheyStand) {
    RegexMatcher matcher;
    const std::vector<std::string> links = {"", " ", "/c/1.html"};
    ASSERT_TRUE(
        matcher.ExecutePattern(Utf8Text(testing::kLinkPattern), Utf8Text(testing::ResultPage(links, {}))));
    EXPECT_EQ(testing::GroupTexts(matcher, 1, 1), std::vector<std::string>{""});
    EXPECT_EQ(testing::GroupTexts(matcher, 2, 1), std::vector<std::string>{" "});
    EXPECT_EQ(testing::GroupTexts(matcher, 3, 1), std::vector<std::string>{"/c/1.html"});
}

const Company kFirm = {
    "北京星辰电子有限公司",      "王先生", "010-12345678", "13800138000", "010-87654321", "wang@example.com",
    "北京市海淀区中关村大街１号"};
const Company kOther = {"上海东方贸易公司", "李女士",        "021-5550000", "13900001111", "",
                        "li@example.cn",    "上海市浦东新区"};

std::vector<std::string> FirstMatchFields(const std::string& page) {
    RegexMatcher matcher;
    EXPECT_TRUE(matcher.ExecutePattern(Utf8Text(testing::kDetailPattern), Utf8Text(page)));
    if (matcher.MatchCount() == 0) return {};
    EXPECT_EQ(matcher.SubMatchCount(), 7);
    EXPECT_EQ(matcher.SubMatchText(1, 8), Text());
    return testing::GroupTexts(matcher, 1, 7);
}

TEST(DetailPattern, LineBreaksAndTabsBetweenBlocksAreAbsorbed) {
    struct Case {
        const char* name;
        const char* gap;
    } cases[] = {
        {"nothing", ""},
        {"line feed", "\n"},
        {"CRLF and tabs", "\r\n\t\t"},
        {"blank lines", "\n\n  \n"},
        {"spaces, FF and VT", " \f\v "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FirstMatchFields(DetailPage({DetailBlock(kFirm, c.gap)})), kFirm.Fields());
    }
}

TEST(DetailPattern, UpperCaseMarkupMatches) {
    std::string block = DetailBlock(kFirm, "\r\n");
    for (const char* from : {"<div class=\"mp4\"><b>", "<ul><li class=\"mp6\">"}) {
        std::string upper(from);
        for (char& ch : upper)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        for (std::size_t at = block.find(from); at != std::string::npos; at = block.find(from, at + 1))
            block.replace(at, upper.size(), upper);
    }
    EXPECT_EQ(FirstMatchFields(DetailPage({block})), kFirm.Fields());
}

TEST(DetailPattern, LineFeedInsideAValueMatchesNotThere) {
    Company broken = kFirm;
    broken.address = "北京市海淀区\n中关村大街１号";
    EXPECT_TRUE(FirstMatchFields(DetailPage({DetailBlock(broken, "\n")})).empty());
    // A later, well-formed block is the first match.
    EXPECT_EQ(FirstMatchFields(DetailPage({DetailBlock(broken, "\n"), DetailBlock(kOther, "\n")})),
              kOther.Fields());
    Company brokenName = kFirm;
    brokenName.name = "北京星辰\n电子";
    EXPECT_EQ(FirstMatchFields(DetailPage({DetailBlock(brokenName, "\r\n"), DetailBlock(kOther, "\r\n")})),
              kOther.Fields());
}

TEST(DetailPattern, MissingPhoneBlockGivesNoMatch) {
    EXPECT_TRUE(FirstMatchFields(DetailPage({DetailBlock(kFirm, "\n", false)})).empty());
}

TEST(DetailPattern, AsciiColonInALabelGivesNoMatch) {
    std::string block = DetailBlock(kFirm, "\n");
    const std::string label = "传真：";
    block.replace(block.find(label), label.size(), "传真:");
    EXPECT_TRUE(FirstMatchFields(DetailPage({block})).empty());
}

TEST(DetailPattern, MailAnchorAndEmptyFieldsComeBackRaw) {
    Company linked = kOther;
    linked.mail = "<a href=\"mailto:li@example.cn\" target=_blank>li@example.cn</a>";
    linked.contact = "";
    EXPECT_EQ(FirstMatchFields(DetailPage({DetailBlock(linked, "\n\t")})), linked.Fields());
}

TEST(DetailPattern, ReadsOnlyTheFirstOfSeveralCompanies) {
    RegexMatcher matcher;
    ASSERT_TRUE(
        matcher.ExecutePattern(Utf8Text(testing::kDetailPattern),
                               Utf8Text(DetailPage({DetailBlock(kFirm, "\n"), DetailBlock(kOther, "\n")}))));
    ASSERT_EQ(matcher.MatchCount(), 2);
    EXPECT_EQ(testing::GroupTexts(matcher, 1, 7), kFirm.Fields());
    EXPECT_EQ(testing::GroupTexts(matcher, 2, 7), kOther.Fields());
}

}  // namespace
}  // namespace tarvolin
