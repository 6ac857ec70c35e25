// The 3D view with real OpenGL under the X server: Print puts the viewer's picture on
// one landscape PDF page (read back with QtPdf), a printer that cannot start gives an
// error box, and the viewer's right click opens its menu unless it turned the view.

#include "../RunTestSupport.h"
#include "../ViewerTestSupport.h"

#include "app/run/PreviewPanel.h"

#include "scene/objects/shapes/Cubes.h"

#include <QGuiApplication>
#include <QMenu>
#include <QPdfDocument>
#include <QPrinter>
#include <QPushButton>

#include <cstdlib>

namespace {

// The fixture's viewer has settled and drawn its picture before a test prints it.
class ViewPrintGl : public TViewerShellTest {};

// The light blue of the background and the pale yellow of the table (with the board's
// grain over it).
bool Sky(QRgb c)
{
    return std::abs(qRed(c) - 0xA6) < 24 && std::abs(qGreen(c) - 0xCA) < 24 && std::abs(qBlue(c) - 0xF0) < 24;
}
bool Yellowish(QRgb c)
{
    return qRed(c) > 80 && qGreen(c) > 60 && qBlue(c) + 40 < qRed(c);
}

TEST_F(ViewPrintGl, TheViewPrintsOnOneLandscapePage)
{
    QPrinter& printer = dm->Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(FilePath("view.pdf"));
    printer.setPageOrientation(QPageLayout::Portrait);
    Window->PanelGL->BitBtn7->click();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the wait cursor went";
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait) << "listings keep their orientation";

    QPdfDocument pdf;
    ASSERT_EQ(pdf.load(FilePath("view.pdf")), QPdfDocument::Error::None);
    ASSERT_EQ(pdf.pageCount(), 1);
    const QSizeF points = pdf.pagePointSize(0);
    EXPECT_GT(points.width(), points.height()) << "landscape";
    const QImage page = pdf.render(0, (points * 2).toSize());
    ASSERT_FALSE(page.isNull());

    // The picture fills the printable area: the background near its corners, the table
    // in its middle.
    QPageLayout landscape = printer.pageLayout();
    landscape.setOrientation(QPageLayout::Landscape);
    const QRectF area = landscape.paintRect(QPageLayout::Point);
    const QRectF picture(area.topLeft() * 2, area.size() * 2);
    const double inset = 0.04;
    for (const QPointF corner : {QPointF(inset, inset), QPointF(1 - inset, inset), QPointF(inset, 1 - inset),
                                 QPointF(1 - inset, 1 - inset)}) {
        const QPoint p(int(picture.left() + corner.x() * picture.width()),
                       int(picture.top() + corner.y() * picture.height()));
        EXPECT_TRUE(Sky(page.pixel(p))) << p.x() << "," << p.y() << ": " << std::hex << page.pixel(p);
    }
    const QPoint middle = picture.center().toPoint();
    EXPECT_TRUE(Yellowish(page.pixel(middle))) << std::hex << page.pixel(middle);
    const QRgb margin = page.pixel(2, 2);
    EXPECT_TRUE(qAlpha(margin) == 0 || margin == qRgb(255, 255, 255)) << "no ink on the margin";
    if (const char* keep = std::getenv("KERFPAD_KEEP_PRINT")) {
        page.save(QString::fromLocal8Bit(keep));
    }
}

TEST_F(ViewPrintGl, APrinterThatCannotStartGivesAnErrorBox)
{
    QPrinter& printer = dm->Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString target = FilePath("no-such-folder/view.pdf");
    printer.setOutputFileName(target);
    Dialogs.ExpectMessage("Printer \"" + target.toStdString() + "\" cannot start the job.", TModalResult::mrOk);
    Window->PanelGL->BitBtn7->click();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(ViewPrintGl, ARightClickOpensTheMenuUnlessItTurnedTheView)
{
    TGLWorldViewer& viewer = *Window->GLWorldViewer1;
    const TShiftState right = TShiftState::ssRight;
    viewer.OnMouseDown(&viewer, mbRight, right, 100, 100);
    viewer.OnMouseMove(&viewer, right, 140, 101);
    viewer.OnMouseUp(&viewer, mbRight, TShiftState(), 140, 101);
    EXPECT_FALSE(Window->PopupMenu1->isVisible());
    EXPECT_NEAR(Window->Scene->DummyCube1->TurnAngle(), 40 * 0.13 * 1.25, 1e-3);

    viewer.OnMouseDown(&viewer, mbRight, right, 100, 100);
    viewer.OnMouseMove(&viewer, right, 101, 100);
    viewer.OnMouseUp(&viewer, mbRight, TShiftState(), 101, 100);
    EXPECT_TRUE(Window->PopupMenu1->isVisible());
    Window->PopupMenu1->hide();
}

} // namespace
