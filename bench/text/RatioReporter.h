#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace tarvolin::bench {

// The console report, followed by a table that sets each of our operations beside the bare
// library calls doing the same work in the same run. Benchmarks are named "<work>/ours" and
// "<work>/bare"; each sets its bytes processed. Of repeated runs the fastest counts.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Target {
        std::string work;
        double maxRatio;
    };
    explicit RatioReporter(std::vector<Target> targets) : targets_(std::move(targets)) {}

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

    // Whether every ratio met its target (valid after Finalize).
    bool AllMet() const { return allMet_; }

private:
    struct Figures {
        double seconds = 0;  // CPU time per iteration: steadier than wall time on a shared machine
        double bytesPerSecond = 0;
    };
    std::vector<Target> targets_;
    std::map<std::string, Figures> figures_;
    bool allMet_ = true;
};

}  // namespace tarvolin::bench
