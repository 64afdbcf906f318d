#pragma once

#include <QFileDialog>
#include <QPointer>
#include <functional>
#include <optional>
#include <vector>

#include "shell/Controls.h"

namespace tarvolin {

// What a save dialog asked for looked like; kept for tests.
struct DialogRecord {
    QStringList nameFilters;
    QString fileName;
    QString folder;
    bool modal = false;
};

// The one place that shows the save-file dialog. Tests can give the next results instead of a user.
class SaveDialogs {
public:
    // The next dialog is not shown but ends with this (a path, or nothing for cancel); queued.
    static void SetNextResult(std::optional<QString> path);
    static void ClearNextResults();
    static std::vector<DialogRecord> Log();
    static void ClearLog();

    // "display|pattern|display|pattern" as the exports give it, in the toolkit's form
    // "display (pattern)". A display text that already ends with its pattern in brackets is kept.
    static QStringList NameFilters(const QString& filter);

    // Modal to the parent's window; the chosen path, or nothing on cancel.
    static std::optional<QString> Ask(QWidget* parent, const SaveDialogSpec& spec);
    // Without an owner; onResult is called once. Null when a queued test result was given.
    static QPointer<QFileDialog> Open(const SaveDialogSpec& spec,
                                      std::function<void(std::optional<QString>)> onResult);

private:
    static DialogRecord Record(const SaveDialogSpec& spec, bool modal);
    static bool TakeQueuedResult(const DialogRecord& record, std::optional<QString>& result);
    static QFileDialog* Build(QWidget* parent, const DialogRecord& record);
    static std::optional<QString> ResultOf(QFileDialog* dialog, int code);
};

}  // namespace tarvolin
