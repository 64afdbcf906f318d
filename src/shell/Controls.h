#pragma once

#include <optional>

#include "text/Text.h"

namespace tarvolin {

enum class BoxButtons { Ok, YesNo };
enum class BoxIcon { None, Exclamation, Question };
enum class BoxAnswer { Ok, Yes, No };

struct MessageBoxSpec {
    Text text;
    Text title;  // empty: the caption "信息："
    BoxButtons buttons = BoxButtons::Ok;
    BoxIcon icon = BoxIcon::None;
    bool rightAligned = false;
};

enum class DialogKind { Save };

struct SaveDialogSpec {
    DialogKind kind = DialogKind::Save;
    Text filter;         // "display text|pattern", as the exports give it
    Text fileName;       // default name, no extension
    Text initialFolder;  // empty: the toolkit's choice
};

// Everything background work needs of the main window. Rows and columns count from 0, panels
// from 0. Callable from any thread: the operation runs on the window thread and the caller waits
// until it is done (a call from the window thread runs at once).
//
// A message box asked for on a controlled thread whose stop is requested is closed and answered
// No (or Ok for a single button), so a stopped run never waits on a box.
class Controls {
public:
    virtual ~Controls() = default;

    virtual Text Caption() = 0;
    virtual Text KeywordText() = 0;
    virtual Text SelectedAutoExportItem() = 0;

    virtual int RowCount() = 0;
    // Returns the new row's index; its cells start empty.
    virtual int AppendRow() = 0;
    virtual void SetCell(int row, int column, const Text& text) = 0;
    virtual void ScrollRowIntoView(int row) = 0;
    // Empty for a row or column that does not exist.
    virtual Text CellText(int row, int column) = 0;
    virtual void DeleteAllRows() = 0;

    virtual void SetPanelText(int panel, const Text& text) = 0;
    // 0 stops the clock; the period it already has changes nothing; any other value (re)starts it.
    virtual void SetClockPeriod(int milliseconds) = 0;

    virtual BoxAnswer ShowMessage(const MessageBoxSpec& box) = 0;

    // Handles the calling thread's pending window messages; nothing on a thread without a window.
    virtual void PumpMessages() = 0;
    // The chosen full path, or nothing on cancel.
    virtual std::optional<Text> ShowSaveDialog(const SaveDialogSpec& dialog) = 0;
};

}  // namespace tarvolin
