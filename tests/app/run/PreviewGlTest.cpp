// The preview as the user sees it, with real OpenGL under the X server: after a run the
// path is drawn where it lies on the table and the bit stands at its end, the screen
// still shows it beside the messages window a PRINT brought up, and closing the window
// with its viewer raises no X error.

#include "../RunTestSupport.h"
#include "app/run/MessagesForm.h"
#include "../ViewerTestSupport.h"

#include "scene/materials/GLBitmap32.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSlider>
// Raw Xlib last: its macros clash with the headers above.
#include "scene/viewer/GLXSupport.h"

namespace {

class PreviewGl : public TViewerShellTest {
protected:
    // The viewer's picture once it settled: (red, green, blue) of each pixel, top row first.
    QImage Snapshot()
    {
        EXPECT_TRUE(testsupport::WaitForSettledViewer(*Window->GLWorldViewer1));
        std::unique_ptr<TGLBitmap32> shot = Window->GLWorldViewer1->Buffer().CreateSnapShot();
        QImage image(shot->Width(), shot->Height(), QImage::Format_RGB32);
        for (int y = 0; y < shot->Height(); ++y) {
            const std::uint8_t* row = shot->ScanLine(shot->Height() - 1 - y);
            for (int x = 0; x < shot->Width(); ++x) {
                image.setPixel(x, y, qRgb(row[4 * x], row[4 * x + 1], row[4 * x + 2]));
            }
        }
        return image;
    }
    // The cut's red, seen through the half-transparent table.
    static bool PathRed(QRgb c) { return qRed(c) > 150 && qRed(c) - qGreen(c) > 60 && qRed(c) - qBlue(c) > 90; }
};

TEST_F(PreviewGl, ARunDrawsItsPathOnTheTableAndLeavesTheBitAtItsEnd)
{
    const QImage before = Snapshot();
    // A cut across the middle of the table, left to right, just below its top, between
    // two lines of the grid (which lie every 4 inches on the top).
    WriteText("cut.sbp", "J3,10,22,0\r\nM3,10,22,-0.1\r\nM2,86,22\r\n");
    Window->DoOpenFile(FilePath("cut.sbp"));
    Window->PanelGL->tbSpeed->setValue(200);
    Window->actRun->Execute();
    ASSERT_FALSE(Window->Running);
    const QImage after = Snapshot();
    ASSERT_EQ(after.size(), before.size());

    // Red where the path lies: the middle row of the picture holds a long red run.
    int leftmost = after.width();
    int rightmost = -1;
    int redBefore = 0;
    for (int y = after.height() / 2 - 30; y <= after.height() / 2 + 30; ++y) {
        for (int x = 0; x < after.width(); ++x) {
            redBefore += PathRed(before.pixel(x, y)) ? 1 : 0;
            if (PathRed(after.pixel(x, y))) {
                leftmost = std::min(leftmost, x);
                rightmost = std::max(rightmost, x);
            }
        }
    }
    EXPECT_EQ(redBefore, 0);
    ASSERT_GT(rightmost, leftmost);
    EXPECT_GT(rightmost - leftmost, after.width() / 2) << "76 of the table's 96 inches";
    EXPECT_LT(std::abs((leftmost + rightmost) / 2 - after.width() / 2), after.width() / 10) << "centred";

    // The bit stands at the path's right end: the picture changed there and nowhere far
    // from the path.
    const TAffineVector bit = Window->Scene->Bit->Position().GetAsAffineVector();
    EXPECT_EQ(bit.X, 86.0f);
    EXPECT_EQ(bit.Y, 22.0f);
    int changedNearEnd = 0;
    for (int y = after.height() / 2 - 30; y <= after.height() / 2 + 30; ++y) {
        for (int x = rightmost - 20; x <= std::min(after.width() - 1, rightmost + 20); ++x) {
            changedNearEnd += (after.pixel(x, y) != before.pixel(x, y) && !PathRed(after.pixel(x, y))) ? 1 : 0;
        }
    }
    EXPECT_GT(changedNearEnd, 3) << "the bit's cone";
}

// A PRINT brings the messages window up over the main window: the screen goes on showing
// the preview (the messages window's native window made before it first showed left the
// viewer's window unpainted, the panel's grey in its place).
TEST_F(PreviewGl, APrintLeavesThePreviewDrawing)
{
    TFMessages messages(Window.get());
    FMessages = &messages;
    WriteText("print.sbp", "PRINT \"cut\"\r\nJ3,10,22,0\r\nM3,10,22,-0.1\r\nM2,86,22\r\n");
    Window->DoOpenFile(FilePath("print.sbp"));
    Window->PanelGL->tbSpeed->setValue(200);
    Window->actRun->Execute();
    ASSERT_FALSE(Window->Running);
    ASSERT_TRUE(messages.isVisible());
    // What the screen shows where the viewer is, beside the messages window: the table's
    // picture, not the panel's grey behind an unpainted window.
    const QWidget& viewer = *Window->GLWorldViewer1->Widget();
    const QRect shown(viewer.mapToGlobal(QPoint(0, 0)), QSize(viewer.width() / 3, viewer.height() / 3));
    const auto tableShown = [&] {
        const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0, shown.x(), shown.y(), shown.width(),
                                                                            shown.height()).toImage();
        int table = 0;
        for (int y = 0; y < screen.height(); y += 4) {
            for (int x = 0; x < screen.width(); x += 4) {
                const QRgb c = screen.pixel(x, y);
                table += qBlue(c) + 20 < qRed(c) && qBlue(c) + 20 < qGreen(c) ? 1 : 0; // yellowish wood
            }
        }
        return table > 10;
    };
    EXPECT_TRUE(testsupport::WaitFor(tableShown, 5000));
    FMessages = nullptr;
}

TEST_F(PreviewGl, ClosingWithAViewerRaisesNoXError)
{
    WriteText("m.sbp", "M2,5,5\r\n");
    Window->DoOpenFile(FilePath("m.sbp"));
    Window->actRun->Execute();
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    ASSERT_NE(x11, nullptr);
    TXErrorTrap trap(x11->display());
    Window->close();
    Window.reset();
    // What the close left to the loop is done, and the server has seen all of it.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(testsupport::DeliverPostedEvents());
    QGuiApplication::sync();
    EXPECT_EQ(trap.Check(), 0) << trap.Text();
}

} // namespace
