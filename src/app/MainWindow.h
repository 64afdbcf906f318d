#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <vector>

#include "app/WindowActions.h"
#include "shell/Controls.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;

namespace tarvolin {

class ResultListModel;
class ResultListView;
class WindowBridge;

// The program's one window. Its handlers are thin: they start the search, start the run-control
// routines on threads of their own, run the clock and hand the menu commands on (WindowActions).
//
// As Controls it may be called from any thread; each operation runs on the window thread and the
// caller waits for it. Once the window has closed, calls return empty values at once, so the
// object must outlive every thread that may still call it (the program keeps it to the end).
class MainWindow : public QWidget, public Controls {
    Q_OBJECT
public:
    explicit MainWindow(WindowActions actions = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Controls.
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

    // Handlers, public so that the program's parts and tests can reach them by name.
    void StartClicked();
    void PauseClicked();
    void ContinueClicked();
    void StopClicked();
    void ClockTick();
    void ClearList();
    void ContactAuthor();
    void About();
    void ShowPopupMenu(const QPoint& globalPointer);

    // Ends the window's part as Controls: waiting callers are released, boxes shown for them
    // close, and later calls return empty values at once. Closing the window does this.
    void CloseControls();

    QMenu* PopupMenu() const { return popupMenu_; }
    ResultListView* List() const { return list_; }
    QString PanelLabelText(int panel) const;
    int ClockPeriod() const { return clockPeriod_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void BuildList();
    void BuildStatusBar();
    void BuildPopupMenu();
    void Created();
    void FitOuterSize();
    void PlaceFollowingControls();
    void CloseOpenBoxes();
    // Runs the routine on a short-lived thread of its own.
    void StartThread(const std::function<void(Controls&)>& routine);

    WindowActions actions_;
    std::shared_ptr<WindowBridge> bridge_;
    QLineEdit* keyword_ = nullptr;
    QComboBox* autoExport_ = nullptr;
    QComboBox* interfaces_ = nullptr;
    ResultListModel* model_ = nullptr;
    ResultListView* list_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    std::vector<QLabel*> panels_;
    QMenu* popupMenu_ = nullptr;
    QTimer clock_;
    int clockPeriod_ = 0;
    QSize defaultClientSize_;
    bool outerSizeFitted_ = false;
    bool closed_ = false;
    // Boxes and dialogs shown for background threads, closed with the window.
    std::vector<QPointer<QWidget>> openBoxes_;
};

}  // namespace tarvolin
