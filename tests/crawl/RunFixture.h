#pragma once

#include <gtest/gtest.h>

#include <algorithm>

#include "CrawlTestSupport.h"
#include "SiteContent.h"
#include "TestSite.h"
#include "crawl/BatchExportHook.h"
#include "crawl/RunControl.h"
#include "crawl/StartSearch.h"
#include "web/FetchPage.h"

namespace tarvolin::testing {

// A search run against the test site, with the window in memory.
class RunFixture : public ::testing::Test {
protected:
    void SetUp() override {
        CreateSharedSession();
        site.Use();
        RunState& state = RunState::Instance();
        state.batchExportOffset = 0;
        state.exportOutcome = 0;
        controls.SetAutoExportItem(U("默认不自动导出"));
        SetBatchExportHook(nullptr);
    }

    void TearDown() override {
        // Leave no run behind for the next test in this process.
        EndRunForExit();
        site.Release();
        EXPECT_TRUE(WaitUntil([] { return SearchThreadEnded(); }));
        SetBatchExportHook(nullptr);
        // Closes the kept-alive connection, so the site stops at once.
        DestroySharedSession();
    }

    static WorkerHandle SearchThread() { return RunState::Instance().searchThread; }
    static bool SearchThreadEnded() {
        const WorkerHandle search = SearchThread();
        return !search || search->Finished();
    }
    static bool RunEnded() { return !SearchUnderWay() && SearchThreadEnded(); }

    void StartAndFinish(const std::string& keyword) {
        controls.SetKeyword(U(keyword));
        StartSearch(controls);
        ASSERT_TRUE(WaitUntil(RunEnded)) << "the run did not end";
    }

    // The site's companies for a keyword, as sorted rows.
    static std::vector<std::vector<std::string>> SiteRows(const std::string& keyword) {
        const demosite::Catalogue catalogue = demosite::CatalogueFor(keyword, {});
        std::vector<std::vector<std::string>> rows;
        for (int n = 0; n < catalogue.total; ++n) {
            if (auto fields = demosite::ExpectedCompany(keyword, n))
                rows.emplace_back(fields->begin(), fields->end());
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    std::vector<std::vector<std::string>> SortedRows() {
        auto rows = controls.Utf8Rows();
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    TestSite site;
    RecordingControls controls;
};

}  // namespace tarvolin::testing
