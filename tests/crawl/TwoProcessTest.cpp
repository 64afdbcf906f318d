#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "SiteContent.h"
#include "TestSite.h"

namespace tarvolin::testing {
namespace {

int SiteRowCount(const std::string& keyword) {
    const demosite::Catalogue catalogue = demosite::CatalogueFor(keyword, {});
    int rows = 0;
    for (int n = 0; n < catalogue.total; ++n)
        rows += demosite::ExpectedCompany(keyword, n) ? 1 : 0;
    return rows;
}

// Two copies of the program harvesting side by side take turns on the named mutex: the site never
// sees two detail requests at once, though the two runs interleave.
TEST(TwoProcesses, DetailFetchesNeverOverlap) {
    TestSite site;
    const std::string first = "甲@total=60";
    const std::string second = "乙@total=60";
    ChildProcess a({CRAWL_HELPER, "harvest", site.Address(), first});
    ChildProcess b({CRAWL_HELPER, "harvest", site.Address(), second});
    EXPECT_EQ(a.ReadLine(), std::to_string(SiteRowCount(first)));
    EXPECT_EQ(b.ReadLine(), std::to_string(SiteRowCount(second)));
    EXPECT_EQ(a.Wait(), 0);
    EXPECT_EQ(b.Wait(), 0);

    EXPECT_EQ(site.DetailRequests(), 120);
    EXPECT_EQ(site.MaxDetailsInFlight(), 1);
    // The runs did overlap: the detail requests switch between the two keywords.
    const std::string firstPrefix = "/company/" + demosite::CompanyId(first, 0).substr(0, 6);
    int switches = 0;
    bool previous = false;
    const std::vector<std::string> paths = site.DetailPaths();
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const bool isFirst = paths[i].rfind(firstPrefix, 0) == 0;
        if (i > 0 && isFirst != previous) ++switches;
        previous = isFirst;
    }
    EXPECT_GE(switches, 2);
}

}  // namespace
}  // namespace tarvolin::testing
