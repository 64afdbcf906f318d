#include "RatioReporter.h"

#include <cstdio>

namespace tarvolin::bench {

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred || run.iterations == 0 || run.run_type != Run::RT_Iteration) continue;
        Figures figures;
        figures.seconds = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        const auto bytes = run.counters.find("bytes_per_second");
        if (bytes != run.counters.end()) figures.bytesPerSecond = bytes->second.value;
        // The fastest repetition: other load on the machine only ever slows a run down.
        const auto [it, added] = figures_.emplace(run.run_name.function_name, figures);
        if (!added && figures.seconds < it->second.seconds) it->second = figures;
    }
}

void RatioReporter::Finalize() {
    ConsoleReporter::Finalize();
    std::printf("\n%-22s %12s %12s %12s %8s %8s\n", "work", "ours MB/s", "bare MB/s", "ours CPU us", "ratio",
                "target");
    for (const Target& target : targets_) {
        const auto ours = figures_.find(target.work + "/ours");
        const auto bare = figures_.find(target.work + "/bare");
        if (ours == figures_.end() || bare == figures_.end()) continue;
        const double ratio = ours->second.seconds / bare->second.seconds;
        const bool met = ratio <= target.maxRatio;
        allMet_ = allMet_ && met;
        std::printf("%-22s %12.1f %12.1f %12.1f %8.2f %7.1fx %s\n", target.work.c_str(),
                    ours->second.bytesPerSecond / 1e6, bare->second.bytesPerSecond / 1e6,
                    ours->second.seconds * 1e6, ratio, target.maxRatio, met ? "met" : "MISSED");
    }
    std::fflush(stdout);
}

}  // namespace tarvolin::bench
