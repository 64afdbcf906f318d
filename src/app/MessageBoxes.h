#pragma once

#include <QMessageBox>
#include <QPointer>
#include <functional>
#include <vector>

#include "shell/Controls.h"

namespace tarvolin {

// What a box asked for looked like; kept for tests.
struct BoxRecord {
    QString caption;
    QString text;
    BoxButtons buttons = BoxButtons::Ok;
    BoxIcon icon = BoxIcon::None;
    bool rightAligned = false;
    bool modal = false;  // modal to the window, or shown beside it for a background thread
};

// The one place that shows message boxes. Tests can answer the next boxes instead of a user.
class MessageBoxes {
public:
    // The next box asked for is not shown but answered with this; answers queue up, oldest first.
    static void SetNextAnswer(BoxAnswer answer);
    static void ClearNextAnswers();
    // Every box asked for since the last ClearLog, oldest first, whether shown or answered.
    static std::vector<BoxRecord> Log();
    static void ClearLog();

    // The answer of a box closed without a choice: No where it asks, otherwise Ok.
    static BoxAnswer Unanswered(const MessageBoxSpec& spec);

    // Shows the box modal to the parent's window and waits for the answer.
    static BoxAnswer Ask(QWidget* parent, const MessageBoxSpec& spec);
    // Shows the box without an owner, so it blocks no window, and returns at once; onAnswer is
    // called once, with the button pressed, or the unanswered value when the box goes otherwise.
    // Null when a queued test answer was given instead.
    static QPointer<QMessageBox> Open(const MessageBoxSpec& spec, std::function<void(BoxAnswer)> onAnswer);

private:
    static BoxRecord Record(const MessageBoxSpec& spec, bool modal);
    static QMessageBox* Build(QWidget* parent, const BoxRecord& record);
    static bool TakeQueuedAnswer(const BoxRecord& record, BoxAnswer& answer);
    static BoxAnswer AnswerOf(QMessageBox* box, BoxAnswer unanswered);
};

}  // namespace tarvolin
