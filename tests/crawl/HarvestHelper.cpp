// A second copy of the program for the tests, without a window:
//   crawl_harvest_helper harvest SITE KEYWORD   runs one search and prints the number of rows
//   crawl_harvest_helper hold NAME              takes the named mutex, prints "held", then waits
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "crawl/StartSearch.h"
#include "platform/NamedMutex.h"
#include "shell/MemoryControls.h"
#include "shell/RunState.h"
#include "web/FetchPage.h"

namespace {

int Harvest(const char* site, const char* keyword) {
    ::setenv("TARVOLIN_SITE", site, 1);
    tarvolin::CreateSharedSession();
    tarvolin::MemoryControls controls;
    controls.SetKeyword(tarvolin::Utf8Text(keyword));
    controls.SetAutoExportItem(tarvolin::Utf8Text("默认不自动导出"));
    tarvolin::StartSearch(controls);
    for (;;) {
        const tarvolin::WorkerHandle search = tarvolin::RunState::Instance().searchThread;
        if (!tarvolin::SearchUnderWay() && search && search->Finished()) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::printf("%d\n", controls.RowCount());
    std::fflush(stdout);
    return 0;
}

int Hold(const char* name) {
    auto mutex = tarvolin::platform::NamedMutex::Open(name);
    tarvolin::platform::NamedMutex::Holding holding = mutex->Acquire();
    std::printf("%s\n", holding ? "held" : "failed");
    std::fflush(stdout);
    ::pause();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "harvest") == 0) return Harvest(argv[2], argv[3]);
    if (argc == 3 && std::strcmp(argv[1], "hold") == 0) return Hold(argv[2]);
    std::fprintf(stderr, "usage: crawl_harvest_helper harvest SITE KEYWORD | hold NAME\n");
    return 2;
}
