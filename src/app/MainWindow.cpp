#include "app/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>

#include "app/DetachedThreads.h"
#include "app/InterfaceFont.h"
#include "app/MessageBoxes.h"
#include "app/QtText.h"
#include "app/ResultListModel.h"
#include "app/ResultListView.h"
#include "app/SaveDialogs.h"
#include "app/WindowBridge.h"
#include "app/WindowLayout.h"
#include "platform/Folders.h"
#include "platform/ShellOpen.h"
#include "platform/ThreadControl.h"
#include "shell/BuildConstants.h"
#include "shell/RunClock.h"
#include "shell/RunState.h"

namespace tarvolin {
namespace {

MessageBoxSpec Box(const Text& text, const Text& title = {}, BoxButtons buttons = BoxButtons::Ok,
                   BoxIcon icon = BoxIcon::None, bool rightAligned = false) {
    return MessageBoxSpec{text, title, buttons, icon, rightAligned};
}

// The stop of the calling thread, when it is a controlled one: a box it waits on closes on stop.
std::stop_token CallerStopToken() {
    platform::ThreadControl* control = platform::CurrentThreadControl();
    return control ? control->StopToken() : std::stop_token{};
}

void MakeExportFolder() {
    const std::string runDirectory = platform::RunDirectory();
    if (runDirectory.empty()) return;
    std::string folder = runDirectory + "/导出表格";
    if (platform::PathIsDirectory(folder)) return;
    if (folder.back() != '/') folder += '/';
    platform::MakeSureDirectoryPathExists(folder);  // a failure leaves the exports to fail later
}

}  // namespace

MainWindow::MainWindow(WindowActions actions, QWidget* parent)
    : QWidget(parent), actions_(std::move(actions)), bridge_(WindowBridge::Create(this)) {
    setWindowTitle(QString::fromUtf8(layout::kCaption));
    defaultClientSize_ = layout::kOuterSize;
    resize(layout::kOuterSize);
    move(layout::kWindowPosition);
    BuildControls();
    BuildList();
    BuildStatusBar();
    BuildPopupMenu();
    connect(&clock_, &QTimer::timeout, this, &MainWindow::ClockTick);
    PlaceFollowingControls();
    Created();
}

MainWindow::~MainWindow() {
    CloseControls();
}

void MainWindow::CloseControls() {
    bridge_->Shutdown();
    CloseOpenBoxes();
    clock_.stop();
}

void MainWindow::BuildControls() {
    const auto& places = layout::kControls;
    auto* label = new QLabel(QString::fromUtf8(places[0].text), this);
    label->setObjectName(QString::fromUtf8(places[0].name));
    label->setGeometry(places[0].rect);
    FitTextToWidth(*label);

    keyword_ = new QLineEdit(this);
    keyword_->setObjectName(QString::fromUtf8(places[1].name));
    keyword_->setGeometry(places[1].rect);

    autoExport_ = new QComboBox(this);
    interfaces_ = new QComboBox(this);
    const std::pair<QComboBox*, std::vector<const char*>> lists[] = {
        {autoExport_, {layout::kAutoExportItems.begin(), layout::kAutoExportItems.end()}},
        {interfaces_, {layout::kInterfaceItems.begin(), layout::kInterfaceItems.end()}},
    };
    for (int i = 0; i < 2; ++i) {
        QComboBox* box = lists[i].first;
        box->setObjectName(QString::fromUtf8(places[2 + i].name));
        box->setGeometry(places[2 + i].rect);
        box->setEditable(false);
        box->setMaxVisibleItems(30);
        for (const char* item : lists[i].second)
            box->addItem(QString::fromUtf8(item));
        box->setCurrentIndex(0);
    }

    void (MainWindow::*const handlers[])() = {&MainWindow::StartClicked, &MainWindow::PauseClicked,
                                              &MainWindow::ContinueClicked, &MainWindow::StopClicked};
    for (int i = 0; i < 4; ++i) {
        const layout::Place& place = places[4 + i];
        auto* button = new QPushButton(QString::fromUtf8(place.text), this);
        button->setObjectName(QString::fromUtf8(place.name));
        button->setGeometry(place.rect);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, handlers[i]);
    }
}

void MainWindow::BuildList() {
    model_ = new ResultListModel(this);
    list_ = new ResultListView(this);
    list_->setObjectName(QString::fromUtf8(layout::kList.name));
    list_->setModel(model_);
    for (int column = 0; column < ResultListModel::kColumnCount; ++column)
        list_->horizontalHeader()->resizeSection(column, layout::kColumns[column].width);
    connect(list_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { ShowPopupMenu(list_->viewport()->mapToGlobal(at)); });
    connect(list_->horizontalHeader(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { ShowPopupMenu(list_->horizontalHeader()->mapToGlobal(at)); });
}

void MainWindow::BuildStatusBar() {
    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QString::fromUtf8(layout::kStatusBar.name));
    statusBar_->setSizeGripEnabled(false);
    // Panels side by side from the left edge, each as wide as given; the bar clips the last one
    // where the widths add up to more than the bar (as a Windows status bar does).
    int left = 0;
    for (int index = 0; index < static_cast<int>(layout::kPanels.size()); ++index) {
        auto* panel = new QLabel(QString::fromUtf8(layout::kPanels[index].text), statusBar_);
        panel->setObjectName(QStringLiteral("panel%1").arg(index));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
        panel->setGeometry(left, 0, layout::kPanels[index].width, layout::kStatusBar.rect.height());
        left += layout::kPanels[index].width;
        panels_.push_back(panel);
    }
    statusBar_->raise();  // above the part of the list it covers
}

void MainWindow::BuildPopupMenu() {
    popupMenu_ = new QMenu(QStringLiteral("程序菜单"), this);
    popupMenu_->setObjectName(QStringLiteral("程序菜单"));
    QMenu* exports = popupMenu_->addMenu(QStringLiteral("导出excel"));
    const auto exportColumn = [this](int column, const char* header, const char* prefix) {
        return [this, column, header, prefix] {
            if (actions_.exportColumn)
                actions_.exportColumn(*this, column, Utf8Text(header), Utf8Text(prefix));
            QCoreApplication::processEvents();
        };
    };
    connect(exports->addAction(QStringLiteral("全部导出")), &QAction::triggered, this, [this] {
        if (actions_.exportAll) actions_.exportAll(*this);
        QCoreApplication::processEvents();
    });
    connect(exports->addAction(QStringLiteral("公司名")), &QAction::triggered, this,
            exportColumn(0, "公司名", "公司名  "));
    connect(exports->addAction(QStringLiteral("手机号")), &QAction::triggered, this,
            exportColumn(3, "手机号", "手机号  "));
    connect(exports->addAction(QStringLiteral("邮箱")), &QAction::triggered, this,
            exportColumn(5, "邮箱", "邮箱  "));
    connect(popupMenu_->addAction(QStringLiteral("清空列表")), &QAction::triggered, this,
            &MainWindow::ClearList);
    connect(popupMenu_->addAction(QStringLiteral("联系作者")), &QAction::triggered, this,
            &MainWindow::ContactAuthor);
    connect(popupMenu_->addAction(QStringLiteral("关于")), &QAction::triggered, this, &MainWindow::About);
}

void MainWindow::Created() {
    if (actions_.applySkin) actions_.applySkin(19);
    MakeExportFolder();
    autoExport_->setCurrentIndex(0);
    StartThread(actions_.versionCheck);
}

void MainWindow::StartThread(const std::function<void(Controls&)>& routine) {
    if (routine) DetachedThreads::Start([this, routine] { routine(*this); });
}

// --- handlers --------------------------------------------------------------------------------

void MainWindow::StartClicked() {
    if (actions_.start) actions_.start(*this);
}

// The run-control buttons act only while more than one worker is listed.
void MainWindow::PauseClicked() {
    if (RunState::Instance().WorkerCount() > 1) StartThread(actions_.pause);
}

void MainWindow::ContinueClicked() {
    if (RunState::Instance().WorkerCount() > 1) StartThread(actions_.resume);
}

void MainWindow::StopClicked() {
    if (RunState::Instance().WorkerCount() > 1) StartThread(actions_.stop);
}

void MainWindow::ClockTick() {
    panels_[layout::kClockPanel]->setText(ToQString(AdvanceRunClock(RunState::Instance())));
}

void MainWindow::ClearList() {
    const int rows = model_->rowCount();
    if (rows == 0) {
        ShowMessage(Box("数据？ 数据呢？ 你想删除什么？！ "_t));
        return;
    }
    const MessageBoxSpec ask =
        Box("现已获取到数据：【"_t + IntToText(rows) + "】 条，请问你确认要删除吗？！"_t,
            "请问是否删除所有数据？"_t, BoxButtons::YesNo, BoxIcon::Exclamation);
    if (ShowMessage(ask) != BoxAnswer::Yes) return;
    model_->Clear();
    ShowMessage(Box("删除成功！"_t));
}

void MainWindow::ContactAuthor() {
    platform::ShellOpen(TextToUtf8(AuthorChatLink()));
}

void MainWindow::About() {
    const MessageBoxSpec ask = Box(
        "这版本模版已经做好了，剩下就是继续增加数据，那么现在问题来了！\r\n\r\n只需等待我的好消息，你的支持是对我最大的鼓励，真心谢谢大家！！\r\nKelvaro By 2014-11-14"_t,
        "爱自己是最大的帮助！"_t, BoxButtons::YesNo, BoxIcon::Question, true);
    if (ShowMessage(ask) == BoxAnswer::Yes) platform::ShellOpen(TextToUtf8(AuthorProfileUrl()));
}

void MainWindow::ShowPopupMenu(const QPoint& globalPointer) {
    popupMenu_->popup(globalPointer + QPoint(3, 3));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        closed_ = true;
        if (RunState::Instance().WorkerCount() > 1) {
            StartThread(actions_.stop);
            ShowMessage(Box("欢迎使用！"_t));
        }
        if (actions_.detachSkin) actions_.detachSkin();
        CloseControls();
    }
    event->accept();
}

void MainWindow::CloseOpenBoxes() {
    std::vector<QPointer<QWidget>> boxes;
    boxes.swap(openBoxes_);
    for (const QPointer<QWidget>& box : boxes)
        delete box.data();  // answers its waiting thread
}

// --- geometry --------------------------------------------------------------------------------

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (outerSizeFitted_) return;
    outerSizeFitted_ = true;
    // The window manager's frame is known only once the window is mapped.
    QTimer::singleShot(0, this, &MainWindow::FitOuterSize);
    QTimer::singleShot(250, this, &MainWindow::FitOuterSize);
}

void MainWindow::FitOuterSize() {
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize client = layout::kOuterSize - frame;
    if (client == defaultClientSize_) return;
    defaultClientSize_ = client;
    resize(client);
    move(layout::kWindowPosition);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceFollowingControls();
}

// The list and the status bar grow with the window beyond its default size.
void MainWindow::PlaceFollowingControls() {
    const int wider = width() - defaultClientSize_.width();
    const int taller = height() - defaultClientSize_.height();
    const QRect list = layout::kList.rect;
    const QRect bar = layout::kStatusBar.rect;
    list_->setGeometry(list.x(), list.y(), std::max(0, list.width() + wider),
                       std::max(0, list.height() + taller));
    statusBar_->setGeometry(bar.x(), bar.y() + taller, std::max(0, bar.width() + wider), bar.height());
    list_->SetCoveredBottom(list_->geometry().bottom() - statusBar_->geometry().top() + 1);
}

QString MainWindow::PanelLabelText(int panel) const {
    return panel >= 0 && panel < static_cast<int>(panels_.size()) ? panels_[panel]->text() : QString();
}

// --- Controls --------------------------------------------------------------------------------

Text MainWindow::Caption() {
    return bridge_->Run<Text>([this] { return ToText(windowTitle()); }, Text());
}

Text MainWindow::KeywordText() {
    return bridge_->Run<Text>([this] { return ToText(keyword_->text()); }, Text());
}

Text MainWindow::SelectedAutoExportItem() {
    return bridge_->Run<Text>([this] { return ToText(autoExport_->currentText()); }, Text());
}

int MainWindow::RowCount() {
    return bridge_->Run<int>([this] { return model_->rowCount(); }, 0);
}

int MainWindow::AppendRow() {
    return bridge_->Run<int>([this] { return model_->AppendRow(); }, -1);
}

void MainWindow::SetCell(int row, int column, const Text& text) {
    bridge_->Run([this, row, column, text] { model_->SetCell(row, column, text); });
}

void MainWindow::ScrollRowIntoView(int row) {
    bridge_->Run([this, row] { list_->ScrollRowIntoView(row); });
}

Text MainWindow::CellText(int row, int column) {
    return bridge_->Run<Text>([this, row, column] { return model_->Cell(row, column); }, Text());
}

void MainWindow::DeleteAllRows() {
    bridge_->Run([this] { model_->Clear(); });
}

void MainWindow::SetPanelText(int panel, const Text& text) {
    bridge_->Run([this, panel, text] {
        if (panel >= 0 && panel < static_cast<int>(panels_.size())) panels_[panel]->setText(ToQString(text));
    });
}

void MainWindow::SetClockPeriod(int milliseconds) {
    bridge_->Run([this, milliseconds] {
        if (milliseconds <= 0) {
            clock_.stop();
            clockPeriod_ = 0;
        } else if (milliseconds != clockPeriod_ || !clock_.isActive()) {
            clockPeriod_ = milliseconds;
            clock_.start(milliseconds);
        }
    });
}

BoxAnswer MainWindow::ShowMessage(const MessageBoxSpec& box) {
    const BoxAnswer unanswered = MessageBoxes::Unanswered(box);
    if (bridge_->OnWindowThread()) return bridge_->Alive() ? MessageBoxes::Ask(this, box) : unanswered;
    WindowBridge::Start<BoxAnswer> start = [this, box](WindowBridge::Finish<BoxAnswer> finish,
                                                       std::function<void()>& cancel) {
        QPointer<QMessageBox> shown = MessageBoxes::Open(box, std::move(finish));
        if (!shown) return;
        std::erase_if(openBoxes_, [](const QPointer<QWidget>& open) { return open.isNull(); });
        openBoxes_.emplace_back(shown.data());
        cancel = [shown] { delete shown.data(); };
    };
    return bridge_->Await<BoxAnswer>(std::move(start), unanswered, CallerStopToken());
}

void MainWindow::PumpMessages() {
    if (bridge_->OnWindowThread()) QCoreApplication::processEvents();
}

std::optional<Text> MainWindow::ShowSaveDialog(const SaveDialogSpec& dialog) {
    const auto toText = [](const std::optional<QString>& path) {
        return path ? std::optional<Text>(ToText(*path)) : std::nullopt;
    };
    if (bridge_->OnWindowThread()) {
        return bridge_->Alive() ? toText(SaveDialogs::Ask(this, dialog)) : std::nullopt;
    }
    WindowBridge::Start<std::optional<Text>> start = [this, dialog, toText](
                                                         WindowBridge::Finish<std::optional<Text>> finish,
                                                         std::function<void()>& cancel) {
        QPointer<QFileDialog> shown = SaveDialogs::Open(
            dialog, [finish, toText](std::optional<QString> path) { finish(toText(path)); });
        if (!shown) return;
        std::erase_if(openBoxes_, [](const QPointer<QWidget>& open) { return open.isNull(); });
        openBoxes_.emplace_back(shown.data());
        cancel = [shown] { delete shown.data(); };
    };
    return bridge_->Await<std::optional<Text>>(std::move(start), std::nullopt, CallerStopToken());
}

}  // namespace tarvolin
