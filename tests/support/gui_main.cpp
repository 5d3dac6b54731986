// The one main() of every test binary: headless by default, with a real QApplication so that
// windows, timers and the event loop work as in the program.
#include <QApplication>
#include <gtest/gtest.h>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
