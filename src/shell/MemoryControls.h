#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <vector>

#include "shell/Controls.h"

namespace tarvolin {

// Controls that live in memory: for tests of code that uses the window, and for a front end
// without one. Thread-safe; message boxes and dialogs are recorded and answered from queues.
class MemoryControls : public Controls {
public:
    Text Caption() override;
    Text KeywordText() override;
    Text SelectedAutoExportItem() override;
    int RowCount() override;
    int AppendRow() override;
    void SetCell(int row, int column, const Text& text) override;
    void ScrollRowIntoView(int row) override;
    Text CellText(int row, int column) override;
    void DeleteAllRows() override;
    void SetPanelText(int panel, const Text& text) override;
    void SetClockPeriod(int milliseconds) override;
    BoxAnswer ShowMessage(const MessageBoxSpec& box) override;
    void PumpMessages() override;
    std::optional<Text> ShowSaveDialog(const SaveDialogSpec& dialog) override;

    // Setup and inspection.
    void SetCaption(const Text& caption);
    void SetKeyword(const Text& keyword);
    void SetAutoExportItem(const Text& item);
    void AddRow(const std::vector<Text>& cells);
    std::vector<std::vector<Text>> Rows();
    Text PanelText(int panel);
    int ClockPeriod();
    int ScrolledRow();  // last row scrolled into view, -1 when none
    int PumpCount();
    // Boxes shown so far, oldest first.
    std::vector<MessageBoxSpec> Boxes();
    std::vector<SaveDialogSpec> Dialogs();
    // Answers for the next boxes; without one queued a box is answered Ok, or No when it asks.
    void QueueAnswer(BoxAnswer answer);
    // Results for the next save dialogs; without one queued a dialog is cancelled.
    void QueueDialogResult(std::optional<Text> path);

private:
    std::mutex mutex_;
    Text caption_;
    Text keyword_;
    Text autoExportItem_;
    std::vector<std::vector<Text>> rows_;
    std::map<int, Text> panels_;
    int clockPeriod_ = 0;
    int scrolledRow_ = -1;
    int pumpCount_ = 0;
    std::vector<MessageBoxSpec> boxes_;
    std::deque<BoxAnswer> answers_;
    std::vector<SaveDialogSpec> dialogs_;
    std::deque<std::optional<Text>> dialogResults_;
};

}  // namespace tarvolin
