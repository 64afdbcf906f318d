// FetchPage of a 40 KB UTF-8 page from a loopback server, 2,000 times in a row, beside a bare
// libcurl loop on one reused easy handle that fetches the same page and converts each body once
// with ICU. Prints the time per request of each and the ratio ours/bare, and the same for the two
// halves of the work: the exchange without decoding, and the decoding alone.
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <httplib.h>
#include <unicode/ucnv.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "text/Encodings.h"
#include "web/FetchPage.h"

namespace tarvolin::bench {
namespace {

constexpr int kRequests = 2000;
// The fastest of these counts: other load on the machine only ever slows a run down.
constexpr int kRepetitions = 3;
constexpr std::size_t kPageBytes = 40 * 1024;
constexpr double kTargetRatio = 1.3;

// A result page of the directory site's kind: Chinese company entries in HTML.
std::string SamplePage() {
    const std::string entry =
        "<li class=\"company\"><a href=\"/company/1234.html\">深圳市示例电子科技有限公司</a>"
        "<span>联系人：张先生 电话：0755-12345678 地址：广东省深圳市南山区科技园</span></li>\n";
    std::string page = "<html><head><meta charset=\"utf-8\"><title>搜索结果</title></head><body><ul>\n";
    while (page.size() + entry.size() < kPageBytes - 32)
        page += entry;
    page += "</ul></body></html>";
    page.resize(kPageBytes, ' ');
    return page;
}

class PageServer {
public:
    PageServer() : page_(SamplePage()) {
        server_.Get("/page", [this](const httplib::Request&, httplib::Response& r) {
            r.set_content(page_, "text/html; charset=utf-8");
        });
        server_.set_keep_alive_max_count(100000);
        server_.set_tcp_nodelay(true);
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    ~PageServer() {
        server_.stop();
        thread_.join();
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/page"; }

private:
    std::string page_;
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
};

PageServer& Server() {
    static PageServer server;
    return server;
}

void FetchPageOurs(benchmark::State& state) {
    CreateSharedSession();
    const Text url = Text::FromBytes(Server().Url());
    for (auto _ : state) {
        const Text page = FetchPage(url);
        if (page.empty()) state.SkipWithError("empty page");
        benchmark::DoNotOptimize(page);
    }
    DestroySharedSession();
}

struct EasyCleanup {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ConverterClose {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};

// One reused easy handle fetching the page into one reused string.
class BareFetcher {
public:
    BareFetcher() : easy_(curl_easy_init()), url_(Server().Url()) {
        curl_easy_setopt(easy_.get(), CURLOPT_URL, url_.c_str());
        curl_easy_setopt(easy_.get(), CURLOPT_WRITEFUNCTION, &Collect);
        curl_easy_setopt(easy_.get(), CURLOPT_WRITEDATA, &body_);
    }
    // Empty when the fetch failed.
    const std::string& Fetch() {
        body_.clear();
        if (curl_easy_perform(easy_.get()) != CURLE_OK) body_.clear();
        return body_;
    }

private:
    static std::size_t Collect(char* data, std::size_t size, std::size_t count, void* user) {
        static_cast<std::string*>(user)->append(data, size * count);
        return size * count;
    }
    std::unique_ptr<CURL, EasyCleanup> easy_;
    std::string url_;
    std::string body_;
};

// One pass of ICU from UTF-8 to code page 936 through its pivot buffer.
class BareConverter {
public:
    BareConverter() {
        UErrorCode status = U_ZERO_ERROR;
        utf8_.reset(ucnv_open("UTF-8", &status));
        gbk_.reset(ucnv_open("windows-936", &status));
    }
    std::string Convert(const std::string& body) {
        std::string text(body.size() * 2, '\0');
        char* target = text.data();
        const char* source = body.data();
        UChar pivot[1024];
        UChar* pivotSource = pivot;
        UChar* pivotTarget = pivot;
        UErrorCode status = U_ZERO_ERROR;
        ucnv_convertEx(gbk_.get(), utf8_.get(), &target, text.data() + text.size(), &source,
                       body.data() + body.size(), pivot, &pivotSource, &pivotTarget, pivot + 1024, true, true,
                       &status);
        text.resize(static_cast<std::size_t>(target - text.data()));
        return text;
    }

private:
    std::unique_ptr<UConverter, ConverterClose> utf8_;
    std::unique_ptr<UConverter, ConverterClose> gbk_;
};

void FetchPageBare(benchmark::State& state) {
    BareFetcher fetcher;
    BareConverter converter;
    for (auto _ : state) {
        const std::string& body = fetcher.Fetch();
        if (body.empty()) state.SkipWithError("fetch failed");
        benchmark::DoNotOptimize(converter.Convert(body));
    }
}

// The exchange alone, without decoding: Get and ReadBody beside a bare curl_easy_perform.
void FetchOurs(benchmark::State& state) {
    HttpSession session;
    const Text url = Text::FromBytes(Server().Url());
    for (auto _ : state) {
        if (!session.Get(url) || session.ReadBody(0).empty()) state.SkipWithError("empty page");
    }
}

void FetchBare(benchmark::State& state) {
    BareFetcher fetcher;
    for (auto _ : state) {
        if (fetcher.Fetch().empty()) state.SkipWithError("fetch failed");
    }
}

// The conversion alone, to show which share of a fetch is decoding the page.
void ConvertOurs(benchmark::State& state) {
    const Bytes page(SamplePage());
    for (auto _ : state)
        benchmark::DoNotOptimize(Utf8ToGbk(page));
}

void ConvertBare(benchmark::State& state) {
    const std::string page = SamplePage();
    BareConverter converter;
    for (auto _ : state)
        benchmark::DoNotOptimize(converter.Convert(page));
}

BENCHMARK(FetchPageOurs)
    ->Name("FetchPage/ours")
    ->Iterations(kRequests)
    ->Repetitions(kRepetitions)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(FetchPageBare)
    ->Name("FetchPage/bare")
    ->Iterations(kRequests)
    ->Repetitions(kRepetitions)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(FetchOurs)
    ->Name("Exchange/ours")
    ->Iterations(kRequests)
    ->Repetitions(kRepetitions)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(FetchBare)
    ->Name("Exchange/bare")
    ->Iterations(kRequests)
    ->Repetitions(kRepetitions)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(ConvertOurs)
    ->Name("Utf8ToGbk/ours")
    ->Iterations(kRequests)
    ->Repetitions(kRepetitions)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(ConvertBare)
    ->Name("Utf8ToGbk/bare")
    ->Iterations(kRequests)
    ->Repetitions(kRepetitions)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0 || run.run_type != Run::RT_Iteration) continue;
            const double us =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e6;
            auto [it, added] = microseconds_.emplace(run.benchmark_name(), us);
            if (!added) it->second = std::min(it->second, us);
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%d requests of a %zu-byte page, fastest repetition:\n", kRequests, kPageBytes);
        Line("FetchPage", kTargetRatio);
        Line("Exchange", 0);
        Line("Utf8ToGbk", 0);
    }

private:
    void Line(const std::string& work, double target) const {
        const std::string suffix = "/iterations:" + std::to_string(kRequests) +
                                   "/repeats:" + std::to_string(kRepetitions) + "/real_time";
        const auto ours = microseconds_.find(work + "/ours" + suffix);
        const auto bare = microseconds_.find(work + "/bare" + suffix);
        if (ours == microseconds_.end() || bare == microseconds_.end()) return;
        const double ratio = ours->second / bare->second;
        std::printf("  %-10s ours %8.1f us  bare %8.1f us  ratio %.2f", work.c_str(), ours->second,
                    bare->second, ratio);
        if (target > 0) std::printf("  (target %.1f) %s", target, ratio <= target ? "met" : "MISSED");
        std::printf("\n");
    }

    std::map<std::string, double> microseconds_;
};

}  // namespace
}  // namespace tarvolin::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    curl_global_init(CURL_GLOBAL_DEFAULT);
    tarvolin::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
