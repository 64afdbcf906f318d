#include "RatioTable.h"

#include <cstdio>
#include <string>

namespace tarvolin::bench {

void RatioTable::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    // The median of the repetitions, or the single run when there are none.
    for (const Run& run : runs) {
        if (run.error_occurred || run.iterations == 0) continue;
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (run.run_type == Run::RT_Aggregate && !median) continue;
        const std::string& name = run.run_name.function_name;
        if (!median && seconds_.count(name)) continue;
        seconds_[name] = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
}

void RatioTable::Finalize() {
    ConsoleReporter::Finalize();
    std::printf("\n%-16s %10s %10s %8s %8s\n", "work", "ours us", "bare us", "ratio", "target");
    for (const std::string& work : works_) {
        const auto ours = seconds_.find(work + "/ours");
        const auto bare = seconds_.find(work + "/bare");
        if (ours == seconds_.end() || bare == seconds_.end()) continue;
        const double ratio = ours->second / bare->second;
        std::printf("%-16s %10.1f %10.1f %8.2f %7.1fx %s\n", work.c_str(), ours->second * 1e6,
                    bare->second * 1e6, ratio, target_, ratio <= target_ ? "met" : "MISSED");
    }
    std::fflush(stdout);
}

}  // namespace tarvolin::bench
