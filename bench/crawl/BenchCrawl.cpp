// A whole search run of 20 result pages of 25 companies against the bundled site on loopback,
// against the floor a bare libcurl loop sets: the same pages fetched serially on one connection,
// plus the 200 ms every result page waits for its workers.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "SiteServer.h"
#include "crawl/StartSearch.h"
#include "platform/ProcessAffinity.h"
#include "shell/MemoryControls.h"
#include "shell/RunState.h"
#include "web/FetchPage.h"

namespace {

constexpr int kPages = 20;
constexpr int kCompanies = kPages * demosite::kCompaniesPerPage;
const std::string kKeyword = "灯具@total=500";

demosite::SiteServer* site = nullptr;
double runSeconds = 0;
double floorSeconds = 0;

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

std::string Get(CURL* curl, const std::string& url) {
    std::string body;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    curl_easy_perform(curl);
    return body;
}

std::vector<std::string> Links(const std::string& page) {
    static const std::string marker = "sup-name\"><a href=\"";
    std::vector<std::string> links;
    for (std::size_t at = page.find(marker); at != std::string::npos; at = page.find(marker, at)) {
        at += marker.size();
        links.push_back(page.substr(at, page.find('"', at) - at));
    }
    return links;
}

void BareCurlLoop(benchmark::State& state) {
    for (auto _ : state) {
        CURL* curl = curl_easy_init();
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
        curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");
        const std::string search = site->Address() + demosite::SearchTarget(kKeyword);
        const auto started = std::chrono::steady_clock::now();
        Get(curl, search);
        Get(curl, search);
        int details = 0;
        for (int page = 1; page <= kPages; ++page) {
            for (const std::string& link :
                 Links(Get(curl, site->Address() + demosite::SearchTarget(kKeyword, page)))) {
                details += Get(curl, link).empty() ? 0 : 1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        floorSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        curl_easy_cleanup(curl);
        if (details != kCompanies) state.SkipWithError("the loop did not fetch every company");
    }
}

void SearchRun(benchmark::State& state) {
    for (auto _ : state) {
        tarvolin::MemoryControls controls;
        controls.SetKeyword(tarvolin::Utf8Text(kKeyword));
        controls.SetAutoExportItem(tarvolin::Utf8Text("默认不自动导出"));
        const auto started = std::chrono::steady_clock::now();
        tarvolin::StartSearch(controls);
        for (;;) {
            const tarvolin::WorkerHandle search = tarvolin::RunState::Instance().searchThread;
            if (!tarvolin::SearchUnderWay() && search && search->Finished()) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        runSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        state.counters["rows"] = controls.RowCount();
        if (controls.RowCount() < kCompanies * 9 / 10) state.SkipWithError("the run missed companies");
    }
}

BENCHMARK(BareCurlLoop)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SearchRun)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    // The run pins the process to one processor at its start; the baseline runs under the same.
    tarvolin::platform::RestrictProcessToFirstProcessor();
    curl_global_init(CURL_GLOBAL_DEFAULT);
    demosite::SiteServer server;
    if (!server.Start(0)) return 1;
    site = &server;
    ::setenv("TARVOLIN_SITE", server.Address().c_str(), 1);
    tarvolin::CreateSharedSession();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const double waits = kPages * 0.2;
    if (runSeconds > 0 && floorSeconds > 0) {
        std::printf("search run %.3f s, bare libcurl floor %.3f s: ratio %.3f (target at most 1.2)\n",
                    runSeconds, floorSeconds, runSeconds / floorSeconds);
        std::printf("time per detail page beyond the 200 ms page waits: run %.2f ms, floor %.2f ms\n",
                    (runSeconds - waits) * 1000 / kCompanies, (floorSeconds - waits) * 1000 / kCompanies);
    }
    tarvolin::DestroySharedSession();
    server.Stop();
    curl_global_cleanup();
    return 0;
}
