// Printing through QPrinter into a PDF and reading the PDF back with QtPdf.

#include "editor/printing/CodeEditPrint.h"
#include "editor/highlighting/CodeRuleHighlighter.h"
#include "platform/gui/QtCanvas.h"
#include "platform/gui/QtPrinter.h"
#include "../support/PartProgramRules.h"
#include "../support/TempFolderTest.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QPrinter>
#include <QRegularExpression>

#include <algorithm>
#include <filesystem>

namespace {

class CodeEditPrintPdfGui : public testsupport::TTempFolderTest {
protected:
    CodeEditPrintPdfGui() : device(QPrinter::HighResolution)
    {
        InstallQtMeasuringCanvas();
        device.setOutputFormat(QPrinter::PdfFormat);
        device.setResolution(300);
        device.setPageSize(QPageSize(QPageSize::A4));
        device.setOutputFileName(QString::fromStdString(Path("listing.pdf")));
        BuildPartProgramRules(highlighter);
        engine.SetHighlighter(&highlighter);
        engine.Colors = true;
        engine.SetLineNumbers(true);
        TFont font;
        font.SetName("DejaVu Sans Mono");
        font.SetSize(10);
        font.SetColor(clBlack);
        engine.SetFont(font);
        engine.Title = QStringLiteral("square.sbp");
        engine.Header().Add("$TITLE$ page $PAGENUM$ of $PAGECOUNT$", nullptr, taLeftJustify, 1);
        engine.Footer().Add("Kerfpad listing", nullptr, taCenter, 1);
        QStringList lines;
        for (int i = 1; i <= 100; ++i) {
            lines << QStringLiteral("MS,2,1") << QStringLiteral("M3,%1,2,-0.5 ' pass %1").arg(i);
        }
        engine.SetLines(lines);
    }

    int PdfPages(QPdfDocument& document) const
    {
        if (document.load(QString::fromStdString(Path("listing.pdf"))) != QPdfDocument::Error::None) {
            return -1;
        }
        return document.pageCount();
    }

    QPrinter device;
    TQtPrinter printer{device};
    TPrinterScope printerScope{&printer};
    TCodeRuleHighlighter highlighter;
    TCodeEditPrint engine;
};

TEST_F(CodeEditPrintPdfGui, ThePdfHoldsThePagesTextAndColours)
{
    engine.Print();
    QPdfDocument document(nullptr);
    const int count = PdfPages(document);
    EXPECT_GT(count, 1);
    EXPECT_EQ(count, engine.PageCount());
    // The PDF printer's sheet is A4 (595 x 842 points) at its resolution; the printable
    // area lies inside it.
    TCodeEditPrinterInfo& info = engine.PrinterInfo();
    EXPECT_EQ(std::pair(info.PhysicalWidth(), info.PhysicalHeight()), std::pair(2479, 3508));
    EXPECT_EQ(info.DpiY(), 300);
    EXPECT_GT(std::min({info.LeftOffset(), info.TopOffset(), info.RightOffset(), info.BottomOffset()}), 0);
    // Text extraction guesses blanks from the gaps between glyphs placed in whole
    // printer pixels; the proportional header font gets stray ones, so compare without.
    const QString first = document.getAllText(0).text().remove(QRegularExpression(QStringLiteral("\\s")));
    EXPECT_TRUE(first.contains(QStringLiteral("square.sbppage1of%1").arg(count))) << first.toStdString();
    EXPECT_TRUE(first.contains(u"Kerfpadlisting"));
    EXPECT_TRUE(first.contains(u"1:MS,2,1")) << first.toStdString();
    EXPECT_TRUE(document.getAllText(0).text().contains(u"2: M3,1,2,-0.5 ' pass 1")) << "the code keeps its blanks";
    EXPECT_TRUE(document.getAllText(1).text().contains(u"M3,")) << "the rows go on on page 2";

    // A4 at 100 dpi: the first line's keyword "MS" is bold blue, its comment green.
    const QImage page = document.render(0, QSize(827, 1169)).convertToFormat(QImage::Format_RGB32);
    int blue = 0;
    int green = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            blue += c.blue() > 160 && c.red() < 90 && c.green() < 90;
            green += c.green() > 90 && c.red() < 60 && c.blue() < 60;
        }
    }
    EXPECT_GT(blue, 20);
    EXPECT_GT(green, 20);
}

TEST_F(CodeEditPrintPdfGui, ThreeCopiesOfTwoPagesGiveSixPages)
{
    engine.Copies = 3;
    engine.PrintRange(1, 2);
    QPdfDocument document(nullptr);
    EXPECT_EQ(PdfPages(document), 6);
    EXPECT_EQ(document.getAllText(2).text(), document.getAllText(0).text());
}

TEST_F(CodeEditPrintPdfGui, AnAbortedJobLeavesTheFileAsItWas)
{
    WriteText("listing.pdf", "the old listing");
    engine.OnPrintStatus = [](TObject*, TCodePrintStatus status, int page, bool& abort) {
        abort = status == psNewPage && page == 2;
    };
    engine.Print();
    EXPECT_EQ(ReadText("listing.pdf"), "the old listing");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "no temporary file is left";
    EXPECT_FALSE(printer.Printing());
}

TEST_F(CodeEditPrintPdfGui, APrinterThatCannotStartNamesItself)
{
    const QString missing = QString::fromStdString(Path("no/such/folder/listing.pdf"));
    device.setOutputFileName(missing);
    try {
        engine.Print();
        FAIL() << "printed into a missing folder";
    } catch (const EPrinter& error) {
        EXPECT_NE(error.Message().find(missing.toStdString()), std::string::npos) << error.Message();
    }
    EXPECT_EQ(device.outputFileName(), missing);
}

} // namespace
