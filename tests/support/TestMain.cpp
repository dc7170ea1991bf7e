#include <QApplication>
#include <gtest/gtest.h>

// One runner for every test program; the windows' tests need a QApplication, the rest an
// event loop at most, so all get the GUI one (offscreen).
int main(int argc, char **argv)
{
    // Test discovery runs this program outside ctest's environment too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
