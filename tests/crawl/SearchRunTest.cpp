#include <chrono>

#include "RunFixture.h"

namespace tarvolin::testing {
namespace {

using SearchRunTest = RunFixture;

constexpr const char* kEndedText = "状态：运行完毕！";
constexpr const char* kHintPlain = "温馨提醒：【表格里单击鼠标右键，可以弹出菜单】";
constexpr const char* kHintFourth = "温馨提醒：  【推荐在网速较好的时候使用！！】";

std::string FinalMessage(int rows) {
    return "搜索完毕！共搜索到：【" + std::to_string(rows) + " 】条数据！！";
}

TEST_F(SearchRunTest, HarvestsEveryCompanyOfEveryPage) {
    const std::string keyword = "灯具@pages=2";
    const demosite::Catalogue catalogue = demosite::CatalogueFor(keyword, {});
    controls.AddRow({U("earlier run")});
    RunState::Instance().batchExportOffset = 7;

    controls.SetKeyword(U(keyword));
    StartSearch(controls);
    StartSearch(controls);  // a run is under way: ignored
    ASSERT_TRUE(WaitUntil(RunEnded));

    auto rows = controls.Utf8Rows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front()[0], "earlier run");
    rows.erase(rows.begin());
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, SiteRows(keyword));

    const std::string total = std::to_string(catalogue.total);
    EXPECT_EQ(controls.PanelHistory(0).front(), "状态：运行中");
    EXPECT_EQ(controls.Panel(0), kEndedText);
    EXPECT_EQ(controls.Panel(1), "搜索结果：" + total + "条");
    EXPECT_EQ(controls.Panel(2), "成功获取：" + total + "条");
    EXPECT_EQ(controls.ClockPeriod(), 0);
    ASSERT_EQ(controls.BoxTexts().size(), 1u);
    EXPECT_EQ(controls.BoxTexts().back(), FinalMessage(controls.RowCount()));  // earlier rows included
    EXPECT_EQ(controls.ScrolledRow(), controls.RowCount() - 1);
    EXPECT_EQ(RunState::Instance().batchExportOffset, 0);
    EXPECT_EQ(RunState::Instance().pendingWorkers, 0);
    EXPECT_EQ(RunState::Instance().WorkerCount(), 0);
    EXPECT_EQ(RunState::Instance().DetailUrlCount(), 0);

    // Twice the first address, then every page once; the redirected links were followed.
    const auto searches = site.Searches();
    ASSERT_EQ(searches.size(), 4u);
    const int pages[] = {0, 0, 1, 2};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(searches[i].keyword, keyword);
        EXPECT_EQ(searches[i].page, pages[i]);
    }
    EXPECT_EQ(site.DetailRequests(), catalogue.total);
    EXPECT_EQ(site.MaxDetailsInFlight(), 1);
}

TEST_F(SearchRunTest, EmptyKeywordStartsNothing) {
    controls.SetKeyword(Text());
    StartSearch(controls);
    ASSERT_EQ(controls.Boxes().size(), 1u);
    EXPECT_EQ(TextToUtf8(controls.Boxes()[0].text), "请先输入搜索关键字！！");
    EXPECT_EQ(controls.Boxes()[0].icon, BoxIcon::Exclamation);
    EXPECT_FALSE(SearchUnderWay());
    EXPECT_EQ(controls.ClockPeriod(), 0);
    EXPECT_TRUE(controls.PanelHistory(0).empty());
    EXPECT_TRUE(site.Searches().empty());
}

// Pages whose markers the run cannot see end it with the no-results message; the clock goes on
// and the batch offset stays.
TEST_F(SearchRunTest, NoResultsLeavesClockRunning) {
    struct Case {
        const char* keyword;
        TestSite::SearchOverride page;
    } cases[] = {
        {"无此公司@none", nullptr},
        {"短页",
         [](const TestSite::SearchRequest&, int) {
             return std::optional<std::string>("<html>页次: 1/3&nbsp;&nbsp;总数: 75&nbsp;&nbsp;</html>");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keyword);
        RecordingControls window;
        site.OverrideSearch(c.page);
        RunState::Instance().batchExportOffset = 5;
        const std::size_t searchesBefore = site.Searches().size();
        window.SetKeyword(U(c.keyword));
        StartSearch(window);
        ASSERT_TRUE(WaitUntil(RunEnded));

        ASSERT_EQ(window.BoxTexts().size(), 1u);
        EXPECT_EQ(window.BoxTexts()[0], std::string("没有搜索到关于 ") + c.keyword + " 的结果！！");
        EXPECT_EQ(window.Boxes()[0].icon, BoxIcon::None);
        EXPECT_EQ(window.Panel(0), "暂停中");
        EXPECT_EQ(window.Panel(1), "搜索结果：条");
        EXPECT_EQ(window.ClockPeriod(), 1000);
        EXPECT_EQ(RunState::Instance().batchExportOffset, 5);
        EXPECT_EQ(site.Searches().size() - searchesBefore, 2u);
        EXPECT_EQ(window.RowCount(), 0);
    }
}

TEST_F(SearchRunTest, LinksOfSpacesStartNoWorkerAndThePageStillWaits) {
    site.OverrideSearch([](const TestSite::SearchRequest&, int) {
        return std::optional<std::string>(ResultPageWith(1, "3", {"   ", " ", ""}));
    });
    const auto started = std::chrono::steady_clock::now();
    StartAndFinish("空格");
    const auto elapsed = std::chrono::steady_clock::now() - started;

    EXPECT_EQ(site.DetailRequests(), 0);
    EXPECT_EQ(controls.Panel(2), "成功获取：0条");
    EXPECT_EQ(controls.Panel(0), kEndedText);
    EXPECT_EQ(controls.BoxTexts().back(), FinalMessage(0));
    EXPECT_GE(elapsed, std::chrono::milliseconds(200));  // the page's one poll of its workers
    EXPECT_GE(controls.PumpCount(), 1);
}

TEST_F(SearchRunTest, HintsFollowThePageNumber) {
    site.OverrideSearch([](const TestSite::SearchRequest&, int) {
        return std::optional<std::string>(ResultPageWith(8, "0", {}));
    });
    StartAndFinish("提示");
    const std::vector<std::string> expected = {kHintPlain, kHintPlain, kHintPlain, kHintFourth,
                                               kHintPlain, kHintPlain, kHintPlain, kHintFourth};
    EXPECT_EQ(controls.PanelHistory(3), expected);
    EXPECT_EQ(site.Searches().size(), 10u);
}

// Each step reads the edit box anew: the second request, the page addresses and the no-results
// message follow edits made while the first two requests run.
TEST_F(SearchRunTest, KeywordEditedDuringTheFirstRequests) {
    for (const bool results : {true, false}) {
        SCOPED_TRACE(results ? "with results" : "without results");
        RecordingControls window;
        const std::size_t before = site.Searches().size();
        site.OnSearch([&window, before](const TestSite::SearchRequest&, int index) {
            if (index == static_cast<int>(before)) window.SetKeyword(U("乙@total=3"));
            if (index == static_cast<int>(before) + 1) window.SetKeyword(U("丙@total=2"));
        });
        site.OverrideSearch(results ? TestSite::SearchOverride() : [](const TestSite::SearchRequest&, int) {
            return std::optional<std::string>("<html>nothing</html>");
        });
        window.SetKeyword(U("甲@total=4"));
        StartSearch(window);
        ASSERT_TRUE(WaitUntil(RunEnded));
        site.OnSearch(nullptr);

        const auto searches = site.Searches();
        ASSERT_GE(searches.size(), before + 2);
        EXPECT_EQ(searches[before].keyword, "甲@total=4");
        EXPECT_EQ(searches[before + 1].keyword, "乙@total=3");
        if (results) {
            ASSERT_EQ(searches.size(), before + 3);
            EXPECT_EQ(searches[before + 2].keyword, "丙@total=2");
            EXPECT_EQ(searches[before + 2].page, 1);
            EXPECT_EQ(window.Panel(1), "搜索结果：3条");  // from the second request
            EXPECT_EQ(window.RowCount(), 2);              // the companies of the page of 丙
        } else {
            EXPECT_EQ(searches.size(), before + 2);
            ASSERT_EQ(window.BoxTexts().size(), 1u);
            EXPECT_EQ(window.BoxTexts()[0], "没有搜索到关于 丙@total=2 的结果！！");
        }
    }
}

// A refused export (it leaves the outcome at 0 on an empty list) does not hold the run; the
// interval is read after every page.
TEST_F(SearchRunTest, BatchExportEveryNPages) {
    std::vector<int> calls;
    SetBatchExportHook([&calls](Controls&, int pages) {
        calls.push_back(pages);
        RunState::Instance().exportOutcome = 0;
    });
    site.OverrideSearch([](const TestSite::SearchRequest&, int) {
        return std::optional<std::string>(ResultPageWith(2, "0", {}));
    });
    controls.SetAutoExportItem(U("1"));
    StartAndFinish("导出");
    EXPECT_EQ(calls, (std::vector<int>{1, 1}));
    EXPECT_EQ(controls.Panel(0), kEndedText);

    calls.clear();
    controls.SetAutoExportItem(U("1代表25条数据"));
    StartAndFinish("导出");
    EXPECT_TRUE(calls.empty());
}

}  // namespace
}  // namespace tarvolin::testing
