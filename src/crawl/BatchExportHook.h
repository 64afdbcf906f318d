#pragma once

#include <functional>

#include "shell/Controls.h"

namespace tarvolin {

// The batch export the search run calls between result pages (BatchExport of the export folder,
// connected at start-up). It runs on the search thread and leaves its outcome in
// RunState::exportOutcome. Without a hook no batch export happens.
using BatchExportFunction = std::function<void(Controls& controls, int pages)>;
void SetBatchExportHook(BatchExportFunction hook);
BatchExportFunction BatchExportHook();

}  // namespace tarvolin
