#include <gtest/gtest.h>

#include <QApplication>

#include "app/InterfaceFont.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    tarvolin::UseInterfaceFont(application);
    return RUN_ALL_TESTS();
}
