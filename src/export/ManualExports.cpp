#include "export/ManualExports.h"

#include <optional>
#include <vector>

#include "export/ExportTexts.h"
#include "export/ExportTime.h"
#include "export/ExportTurn.h"
#include "export/ExportWriter.h"
#include "platform/Folders.h"
#include "shell/RunState.h"

namespace tarvolin {
namespace {

struct Column {
    int listColumn;
    Text header;
};

// What tells the all-columns export from the single-column ones.
struct ManualExport {
    std::vector<Column> columns;  // sheet column i + 1 takes columns[i]
    Text namePrefix;
    Text filter;
    bool allColumns;  // pumps while writing rows and saving, and sets exportOutcome
};

const Text& XlsxFilter() {
    static const Text filter = "默认保存为 office Excel文件(*.xlsx)|*.xlsx"_t;
    return filter;
}

const Text& XlsFilter() {
    static const Text filter = "默认保存为 office Excel文件(*.xls)|*.xls"_t;
    return filter;
}

SaveDialogSpec PrepareDialog(const ManualExport& kind) {
    SaveDialogSpec dialog;
    dialog.kind = DialogKind::Save;
    dialog.filter = kind.filter;
    dialog.fileName = kind.namePrefix + TimeStamp() + export_texts::Seconds();
    dialog.initialFolder = Utf8Text(platform::DesktopFolder());
    return dialog;
}

void WriteRows(Controls& controls, const ManualExport& kind) {
    const int rows = controls.RowCount();
    for (int sheetRow = 2; sheetRow <= rows + 1; ++sheetRow) {
        for (std::size_t i = 0; i < kind.columns.size(); ++i)
            WriteCell(sheetRow, static_cast<int>(i) + 1,
                      controls.CellText(sheetRow - 2, kind.columns[i].listColumn));
        if (kind.allColumns) controls.PumpMessages();
    }
}

void RunManualExport(Controls& controls, const ManualExport& kind) {
    const std::optional<ExportTurn> turn = ExportTurn::ForMenuExport();
    if (!turn) return;
    const SaveDialogSpec dialog = PrepareDialog(kind);
    if (controls.RowCount() == 0) {
        controls.ShowMessage(export_texts::NothingToExportBox());
        return;
    }
    const std::optional<Text> path = controls.ShowSaveDialog(dialog);
    if (!path) return;
    RunState& state = RunState::Instance();
    if (kind.allColumns) state.exportOutcome = 0;

    OpenExportWorkbook();
    controls.PumpMessages();
    for (std::size_t i = 0; i < kind.columns.size(); ++i)
        WriteCell(1, static_cast<int>(i) + 1, kind.columns[i].header);
    if (kind.allColumns) controls.PumpMessages();
    WriteRows(controls, kind);
    const int filled = WriteCheck([&] { controls.PumpMessages(); });
    // A file that could not be written is a failed export, whatever the cells held.
    const bool saved = SaveExportWorkbook(*path);
    if (kind.allColumns) controls.PumpMessages();
    CloseExportWorkbook();

    const bool succeeded = filled > 0 && saved;
    controls.SetPanelText(0, succeeded ? export_texts::SuccessState() : export_texts::FailureState());
    if (succeeded)
        controls.SetPanelText(3, kind.allColumns ? export_texts::SuccessMessage()
                                                 : export_texts::SuccessMessage() + Text::FromBytes(" "));
    else
        controls.SetPanelText(3, export_texts::FailureMessage());
    if (kind.allColumns) state.exportOutcome = succeeded ? 3 : 2;
}

}  // namespace

void ExportAllColumns(Controls& controls) {
    ManualExport kind{{}, "全部数据  "_t, XlsxFilter(), true};
    const auto& headers = export_texts::AllColumnHeaders();
    for (int i = 0; i < export_texts::kColumns; ++i)
        kind.columns.push_back({i, headers[i]});
    RunManualExport(controls, kind);
}

void ExportOneColumn(Controls& controls, int listColumn, const Text& header, const Text& namePrefix) {
    RunManualExport(controls, {{{listColumn, header}}, namePrefix, XlsFilter(), false});
}

}  // namespace tarvolin
