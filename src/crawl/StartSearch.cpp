#include "crawl/StartSearch.h"

#include <future>

#include "crawl/RunSearch.h"
#include "platform/ProcessAffinity.h"
#include "shell/RunState.h"

namespace tarvolin {

namespace {

constexpr const char* kWorkerMutexName = "限制线程访问";

// A fresh pendingGuard, with the count back at 0: workers of a stopped run never counted
// themselves done, and none of them can change the count any more (the book says their run is
// over).
std::shared_ptr<std::mutex> FreshPendingGuard() {
    RunState& state = RunState::Instance();
    auto guard = std::make_shared<std::mutex>();
    RunBook::Instance().Locked([&] {
        if (state.pendingGuard) {
            std::lock_guard old(*state.pendingGuard);
            state.pendingWorkers = 0;
        } else {
            state.pendingWorkers = 0;
        }
        state.pendingGuard = guard;
    });
    return guard;
}

}  // namespace

bool SearchUnderWay() {
    return RunBook::Instance().UnderWay();
}

void StartSearch(Controls& controls) {
    if (SearchUnderWay()) return;
    if (controls.KeywordText().empty()) {
        MessageBoxSpec box;
        box.text = "请先输入搜索关键字！！"_t;
        box.icon = BoxIcon::Exclamation;
        controls.ShowMessage(box);
        return;
    }
    const RunId id = RunBook::Instance().Begin();
    if (id == 0) return;
    controls.SetClockPeriod(1000);

    RunState& state = RunState::Instance();
    RunContext run;
    run.controls = &controls;
    run.id = id;
    run.pendingGuard = FreshPendingGuard();
    run.workerMutex = platform::NamedMutex::Open(kWorkerMutexName);
    state.workerMutex = run.workerMutex;

    // The thread waits until the state text below is shown, so its own texts come after it.
    auto ready = std::make_shared<std::promise<void>>();
    std::shared_future<void> go = ready->get_future().share();
    WorkerHandle search = platform::ControlledThread::Start([run, go] {
        go.wait();
        RunSearch(run);
    });
    RunBook::Instance().Locked([&] { state.searchThread = std::move(search); });
    platform::RestrictProcessToFirstProcessor();
    controls.SetPanelText(0, "状态：运行中"_t);
    ready->set_value();
}

}  // namespace tarvolin
