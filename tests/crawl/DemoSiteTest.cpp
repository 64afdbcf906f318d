#include <gtest/gtest.h>

#include "CrawlTestSupport.h"
#include "SiteServer.h"
#include "text/Markers.h"
#include "text/RegexMatcher.h"
#include "text/TextOps.h"

namespace tarvolin::testing {
namespace {

class DemoSiteTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(site.Start(0)); }
    demosite::SiteServer site{demosite::SiteOptions{0, "1.4"}};
    httplib::Client Client() { return httplib::Client("127.0.0.1", site.Port()); }
};

int LinksOn(const Text& page) {
    RegexMatcher matcher;
    matcher.ExecutePattern(Text::FromBytes("sup-name\"><a href=\"(.*?)\""), page);
    return matcher.MatchCount();
}

// The result pages as the program reads them: markers past byte 10000 of the code page 936 text,
// 25 links a page and fewer on the last one, no markers for a keyword without companies.
TEST_F(DemoSiteTest, ResultPagesCarryTheirMarkersPastByte10000) {
    httplib::Client client = Client();
    const std::string keyword = "灯具@pages=3";
    auto first = client.Get(demosite::SearchTarget(keyword).c_str());
    ASSERT_TRUE(first);
    EXPECT_EQ(first->status, 200);
    EXPECT_TRUE(first->has_header("Set-Cookie"));
    const Text page = Utf8Text(first->body);
    EXPECT_GT(FindText(page, U("页次: 1/")), 10000);
    EXPECT_EQ(TextToUtf8(TextBetween(page, U("页次: 1/"), U("&nbsp;&nbsp;"), 10000, false)), "3");
    const demosite::Catalogue catalogue = demosite::CatalogueFor(keyword, {});
    EXPECT_EQ(TextToUtf8(TextBetween(page, U("总数: "), U("&nbsp;&nbsp;"), 10000, false)),
              std::to_string(catalogue.total));
    EXPECT_EQ(LinksOn(page), 25);

    auto last = client.Get(demosite::SearchTarget(keyword, 3).c_str());
    ASSERT_TRUE(last);
    const int onLast = LinksOn(Utf8Text(last->body));
    EXPECT_GT(onLast, 0);
    EXPECT_LT(onLast, 25);
    EXPECT_EQ(catalogue.total, 50 + onLast);

    auto none = client.Get(demosite::SearchTarget("灯具@none").c_str());
    ASSERT_TRUE(none);
    EXPECT_EQ(FindText(Utf8Text(none->body), U("页次: ")), -1);
    EXPECT_EQ(FindText(Utf8Text(none->body), U("总数: ")), -1);
}

TEST_F(DemoSiteTest, RedirectingLinksAndUnknownCompanies) {
    httplib::Client client = Client();
    auto redirect = client.Get(("/go.php?id=" + demosite::CompanyId("灯具", 3)).c_str());
    ASSERT_TRUE(redirect);
    EXPECT_EQ(redirect->status, 302);
    EXPECT_EQ(redirect->get_header_value("Location"), demosite::CompanyPath("灯具", 3));
    auto company = client.Get(demosite::CompanyPath("灯具", 3).c_str());
    ASSERT_TRUE(company);
    EXPECT_EQ(company->status, 200);
    auto unknown = client.Get("/company/zz_1.html");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->status, 404);
}

TEST_F(DemoSiteTest, ReleasePageIsCodePage936) {
    auto release = Client().Get("/release.html");
    ASSERT_TRUE(release);
    const Text page = Text::FromBytes(release->body);  // taken as code page 936, as the version check does
    EXPECT_EQ(TextToUtf8(TextBetween(page, U("【原帖更新到"), U("版本】"), 0, false)), "1.4");
    EXPECT_EQ(demosite::SiteOptions().releaseVersion, "1.3");
}

}  // namespace
}  // namespace tarvolin::testing
