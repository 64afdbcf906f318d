#include "crawl/RunSearch.h"

#include <chrono>
#include <cmath>

#include "crawl/BatchExportHook.h"
#include "crawl/DetailWorker.h"
#include "crawl/SearchAddress.h"
#include "platform/ThreadControl.h"
#include "shell/RunState.h"
#include "text/Encodings.h"
#include "text/Markers.h"
#include "text/RegexMatcher.h"
#include "text/TextOps.h"
#include "web/FetchPage.h"

namespace tarvolin {

namespace {

using std::chrono::milliseconds;

constexpr int kMarkerStart = 10000;
constexpr auto kWorkerPoll = milliseconds(200);
constexpr auto kExportPoll = milliseconds(1000);
constexpr auto kJoinPoll = milliseconds(20);

enum Panel { kStatePanel = 0, kTotalPanel = 1, kLinksPanel = 2, kHintPanel = 3 };

Text EncodedKeyword(Controls& controls) {
    return UrlEncodeUtf8(controls.KeywordText(), true);
}

// One run of the search thread; every step returns false once the run has been stopped.
class SearchRun {
public:
    explicit SearchRun(const RunContext& run) : run_(run), controls_(*run.controls) {}

    void Run() {
        if (!ReadCounts()) return;
        if (total_.empty()) {
            ReportNoResults();
            return;
        }
        for (int page = 1; page <= pageCount_; ++page) {
            if (!WalkPage(page)) return;
        }
        if (platform::StopRequested()) return;
        controls_.SetClockPeriod(0);
        controls_.SetPanelText(kStatePanel, "状态：运行完毕！"_t);
        ShowBox("搜索完毕！共搜索到：【"_t + IntToText(controls_.RowCount()) + " 】条数据！！"_t);
        if (!platform::StopRequested()) RunState::Instance().batchExportOffset = 0;
    }

private:
    bool ReadCounts() {
        Text page = FetchPage(SearchAddress(EncodedKeyword(controls_)));
        if (platform::StopRequested()) return false;
        pageCount_ = TextToInt(TextBetween(page, "页次: 1/"_t, "&nbsp;&nbsp;"_t, kMarkerStart, false));

        page = FetchPage(SearchAddress(EncodedKeyword(controls_)));
        if (platform::StopRequested()) return false;
        total_ = TextBetween(page, "总数: "_t, "&nbsp;&nbsp;"_t, kMarkerStart, false);
        controls_.SetPanelText(kTotalPanel, "搜索结果："_t + total_ + "条"_t);

        keyword_ = EncodedKeyword(controls_);
        return !platform::StopRequested();
    }

    void ReportNoResults() {
        ShowBox("没有搜索到关于 "_t + controls_.KeywordText() + " 的结果！！"_t);
        if (platform::StopRequested()) return;
        controls_.SetPanelText(kStatePanel, "暂停中"_t);
    }

    bool WalkPage(int page) {
        controls_.SetPanelText(kHintPanel, IsMultipleOf(page, 4.0)
                                               ? "温馨提醒：  【推荐在网速较好的时候使用！！】"_t
                                               : "温馨提醒：【表格里单击鼠标右键，可以弹出菜单】"_t);
        const Text html = FetchPage(ResultPageAddress(keyword_, page));
        if (platform::StopRequested()) return false;
        if (!CollectLinks(html)) return false;

        linkCount_ += RunState::Instance().DetailUrlCount();
        controls_.SetPanelText(kLinksPanel, "成功获取："_t + IntToText(linkCount_) + "条"_t);

        return StartWorkers() && WaitForWorkers() && EndPageWorkers() && ExportIfDue(page);
    }

    bool CollectLinks(const Text& html) {
        std::vector<Text> links;
        if (matcher_.ExecutePattern(LinkPattern(), html)) {
            for (int j = 1; j <= matcher_.MatchCount(); ++j) {
                Text link = matcher_.SubMatchText(j, 1);
                if (!RemoveSpaces(link).empty()) links.push_back(std::move(link));
            }
        }
        return RunBook::Instance().WhileCurrent(run_.id, [&] {
            for (const Text& link : links)
                RunState::Instance().AppendDetailUrl(link);
        });
    }

    // The page's workers are started, listed and counted under the book's lock, which each worker
    // takes first thing: none works before all are listed, so Pause and Stop reach every one.
    bool StartWorkers() {
        return RunBook::Instance().WhileCurrent(run_.id, [&] {
            RunState& state = RunState::Instance();
            const int count = state.DetailUrlCount();
            for (int k = 1; k <= count; ++k) {
                state.AppendWorker(
                    platform::ControlledThread::Start([run = run_, k] { DetailWorker(run, k); }));
                std::lock_guard guard(*run_.pendingGuard);
                ++state.pendingWorkers;
            }
        });
    }

    bool WaitForWorkers() {
        for (;;) {
            if (!platform::InterruptibleSleep(kWorkerPoll)) return false;
            controls_.PumpMessages();
            std::lock_guard guard(*run_.pendingGuard);
            if (RunState::Instance().pendingWorkers == 0) return true;
        }
    }

    // Every worker has counted itself done; wait for each to end, then empty both lists.
    bool EndPageWorkers() {
        for (const WorkerHandle& worker : RunState::Instance().WorkersSnapshot()) {
            while (!worker->Join(kJoinPoll)) {
                if (platform::StopRequested()) return false;
            }
        }
        return RunBook::Instance().WhileCurrent(run_.id, [] { RunState::Instance().TakeLists(); });
    }

    bool ExportIfDue(int page) {
        const Text item = controls_.SelectedAutoExportItem();
        if (item == "默认不自动导出"_t || item == "1代表25条数据"_t) return true;
        const int interval = TextToInt(item);
        const BatchExportFunction exportRows = BatchExportHook();
        if (interval <= 0 || !IsMultipleOf(page, interval) || !exportRows) return true;

        // An export that refuses an empty list sets no outcome of its own; it counts as finished.
        const bool refused = controls_.RowCount() == 0;
        exportRows(controls_, interval);
        controls_.PumpMessages();
        do {
            if (!platform::InterruptibleSleep(kExportPoll)) return false;
            controls_.PumpMessages();
        } while (RunState::Instance().exportOutcome == 0 && !refused);
        return true;
    }

    void ShowBox(const Text& text) {
        MessageBoxSpec box;
        box.text = text;
        controls_.ShowMessage(box);
    }

    const RunContext run_;
    Controls& controls_;
    RegexMatcher matcher_;
    Text keyword_;
    Text total_;
    int pageCount_ = 0;
    int linkCount_ = 0;
};

}  // namespace

bool IsMultipleOf(int page, double divisor) {
    return std::fabs(std::fmod(page, divisor)) <= 1e-7;
}

void RunSearch(const RunContext& run) {
    if (!RunBook::Instance().IsCurrent(run.id)) return;  // ended before it began
    {
        SearchRun search(run);
        search.Run();
    }
    RunBook::Instance().Finish(run.id);
}

}  // namespace tarvolin
