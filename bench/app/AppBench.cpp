// The window under load: rows appended from a background thread, a long list's memory, and the
// time from start to the window shown against a bare Qt window of the same size.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QStandardItemModel>
#include <QTimer>
#include <QTreeView>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <future>
#include <string>
#include <vector>

#include "app/InterfaceFont.h"
#include "app/MainWindow.h"
#include "app/QtText.h"
#include "app/ResultListView.h"

namespace {

using namespace tarvolin;

constexpr int kAppendedRows = 10'000;
constexpr int kMemoryRows = 100'000;
constexpr double kLoopGapTargetMs = 50;
constexpr double kMemoryTargetMb = 150;
constexpr double kStartupTargetRatio = 1.5;

// A 20-character cell: Chinese text mixed with digits, as company records look.
Text Cell(int row, int column) {
    static const std::string prefix = "深圳市华强电子有限公司";  // 11 characters
    std::string digits = std::to_string(row * 7 + column);
    digits.insert(0, 9 - std::min<size_t>(9, digits.size()), '0');
    return Utf8Text(prefix + digits);
}

double ResidentMb(const char* field = "VmRSS:") {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) return std::stod(line.substr(std::string(field).size())) / 1024.0;
    }
    return 0;
}

// Shows the window and returns once the platform has exposed it (no polling).
void ShowExposed(QWidget& window) {
    struct ExposeWatch : QObject {
        QEventLoop loop;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Expose) loop.quit();
            return false;
        }
    } watch;
    window.winId();  // creates the native window, so its events can be watched
    window.windowHandle()->installEventFilter(&watch);
    window.show();
    if (!window.windowHandle()->isExposed()) watch.loop.exec();
    window.windowHandle()->removeEventFilter(&watch);
}

// Longest time the window thread's event loop went without serving a 1 ms timer.
class LoopWatch {
public:
    LoopWatch() {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            maxGapMs_ = std::max(maxGapMs_, since_.nsecsElapsed() / 1e6);
            since_.restart();
        });
        since_.start();
        timer_.start(1);
    }
    double MaxGapMs() const { return maxGapMs_; }

private:
    QTimer timer_;
    QElapsedTimer since_;
    double maxGapMs_ = 0;
};

// Runs the body on its own thread while the window thread serves its loop.
template <class F>
void ServeWhile(F body) {
    QEventLoop loop;
    auto task = std::async(std::launch::async, [&] {
        body();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    task.get();
}

void AppendRows(Controls& controls, int rows) {
    for (int i = 0; i < rows; ++i) {
        const int row = controls.AppendRow();
        for (int column = 0; column < 7; ++column)
            controls.SetCell(row, column, Cell(i, column));
        controls.ScrollRowIntoView(row);
    }
}

// Baseline: the same rows appended by the window thread itself, without crossing threads.
void BM_AppendRowsOnWindowThread(benchmark::State& state) {
    for (auto _ : state) {
        MainWindow window;
        ShowExposed(window);
        QElapsedTimer clock;
        clock.start();
        AppendRows(window, kAppendedRows);
        QCoreApplication::processEvents();
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        state.counters["rows_per_s"] = kAppendedRows / (clock.nsecsElapsed() / 1e9);
        window.CloseControls();
    }
}

void BM_AppendRowsFromBackgroundThread(benchmark::State& state) {
    for (auto _ : state) {
        MainWindow window;
        ShowExposed(window);
        LoopWatch watch;
        QElapsedTimer clock;
        clock.start();
        ServeWhile([&] { AppendRows(window, kAppendedRows); });
        const double seconds = clock.nsecsElapsed() / 1e9;
        state.SetIterationTime(seconds);
        state.counters["rows_per_s"] = kAppendedRows / seconds;
        state.counters["max_loop_gap_ms"] = watch.MaxGapMs();
        state.counters["loop_gap_vs_50ms_target"] = watch.MaxGapMs() / kLoopGapTargetMs;
        window.CloseControls();
    }
}

// Child process: whole-process memory with the long list; prints "<before MB> <after MB> <peak MB>".
int MemoryChild() {
    MainWindow window;
    ShowExposed(window);
    QCoreApplication::processEvents();
    const double before = ResidentMb();
    AppendRows(window, kMemoryRows);
    QCoreApplication::processEvents();
    window.List()->viewport()->repaint();
    std::printf("%f %f %f\n", before, ResidentMb(), ResidentMb("VmHWM:"));
    return 0;
}

void BM_MemoryWithLongList(benchmark::State& state) {
    for (auto _ : state) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child=memory")});
        child.waitForFinished(120000);
        const QStringList figures = QString::fromUtf8(child.readAllStandardOutput()).split(' ');
        if (figures.size() < 3) {
            state.SkipWithError("memory child failed");
            return;
        }
        const double before = figures[0].toDouble(), after = figures[1].toDouble(),
                     peak = figures[2].toDouble();
        state.counters["rss_window_mb"] = before;
        state.counters["rss_100k_rows_mb"] = after;
        state.counters["peak_mb"] = peak;
        state.counters["rows_mb"] = after - before;
        state.counters["rss_vs_150mb_target"] = after / kMemoryTargetMb;
    }
}

// Child process: shows a window and prints when it is on the screen. The bare windows hold one
// list view of the same size, empty or with the seven column titles (which, like the program,
// has to load a font that can draw them).
int StartupChild(const std::string& mode) {
    std::unique_ptr<QWidget> window;
    if (mode != "window") {
        window = std::make_unique<QWidget>();
        window->resize(718, 513);
        auto* list = new QTreeView(window.get());
        list->setGeometry(0, 45, 712, 419);
        if (mode == "bare-titled") {
            auto* model = new QStandardItemModel(0, 7, list);
            model->setHorizontalHeaderLabels({"公司名", "联系人", "电话", "手机", "传真", "邮箱", "地址"});
            list->setModel(model);
        }
    } else {
        window = std::make_unique<MainWindow>();
    }
    ShowExposed(*window);
    std::printf("shown\n");
    std::fflush(stdout);
    return 0;
}

// Milliseconds from launching the child to its "shown".
double TimeToShown(const QString& mode) {
    QElapsedTimer clock;
    clock.start();
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child=") + mode});
    while (child.state() != QProcess::NotRunning || child.bytesAvailable() > 0) {
        if (child.canReadLine() && child.readLine().startsWith("shown")) {
            const double ms = clock.nsecsElapsed() / 1e6;
            child.waitForFinished(10000);
            return ms;
        }
        child.waitForReadyRead(10);
    }
    return -1;
}

void BM_StartupAgainstBareWindow(benchmark::State& state) {
    for (auto _ : state) {
        const QString modes[] = {QStringLiteral("bare"), QStringLiteral("bare-titled"),
                                 QStringLiteral("window")};
        std::vector<double> times[3];
        for (int i = 0; i < 9; ++i) {  // interleaved, so all see the same machine load
            for (int m = 0; m < 3; ++m)
                times[m].push_back(TimeToShown(modes[m]));
        }
        double median[3];
        for (int m = 0; m < 3; ++m) {
            std::sort(times[m].begin(), times[m].end());
            median[m] = times[m][times[m].size() / 2];
        }
        state.counters["bare_ms"] = median[0];
        state.counters["bare_titled_ms"] = median[1];
        state.counters["window_ms"] = median[2];
        state.counters["ratio_vs_bare"] = median[2] / median[0];
        state.counters["ratio_vs_bare_titled"] = median[2] / median[1];
        state.counters["titled_ratio_vs_1.5_target"] = median[2] / median[1] / kStartupTargetRatio;
    }
}

BENCHMARK(BM_AppendRowsOnWindowThread)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendRowsFromBackgroundThread)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoryWithLongList)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupAgainstBareWindow)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    std::string child;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]).rfind("--child=", 0) == 0) child = std::string(argv[i]).substr(8);
    }
    QApplication application(argc, argv);
    if (child == "bare" || child == "bare-titled") return StartupChild(child);
    UseInterfaceFont(application);
    if (child == "window") return StartupChild(child);
    if (child == "memory") return MemoryChild();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
