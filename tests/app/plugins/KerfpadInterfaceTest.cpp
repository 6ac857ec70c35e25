// The automation object over the real plug-in window, pages and simulator: the position
// text in every locale, what counts as true, where SendData's text goes, the buffer's
// text and selection, and what it refuses.

#include "app/plugins/KerfpadInterface.h"
#include "app/plugins/PlugInsForm.h"

#include "../PlugInTestSupport.h"

#include "editor/widget/CodeEditWidget.h"
#include "platform/core/Exceptions.h"
#include "platform/core/services/Clipboard.h"

#include <QLocale>
#include <QPushButton>
#include <QTest>

#include <clocale>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

class KerfpadInterface : public TPlugInTest {
protected:
    ~KerfpadInterface() override { delete FPlugIns; }
    // A plug-in window in FPlugIns, as its maker keeps it.
    TFPlugIns& OpenWindow()
    {
        FPlugIns = new TFPlugIns;
        FPlugIns->setResult(QDialog::Accepted);
        return *FPlugIns;
    }
    bool Closed() const { return FPlugIns->result() == QDialog::Rejected; }

    TKerfpadInterface Kerfpad;
};

class TFakeAutomationShell : public IAutomationShell {
public:
    void BringToFront() override { ++Raised; }
    bool HeadlessRunGoing() const override { return Headless; }
    int Raised = 0;
    bool Headless = false;
};

TEST_F(KerfpadInterface, PositionHasFifteenDigitsAndAPointInEveryLocale)
{
    Kerfpad.AddMoveNode(0.1, 2, -1.5, 1, 1);
    EXPECT_EQ(Kerfpad.GetCurPos(), "0.100000001490116,2,-1.5");
    const QLocale previous;
    const std::string numeric = std::setlocale(LC_NUMERIC, nullptr);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // Not every system has the German locale; the Qt default is changed either way.
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(Kerfpad.GetCurPos(), "0.100000001490116,2,-1.5");
    std::setlocale(LC_NUMERIC, numeric.c_str());
    QLocale::setDefault(previous);
}

TEST_F(KerfpadInterface, OnlyOneCountsAsTrue)
{
    Kerfpad.AddMoveNode(1, 2, 3, 1, 1);
    EXPECT_EQ(Kerfpad.GetCurPos(), "1,2,3");
    const std::size_t polylines = CutPolylines();
    // setcurpos 2 leaves the tool; newlines 0 and 7 add to the current polyline.
    Kerfpad.AddMoveNode(4, 5, 6, 2, 0);
    Kerfpad.AddMoveNode(5, 6, 6, 0, 7);
    EXPECT_EQ(Kerfpad.GetCurPos(), "1,2,3");
    EXPECT_EQ(CutPolylines(), polylines);
    std::string cut;
    Move.GetPathText("M", cut);
    EXPECT_NE(cut.find("5.00000,6.00000,6.00000"), std::string::npos) << cut;
    // The last segment, (4,5) to (5,6), as the simulator measures it: from its end back.
    EXPECT_DOUBLE_EQ(Kerfpad.GetLastMoveSegmentAngle(), -135.0);
    Kerfpad.AddMoveNode(9, 9, 9, 1, 1);
    EXPECT_EQ(CutPolylines(), polylines + 1);
    // Jogs go to their own paths, and move the tool only on 1.
    Kerfpad.AddJogNode(7, 7, 7, 0, 1);
    EXPECT_EQ(Kerfpad.GetCurPos(), "9,9,9");
    Kerfpad.AddJogNode(8, 8, 8, 1, 0);
    EXPECT_EQ(Kerfpad.GetCurPos(), "8,8,8");
    std::string jog;
    Move.GetPathText("J", jog);
    EXPECT_EQ(jog, "7.00000,7.00000,7.00000\r\n8.00000,8.00000,8.00000\r\n");
}

// Where SendData's text ends up, by the buffer's state, ToPlugins and the page.
struct TSendCase {
    const char* Name;
    bool WithWindow;
    bool BufferShown;
    int ToPlugins;
    bool WithPage;
    const char* Buffer;  // after the call
    const char* Page;    // the page's text after the call
    bool WindowClosed;
};

TEST_F(KerfpadInterface, SendDataGoesToTheBufferOrClosesTheWindowForThePage)
{
    const TSendCase cases[] = {
        {"buffer shown, to plug-ins", true, true, 1, true, "new", "AB", false},
        {"buffer hidden, to plug-ins", true, false, 1, true, "old", "AnewB", true},
        {"buffer shown, to the page", true, true, 0, true, "old", "AnewB", true},
        {"buffer shown, 2 is not 1", true, true, 2, true, "old", "AnewB", true},
        {"no page: the text is dropped", true, true, 0, false, "old", "", true},
        {"no window: nothing but the raise", false, true, 0, true, "", "AB", false},
    };
    for (const TSendCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TFakeAutomationShell shell;
        TAutomationShellScope shellScope(&shell);
        std::shared_ptr<TEditor> page;
        if (c.WithPage) {
            page = NewPage();
            page->ReplaceAllText({"AB"});
            Code(page).SetCaretXY({2, 1});
        }
        if (c.WithWindow) {
            TFPlugIns& window = OpenWindow();
            window.SetBufferText("old");
            window.PanelGL->setVisible(c.BufferShown);
        }
        Kerfpad.SendData("new", c.ToPlugins);
        EXPECT_EQ(shell.Raised, 1);
        if (c.WithWindow) {
            EXPECT_EQ(FPlugIns->BufferText(), c.Buffer);
            EXPECT_EQ(Closed(), c.WindowClosed);
        }
        if (page) {
            EXPECT_EQ(page->GetLines()->ToStringList().join('|'), c.Page);
            Form(page).CloseWithoutQuestion(false);
            Process();
        }
        delete FPlugIns;
    }
}

TEST_F(KerfpadInterface, AReadOnlyRunningPageRefusesTheTextAfterTheWindowClosed)
{
    const auto page = NewPage();
    page->ReplaceAllText({"AB"});
    page->SetReadOnly(true);
    OpenWindow().PanelGL->hide();
    try {
        Kerfpad.SendData("new", 1);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "The page is read-only while a program runs; the text was not inserted.");
    }
    // Closed all the same: a run under the window's modal loop goes on only once it is.
    EXPECT_TRUE(Closed());
    EXPECT_EQ(page->GetLines()->ToStringList(), QStringList{"AB"});
}

TEST_F(KerfpadInterface, GetDataReadsTheBufferAndGetCurrentLineThePage)
{
    EXPECT_EQ(Kerfpad.GetData(0), "");
    EXPECT_EQ(Kerfpad.GetCurrentLine(), "");
    TFPlugIns& window = OpenWindow();
    EXPECT_EQ(Kerfpad.GetData(0), "");
    window.SetBufferText("M2,1,1\r\nJ2,0,0");
    EXPECT_EQ(Kerfpad.GetData(1), "") << "no selection";
    EXPECT_EQ(Kerfpad.GetData(0), "M2,1,1\r\nJ2,0,0");
    window.Buffer().SetCaretAndSelection({3, 2}, {4, 1}, {3, 2});
    EXPECT_EQ(Kerfpad.GetData(1), "1,1\r\nJ2");
    EXPECT_EQ(Kerfpad.GetData(-1), "M2,1,1\r\nJ2,0,0");
    const auto page = NewPage();
    page->ReplaceAllText({"MS,1", "' second"});
    Code(page).SetCaretXY({3, 2});
    EXPECT_EQ(Kerfpad.GetCurrentLine(), "' second");
    // Text is UTF-8 both ways.
    Kerfpad.SendData("\xC3\x98 10 mm", 1);
    EXPECT_EQ(window.BufferText(), QString::fromUtf8("\u00D8 10 mm"));
    EXPECT_EQ(Kerfpad.GetData(0), "\xC3\x98 10 mm");
}

// The buffer keeps the control's MaxLeftChar of 1024; a longer last line is still read,
// copied and selected whole.
TEST_F(KerfpadInterface, TheBuffersLongLastLineIsHandedOutWhole)
{
    TFPlugIns& window = OpenWindow();
    const QString text = "M2,1,1\r\n" + QString(1500, 'A');
    const auto clipboard = [] {
        std::string copied;
        TClipboardOpener open(Clipboard());
        Clipboard().GetData(ClipboardTextFormat, copied);
        return QString::fromStdString(copied);
    };
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"Copy", [&] { window.BitBtn2->click(); }},
        {"Ctrl+A, Ctrl+C",
         [&] {
             QTest::keyClick(window.CodeEditor, Qt::Key_A, Qt::ControlModifier);
             QTest::keyClick(window.CodeEditor, Qt::Key_C, Qt::ControlModifier);
         }},
    };
    for (const auto& [name, copy] : ways) {
        window.SetBufferText(text);
        Clipboard().Open();
        Clipboard().Clear();
        Clipboard().Close();
        copy();
        EXPECT_EQ(clipboard().size(), text.size()) << name;
        EXPECT_TRUE(clipboard() == text) << name;
    }
    EXPECT_EQ(Kerfpad.GetData(1).size(), text.size()) << "Ctrl+A left the whole buffer selected";
    window.Buffer().SetCaretAndSelection({1, 2}, {1, 2}, {1501, 2});
    EXPECT_EQ(Kerfpad.GetData(1), std::string(1500, 'A'));
}

TEST_F(KerfpadInterface, ANodeThatIsNotAFiniteSinglePrecisionNumberIsRefusedWhole)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        bool Jog;
        double X, Y, Z;
        const char* Error;
    } cases[] = {
        {false, nan, 1, 1, "AddMoveNode: x = NAN is not a finite single-precision number; no node was added."},
        {true, 1, inf, 1, "AddJogNode: y = INF is not a finite single-precision number; no node was added."},
        {false, 1, 1, -inf, "AddMoveNode: z = -INF is not a finite single-precision number; no node was added."},
        // Finite here, infinite once rounded to the position's single precision.
        {true, 1e39, 0, 0, "AddJogNode: x = 1E39 is not a finite single-precision number; no node was added."},
        {false, 0, -1e300, 0, "AddMoveNode: y = -1E300 is not a finite single-precision number; no node was added."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Error);
        try {
            (c.Jog ? Kerfpad.AddJogNode(c.X, c.Y, c.Z, 1, 1) : Kerfpad.AddMoveNode(c.X, c.Y, c.Z, 1, 1));
            ADD_FAILURE() << "no error";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.Error);
        }
        EXPECT_EQ(Move.PathNodeCount(), 0u);
        EXPECT_EQ(Kerfpad.GetCurPos(), "0,0,0");
    }
    // The largest single-precision value still is one.
    Kerfpad.AddJogNode(std::numeric_limits<float>::max(), 0, 0, 1, 1);
    EXPECT_EQ(Kerfpad.GetCurPos(), "3.40282346638529E38,0,0");
}

TEST_F(KerfpadInterface, APositionThatIsNotFiniteReadsAsWords)
{
    const float inf = std::numeric_limits<float>::infinity();
    Move.SetPosition({std::numeric_limits<float>::quiet_NaN(), inf, -inf, 0});
    EXPECT_EQ(Kerfpad.GetCurPos(), "NAN,INF,-INF");
}

TEST_F(KerfpadInterface, NodesAreRefusedDuringAResultsRunOrQuickView)
{
    TFakeAutomationShell shell;
    TAutomationShellScope shellScope(&shell);
    shell.Headless = true;
    EXPECT_THROW(Kerfpad.AddMoveNode(1, 1, 1, 1, 1), Exception);
    EXPECT_THROW(Kerfpad.AddJogNode(1, 1, 1, 1, 1), Exception);
    EXPECT_EQ(Move.PathNodeCount(), 0u);
    // Reading goes on.
    EXPECT_EQ(Kerfpad.GetCurPos(), "0,0,0");
    shell.Headless = false;
    Kerfpad.AddJogNode(1, 1, 1, 1, 1);
    EXPECT_EQ(Move.PathNodeCount(), 1u);
}

} // namespace
