#pragma once

#include "crawl/RunContext.h"

namespace tarvolin {

// The body of one detail worker: waits its turn on the run's workerMutex, fetches the company
// page at position k (from 1) of RunState::detailUrls, appends the company's row to the list and
// counts itself done. A worker of a run that was stopped ends without fetching or counting.
void DetailWorker(const RunContext& run, int k);

}  // namespace tarvolin
