#include "crawl/RunControl.h"

#include "crawl/RunBook.h"
#include "shell/RunState.h"

namespace tarvolin {

namespace {

template <class Action>
bool ForEachListedWorker(Action action) {
    const std::vector<WorkerHandle> workers = RunState::Instance().WorkersSnapshot();
    for (const WorkerHandle& worker : workers)
        action(worker->Control());
    return !workers.empty();
}

// Stops the search thread and the workers that were listed; the lists are empty afterwards.
void EndRun() {
    std::vector<WorkerHandle> workers = RunBook::Instance().Cancel();
    WorkerHandle search;
    RunBook::Instance().Locked([&] { search = RunState::Instance().searchThread; });
    if (search) search->Control().RequestStop();
    for (const WorkerHandle& worker : workers)
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
