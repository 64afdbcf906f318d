#pragma once

#include <string>

#include "shell/Controls.h"

namespace tarvolin {

// Writes the next n × 25 list rows (from batchExportOffset on), all seven columns, into a new
// file in the export folder beside the program, and advances batchExportOffset by n × 25. Runs on
// the search thread; waits while a menu export runs. Leaves the outcome in exportOutcome: 3 when
// the file was written, 2 otherwise — including when the list is empty, n is out of range or the
// thread is stopped while it waits — so a caller waiting for a non-zero outcome always goes on.
void BatchExport(Controls& controls, int n);

// The file of a batch: <run directory>/导出表格/第<number>次数据导出  <time stamp>秒.xlsx, the
// number being advancedOffset ÷ size printed with up to 13 significant digits. UTF-8; empty when
// the run directory is unknown.
std::string BatchFilePath(int advancedOffset, int size);

}  // namespace tarvolin
