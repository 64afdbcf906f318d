#include <QFileDialog>
#include <future>

#include "WindowFixture.h"

namespace tarvolin::testing {
namespace {

TEST(SaveDialogFilterTest, ExportFiltersBecomeToolkitFilters) {
    const std::pair<QString, QStringList> cases[] = {
        {QStringLiteral("默认保存为 office Excel文件(*.xlsx)|*.xlsx"),
         {QStringLiteral("默认保存为 office Excel文件(*.xlsx)")}},
        {QStringLiteral("表格|*.xls"), {QStringLiteral("表格 (*.xls)")}},
        {QStringLiteral("A|*.a|B|*.b"), {QStringLiteral("A (*.a)"), QStringLiteral("B (*.b)")}},
        {QString(), {}},
    };
    for (const auto& [filter, expected] : cases)
        EXPECT_EQ(SaveDialogs::NameFilters(filter), expected) << filter.toStdString();
}

using SaveDialogTest = WindowTest;

SaveDialogSpec XlsxDialog() {
    return {DialogKind::Save, "默认保存为 office Excel文件(*.xlsx)|*.xlsx"_t, "全部数据  9时7分3秒"_t,
            "/tmp/"_t};
}

TEST_F(SaveDialogTest, AnsweredDialogReturnsThePathOrNothingOnCancel) {
    Open();
    SaveDialogs::SetNextResult(QStringLiteral("/tmp/全部数据.xlsx"));
    SaveDialogs::SetNextResult(std::nullopt);
    EXPECT_EQ(window->ShowSaveDialog(XlsxDialog()), std::optional<Text>("/tmp/全部数据.xlsx"_t));
    EXPECT_EQ(window->ShowSaveDialog(XlsxDialog()), std::nullopt);
    const auto log = SaveDialogs::Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].nameFilters, QStringList{QStringLiteral("默认保存为 office Excel文件(*.xlsx)")});
    EXPECT_EQ(log[0].fileName, QStringLiteral("全部数据  9时7分3秒"));
    EXPECT_EQ(log[0].folder, QStringLiteral("/tmp/"));
    EXPECT_TRUE(log[0].modal);
}

TEST_F(SaveDialogTest, RealDialogForABackgroundThreadIsSetUpAndCancelled) {
    Open().show();
    auto chosen = std::async(std::launch::async, [&] { return window->ShowSaveDialog(XlsxDialog()); });
    QFileDialog* dialog = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<QFileDialog*>(widget); d && d->isVisible()) dialog = d;
            return dialog != nullptr;
        },
        5000));
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("默认保存为 office Excel文件(*.xlsx)")});
    EXPECT_EQ(dialog->directory().absolutePath(), QStringLiteral("/tmp"));
    EXPECT_TRUE(dialog->defaultSuffix().isEmpty());
    dialog->reject();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return chosen.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 5000));
    EXPECT_EQ(chosen.get(), std::nullopt);
}

}  // namespace
}  // namespace tarvolin::testing
