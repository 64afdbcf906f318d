#include "shell/MemoryControls.h"

namespace tarvolin {

namespace {
constexpr int kColumns = 7;
}

Text MemoryControls::Caption() {
    std::lock_guard lock(mutex_);
    return caption_;
}

Text MemoryControls::KeywordText() {
    std::lock_guard lock(mutex_);
    return keyword_;
}

Text MemoryControls::SelectedAutoExportItem() {
    std::lock_guard lock(mutex_);
    return autoExportItem_;
}

int MemoryControls::RowCount() {
    std::lock_guard lock(mutex_);
    return static_cast<int>(rows_.size());
}

int MemoryControls::AppendRow() {
    std::lock_guard lock(mutex_);
    rows_.emplace_back(kColumns);
    return static_cast<int>(rows_.size()) - 1;
}

void MemoryControls::SetCell(int row, int column, const Text& text) {
    std::lock_guard lock(mutex_);
    if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column >= kColumns) return;
    rows_[row][column] = text;
}

void MemoryControls::ScrollRowIntoView(int row) {
    std::lock_guard lock(mutex_);
    scrolledRow_ = row;
}

Text MemoryControls::CellText(int row, int column) {
    std::lock_guard lock(mutex_);
    if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column >= kColumns) return {};
    return rows_[row][column];
}

void MemoryControls::DeleteAllRows() {
    std::lock_guard lock(mutex_);
    rows_.clear();
}

void MemoryControls::SetPanelText(int panel, const Text& text) {
    std::lock_guard lock(mutex_);
    panels_[panel] = text;
}

void MemoryControls::SetClockPeriod(int milliseconds) {
    std::lock_guard lock(mutex_);
    clockPeriod_ = milliseconds;
}

BoxAnswer MemoryControls::ShowMessage(const MessageBoxSpec& box) {
    std::lock_guard lock(mutex_);
    boxes_.push_back(box);
    if (!answers_.empty()) {
        const BoxAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    return box.buttons == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Ok;
}

void MemoryControls::PumpMessages() {
    std::lock_guard lock(mutex_);
    ++pumpCount_;
}

std::optional<Text> MemoryControls::ShowSaveDialog(const SaveDialogSpec& dialog) {
    std::lock_guard lock(mutex_);
    dialogs_.push_back(dialog);
    if (dialogResults_.empty()) return std::nullopt;
    std::optional<Text> result = dialogResults_.front();
    dialogResults_.pop_front();
    return result;
}

void MemoryControls::SetCaption(const Text& caption) {
    std::lock_guard lock(mutex_);
    caption_ = caption;
}

void MemoryControls::SetKeyword(const Text& keyword) {
    std::lock_guard lock(mutex_);
    keyword_ = keyword;
}

void MemoryControls::SetAutoExportItem(const Text& item) {
    std::lock_guard lock(mutex_);
    autoExportItem_ = item;
}

void MemoryControls::AddRow(const std::vector<Text>& cells) {
    std::lock_guard lock(mutex_);
    std::vector<Text> row(kColumns);
    for (int c = 0; c < kColumns && c < static_cast<int>(cells.size()); ++c) row[c] = cells[c];
    rows_.push_back(std::move(row));
}

std::vector<std::vector<Text>> MemoryControls::Rows() {
    std::lock_guard lock(mutex_);
    return rows_;
}

Text MemoryControls::PanelText(int panel) {
    std::lock_guard lock(mutex_);
    auto it = panels_.find(panel);
    return it == panels_.end() ? Text() : it->second;
}

int MemoryControls::ClockPeriod() {
    std::lock_guard lock(mutex_);
    return clockPeriod_;
}

int MemoryControls::ScrolledRow() {
    std::lock_guard lock(mutex_);
    return scrolledRow_;
}

int MemoryControls::PumpCount() {
    std::lock_guard lock(mutex_);
    return pumpCount_;
}

std::vector<MessageBoxSpec> MemoryControls::Boxes() {
    std::lock_guard lock(mutex_);
    return boxes_;
}

std::vector<SaveDialogSpec> MemoryControls::Dialogs() {
    std::lock_guard lock(mutex_);
    return dialogs_;
}

void MemoryControls::QueueAnswer(BoxAnswer answer) {
    std::lock_guard lock(mutex_);
    answers_.push_back(answer);
}

void MemoryControls::QueueDialogResult(std::optional<Text> path) {
    std::lock_guard lock(mutex_);
    dialogResults_.push_back(std::move(path));
}

}  // namespace tarvolin
