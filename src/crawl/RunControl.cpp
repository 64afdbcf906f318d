#include "crawl/RunControl.h"

#include "crawl/RunBook.h"
#include "shell/RunState.h"

namespace tarvolin {

namespace {

template <class Action>
bool ForEachListedWorker(Action action) {
    // Under the book's lock, so a Pause never lands between the workers of a page being listed.
    std::vector<WorkerHandle> workers;
    RunBook::Instance().Locked([&] { workers = RunState::Instance().WorkersSnapshot(); });
    for (const WorkerHandle& worker : workers)
        action(worker->Control());
    return !workers.empty();
}

// Stops the search thread and the workers that were listed; the lists are empty afterwards.
void EndRun() {
    // The search thread is read in the same step that ends the run, so a Start that follows at
    // once can never have its own search thread stopped here.
    const RunBook::Cancelled run = RunBook::Instance().Cancel();
    if (run.search) run.search->Control().RequestStop();
    for (const WorkerHandle& worker : run.workers)
        worker->Control().RequestStop();
}

}  // namespace

void PauseWorkers(Controls& controls) {
    if (!ForEachListedWorker([](platform::ThreadControl& worker) { worker.Suspend(); })) return;
    controls.SetPanelText(0, "状态：暂停中"_t);
}

void ResumeWorkers(Controls& controls) {
    if (!ForEachListedWorker([](platform::ThreadControl& worker) { worker.Resume(); })) return;
    controls.SetPanelText(0, "状态：恢复中"_t);
}

void StopSearch(Controls& controls) {
    EndRun();
    controls.SetPanelText(0, "状态：结束中"_t);
}

void EndRunForExit() {
    EndRun();
}

}  // namespace tarvolin
