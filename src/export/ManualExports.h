#pragma once

#include "shell/Controls.h"
#include "text/Text.h"

namespace tarvolin {

// The exports of the list's popup menu. They run on the window thread, ask for a path in the save
// dialog and pump window messages at fixed points while they write. While another export runs or
// waits they are refused and do nothing.

// "全部导出": the seven columns under their headers; sets exportOutcome to 0 and then 3 or 2.
void ExportAllColumns(Controls& controls);

// "公司名" (0, "公司名", "公司名  "), "手机号" (3, …) and "邮箱" (5, …): one list column into column A
// under header; the default file name starts with namePrefix.
void ExportOneColumn(Controls& controls, int listColumn, const Text& header, const Text& namePrefix);

}  // namespace tarvolin
