// One QApplication for the whole binary, made before any test: the viewer tests need
// widgets, and Qt allows a single application object per process. Without a display it
// runs on the offscreen platform; under Xvfb on xcb, so window tests get real windows.

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
