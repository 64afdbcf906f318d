// Tarvolin: start-up, the window's message loop, and the end of the program.
#include <QApplication>

#include "app/ExitCleanup.h"
#include "app/InterfaceFont.h"
#include "app/MainWindow.h"
#include "auxiliary/SkinEngine.h"
#include "auxiliary/VersionCheck.h"
#include "crawl/BatchExportHook.h"
#include "crawl/RunControl.h"
#include "crawl/StartSearch.h"
#include "export/BatchExport.h"
#include "export/ManualExports.h"
#include "shell/RunState.h"
#include "web/FetchPage.h"

namespace {

// What the window's handlers call in the rest of the program.
tarvolin::WindowActions ProgramActions() {
    tarvolin::WindowActions actions;
    actions.start = &tarvolin::StartSearch;
    actions.pause = &tarvolin::PauseWorkers;
    actions.resume = &tarvolin::ResumeWorkers;
    actions.stop = &tarvolin::StopSearch;
    actions.exportAll = &tarvolin::ExportAllColumns;
    actions.exportColumn = &tarvolin::ExportOneColumn;
    actions.applySkin = [](int skin) { tarvolin::ApplySkin(skin); };
    actions.detachSkin = &tarvolin::DetachSkin;
    actions.versionCheck = &tarvolin::RunVersionCheck;
    return actions;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    tarvolin::UseInterfaceFont(application);

    // 1. The one run state of the process.
    tarvolin::RunState::Instance();
    // 2. The shared HTTP session.
    tarvolin::CreateSharedSession();
    // 3. The exit clean-up, which also destroys the session.
    tarvolin::RegisterExitCleanup(&tarvolin::DestroySharedSession);
    tarvolin::SetBatchExportHook(&tarvolin::BatchExport);
    // 4. The skin engine library beside the program; a failed write leaves the old file in use.
    tarvolin::DeploySkinEngine();
    // 5. The session's receive buffers come from the ordinary heap: nothing to take here.

    // 6. The window. It is kept to the end of the process: threads still running after it has
    // closed may call it, and then get empty values.
    auto* window = new tarvolin::MainWindow(ProgramActions());
    window->show();

    // 7. The message loop, until the window has closed.
    const int status = application.exec();
    window->CloseControls();
    tarvolin::SetExitStatus(status);
    tarvolin::ExitCleanup();
    return status;
}
