// One QApplication for the whole binary, made before any test and destroyed after the
// last: Qt allows a single application object per process, and objects of Qt's image
// and event machinery made during the tests must not outlive it. Without a display it
// runs on the offscreen platform.

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
