#include <gtest/gtest.h>

#include "CrawlTestSupport.h"
#include "SiteContent.h"
#include "crawl/ResultRow.h"
#include "crawl/RunSearch.h"

namespace tarvolin::testing {
namespace {

TEST(EmailCell, PlainTextLinkTextOrEmpty) {
    struct Case {
        const char* group;
        const char* cell;
    } cases[] = {
        {"sales@example.com", "sales@example.com"},
        {"<a href=\"mailto:a@b.cn\" target=_blank>a@b.cn</a>", "a@b.cn"},
        {"<a href=\"mailto:a@b.cn\" target=\"_blank\">a@b.cn</a>", ""},  // no target=_blank>
        {"<a href=\"mailto:a@b.cn\" target=_blank>a@b.cn", ""},          // no </a>
        {"<a HREF=\"mailto:a@b.cn\" target=_blank>a@b.cn</a>",           // "href" is matched exactly
         "<a HREF=\"mailto:a@b.cn\" target=_blank>a@b.cn</a>"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextToUtf8(EmailCell(Text::FromBytes(c.group))), c.cell) << c.group;
    }
}

// The site's detail pages and the detail pattern agree: every company page gives exactly the
// fields the site put on it, and a page that lacks a block gives no row.
TEST(ReadResultRow, ReadsTheSitesCompanyPages) {
    const std::string keyword = "灯具";
    RegexMatcher matcher;
    int rows = 0;
    int missing = 0;
    for (int n = 0; n < 60; ++n) {
        const std::optional<std::string> page = demosite::CompanyPage(demosite::CompanyId(keyword, n));
        ASSERT_TRUE(page.has_value());
        const std::optional<ResultRow> row = ReadResultRow(matcher, Utf8Text(*page));
        const std::optional<demosite::CompanyFields> expected = demosite::ExpectedCompany(keyword, n);
        ASSERT_EQ(row.has_value(), expected.has_value()) << "company " << n;
        if (!row) {
            ++missing;
            continue;
        }
        ++rows;
        for (int field = 0; field < ResultRow::kFields; ++field) {
            EXPECT_EQ(TextToUtf8(row->fields[field]), (*expected)[field])
                << "company " << n << " field " << field;
        }
    }
    EXPECT_GT(rows, 50);
    EXPECT_GT(missing, 0);
}

TEST(ReadResultRow, OnlyTheFirstMatchCounts) {
    const std::string first = *demosite::CompanyPage(demosite::CompanyId("甲", 0));
    const std::string second = *demosite::CompanyPage(demosite::CompanyId("乙", 0));
    RegexMatcher matcher;
    const std::optional<ResultRow> row = ReadResultRow(matcher, Utf8Text(first + second));
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(TextToUtf8(row->fields[0]), (*demosite::ExpectedCompany("甲", 0))[0]);
    EXPECT_FALSE(ReadResultRow(matcher, Text()).has_value());
}

TEST(IsMultipleOf, RemainderInDoublePrecision) {
    struct Case {
        int page;
        double divisor;
        bool multiple;
    } cases[] = {{4, 4, true}, {8, 4, true}, {1, 4, false}, {3, 4, false},     {5, 4, false},
                 {1, 1, true}, {6, 3, true}, {7, 3, false}, {199, 200, false}, {200, 200, true}};
    for (const Case& c : cases) {
        EXPECT_EQ(IsMultipleOf(c.page, c.divisor), c.multiple) << c.page << " / " << c.divisor;
    }
}

}  // namespace
}  // namespace tarvolin::testing
