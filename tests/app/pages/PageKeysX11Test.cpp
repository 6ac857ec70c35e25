// The keyboard stays with the pages on a real X display, under each window manager and
// without one, keys pressed as a user's are: a page closed through the save question
// hands it to the page shown next; the open and save dialogs closed by Return from
// their completion list give it back; a Ctrl+click on a command without a plug-in page
// leaves it in the page, not in the 3D view; Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn and
// Ctrl+PgUp turn the page from the editor at the first press, and with one page leave
// the keyboard in its editor.

#include "app/pages/EditorForm.h"
#include "app/plugins/PlugInLoader.h"
#include "app/plugins/PlugInServices.h"
#include "app/shell/MainBlock.h"
#include "app/shell/MainForm.h"
#include "app/pages/PageControl.h"
#include "editor/completion/CodeCompletionProposal.h"
#include "editor/widget/CodeCompletionPopup.h"
#include "editor/widget/CodeEditWidget.h"
#include "platform/gui/QtDialogResponder.h"
#include "scene/viewer/WorldViewer.h"

#include "../ShellTestSupport.h"
#include "../X11KeysSupport.h"
#include "../../support/SettledViewer.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QImage>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>

#include <cstdlib>

#include <memory>
#include <string>

namespace {

using testsupport::ClickAt;
using testsupport::HasKeyboard;
using testsupport::ModalWithKeyboard;
using testsupport::PressKeys;
using testsupport::TypeText;
using testsupport::TUserSteps;

// Counts the releases of a key that reach a window of the application, whichever has
// the keyboard. Tab counts as Backtab: Shift may be up before the key.
class TKeyReleases : public QObject {
public:
    explicit TKeyReleases(int key) : FKey(key) { QCoreApplication::instance()->installEventFilter(this); }
    int Count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto tabAsBacktab = [](int key) { return key == Qt::Key_Tab ? int(Qt::Key_Backtab) : key; };
        if (event->type() == QEvent::KeyRelease && watched->isWindowType() &&
            tabAsBacktab(static_cast<QKeyEvent*>(event)->key()) == tabAsBacktab(FKey)) {
            ++Count;
        }
        return false;
    }

private:
    int FKey;
};

// The main window with its 3D viewer where OpenGL runs (its native window is what may
// hold the keyboard), real message boxes and file dialogs, pages of files in the test's
// folder.
class PageKeysX11 : public TShellTest {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb")) {
            GTEST_SKIP() << "needs the xcb platform (an X server)";
        }
        if (!testsupport::HaveXdotool()) {
            GTEST_SKIP() << "xdotool is not installed";
        }
        RegisterKerfpadClasses();
        WriteSettings("[Main]\nPanelGLWidth=500\n");
        TMainFormOptions options;
        options.WithViewer = true;
        Window = std::make_unique<TMainForm>(options);
        Window->resize(1100, 700);
        Window->show();
        if (Window->GLWorldViewer1 != nullptr) {
            ASSERT_TRUE(testsupport::WaitForSettledViewer(*Window->GLWorldViewer1));
        }
        // Keys sent to no window must not find the main window under the pointer.
        ASSERT_TRUE(std::system("xdotool mousemove 1599 999") == 0);
        ASSERT_TRUE(Activate());
    }
    void TearDown() override
    {
        if (EditorFactory) {
            EditorFactory->CloseAll();
        }
        Process();
        Window.reset();
    }

    // The main window to the front with the keyboard, as a click would.
    bool Activate()
    {
        Window->raise();
        Window->activateWindow();
        return testsupport::WaitFor([&] { return KeyboardBack(); });
    }

    std::shared_ptr<TEditor> OpenPage(const std::string& name, const std::string& text)
    {
        WriteText(name, text);
        Window->DoOpenFile(FilePath(name));
        return AsEditor(ActiveEditor);
    }
    // Opens the File menu as a user would: Alt+F, or where the window manager takes Alt
    // with a letter for itself (dwm), a click on its title.
    bool OpenFileMenu() const
    {
        const char* manager = std::getenv("KERFPAD_TEST_WINDOW_MANAGER");
        if (manager == nullptr || std::string(manager) != "dwm") {
            return PressKeys("alt+f");
        }
        QMenuBar* bar = Window->menuBar();
        return ClickAt(bar->mapToGlobal(bar->actionGeometry(Window->mFile->menuAction()).center()));
    }
    static bool FileMenuOpen() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr; }
    std::shared_ptr<TEditor> Shown() const { return AsEditor(ActiveEditor); }
    static bool HasFocus(const std::shared_ptr<TEditor>& page)
    {
        return page->Form != nullptr && QApplication::focusWidget() == &page->Form->CodeEditorWidget();
    }
    // `text` starts the page's first line, and Save is enabled for it: the action
    // updates when the application is idle, and its key does nothing before.
    static bool Typed(const std::shared_ptr<TEditor>& page, const char* text)
    {
        return page->Form != nullptr && page->Form->CodeEditor().LineAt(1).startsWith(QLatin1String(text)) &&
               dm->Actions.actFileSave->isEnabled();
    }
    // The user may type: the main window has the keyboard again.
    bool KeyboardBack() const { return QApplication::activeWindow() == Window.get() && HasKeyboard(*Window); }

    TQtDialogResponder Boxes;
    TDialogResponderScope BoxScope{&Boxes};
    std::unique_ptr<TMainForm> Window;
};

// A changed page closed by Ctrl+F4 or from the File menu, No or Yes at the question: the
// letters typed next and Ctrl+S go to the page shown then, which was not the one closed.
TEST_F(PageKeysX11, APageClosedThroughTheSaveQuestionHandsTheKeyboardOn)
{
    // Fluxbox takes Ctrl+F4 for itself (the fourth workspace).
    const char* manager = std::getenv("KERFPAD_TEST_WINDOW_MANAGER");
    const bool ctrlF4 = manager == nullptr || std::string(manager) != "fluxbox";
    // A case without Close keys closes from the File menu.
    const struct {
        const char* What;
        const char* Close;
        const char* Answer;
        std::string ClosedFileAfter;
    } cases[] = {
        {"Ctrl+F4, No", "ctrl+F4", "n", "' two\r\n"},
        {"Ctrl+F4, Yes", "ctrl+F4", "y", "x' two\r\n"},
        {"File menu, No", nullptr, "n", "' two\r\n"},
        {"File menu, Yes", nullptr, "y", "x' two\r\n"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        if (!ctrlF4 && c.Close != nullptr) {
            continue;
        }
        ASSERT_TRUE(Activate());
        const std::string next = std::to_string(++n) + "-next.sbp";
        const std::string closed = std::to_string(n) + "-closed.sbp";
        const auto nextPage = OpenPage(next, "' one\r\n");
        const auto closedPage = OpenPage(closed, "' two\r\n");
        TUserSteps user;
        user.Add("the page has the keyboard", [&] { return HasFocus(closedPage) && KeyboardBack(); },
                 [] { TypeText("x"); });
        user.Add("the letter in the page", [&] { return closedPage->GetModified(); },
                 [&] { c.Close != nullptr ? PressKeys(c.Close) : OpenFileMenu(); });
        if (c.Close == nullptr) {
            user.Add("the File menu", FileMenuOpen, [] { PressKeys("c"); });
        }
        user.Add("the save question", [] { return ModalWithKeyboard() != nullptr; },
                 [&] { PressKeys(c.Answer); });
        user.Add("the page closed", [&] { return PageCount() == 1 && KeyboardBack(); }, [] { TypeText("yz"); });
        user.Add("the letters in the page shown next", [&] { return Typed(nextPage, "yz' one"); },
                 [] { PressKeys("ctrl+s"); });
        user.Add("Ctrl+S saved it", [&] { return ReadText(next) == "yz' one\r\n"; });
        EXPECT_TRUE(user.Run());
        EXPECT_EQ(Shown().get(), nextPage.get());
        EXPECT_TRUE(HasFocus(nextPage));
        EXPECT_EQ(ReadText(closed), c.ClosedFileAfter);
        EditorFactory->CloseAll();
        Process();
    }
}

// The name typed whole shows the completion list, and Return there takes the name: the
// dialog closes with the list still up, and the keyboard comes back to the page.
TEST_F(PageKeysX11, TheFileDialogsClosedFromTheirCompletionListGiveTheKeyboardBack)
{
    WriteText("opened.sbp", "' opened\r\n");
    WriteText("replaced.sbp", "' old\r\n");
    WriteText("listed.sbp", "' listed\r\n");
    const struct {
        const char* What;
        // Opens the dialog (from the File menu where none are given, by this item's key).
        const char* Keys;
        std::string Typed;
        // Answers the question Qt's save dialog asks before it replaces a file.
        const char* Replace;
        // The page's file once the dialog has closed.
        std::string File;
    } cases[] = {
        {"open", "ctrl+o", "opened.sbp", nullptr, "opened.sbp"},
        {"save as onto a file of the list", nullptr, "replaced.sbp", "y", "replaced.sbp"},
        {"save as a name the list completes", nullptr, "list", nullptr, "list.sbp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        ASSERT_TRUE(Activate());
        OpenPage(std::string(c.What).substr(0, 4) + "-start.sbp", "' start\r\n");
        const QString file = FilePath(c.File);
        const auto fileDialog = [] { return qobject_cast<QFileDialog*>(ModalWithKeyboard()) != nullptr; };
        TUserSteps user;
        user.Add("the page has the keyboard", [&] { return HasFocus(Shown()) && KeyboardBack(); },
                 [&] { c.Keys != nullptr ? PressKeys(c.Keys) : OpenFileMenu(); });
        if (c.Keys == nullptr) {
            user.Add("the File menu", FileMenuOpen, [] { PressKeys("a"); });
        }
        user.Add("the file dialog", fileDialog, [&] { TypeText(Path(c.Typed)); });
        user.Add("the completion list", [] { return QApplication::activePopupWidget() != nullptr; },
                 [] { PressKeys("Return"); });
        if (c.Replace != nullptr) {
            user.Add("the question before replacing",
                     [] { return qobject_cast<QMessageBox*>(ModalWithKeyboard()) != nullptr; },
                     [&] { PressKeys(c.Replace); });
        }
        user.Add("the dialog closed", [&] { return Shown()->GetFileName() == file && KeyboardBack(); },
                 [] { TypeText("k"); });
        user.Add("the letter in the page", [&] { return Typed(Shown(), "k' "); }, [] { PressKeys("ctrl+s"); });
        user.Add("Ctrl+S saved it", [&] { return ReadText(c.File).rfind("k' ", 0) == 0; });
        EXPECT_TRUE(user.Run());
        EditorFactory->CloseAll();
        Process();
    }
}

// Two names typed in the Open dialog's name box open in the order typed, the last one
// shown, also where the dialog's list selected the second first: typed before the rest
// was pasted over it.
TEST_F(PageKeysX11, TheOpenDialogOpensTheNamesInTheOrderTyped)
{
    for (const char* name : {"alpha.sbp", "bp.sbp", "mid.sbp", "square.sbp", "zeta.sbp"}) {
        WriteText(name, std::string("' ") + name + "\r\n");
    }
    const QString named = R"("square.sbp" "bp.sbp")";
    const struct {
        const char* What;
        const char* First; // typed before the names are pasted; none: the names typed
    } cases[] = {
        {"typed", nullptr},
        {"the second name typed first", R"("bp.sbp")"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        ASSERT_TRUE(Activate());
        OpenPage("start.sbp", "' start\r\n");
        QFileDialog* dialog = nullptr;
        const auto listed = [&] {
            auto* files = dialog->findChild<QFileSystemModel*>();
            return files != nullptr && files->rowCount(files->index(dialog->directory().absolutePath())) >= 6;
        };
        const auto box = [&] { return dialog->findChild<QLineEdit*>("fileNameEdit")->text(); };
        TUserSteps user;
        user.Add("the page has the keyboard", [&] { return HasFocus(Shown()) && KeyboardBack(); },
                 [] { PressKeys("ctrl+o"); });
        // It opens where the last file dialog was; the user goes to the folder.
        user.Add(
            "the file dialog", [&] { return (dialog = qobject_cast<QFileDialog*>(ModalWithKeyboard())) != nullptr; },
            [&] { dialog->setDirectory(QString::fromStdString(folder.string())); });
        if (c.First == nullptr) {
            user.Add("the folder listed", listed, [&] { TypeText(named.toStdString()); });
        } else {
            user.Add("the folder listed", listed, [&] { TypeText(c.First); });
            user.Add("the name selected in the list",
                     [&] { return box() == c.First && !dialog->findChild<QAbstractItemView*>("listView")
                                                          ->selectionModel()->selectedRows().isEmpty(); },
                     [&] {
                         QGuiApplication::clipboard()->setText(named);
                         PressKeys("ctrl+a ctrl+v");
                     });
        }
        user.Add("the names in the box", [&] { return box() == named; }, [] { PressKeys("Return"); });
        user.Add("the pages opened", [&] { return PageCount() == 3 && KeyboardBack(); });
        EXPECT_TRUE(user.Run());
        QStringList opened;
        for (int i = 0; i < PageCount(); ++i) {
            opened << QFileInfo(EditorFactory->GetEditor(i)->GetFileName()).fileName();
        }
        EXPECT_EQ(opened.join(' ').toStdString(), "start.sbp square.sbp bp.sbp");
        EXPECT_EQ(QFileInfo(Shown()->GetFileName()).fileName().toStdString(), "bp.sbp");
        EditorFactory->CloseAll();
        Process();
    }
}

// What the screen shows where the code insert list stood and where the chosen token
// was, once a plug-in item's page window opens: it waits, as the window's loop runs,
// for the list gone and the token's place blank.
class TScreenLookingLoader : public IPlugInLoader {
public:
    void LoadSimple(const QString& fileName, int, int, bool) override
    {
        Loaded << fileName;
        Clear = testsupport::WaitFor([&] { return !ListOnScreen() && !TextOnScreen(); });
    }

    QStringList Loaded;
    bool Clear = false;
    // Where the list and the token stood, on the screen.
    QRect List;
    QRect Token;

private:
    static QImage Screen(const QRect& r)
    {
        return QGuiApplication::primaryScreen()->grabWindow(0, r.x(), r.y(), r.width(), r.height()).toImage();
    }
    template <class F>
    static bool AnyPixel(const QRect& r, F&& test)
    {
        const QImage image = Screen(r);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (test(image.pixelColor(x, y))) {
                    return true;
                }
            }
        }
        return false;
    }
    // The list's lime title bar.
    bool ListOnScreen() const
    {
        return AnyPixel(List, [](const QColor& c) { return c.green() > 200 && c.red() < 80 && c.blue() < 80; });
    }
    // Dark letters on the page's white.
    bool TextOnScreen() const
    {
        return AnyPixel(Token, [](const QColor& c) { return c.lightness() < 128; });
    }
};

// A Code Insert item that names a plug-in page, chosen from the list with "Pa" typed:
// while its window is open, the list and "Pa" are gone from the screen and the line is
// empty. Opened from inside the completion, the window stood over both.
TEST_F(PageKeysX11, APlugInItemsPageOpensOverNoListAndNoTokenTyped)
{
    TCodeCompletionProposal& list = *dm->CodeAutoComplete;
    list.ClearList();
    list.AddItem("Header", "MS,2,1");
    list.AddItem("Page of the plug-in", "[LOADFILE],tool.htm,400,300");
    TScreenLookingLoader loader;
    const TPlugInLoaderScope loaderScope(&loader);
    const auto page = OpenPage("insert.sbp", "' first\r\n\r\n' third\r\n");
    TCodeEditWidget& widget = page->Form->CodeEditorWidget();
    TCodeEdit& code = page->Form->CodeEditor();
    code.SetCaretXY({1, 2});
    const auto popup = [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (dynamic_cast<TCodeCompletionPopup*>(window) != nullptr && window->isVisible()) {
                return window;
            }
        }
        return static_cast<QWidget*>(nullptr);
    };
    TUserSteps user;
    user.Add("the page has the keyboard", [&] { return HasFocus(page) && KeyboardBack(); },
             [] { TypeText("Pa"); });
    user.Add("the token in the line", [&] { return code.LineAt(2) == QLatin1String("Pa"); },
             [] { PressKeys("ctrl+space"); });
    user.Add("the list with the plug-in item",
             [&] {
                 return popup() != nullptr && list.Form().ItemList().size() == 1 &&
                        popup()->windowHandle()->isExposed();
             },
             [&] {
                 loader.List = popup()->frameGeometry();
                 const TTextPoint start = code.TextPosToPixel({1, 2});
                 const TTextPoint end = code.TextPosToPixel({3, 2});
                 // Past the caret at the line's start.
                 loader.Token = QRect(widget.viewport()->mapToGlobal(QPoint(start.x + 3, start.y)),
                                      QSize(end.x - start.x - 3, code.LineHeight()));
                 PressKeys("Return");
             });
    user.Add("the page window opened", [&] { return !loader.Loaded.isEmpty(); });
    EXPECT_TRUE(user.Run());
    EXPECT_EQ(loader.Loaded, QStringList{"tool.htm"});
    EXPECT_TRUE(loader.Clear) << "the list or \"Pa\" stayed on the screen";
    EXPECT_EQ(code.LineAt(2), "");
    EXPECT_EQ(code.LineAt(3), "' third");
}

// The caret goes to the clicked line and, once the quiet look for the command's plug-in
// page has found none, the letters typed go into that line.
TEST_F(PageKeysX11, ACtrlClickOnACommandWithoutAPlugInPageLeavesTheKeyboardInThePage)
{
    if (Window->GLWorldViewer1 == nullptr) {
        GTEST_SKIP() << "no OpenGL: no 3D view to hold the keyboard";
    }
    TPlugInWindowLoader loader;
    const TPlugInLoaderScope loaderScope(&loader);
    const auto page = OpenPage("click.sbp", "' first\r\nMS, 2, 2\r\n");
    TCodeEditWidget& widget = page->Form->CodeEditorWidget();
    TCodeEdit& code = page->Form->CodeEditor();
    TUserSteps user;
    user.Add("the page has the keyboard", [&] { return HasFocus(page) && KeyboardBack(); },
             [&] {
                 const TTextPoint cell = code.TextPosToPixel({4, 2});
                 const QPoint at(cell.x + 2, cell.y + code.LineHeight() / 2);
                 ClickAt(widget.viewport()->mapToGlobal(at), "ctrl");
             });
    user.Add("the caret at the start of the clicked line",
             [&] { return code.CaretXY() == TTextPoint{1, 2} && KeyboardBack(); }, [] { TypeText("q"); });
    user.Add("the letter in the clicked line", [&] { return code.LineAt(2) == QLatin1String("qMS, 2, 2"); });
    EXPECT_TRUE(user.Run());
    EXPECT_TRUE(HasFocus(page));
    EXPECT_NE(QGuiApplication::focusWindow(), Window->GLWorldViewer1->Window()) << "the 3D view holds the keyboard";
}

// From the editor, each page key turns the page at its first press and the keyboard
// stays in the editor of the page it shows; Ctrl+Shift+PgDn stays the editor's (it
// selects to the page's bottom).
TEST_F(PageKeysX11, ThePageKeysTurnThePageFromTheEditor)
{
    OpenPage("first.sbp", "' first\r\n");
    const auto middle = OpenPage("middle.sbp", "' middle\r\n' two\r\n");
    OpenPage("last.sbp", "' last\r\n");
    QTabWidget& tabs = *Window->pctrlMain;
    const struct {
        const char* Keys;
        int Shown;
        bool Selects;
    } cases[] = {
        {"ctrl+Tab", 2, false},  {"ctrl+shift+Tab", 0, false},  {"ctrl+Next", 2, false},
        {"ctrl+Prior", 0, false}, {"ctrl+shift+Next", 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Keys);
        ASSERT_TRUE(Activate());
        middle->Activate();
        TUserSteps user;
        user.Add("the middle page has the keyboard", [&] { return HasFocus(middle) && KeyboardBack(); },
                 [&] { PressKeys(c.Keys); });
        // The page the key turns to, the keyboard in its editor, not on the tabs; the
        // letter then shows where the keyboard is.
        user.Add("the page shown",
                 [&] { return tabs.currentIndex() == c.Shown && HasFocus(Shown()) && Shown()->CanCopy() == c.Selects; },
                 [] { TypeText("p"); });
        user.Add("the letter in that page", [&] { return Shown()->GetModified(); });
        EXPECT_TRUE(user.Run()) << "page " << tabs.currentIndex() << " shown";
        Shown()->ExecUndo();
    }
}

// With one page the page keys leave the keyboard in its editor: the letters typed next
// go into the page and Ctrl+S saves it. Ctrl+PgDn moves the caret to the page's bottom.
TEST_F(PageKeysX11, WithOnePageThePageKeysLeaveTheKeyboardInTheEditor)
{
    const struct {
        const char* Keys;
        int Key; // as Qt names it
        std::string Saved;
    } cases[] = {
        {"ctrl+Tab", Qt::Key_Tab, "ab' one\r\n' two\r\n"},
        {"ctrl+shift+Tab", Qt::Key_Backtab, "ab' one\r\n' two\r\n"},
        {"ctrl+Next", Qt::Key_PageDown, "' one\r\nab' two\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Keys);
        ASSERT_TRUE(Activate());
        const std::string name = std::string("one-") + (c.Keys + 5) + ".sbp";
        const auto page = OpenPage(name, "' one\r\n' two\r\n");
        TCodeEdit& code = page->Form->CodeEditor();
        TKeyReleases released(c.Key);
        TUserSteps user;
        user.Add("the page has the keyboard", [&] { return HasFocus(page) && KeyboardBack(); },
                 [&] { PressKeys(c.Keys); });
        // Nothing shows that the key did nothing; once it is released its press has been
        // handled, and the letters then show where the keyboard is.
        user.Add("the key handled", [&] { return released.Count > 0; }, [] { TypeText("ab"); });
        user.Add("the letters in the page", [&] { return page->GetModified() && dm->Actions.actFileSave->isEnabled(); },
                 [] { PressKeys("ctrl+s"); });
        user.Add("Ctrl+S saved it", [&] { return ReadText(name) == c.Saved; });
        EXPECT_TRUE(user.Run()) << "line 1 \"" << code.LineAt(1).toStdString() << "\"";
        EXPECT_TRUE(HasFocus(page));
        EditorFactory->CloseAll();
        Process();
    }
}

} // namespace
