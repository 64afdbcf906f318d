#include "app/MessageBoxes.h"

#include <QAbstractButton>
#include <QLabel>
#include <deque>
#include <memory>
#include <mutex>

#include "app/QtText.h"

namespace tarvolin {
namespace {

struct Seam {
    std::mutex mutex;
    std::deque<BoxAnswer> answers;
    std::vector<BoxRecord> log;
};

Seam& TheSeam() {
    static Seam seam;
    return seam;
}

QMessageBox::Icon QtIcon(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::Exclamation:
            return QMessageBox::Warning;
        case BoxIcon::Question:
            return QMessageBox::Question;
        case BoxIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void MessageBoxes::SetNextAnswer(BoxAnswer answer) {
    std::lock_guard lock(TheSeam().mutex);
    TheSeam().answers.push_back(answer);
}

void MessageBoxes::ClearNextAnswers() {
    std::lock_guard lock(TheSeam().mutex);
    TheSeam().answers.clear();
}

std::vector<BoxRecord> MessageBoxes::Log() {
    std::lock_guard lock(TheSeam().mutex);
    return TheSeam().log;
}

void MessageBoxes::ClearLog() {
    std::lock_guard lock(TheSeam().mutex);
    TheSeam().log.clear();
}

BoxAnswer MessageBoxes::Unanswered(const MessageBoxSpec& spec) {
    return spec.buttons == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Ok;
}

BoxRecord MessageBoxes::Record(const MessageBoxSpec& spec, bool modal) {
    BoxRecord record;
    record.caption = spec.title.empty() ? QStringLiteral("信息：") : ToQString(spec.title);
    record.text = ToQString(spec.text);
    record.buttons = spec.buttons;
    record.icon = spec.icon;
    record.rightAligned = spec.rightAligned;
    record.modal = modal;
    return record;
}

bool MessageBoxes::TakeQueuedAnswer(const BoxRecord& record, BoxAnswer& answer) {
    std::lock_guard lock(TheSeam().mutex);
    TheSeam().log.push_back(record);
    if (TheSeam().answers.empty()) return false;
    answer = TheSeam().answers.front();
    TheSeam().answers.pop_front();
    return true;
}

QMessageBox* MessageBoxes::Build(QWidget* parent, const BoxRecord& record) {
    auto* box = new QMessageBox(parent);
    box->setWindowTitle(record.caption);
    box->setTextFormat(Qt::PlainText);
    QString text = record.text;
    box->setText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box->setIcon(QtIcon(record.icon));
    box->setStandardButtons(record.buttons == BoxButtons::YesNo ? QMessageBox::Yes | QMessageBox::No
                                                                : QMessageBox::Ok);
    if (record.rightAligned) {
        if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    return box;
}

BoxAnswer MessageBoxes::AnswerOf(QMessageBox* box, BoxAnswer unanswered) {
    switch (box->standardButton(box->clickedButton())) {
        case QMessageBox::Yes:
            return BoxAnswer::Yes;
        case QMessageBox::No:
            return BoxAnswer::No;
        case QMessageBox::Ok:
            return BoxAnswer::Ok;
        default:
            return unanswered;
    }
}

BoxAnswer MessageBoxes::Ask(QWidget* parent, const MessageBoxSpec& spec) {
    const BoxRecord record = Record(spec, true);
    BoxAnswer answer = Unanswered(spec);
    if (TakeQueuedAnswer(record, answer)) return answer;
    std::unique_ptr<QMessageBox> box(Build(parent, record));
    box->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    box->exec();
    return AnswerOf(box.get(), Unanswered(spec));
}

QPointer<QMessageBox> MessageBoxes::Open(const MessageBoxSpec& spec,
                                         std::function<void(BoxAnswer)> onAnswer) {
    const BoxRecord record = Record(spec, false);
    BoxAnswer answer = Unanswered(spec);
    if (TakeQueuedAnswer(record, answer)) {
        onAnswer(answer);
        return nullptr;
    }
    QMessageBox* box = Build(nullptr, record);
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Called once: on a button, or when the box is destroyed without one.
    auto reply = std::make_shared<std::function<void(BoxAnswer)>>(std::move(onAnswer));
    const BoxAnswer unanswered = Unanswered(spec);
    QObject::connect(box, &QMessageBox::finished, box, [box, reply, unanswered](int) {
        if (*reply) std::exchange(*reply, nullptr)(AnswerOf(box, unanswered));
    });
    QObject::connect(box, &QObject::destroyed, [reply, unanswered] {
        if (*reply) std::exchange(*reply, nullptr)(unanswered);
    });
    box->show();
    return box;
}

}  // namespace tarvolin
