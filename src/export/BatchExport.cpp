#include "export/BatchExport.h"

#include <cstdio>
#include <limits>
#include <optional>

#include "export/ExportTexts.h"
#include "export/ExportTime.h"
#include "export/ExportTurn.h"
#include "export/ExportWriter.h"
#include "platform/Folders.h"
#include "shell/RunState.h"

namespace tarvolin {
namespace {

constexpr int kRowsPerUnit = 25;

void WriteHeaders() {
    const auto& headers = export_texts::AllColumnHeaders();
    for (int column = 1; column <= export_texts::kColumns; ++column)
        WriteCell(1, column, headers[column - 1]);
}

void WriteWindow(Controls& controls, int offset, int size) {
    for (int sheetRow = 2; sheetRow <= size + 1; ++sheetRow) {
        for (int column = 1; column <= export_texts::kColumns; ++column)
            WriteCell(sheetRow, column, controls.CellText(offset + sheetRow - 2, column - 1));
        controls.PumpMessages();
    }
}

bool SaveBatchFile(const std::string& path) {
    // The window makes the folder at start; it may have been removed since.
    return !path.empty() && platform::MakeSureDirectoryPathExists(path) && SaveExportWorkbookUtf8(path);
}

}  // namespace

std::string BatchFilePath(int advancedOffset, int size) {
    const std::string runDirectory = platform::RunDirectory();
    if (runDirectory.empty() || size == 0) return {};
    char number[32];
    std::snprintf(number, sizeof number, "%.13g", static_cast<double>(advancedOffset) / size);
    const std::string folder = runDirectory.back() == '/' ? runDirectory : runDirectory + '/';
    return folder + "导出表格/第" + number + "次数据导出  " + TextToUtf8(TimeStamp()) + "秒.xlsx";
}

void BatchExport(Controls& controls, int n) {
    RunState& state = RunState::Instance();
    const std::optional<ExportTurn> turn = ExportTurn::ForBatchExport();
    // n × 25 rows past the offset must still have row numbers.
    const bool fits =
        n >= 1 && n <= (std::numeric_limits<int>::max() - state.batchExportOffset) / kRowsPerUnit;
    if (!turn || !fits) {
        state.exportOutcome = 2;
        return;
    }
    state.exportOutcome = 0;
    if (controls.RowCount() == 0) {
        controls.ShowMessage(export_texts::NothingToExportBox());
        state.exportOutcome = 2;
        return;
    }
    OpenExportWorkbook();
    controls.PumpMessages();
    WriteHeaders();
    controls.PumpMessages();
    const int size = n * kRowsPerUnit;
    const int offset = state.batchExportOffset;
    WriteWindow(controls, offset, size);
    state.batchExportOffset = offset + size;
    const int filled = WriteCheck();
    controls.PumpMessages();
    const bool saved = SaveBatchFile(BatchFilePath(offset + size, size));
    controls.PumpMessages();
    CloseExportWorkbook();

    const bool succeeded = filled > 0 && saved;
    controls.SetPanelText(0, succeeded ? export_texts::SuccessState() : export_texts::FailureState());
    controls.SetPanelText(3, succeeded ? export_texts::SuccessMessage() : export_texts::FailureMessage());
    state.exportOutcome = succeeded ? 3 : 2;
}

}  // namespace tarvolin
