#include "app/SaveDialogs.h"

#include <QDir>
#include <deque>
#include <memory>
#include <mutex>

#include "app/QtText.h"

namespace tarvolin {
namespace {

struct Seam {
    std::mutex mutex;
    std::deque<std::optional<QString>> results;
    std::vector<DialogRecord> log;
};

Seam& TheSeam() {
    static Seam seam;
    return seam;
}

}  // namespace

void SaveDialogs::SetNextResult(std::optional<QString> path) {
    std::lock_guard lock(TheSeam().mutex);
    TheSeam().results.push_back(std::move(path));
}

void SaveDialogs::ClearNextResults() {
    std::lock_guard lock(TheSeam().mutex);
    TheSeam().results.clear();
}

std::vector<DialogRecord> SaveDialogs::Log() {
    std::lock_guard lock(TheSeam().mutex);
    return TheSeam().log;
}

void SaveDialogs::ClearLog() {
    std::lock_guard lock(TheSeam().mutex);
    TheSeam().log.clear();
}

QStringList SaveDialogs::NameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString display = parts[i].trimmed();
        const QString pattern = parts[i + 1].trimmed();
        if (pattern.isEmpty()) continue;
        const QString bracketed = QLatin1Char('(') + pattern + QLatin1Char(')');
        filters << (display.endsWith(bracketed) ? display : display + QLatin1Char(' ') + bracketed);
    }
    if (filters.isEmpty() && !filter.isEmpty() && parts.size() == 1) filters << filter;
    return filters;
}

DialogRecord SaveDialogs::Record(const SaveDialogSpec& spec, bool modal) {
    DialogRecord record;
    record.nameFilters = NameFilters(ToQString(spec.filter));
    record.fileName = ToQString(spec.fileName);
    record.folder = ToQString(spec.initialFolder);
    record.modal = modal;
    return record;
}

bool SaveDialogs::TakeQueuedResult(const DialogRecord& record, std::optional<QString>& result) {
    std::lock_guard lock(TheSeam().mutex);
    TheSeam().log.push_back(record);
    if (TheSeam().results.empty()) return false;
    result = TheSeam().results.front();
    TheSeam().results.pop_front();
    return true;
}

QFileDialog* SaveDialogs::Build(QWidget* parent, const DialogRecord& record) {
    auto* dialog = new QFileDialog(parent);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    if (!record.nameFilters.isEmpty()) dialog->setNameFilters(record.nameFilters);
    if (!record.folder.isEmpty()) dialog->setDirectory(record.folder);
    if (!record.fileName.isEmpty()) dialog->selectFile(record.fileName);
    return dialog;
}

std::optional<QString> SaveDialogs::ResultOf(QFileDialog* dialog, int code) {
    if (code != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog->selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(chosen.front());
}

std::optional<QString> SaveDialogs::Ask(QWidget* parent, const SaveDialogSpec& spec) {
    const DialogRecord record = Record(spec, true);
    std::optional<QString> result;
    if (TakeQueuedResult(record, result)) return result;
    std::unique_ptr<QFileDialog> dialog(Build(parent, record));
    dialog->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    const int code = dialog->exec();
    return ResultOf(dialog.get(), code);
}

QPointer<QFileDialog> SaveDialogs::Open(const SaveDialogSpec& spec,
                                        std::function<void(std::optional<QString>)> onResult) {
    const DialogRecord record = Record(spec, false);
    std::optional<QString> result;
    if (TakeQueuedResult(record, result)) {
        onResult(result);
        return nullptr;
    }
    QFileDialog* dialog = Build(nullptr, record);
    dialog->setWindowModality(Qt::NonModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    auto reply = std::make_shared<std::function<void(std::optional<QString>)>>(std::move(onResult));
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, reply](int code) {
        if (*reply) std::exchange(*reply, nullptr)(ResultOf(dialog, code));
    });
    QObject::connect(dialog, &QObject::destroyed, [reply] {
        if (*reply) std::exchange(*reply, nullptr)(std::nullopt);
    });
    dialog->show();
    return dialog;
}

}  // namespace tarvolin
