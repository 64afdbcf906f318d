#include "platform/Spreadsheet.h"

#include <algorithm>
#include <atomic>
#include <iterator>
#include <string_view>
#include <vector>

#include "platform/SpreadsheetCells.h"
#include "platform/SpreadsheetFile.h"

namespace tarvolin::platform {

struct SpreadsheetBook {
    CellGrid cells;  // the one sheet of a new workbook
    bool open = true;
};

struct SpreadsheetApp {
    bool running = true;
    std::vector<std::shared_ptr<SpreadsheetBook>> books;
    std::shared_ptr<SpreadsheetBook> active;
};

namespace {

std::atomic<bool> available{true};

constexpr const char* kSheetName = "Sheet1";
constexpr long long kMaxRangeCells = 1000000;

bool Running(const std::shared_ptr<SpreadsheetApp>& app) {
    return app && app->running;
}

bool Open(const std::shared_ptr<SpreadsheetApp>& app, const std::shared_ptr<SpreadsheetBook>& book) {
    return Running(app) && book && book->open;
}

// Number of code points of valid UTF-8 (no overlong forms, surrogates or values past U+10FFFF);
// -1 for anything else.
long long Utf8Characters(std::string_view text) {
    struct Lead {
        unsigned char first, last;
        int extra;
        unsigned smallest;
    };
    static constexpr Lead kLeads[] = {
        {0x00, 0x7F, 0, 0}, {0xC2, 0xDF, 1, 0x80}, {0xE0, 0xEF, 2, 0x800}, {0xF0, 0xF4, 3, 0x10000}};
    long long characters = 0;
    for (std::size_t i = 0; i < text.size(); ++characters) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const Lead* lead = std::find_if(std::begin(kLeads), std::end(kLeads),
                                        [&](const Lead& l) { return byte >= l.first && byte <= l.last; });
        if (lead == std::end(kLeads) || text.size() - i <= static_cast<std::size_t>(lead->extra)) return -1;
        unsigned value = byte & (0x7Fu >> lead->extra);
        for (int k = 1; k <= lead->extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return -1;
            value = (value << 6) | (next & 0x3F);
        }
        if (value < lead->smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return -1;
        i += lead->extra + 1;
    }
    return characters;
}

}  // namespace

void SetSpreadsheetAvailable(bool isAvailable) {
    available = isAvailable;
}
bool SpreadsheetAvailable() {
    return available;
}

bool SpreadsheetRange::Held() const {
    return Open(app_, book_);
}

bool SpreadsheetRange::SetValue(const std::string& text) const {
    if (!Held()) return false;
    const long long characters = Utf8Characters(text);
    if (characters < 0 || characters > kMaxCellCharacters) return false;
    const long long count =
        static_cast<long long>(lastRow_ - firstRow_ + 1) * (lastColumn_ - firstColumn_ + 1);
    if (count > kMaxRangeCells) return false;
    for (int row = firstRow_; row <= lastRow_; ++row)
        for (int column = firstColumn_; column <= lastColumn_; ++column)
            book_->cells.Set(row, column, text);
    return true;
}

std::optional<std::string> SpreadsheetRange::Value() const {
    if (!Held() || firstRow_ != lastRow_ || firstColumn_ != lastColumn_) return std::nullopt;
    return book_->cells.Get(firstRow_, firstColumn_);
}

bool SpreadsheetSheet::Held() const {
    return Open(app_, book_);
}

SpreadsheetRange SpreadsheetSheet::Range(const std::string& corner1, const std::string& corner2) const {
    int row1 = 0, column1 = 0, row2 = 0, column2 = 0;
    if (!Held() || !ParseCellAddress(corner1, row1, column1) || !ParseCellAddress(corner2, row2, column2))
        return {};
    SpreadsheetRange range;
    range.app_ = app_;
    range.book_ = book_;
    range.firstRow_ = std::min(row1, row2);
    range.lastRow_ = std::max(row1, row2);
    range.firstColumn_ = std::min(column1, column2);
    range.lastColumn_ = std::max(column1, column2);
    return range;
}

std::string SpreadsheetSheet::SavePath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
    const std::size_t dot = name.rfind('.');
    const bool hasExtension = dot != std::string_view::npos && dot > 0 && dot + 1 < name.size();
    return hasExtension || name.empty() ? path : path + ".xlsx";
}

bool SpreadsheetSheet::SaveAs(const std::string& path) const {
    return Held() && WriteXlsxFile(book_->cells, kSheetName, SavePath(path));
}

bool SpreadsheetSheets::Held() const {
    return Open(app_, book_);
}

SpreadsheetSheet SpreadsheetSheets::Item(int index) const {
    if (!Held() || index != 1) return {};
    SpreadsheetSheet sheet;
    sheet.app_ = app_;
    sheet.book_ = book_;
    return sheet;
}

bool SpreadsheetWorkbooks::Held() const {
    return Running(app_);
}

bool SpreadsheetWorkbooks::Add() const {
    if (!Held()) return false;
    app_->books.push_back(std::make_shared<SpreadsheetBook>());
    app_->active = app_->books.back();
    return true;
}

bool SpreadsheetWorkbooks::Close() const {
    if (!Held()) return false;
    for (const auto& book : app_->books)
        book->open = false;
    app_->books.clear();
    app_->active.reset();
    return true;
}

SpreadsheetApplication SpreadsheetApplication::Create() {
    SpreadsheetApplication application;
    if (available) application.app_ = std::make_shared<SpreadsheetApp>();
    return application;
}

bool SpreadsheetApplication::Held() const {
    return Running(app_);
}

SpreadsheetWorkbooks SpreadsheetApplication::Workbooks() const {
    SpreadsheetWorkbooks workbooks;
    if (Held()) workbooks.app_ = app_;
    return workbooks;
}

SpreadsheetApplication SpreadsheetApplication::Application() const {
    return Held() ? *this : SpreadsheetApplication();
}

SpreadsheetSheets SpreadsheetApplication::Sheets() const {
    SpreadsheetSheets sheets;
    if (Held() && app_->active) {
        sheets.app_ = app_;
        sheets.book_ = app_->active;
    }
    return sheets;
}

bool SpreadsheetApplication::Activate() const {
    return Held();
}

bool SpreadsheetApplication::Quit() const {
    if (!Held()) return false;
    Workbooks().Close();
    app_->running = false;
    return true;
}

}  // namespace tarvolin::platform
