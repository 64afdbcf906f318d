#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace tarvolin::bench {

// The console report, then one line per work setting our CPU time beside the bare library calls
// measured in the same run (median CPU time: the machine may be shared). Benchmarks are named
// "<work>/ours" and "<work>/bare".
class RatioTable : public benchmark::ConsoleReporter {
public:
    RatioTable(std::vector<std::string> works, double target) : works_(std::move(works)), target_(target) {}

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    std::vector<std::string> works_;
    double target_;
    std::map<std::string, double> seconds_;  // per iteration
};

}  // namespace tarvolin::bench
