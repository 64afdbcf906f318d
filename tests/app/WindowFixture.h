#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <atomic>
#include <memory>

#include "app/DetachedThreads.h"
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "app/SaveDialogs.h"
#include "platform/ShellOpen.h"
#include "shell/RunState.h"

namespace tarvolin::testing {

inline void ResetRunState() {
    RunState& state = RunState::Instance();
    for (const WorkerHandle& worker : state.TakeLists())
        worker->Control().RequestStop();
    state.clockSeconds = state.clockMinutes = state.clockHours = 0;
    state.batchExportOffset = 0;
    state.exportOutcome = 0;
}

// The first visible message box that is not modal (one shown for a background thread).
inline QMessageBox* OpenBox() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) return box;
    }
    return nullptr;
}

// A window with a clean run state, message-box seam and link opener for every test.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetRunState();
        MessageBoxes::ClearNextAnswers();
        MessageBoxes::ClearLog();
        SaveDialogs::ClearNextResults();
        SaveDialogs::ClearLog();
        platform::SetShellOpener([this](const std::string& target) {
            opened.push_back(target);
            return true;
        });
    }

    void TearDown() override {
        // Threads the window started must be done before the window goes.
        EXPECT_TRUE(QTest::qWaitFor([] { return DetachedThreads::Running() == 0; }, 5000));
        window.reset();
        platform::SetShellOpener(nullptr);
        ResetRunState();
    }

    MainWindow& Open(WindowActions actions = {}) {
        window = std::make_unique<MainWindow>(std::move(actions));
        return *window;
    }

    std::unique_ptr<MainWindow> window;
    std::vector<std::string> opened;
};

// Workers that hold until they are told to stop, listed in the run state as a run lists them.
inline std::vector<WorkerHandle> ListWaitingWorkers(int count) {
    std::vector<WorkerHandle> workers;
    for (int i = 0; i < count; ++i) {
        workers.push_back(platform::ControlledThread::Start([] {
            while (platform::InterruptibleSleep(std::chrono::milliseconds(5))) {
            }
        }));
        RunState::Instance().AppendWorker(workers.back());
    }
    return workers;
}

}  // namespace tarvolin::testing
