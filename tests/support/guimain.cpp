// The main of the windows' test programs: a QApplication on Qt's offscreen
// platform unless another is asked for.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Velmora");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
