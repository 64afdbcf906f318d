#include "auxiliary/Skins.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <set>

#include "auxiliary/SkinDesign.h"

namespace tarvolin {
namespace {

TEST(Skins, FiftySixSkinsAllDifferentExceptThirtySevenAndForty) {
    std::set<std::string> distinct;
    for (int n = 1; n <= kSkinCount; ++n) {
        const std::string data = SkinData(n);
        EXPECT_FALSE(data.empty()) << n;
        EXPECT_EQ(data.find('@'), std::string::npos) << "unfilled slot in skin " << n;
        distinct.insert(data);
    }
    EXPECT_EQ(SkinData(37), SkinData(40));
    EXPECT_EQ(distinct.size(), static_cast<size_t>(kSkinCount - 1));
    for (int n : {0, -1, kSkinCount + 1})
        EXPECT_EQ(SkinData(n), "") << n;
}

double Luminance(std::uint32_t rgb) {
    auto channel = [](std::uint32_t v) {
        const double c = v / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel((rgb >> 16) & 0xFF) + 0.7152 * channel((rgb >> 8) & 0xFF) +
           0.0722 * channel(rgb & 0xFF);
}

double Contrast(std::uint32_t a, std::uint32_t b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(Skins, TextStaysReadableOnEverySkin) {
    for (int n = 1; n <= kSkinCount; ++n) {
        const SkinDesign* design = SkinDesignOf(n);
        ASSERT_NE(design, nullptr) << n;
        EXPECT_GE(Contrast(design->text, design->base), 7.0) << design->name;
        EXPECT_GE(Contrast(design->text, design->surface), 7.0) << design->name;
    }
}

QStringList& StyleWarnings() {
    static QStringList warnings;
    return warnings;
}

void RecordWarning(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtWarningMsg && message.contains("style", Qt::CaseInsensitive)) StyleWarnings() << message;
}

// A window with one of every control a skin draws.
struct SampleWindow {
    SampleWindow() {
        auto* central = new QWidget;
        auto* layout = new QVBoxLayout(central);
        layout->addWidget(new QLineEdit("keyword"));
        auto* combo = new QComboBox;
        combo->addItems({"1", "2"});
        layout->addWidget(combo);
        layout->addWidget(new QPushButton("Start"));
        auto* tree = new QTreeView;
        layout->addWidget(tree);
        window.setCentralWidget(central);
        window.statusBar()->showMessage("ready");
        menu.addAction("export");
        menu.addSeparator();
    }
    QMainWindow window;
    QMenu menu;
};

TEST(Skins, EveryStyleSheetParses) {
    SampleWindow sample;
    sample.window.show();
    const QtMessageHandler previous = qInstallMessageHandler(RecordWarning);
    // A broken sheet is noticed, so silence below means the skins parsed.
    qApp->setStyleSheet("QPushButton { color: red; ");
    sample.window.grab();
    EXPECT_FALSE(StyleWarnings().isEmpty());
    for (int n = 1; n <= kSkinCount; ++n) {
        StyleWarnings().clear();
        qApp->setStyleSheet(QString::fromStdString(SkinData(n)));
        sample.window.grab();
        sample.menu.grab();
        EXPECT_TRUE(StyleWarnings().isEmpty()) << n << ": " << StyleWarnings().join("; ").toStdString();
    }
    qInstallMessageHandler(previous);
    qApp->setStyleSheet(QString());
}

}  // namespace
}  // namespace tarvolin
