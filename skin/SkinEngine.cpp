// The skin engine: a skin file is a Qt style sheet, and attaching one draws every widget of the
// running application with it. Detaching gives back the look the application had before.
//
// What the last attach was given is left on the application object as the dynamic properties
// "skinhSkinFile" and "skinhReserved" (cleared again by detach), so the host can see it.

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QMetaObject>
#include <QString>
#include <QThread>
#include <QVariant>

#define SKINH_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct EngineState {
    bool attached = false;
    QString sheetBefore;  // the application's own sheet, given back on detach
};

EngineState& State() {
    static EngineState state;
    return state;
}

// Style sheets belong to the GUI thread; a call from elsewhere is carried over and waited for.
template <typename Work>
int OnGuiThread(Work work) {
    if (!qApp) return 0;
    if (QThread::currentThread() == qApp->thread()) return work();
    int result = 0;
    QMetaObject::invokeMethod(
        qApp, [&] { result = work(); }, Qt::BlockingQueuedConnection);
    return result;
}

int Attach(const QString& skinPath, const QString& reserved) {
    QFile file(skinPath);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const QString sheet = QString::fromUtf8(file.readAll());
    if (sheet.trimmed().isEmpty()) return 0;
    EngineState& state = State();
    if (!state.attached) state.sheetBefore = qApp->styleSheet();
    state.attached = true;
    qApp->setProperty("skinhSkinFile", skinPath);
    qApp->setProperty("skinhReserved", reserved);
    qApp->setStyleSheet(sheet);
    return 1;
}

int Detach() {
    EngineState& state = State();
    if (!state.attached) return 0;
    state.attached = false;
    qApp->setProperty("skinhSkinFile", QVariant());
    qApp->setProperty("skinhReserved", QVariant());
    qApp->setStyleSheet(state.sheetBefore);
    state.sheetBefore.clear();
    return 1;
}

}  // namespace

// skinPath: the skin file's full path (UTF-8); reserved: kept for the host's use, recorded only.
// 1 when the skin is applied, 0 when the file cannot be read or there is no application.
SKINH_EXPORT int SkinH_AttachEx(const char* skinPath, const char* reserved) {
    if (!skinPath || !*skinPath) return 0;
    const QString path = QString::fromUtf8(skinPath);
    const QString extra = QString::fromUtf8(reserved ? reserved : "");
    return OnGuiThread([&] { return Attach(path, extra); });
}

// 1 when a skin was attached and is now removed, 0 when none was attached.
SKINH_EXPORT int SkinH_Detach() {
    return OnGuiThread([] { return Detach(); });
}
