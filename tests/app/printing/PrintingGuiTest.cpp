// Printing from a page: the print engine prepared from the page and the print settings,
// a job on a PDF printer read back, the print preview dialog with its commands, and the
// print and code insert actions of the data module.

#include "app/shell/BtnEdit.h"
#include "app/settings/EditorOptionsForm.h"
#include "app/settings/EditorSettings.h"
#include "app/shell/MainBlock.h"
#include "app/shell/MainForm.h"
#include "app/plugins/PlugInLoader.h"
#include "app/printing/PrintPreviewDialog.h"

#include "../PrintPreviewProbe.h"
#include "../ShellTestSupport.h"

#include "editor/completion/CodeCompletionProposal.h"
#include "editor/widget/CodeCompletionPopup.h"
#include "editor/printing/CodeEditPrint.h"
#include "platform/core/services/Printer.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QToolBar>
#include <QMenu>
#include <QMenuBar>
#include <QPdfDocument>
#include <QPrinter>
#include <QRegularExpression>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolButton>

namespace {

class PrintingGui : public TPageTest {
protected:
    PrintingGui()
    {
        TestPrintPreviewDlg = &Preview;
        FEditorOptions = &Options;
        QPrinter& printer = Dm.Printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(FilePath("listing.pdf"));
    }
    ~PrintingGui() override
    {
        FEditorOptions = nullptr;
        TestPrintPreviewDlg = nullptr;
    }
    std::shared_ptr<TEditor> ProgramPage()
    {
        std::string text;
        for (int i = 1; i <= 240; ++i) {
            text += "M3," + std::to_string(i) + ",2,-0.5 ' pass " + std::to_string(i) + "\r\n";
        }
        WriteText("job.sbp", text);
        return NewPage(FilePath("job.sbp"));
    }
    // The page's editor with the keyboard, its window active, as a user typing into it.
    TCodeEditWidget& FocusEditor(const std::shared_ptr<TEditor>& page)
    {
        TCodeEditWidget& widget = Form(page).CodeEditorWidget();
        Host.Tabs.activateWindow();
        QApplication::setActiveWindow(&Host.Tabs);
        widget.setFocus();
        return widget;
    }
    // The text of a page of the PDF without the blanks extraction guesses between glyphs.
    QString PdfText(QPdfDocument& document, int page) const
    {
        return document.getAllText(page).text().remove(QRegularExpression(QStringLiteral("\\s")));
    }

    TFEditorOptions Options;
    TTestPrintPreviewDlg Preview;
};

TEST_F(PrintingGui, APagePrintsWithItsTitleAndThePreviewCountsTheSamePages)
{
    // The title is the page's whole path: alone on its line, so no other item overlaps it.
    Options.psHeaderCenter->setText("");
    Options.psHeaderRight->setText("");
    Options.psFooterCenter->setText("Kerfpad listing");
    Options.psFooterRight->setText("page $PAGENUM$ of $PAGECOUNT$");
    Options.Button3->click();
    const auto page = ProgramPage();
    page->ExecPrint();
    TCodeEditPrint& engine = *Dm.CodeEditPrint;
    EXPECT_EQ(engine.Title, FilePath("job.sbp"));
    EXPECT_EQ(engine.Lines().Count(), 240);

    QPdfDocument document(nullptr);
    ASSERT_EQ(document.load(FilePath("listing.pdf")), QPdfDocument::Error::None);
    const int pages = document.pageCount();
    EXPECT_GT(pages, 2);
    const QString first = PdfText(document, 0);
    EXPECT_TRUE(first.contains(u"job.sbp")) << first.toStdString();
    EXPECT_TRUE(first.contains(u"Kerfpadlisting"));
    EXPECT_TRUE(first.contains(QStringLiteral("page1of%1").arg(pages))) << first.toStdString();

    Dialogs.ExpectForm("TestPrintPreviewDlg", {}, TModalResult::mrCancel);
    page->ExecPrintPreview();
    EXPECT_EQ(PreviewPageCount(Preview), pages);
    EXPECT_EQ(PreviewPageNumber(Preview), 1);
    EXPECT_EQ(Preview.StatusPanel1->text(), " Page: 1");
    EXPECT_TRUE(PreviewShowsWholePage(Preview));

    Preview.NextCmd->trigger();
    EXPECT_EQ(Preview.StatusPanel1->text(), " Page: 2");
    PreviewScrollDown(Preview);
    EXPECT_EQ(Preview.StatusPanel1->text(), " Page: 3") << "the page bar's arrow turns the page too";
    Preview.LastCmd->trigger();
    EXPECT_EQ(PreviewPageNumber(Preview), pages);
    Preview.FirstCmd->trigger();
    EXPECT_EQ(Preview.StatusPanel1->text(), " Page: 1");
}

TEST_F(PrintingGui, ThePreviewsCommandsHintsAndZoom)
{
    const auto page = ProgramPage();
    Dialogs.ExpectForm("TestPrintPreviewDlg", {}, TModalResult::mrCancel);
    page->ExecPrintPreview();
    EXPECT_EQ(Preview.FirstCmd->toolTip(), "First");
    EXPECT_EQ(Preview.actPrinterSetup->statusTip(), "Printer Setup") << "a hint without a bar is both";
    QStatusTipEvent tip(Preview.NextCmd->statusTip());
    QCoreApplication::sendEvent(Preview.ToolBar1, &tip);
    EXPECT_EQ(Preview.StatusPanel0->text(), "  Go to next page");

    const QList<QAction*> zoom = Preview.PopupMenu1->actions();
    ASSERT_EQ(zoom.size(), 8);
    zoom[5]->trigger(); // 100%
    EXPECT_EQ(PreviewScalePercent(Preview), 100);
    Preview.CodeEditPrintPreviewMouseDown(Qt::LeftButton);
    EXPECT_EQ(PreviewScalePercent(Preview), 200);
    Preview.CodeEditPrintPreviewMouseDown(Qt::RightButton);
    EXPECT_EQ(PreviewScalePercent(Preview), 100);
    Preview.ZoomCmd->trigger();
    EXPECT_TRUE(PreviewShowsWholePage(Preview));

    // Print asks for the printer first; Cancel prints nothing.
    Dialogs.ExpectForm("PrinterSetup", {}, TModalResult::mrCancel);
    Preview.PrintCmd->trigger();
    EXPECT_FALSE(std::filesystem::exists(Path("listing.pdf")));
    // Print Options: the Printing page, then the settings on the engine.
    Dialogs.ExpectForm("FEditorOptions", {{"psPrintFooter", "0"}}, TModalResult::mrCancel);
    Preview.actPrintOptions->trigger();
    EXPECT_EQ(Options.PageControl1->currentWidget(), Options.TabSheet4);
    EXPECT_EQ(Dm.CodeEditPrint->Footer().Count(), 3) << "a box changed without Save is not applied";
}

TEST_F(PrintingGui, ThePrintActionAsksForThePrinterAndFollowsThePage)
{
    TDataModuleActions& a = Dm.Actions;
    a.actlMain.UpdateAll();
    EXPECT_FALSE(a.actFilePrintPreview->isEnabled());
    ProgramPage();
    a.actlMain.UpdateAll();
    EXPECT_TRUE(a.actFilePrint->isEnabled());
    EXPECT_TRUE(a.actFilePrintPreview->isEnabled());
    Dialogs.ExpectForm("PrinterSetup", {}, TModalResult::mrCancel);
    a.actFilePrint->trigger();
    EXPECT_FALSE(std::filesystem::exists(Path("listing.pdf")));
    Dialogs.ExpectForm("TestPrintPreviewDlg", {}, TModalResult::mrCancel);
    a.actFilePrintPreview->trigger();
    EXPECT_EQ(Dialogs.FormsShown, (std::vector<std::string>{"PrinterSetup", "TestPrintPreviewDlg"}));
}

// --- code insert ----------------------------------------------------------------------

class FakeLoader : public IPlugInLoader {
public:
    void LoadSimple(const QString& fileName, int width, int height, bool) override
    {
        Loaded << QStringLiteral("%1 %2x%3").arg(fileName).arg(width).arg(height);
    }
    QStringList Loaded;
};

TEST_F(PrintingGui, CodeInsertOpensTheListAtTheCaretAndInsertsTheValue)
{
    WriteText("KerfpadCI.ini", "[Code Insert]\nItemCount=3\nItem1=Start\nValue1=MS,2,1\n"
                               "Item2=Stop\nValue2=PAUSE~END~\nItem3=Page\nValue3=[LOADFILE],tool.htm,400,300\n");
    Options.LoadCodeInsert();
    WriteText("two.sbp", "\r\nM2,1,1\r\n");
    const auto page = NewPage(FilePath("two.sbp"));
    TCodeEditWidget& widget = FocusEditor(page);
    TCodeCompletionProposal& list = *Dm.CodeAutoComplete;
    EXPECT_EQ(list.Editor(), &Code(page)) << "attached on entering the page";

    Dm.Actions.actCodeInsert->trigger();
    ASSERT_TRUE(list.Form().Visible());
    QTest::keyClicks(&widget, "St");
    EXPECT_EQ(list.Form().ItemList(), (QStringList{"Start", "Stop"}));
    QTest::keyClicks(&widget, "o");
    EXPECT_EQ(list.Form().ItemList(), QStringList{"Stop"});
    QTest::keyClick(&widget, Qt::Key_Return);
    EXPECT_FALSE(list.Form().Visible());
    EXPECT_EQ(Code(page).LineAt(1), "PAUSE");
    EXPECT_EQ(Code(page).LineAt(2), "END");
    EXPECT_EQ(Code(page).CaretXY(), (TTextPoint{1, 3})) << "after the value's last line break";

    // A plug-in item empties the caret line and shows the page instead.
    FakeLoader loader;
    const TPlugInLoaderScope scope(&loader);
    page->InsertText("MS, ");
    const int line = Code(page).CaretY();
    EXPECT_TRUE(Code(page).LineAt(line).startsWith("MS,"));
    QTest::keyClick(&widget, Qt::Key_Space, Qt::ControlModifier);
    ASSERT_TRUE(list.Form().Visible());
    ASSERT_EQ(list.Form().ItemList().size(), 3) << "no word before the caret: every item";
    list.SetPosition(2);
    QTest::keyClick(&widget, Qt::Key_Return);
    Process(); // the page shows once the completion has ended
    EXPECT_EQ(loader.Loaded, QStringList{"tool.htm 400x300"});
    EXPECT_EQ(Code(page).LineAt(line), "") << "the caret line is emptied, nothing inserted";
    EXPECT_EQ(Code(page).LineAt(line + 1), "M2,1,1");
    EXPECT_FALSE(list.Form().Visible());
}

// What a plug-in item's page window finds as it opens: the list shown or not, the page's
// editor inside an update (what it changed not yet drawn) or not, and the caret line.
class TLookingLoader : public IPlugInLoader {
public:
    TLookingLoader(TCodeCompletionProposal& list, TCodeEdit& code) : FList(list), FCode(code) {}
    void LoadSimple(const QString& fileName, int, int, bool) override
    {
        Loaded << fileName;
        ListShown = FList.Form().Visible();
        for (QWidget* window : QApplication::topLevelWidgets()) {
            ListShown = ListShown || (dynamic_cast<TCodeCompletionPopup*>(window) != nullptr && window->isVisible());
        }
        InUpdate = FCode.PaintLock() > 0;
        Line = FCode.LineAt(FCode.CaretY());
    }

    QStringList Loaded;
    bool ListShown = true;
    bool InUpdate = true;
    QString Line;

private:
    TCodeCompletionProposal& FList;
    TCodeEdit& FCode;
};

// A plug-in item's page opens once the list has closed and the editor's update has ended:
// opened from inside the completion, its modal window stood over the list and the token
// typed, which the editor drew again only once the window closed (PageKeysX11Test.cpp
// looks at the screen itself).
TEST_F(PrintingGui, APlugInItemsPageOpensOnceTheCompletionHasEnded)
{
    WriteText("KerfpadCI.ini", "[Code Insert]\nItemCount=3\nItem1=Start\nValue1=MS,2,1\n"
                               "Item2=Page of the plug-in\nValue2=[LOADFILE],tool.htm,400,300\n"
                               "Item3=Park\nValue3=[LOADFILE],park.htm\n");
    Options.LoadCodeInsert();
    const struct {
        const char* What;
        const char* Typed; // before the list opens
        int Position;      // then chosen, -1: as the typed token selects it
        Qt::Key Key;
        const char* Page;
    } cases[] = {
        {"\"Pa\" and Return", "Pa", -1, Qt::Key_Return, "tool.htm"},
        {"\"Pa\" and Tab", "Pa", -1, Qt::Key_Tab, "tool.htm"},
        {"\"Pa\", the second match", "Pa", 1, Qt::Key_Return, "park.htm"},
        {"no token", "", 1, Qt::Key_Return, "tool.htm"},
    };
    WriteText("two.sbp", "M2,1,1\r\n\r\nM2,2,2\r\n");
    const auto page = NewPage(FilePath("two.sbp"));
    TCodeEditWidget& widget = FocusEditor(page);
    TCodeCompletionProposal& list = *Dm.CodeAutoComplete;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TLookingLoader loader(list, Code(page));
        const TPlugInLoaderScope scope(&loader);
        Code(page).SetCaretXY({1, 2});
        QTest::keyClicks(&widget, c.Typed);
        QTest::keyClick(&widget, Qt::Key_Space, Qt::ControlModifier);
        ASSERT_TRUE(list.Form().Visible());
        if (c.Position >= 0) {
            list.SetPosition(c.Position);
        }
        QTest::keyClick(&widget, c.Key);
        Process();
        EXPECT_EQ(loader.Loaded, QStringList{c.Page});
        EXPECT_FALSE(loader.ListShown) << "the list over the page";
        EXPECT_FALSE(loader.InUpdate) << "the editor drew nothing yet";
        EXPECT_EQ(loader.Line, "");
        EXPECT_EQ(Code(page).LineAt(3), "M2,2,2");
    }
}

// --- the main block -------------------------------------------------------------------

class EditorOptionsMainBlockGui : public TAppTest {
protected:
    TQtEventLoop Loop;
    TEventLoopScope LoopScope{&Loop};
};

TEST_F(EditorOptionsMainBlockGui, TheDialogsLiveFromStartUpToTheEndAndTheMenusReachThem)
{
    bool made = false;
    QStringList file;
    QStringList tools;
    TMainBlockOptions options;
    options.WithViewer = false;
    options.InstallServices = false;
    options.Loop = [&](TMainForm& window) {
        made = FEditorOptions != nullptr && TestPrintPreviewDlg != nullptr;
        for (QAction* item : window.mFile->actions()) {
            file << item->text();
        }
        for (QAction* item : window.mTools->actions()) {
            tools << item->text();
        }
        EXPECT_EQ(window.actEditorOptions->shortcut(), QKeySequence(Qt::Key_F6));
        Dialogs.ExpectForm("FEditorOptions", {}, TModalResult::mrCancel);
        window.actEditorOptions->trigger();
        window.close();
        return 0;
    };
    KerfpadMainBlock({}, options);
    EXPECT_TRUE(made);
    EXPECT_EQ(FEditorOptions, nullptr);
    EXPECT_EQ(TestPrintPreviewDlg, nullptr);
    const qsizetype setup = file.indexOf("Print Set&up...");
    ASSERT_GE(setup, 2);
    EXPECT_EQ(file.mid(setup - 2, 2), (QStringList{"&Print...", "Print Pre&view"}));
    EXPECT_EQ(tools.value(0), "Editor Options");
}

} // namespace
