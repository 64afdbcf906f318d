// The all-columns export against a bare libxlsxwriter program writing the same strings, in time
// (Google Benchmark, same run) and in peak memory (each job in a fresh child process).
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "export/ManualExports.h"
#include "platform/Folders.h"
#include "shell/MemoryControls.h"

namespace {

using tarvolin::MemoryControls;
using tarvolin::Text;
using Row = std::array<std::string, 7>;

constexpr const char* kHeaders[] = {"公司名", "联系人", "电话", "手机", "传真", "邮件", "地址"};
constexpr int kSizes[] = {10000, 100000};

// Rows that look like a harvest: Chinese names and addresses, numbers, mail addresses.
std::vector<Row> MakeRows(int count) {
    std::vector<Row> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        rows.push_back({"广州市天河区第" + n + "科技有限公司", "张经理" + n,
                        "020-" + std::to_string(80000000 + i), std::to_string(13800000000LL + i),
                        "020-" + std::to_string(60000000 + i), "sales" + n + "@example.com",
                        "广东省广州市天河区中山大道西" + n + "号"});
    }
    return rows;
}

void FillList(MemoryControls& controls, const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        std::vector<Text> cells;
        for (const std::string& cell : row)
            cells.push_back(tarvolin::Utf8Text(cell));
        controls.AddRow(cells);
    }
}

std::string OutputPath(const char* who) {
    return tarvolin::platform::TempFolder() + "bench-export-" + who + "-" + std::to_string(getpid()) +
           ".xlsx";
}

void OurExport(MemoryControls& controls, const std::string& path) {
    controls.QueueDialogResult(tarvolin::Utf8Text(path));
    tarvolin::ExportAllColumns(controls);
}

bool BareExport(const std::vector<Row>& rows, const std::string& path) {
    lxw_workbook* workbook = workbook_new(path.c_str());
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    for (lxw_col_t c = 0; c < 7; ++c)
        worksheet_write_string(sheet, 0, c, kHeaders[c], nullptr);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (lxw_col_t c = 0; c < 7; ++c)
            worksheet_write_string(sheet, static_cast<lxw_row_t>(r + 1), c, rows[r][c].c_str(), nullptr);
    return workbook_close(workbook) == LXW_NO_ERROR;
}

void BM_OurExport(benchmark::State& state) {
    const std::vector<Row> rows = MakeRows(static_cast<int>(state.range(0)));
    MemoryControls controls;
    FillList(controls, rows);
    const std::string path = OutputPath("ours");
    for (auto _ : state)
        OurExport(controls, path);
    if (controls.PanelText(0) != tarvolin::Utf8Text("状态：成功！！"))
        state.SkipWithError("the export failed");
    std::remove(path.c_str());
}

void BM_BareWriter(benchmark::State& state) {
    const std::vector<Row> rows = MakeRows(static_cast<int>(state.range(0)));
    const std::string path = OutputPath("bare");
    for (auto _ : state)
        if (!BareExport(rows, path)) state.SkipWithError("libxlsxwriter failed");
    std::remove(path.c_str());
}

BENCHMARK(BM_OurExport)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BareWriter)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OurExport)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BareWriter)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps each run's time per iteration, by benchmark name, for the ratios.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    RecordingReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}
    struct Seconds {
        double real = 0, cpu = 0;
    };
    std::map<std::string, Seconds> seconds;  // per iteration
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.iterations > 0)
                seconds[run.benchmark_name()] = {run.real_accumulated_time / run.iterations,
                                                 run.cpu_accumulated_time / run.iterations};
        ConsoleReporter::ReportRuns(runs);
    }
};

// Peak resident memory of this process so far, in KiB (VmHWM, which starts afresh at exec).
long OwnPeakKilobytes() {
    FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return -1;
    long peak = -1;
    char line[256];
    while (std::fgets(line, sizeof line, status))
        if (std::sscanf(line, "VmHWM: %ld kB", &peak) == 1) break;
    std::fclose(status);
    return peak;
}

// The memory job of one child: make the data, export it once, print the peak.
int MemoryChild(const std::string& who, int rows) {
    const std::vector<Row> data = MakeRows(rows);
    const std::string path = OutputPath(who.c_str());
    bool done = false;
    if (who == "ours") {
        MemoryControls controls;
        FillList(controls, data);
        OurExport(controls, path);
        done = controls.PanelText(0) == tarvolin::Utf8Text("状态：成功！！");
    } else {
        done = BareExport(data, path);
    }
    std::remove(path.c_str());
    if (!done) return 1;
    std::printf("%ld\n", OwnPeakKilobytes());
    return 0;
}

// Peak resident memory of a fresh process running one job, in KiB; -1 on failure. The child
// reports its own peak: the rusage of a child started from this process would count the
// parent's memory too, as Linux carries the peak over fork and exec.
long PeakKilobytes(const char* who, int rows) {
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return -1;
    self[length] = '\0';
    const std::string command =
        std::string("'") + self + "' --memory-child " + who + " " + std::to_string(rows);
    FILE* child = popen(command.c_str(), "r");
    if (!child) return -1;
    long peak = -1;
    if (std::fscanf(child, "%ld", &peak) != 1) peak = -1;
    return pclose(child) == 0 ? peak : -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--memory-child") == 0)
        return MemoryChild(argv[2], std::atoi(argv[3]));

    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n");
    for (const int rows : kSizes) {
        const std::string arg = "/" + std::to_string(rows) + "/iterations:3";
        auto timeOf = [&](const std::string& name) {
            for (const auto& key :
                 {name + "/" + std::to_string(rows) + "/real_time", name + arg + "/real_time"})
                if (reporter.seconds.count(key)) return reporter.seconds[key];
            return RecordingReporter::Seconds{};
        };
        const auto ours = timeOf("BM_OurExport"), bare = timeOf("BM_BareWriter");
        if (ours.real > 0 && bare.real > 0 && bare.cpu > 0)
            std::printf(
                "time   %6d rows: ours %8.1f ms, bare libxlsxwriter %8.1f ms, ratio %.2f (CPU time %.2f) "
                "(target <= 2)\n",
                rows, ours.real * 1e3, bare.real * 1e3, ours.real / bare.real, ours.cpu / bare.cpu);
        const long oursPeak = PeakKilobytes("ours", rows), barePeak = PeakKilobytes("bare", rows);
        if (oursPeak > 0 && barePeak > 0)
            std::printf(
                "memory %6d rows: ours %8.1f MiB, bare libxlsxwriter %8.1f MiB, ratio %.2f (target < 4)\n",
                rows, oursPeak / 1024.0, barePeak / 1024.0, static_cast<double>(oursPeak) / barePeak);
        else
            std::printf("memory %6d rows: a child failed\n", rows);
    }
    return 0;
}
