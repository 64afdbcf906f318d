#include "crawl/DetailWorker.h"

#include "crawl/ResultRow.h"
#include "platform/ThreadControl.h"
#include "shell/RunState.h"
#include "web/FetchPage.h"

namespace tarvolin {

namespace {

void AppendRow(Controls& controls, const ResultRow& row) {
    const int index = controls.AppendRow();
    for (int column = 0; column < ResultRow::kFields; ++column)
        controls.SetCell(index, column, row.fields[column]);
    controls.ScrollRowIntoView(index);
}

}  // namespace

void DetailWorker(const RunContext& run, int k) {
    RegexMatcher matcher;
    RunBook& book = RunBook::Instance();
    // The search thread lists a worker under the book's lock before this returns, so a Stop either
    // finds this worker listed or has already ended the run.
    if (!book.IsCurrent(run.id)) return;

    platform::NamedMutex::Holding turn = run.workerMutex->Acquire();
    if (platform::StopRequested()) return;

    Text url;
    if (RunState::Instance().DetailUrlAt(k, url) && platform::Checkpoint()) {
        const Text page = FetchPage(url);
        if (platform::StopRequested()) return;
        const std::optional<ResultRow> row = ReadResultRow(matcher, page);
        if (row) {
            if (!platform::Checkpoint()) return;
            AppendRow(*run.controls, *row);
        }
    }

    book.WhileCurrent(run.id, [&] {
        std::lock_guard guard(*run.pendingGuard);
        --RunState::Instance().pendingWorkers;
    });
    turn.Release();
}

}  // namespace tarvolin
