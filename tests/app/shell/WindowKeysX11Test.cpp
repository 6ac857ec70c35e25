// The keyboard on a real X display, under each window manager and without one: keys are
// pressed on the X server as a user's are (XTest, through xdotool), so the window
// manager's bindings see them. Alt+F4 closes every window and dialog; Escape closes the
// Tip of the Day and the keys then go to the page; a dialog or box closed (a run's PAUSE
// and INPUT boxes among them) gives the keyboard back, so Shift+F5 stops the run and
// typed keys go to the page; after a PRINT has brought the messages window up, typed
// keys still go to the page; a start gives the main window the keyboard.

#include "app/pages/EditorForm.h"
#include "app/plugins/AboutBox.h"
#include "app/run/MessagesForm.h"
#include "app/settings/EditorOptionsForm.h"
#include "app/settings/PreviewOptionsForm.h"
#include "app/shell/DataModule.h"
#include "app/shell/MainBlock.h"
#include "app/shell/TipWindow.h"
#include "app/shell/WindowFrame.h"
#include "platform/gui/X11InputFocus.h"
#include "platform/gui/X11WindowState.h"
#include "app/testrun/QuickviewForm.h"
#include "app/testrun/TestRunForm.h"
#include "editor/widget/CodeEditWidget.h"
#include "platform/core/ScopeGuard.h"
#include "platform/gui/QtDialogResponder.h"
#include "platform/gui/QtEventLoop.h"
#include "platform/gui/QtMessageBox.h"

#include "../AppTestSupport.h"
#include "../RunTestSupport.h"
#include "../X11KeysSupport.h"
#include "../../support/QtTestApp.h"
#include "../../support/SettledWindow.h"
#include "../../support/StateTimeout.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace {

using testsupport::HasKeyboard;
using testsupport::HaveXdotool;
using testsupport::PressKeys;

class WindowKeysX11 : public TRunTest {
protected:
    WindowKeysX11()
    {
        FMessages = &Messages;
        Window->show();
    }
    ~WindowKeysX11() override { FMessages = nullptr; }

    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb")) {
            GTEST_SKIP() << "needs the xcb platform (an X server)";
        }
        if (!HaveXdotool()) {
            GTEST_SKIP() << "xdotool is not installed";
        }
        // The main window has the keyboard before a test begins: a window manager that
        // maps it late, under load, would give it the keyboard in the middle of a test
        // (fluxbox took it from the messages window the Alt+F4 test had just activated).
        ASSERT_TRUE(Activate(*Window));
    }

    // Brings `window` to the front with the keyboard, as a click would, and waits until
    // it has it.
    static bool Activate(QWidget& window)
    {
        window.show();
        window.raise();
        window.activateWindow();
        return testsupport::WaitFor([&] { return HasKeyboard(window); });
    }

    // A page holding `text`, the keyboard in it at the end of its last line.
    TCodeEdit& Page(const std::string& text)
    {
        const auto page = OpenProgram("keys.sbp", text);
        Form(page).CodeEditorWidget().setFocus();
        TCodeEdit& code = Code(page);
        const int last = code.Lines().Count();
        code.SetCaretXY({int(code.Lines()[last - 1].size()) + 1, last});
        return code;
    }

    // Opens a window as `open` does (a modal one's returns once the window has gone)
    // and, once it has the keyboard, presses `keys` in it; then, from the event loop the
    // window left (a run's), calls `gone`. True once the window has gone; a window that
    // never takes the keyboard, or stays, fails and is closed.
    bool OpenAndClose(const std::function<void()>& open, const std::string& keys,
                      const std::function<void()>& gone = [] {})
    {
        QPointer<QWidget> opened;
        bool pressed = false;
        bool left = false;
        QElapsedTimer clock;
        clock.start();
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* active = QApplication::activeWindow();
            if (!pressed && active != nullptr && active != Window.get() && HasKeyboard(*active)) {
                opened = active;
                pressed = true;
                clock.restart();
                EXPECT_TRUE(PressKeys(keys));
            } else if (pressed && !left && (opened.isNull() || !opened->isVisible())) {
                left = true;
                gone();
            } else if (!left && clock.hasExpired(testsupport::StateTimeoutMs)) {
                QWidget* stays = pressed ? opened.data() : QApplication::activeModalWidget();
                ADD_FAILURE() << (pressed ? "the window stayed open after " + keys : "no window took the keyboard");
                left = true;
                if (stays != nullptr) {
                    stays->close();
                }
                gone();
            }
        });
        poll.start(10);
        open();
        return testsupport::WaitFor([&] { return left; }) && pressed;
    }

    TFMessages Messages;
};

TEST_F(WindowKeysX11, EveryWindowAndDialogClosesWithAltF4)
{
    dm->Tips1.SetTips({QStringLiteral("A tip."), QStringLiteral("Another.")});
    dm->Tips1.SetCurrentTip(0);
    TFEditorOptions editorOptions(Window.get());
    TFPreviewOptions previewOptions(Window->PreviewTargets(false), Window.get());
    TFAboutBox about(Window.get());
    TFQuickview quickView(*Window);
    TFTestRun testRun(*Window);
    TQtMessageBox box(Window.get(), QStringLiteral("Kerfpad"), TMsgDlgType::mtConfirmation,
                      QStringLiteral("Cancel preview and Exit?"), mbYes | mbNo | mbCancel);
    const std::pair<const char*, std::function<QWidget*()>> windows[] = {
        {"messages window", [&] { return &Messages; }},
        {"Tip of the Day",
         [&] {
             dm->Tips1.ShowTips();
             return dm->Tips1.Window();
         }},
        {"editor options", [&] { return &editorOptions; }},
        {"preview options", [&] { return &previewOptions; }},
        {"about box", [&] { return &about; }},
        {"quick view", [&] { return &quickView; }},
        {"test runner", [&] { return &testRun; }},
        {"message box", [&] { return &box; }},
        {"main window", [&] { return Window.get(); }},
    };
    for (const auto& [what, open] : windows) {
        SCOPED_TRACE(what);
        const QPointer<QWidget> window = open();
        ASSERT_TRUE(Activate(*window));
        ASSERT_TRUE(PressKeys("alt+F4"));
        EXPECT_TRUE(testsupport::WaitFor([&] { return window.isNull() || !window->isVisible(); }));
    }
    // Closed by the window manager, the tip stored where the next start goes on.
    EXPECT_EQ(Settings().ReadInteger("Main", "CurrentTip", -1), 1);
}

TEST_F(WindowKeysX11, EscapeClosesTheTipAndTheKeysGoBackToThePage)
{
    TCodeEdit& page = Page("' ");
    // As at a start, over the main window.
    ASSERT_TRUE(Activate(*Window));
    dm->Tips1.SetTips({QStringLiteral("A tip.")});
    dm->Tips1.ShowTips();
    const QPointer<QWidget> tip = dm->Tips1.Window();
    ASSERT_TRUE(Activate(*tip));
    ASSERT_TRUE(PressKeys("Escape"));
    ASSERT_TRUE(testsupport::WaitFor([&] { return tip.isNull(); }));
    ASSERT_TRUE(testsupport::WaitFor([&] { return HasKeyboard(*Window); }));
    ASSERT_TRUE(PressKeys("a b c"));
    EXPECT_TRUE(testsupport::WaitFor([&] { return page.GetText().startsWith(QLatin1String("' abc")); }))
        << page.GetText().toStdString();
}

// Closed by a key, every dialog and box gives the keyboard back to the main window,
// which no window manager does where none runs: the main window's shortcuts open the
// next dialog and typed keys go to the page. The pointer stays off the main window,
// where keys sent to nobody would otherwise still find it.
TEST_F(WindowKeysX11, AClosedDialogOrBoxGivesTheKeyboardBack)
{
    TQtDialogResponder boxes;
    const TDialogResponderScope scope(&boxes);
    TFEditorOptions editorOptions(Window.get());
    FEditorOptions = &editorOptions;
    TFQuickview quickView(*Window);
    FQuickview = &quickView;
    TFTestRun testRun(*Window);
    FTestRun = &testRun;
    const TScopeGuard forget([] {
        FTestRun = nullptr;
        FQuickview = nullptr;
        FEditorOptions = nullptr;
    });
    TCodeEdit& page = Page("' ");
    ASSERT_TRUE(std::system("xdotool mousemove 1599 500") == 0);
    ASSERT_TRUE(Activate(*Window));
    const struct {
        const char* What;
        std::function<void()> Open;
        const char* Keys;
    } cases[] = {
        {"editor options", [] { PressKeys("F6"); }, "Escape"},
        {"preview options", [] { PressKeys("F7"); }, "alt+F4"},
        {"about box", [&] { Window->findChild<QAction*>(QStringLiteral("About1"))->trigger(); }, "Return"},
        {"message box", [&] { boxes.MessageDlg("Saved.", TMsgDlgType::mtInformation, mbOK); }, "Escape"},
        {"quick view", [&] { Window->actQuickView->Execute(); }, "Escape"},
        {"test runner", [&] { Window->findChild<QAction*>(QStringLiteral("RunTests1"))->trigger(); }, "alt+F4"},
        {"messages window",
         [&] {
             Messages.show();
             Messages.activateWindow();
         },
         "Escape"},
        {"editor options again", [] { PressKeys("F6"); }, "alt+F4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        ASSERT_TRUE(OpenAndClose(c.Open, c.Keys));
        // The keyboard comes back (a key pressed before it did would go nowhere).
        ASSERT_TRUE(testsupport::WaitFor([&] { return HasKeyboard(*Window); }));
        const qsizetype typed = page.GetText().count(QLatin1Char('x'));
        ASSERT_TRUE(PressKeys("x"));
        ASSERT_TRUE(testsupport::WaitFor([&] { return page.GetText().count(QLatin1Char('x')) == typed + 1; }))
            << page.GetText().toStdString();
    }
}

// A run's PAUSE and INPUT boxes closed, Shift+F5 stops the run as it goes on, and typed
// keys go to the page after it.
TEST_F(WindowKeysX11, ARunsBoxClosedShiftF5StopsTheRun)
{
    TQtDialogResponder boxes;
    const TDialogResponderScope scope(&boxes);
    SetSimulate(false);
    ASSERT_TRUE(std::system("xdotool mousemove 1599 500") == 0);
    // The run goes on until it is stopped, or the wait for Shift+F5 gives up.
    MaxPasses = INT_MAX;
    QElapsedTimer stopping;
    AtPass = [&] {
        if (stopping.isValid() && stopping.hasExpired(testsupport::StateTimeoutMs)) {
            ADD_FAILURE() << "Shift+F5 did not stop the run";
            Window->Running = false;
        }
    };
    const struct {
        const char* What;
        std::string Program;
        const char* Keys;
    } cases[] = {
        {"pause", "PAUSE\r\n", "Return"},
        {"input", "INPUT \"Width?\" &w\r\n", "5 Return"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const auto program = OpenProgram(std::string(c.What) + ".sbp", c.Program + "PAUSE 2000000\r\nM2, 1, 1\r\n");
        TCodeEdit& page = Code(program);
        ASSERT_TRUE(Activate(*Window));
        stopping.invalidate();
        EXPECT_TRUE(OpenAndClose([&] { Run(); }, c.Keys, [&] {
            // Once the keyboard is back: a key pressed before it was would go nowhere.
            EXPECT_TRUE(testsupport::WaitFor([&] { return HasKeyboard(*Window); }));
            stopping.start();
            EXPECT_TRUE(PressKeys("shift+F5"));
        }));
        EXPECT_EQ(CutText(), "") << "the run went past its timed PAUSE";
        ASSERT_TRUE(testsupport::WaitFor([&] { return HasKeyboard(*Window); }));
        ASSERT_TRUE(PressKeys("x"));
        EXPECT_TRUE(testsupport::WaitFor([&] { return page.GetText().contains(QLatin1Char('x')); }))
            << page.GetText().toStdString();
    }
}

// The run's keys (Stop, Step) and what the user types stay with the main window.
TEST_F(WindowKeysX11, AfterAPrintTheKeysGoToThePage)
{
    TCodeEdit& page = Page("PRINT \"one\"\r\n' ");
    SetSimulate(false);
    ASSERT_TRUE(Activate(*Window));
    for (int pass = 0; pass < 3; ++pass) {
        SCOPED_TRACE(pass);
        Run();
        ASSERT_TRUE(testsupport::WaitFor([&] { return SeenFrame(Messages).has_value(); }));
        ASSERT_TRUE(PressKeys("x"));
        EXPECT_TRUE(testsupport::WaitFor([&] { return page.GetText().count(QLatin1Char('x')) == pass + 1; }))
            << page.GetText().toStdString();
        EXPECT_EQ(QApplication::activeWindow(), Window.get());
        Messages.ButtonClose->click();
    }
}

// Clicked, the messages window a PRINT brought up takes the keyboard, on the X server as
// for Qt, and closed by Escape, Alt+F4 or its Close button it gives the keyboard back:
// typed keys and the main window's Ctrl+S reach the page. dwm took the window for its
// active one as it mapped without the keyboard and did nothing on the click, Qt giving
// the window the keyboard all the same: after the close no key reached the page, a click
// on the page did not help, and after Alt+F4 the letters did but Ctrl+S did not.
TEST_F(WindowKeysX11, TheMessagesWindowClickedAndClosedGivesTheKeyboardBack)
{
    TCodeEdit& page = Page("PRINT \"one\"\r\n' ");
    SetSimulate(false);
    const auto center = [](const QWidget& widget) { return widget.mapToGlobal(widget.rect().center()); };
    const struct {
        const char* What;
        std::function<void()> Close;
    } cases[] = {
        {"Escape", [] { PressKeys("Escape"); }},
        {"Alt+F4", [] { PressKeys("alt+F4"); }},
        {"Close", [&] { testsupport::ClickAt(center(*Messages.ButtonClose)); }},
    };
    int typed = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        ASSERT_TRUE(Activate(*Window));
        Run();
        ASSERT_TRUE(testsupport::WaitFor([&] {
            return SeenFrame(Messages).has_value() &&
                   !Messages.windowHandle()->flags().testFlag(Qt::WindowDoesNotAcceptFocus);
        }));
        ASSERT_TRUE(testsupport::ClickAt(center(*Messages.RichEditMessages)));
        ASSERT_TRUE(testsupport::WaitFor([&] {
            const std::optional<TX11InputFocus> focus = ReadX11InputFocus();
            return focus && focus->Window == Messages.winId() &&
                   QGuiApplication::focusWindow() == Messages.windowHandle();
        })) << testsupport::KeyboardState();
        c.Close();
        ASSERT_TRUE(testsupport::WaitFor([&] { return !Messages.isVisible(); }));
        ASSERT_TRUE(testsupport::WaitFor([&] { return HasKeyboard(*Window); })) << testsupport::KeyboardState();
        ++typed;
        ASSERT_TRUE(PressKeys("x"));
        ASSERT_TRUE(testsupport::WaitFor([&] { return page.GetText().count(QLatin1Char('x')) == typed; }))
            << page.GetText().toStdString() << "; " << testsupport::KeyboardState();
        ASSERT_TRUE(PressKeys("ctrl+s"));
        EXPECT_TRUE(testsupport::WaitFor([&] {
            const std::string saved = ReadText("keys.sbp");
            return std::count(saved.begin(), saved.end(), 'x') == typed;
        })) << ReadText("keys.sbp") << "; " << testsupport::KeyboardState();
    }
}

// Sets the WM_STATE a window manager keeps on a window it holds (1: normal), or, with
// none, deletes it, as the window manager does once it has let the window go.
void SetWmState(const QWidget& window, std::optional<std::uint32_t> state)
{
    xcb_connection_t* c = qApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 8, "WM_STATE"), nullptr);
    ASSERT_NE(atom, nullptr);
    const auto id = static_cast<xcb_window_t>(window.winId());
    if (state) {
        const std::uint32_t values[] = {*state, XCB_NONE};
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, atom->atom, atom->atom, 32, 2, values);
    } else {
        xcb_delete_property(c, id, atom->atom);
    }
    std::free(atom);
    xcb_flush(c);
}

bool Held(const TFMessages& messages)
{
    const std::optional<TX11WindowState> state = ReadX11WindowState(*messages.windowHandle());
    return state && state->Held;
}

// Shows the messages window and closes it again once the window manager has marked it as
// held (WM_STATE) and, after the close, has let it go: a mark of the test's own set
// before the window manager has done with the window is overwritten by its own (so
// fluxbox under load, which had not yet marked the window it showed). False where no
// window manager holds windows.
bool ShowAndClose(TFMessages& messages)
{
    messages.AddMessage(QStringLiteral("one"));
    EXPECT_TRUE(testsupport::WaitFor([&] { return SeenFrame(messages).has_value(); }));
    if (!ReadX11WindowState(*messages.windowHandle())->Managed) {
        return false;
    }
    EXPECT_TRUE(testsupport::WaitFor([&] { return Held(messages); }));
    messages.ButtonClose->click();
    EXPECT_TRUE(testsupport::WaitFor([&] { return !Held(messages); }));
    return true;
}

// A window manager loses a window mapped again before it has let it go (icewm, under
// load): a PRINT then shows the messages window only once it has, or, when it never
// does, once the wait for it has ended.
TEST_F(WindowKeysX11, AMessageShowsTheClosedWindowOnceTheWindowManagerLetsItGo)
{
    const struct {
        const char* What;
        bool LetGo; // the window manager lets the window go while the message waits
    } cases[] = {
        {"let go", true},
        {"never let go", false},
    };
    QStringList lines;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        if (!ShowAndClose(Messages)) {
            GTEST_SKIP() << "no window manager holds windows";
        }
        SetWmState(Messages, 1);
        ASSERT_TRUE(testsupport::WaitFor([&] { return Held(Messages); }));
        QElapsedTimer held;
        held.start();
        Messages.AddMessage(QStringLiteral("two"));
        EXPECT_FALSE(Messages.isVisible()) << "mapped while the window manager held it";
        if (c.LetGo) {
            testsupport::RunEventLoopPast(std::chrono::milliseconds(200));
            // Shown before the window manager let it go only by the end of the wait, which
            // a loaded machine may reach here.
            if (Messages.isVisible()) {
                EXPECT_GE(held.elapsed(), TFMessages::WithdrawWaitMs) << "mapped while the window manager held it";
            }
            SetWmState(Messages, std::nullopt);
        }
        EXPECT_TRUE(testsupport::WaitFor([&] { return SeenFrame(Messages).has_value(); }));
        if (!c.LetGo) {
            EXPECT_GE(held.elapsed(), TFMessages::WithdrawWaitMs) << "shown before the wait ended";
        }
        lines << QStringLiteral("one") << QStringLiteral("two");
        EXPECT_EQ(Messages.Lines(), lines);
        // Marked as held by the window manager, then let go, before the next pass shows it
        // again: fluxbox under load marks a window it shows after it has framed it, and a
        // window shown by the end of the wait while it still held it was lost to it, and
        // it wiped the next pass's mark.
        ASSERT_TRUE(testsupport::WaitFor([&] { return Held(Messages); }));
        Messages.ButtonClose->click();
        ASSERT_TRUE(testsupport::WaitFor([&] { return !Messages.isVisible() && !Held(Messages); }));
    }
}

// At a start the main window takes the keyboard, under a window manager or without one,
// and so shows the tips (without one it was never activated: no key reached it).
class StartX11 : public TAppTest {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb")) {
            GTEST_SKIP() << "needs the xcb platform (an X server)";
        }
    }
    TQtEventLoop Loop;
    TEventLoopScope LoopScope{&Loop};
};

TEST_F(StartX11, TheMainWindowTakesTheKeyboardAndShowsTheTips)
{
    WriteText("tips.ini", "A tip.\r\n");
    TMainBlockOptions options;
    options.WithViewer = false;
    options.InstallServices = false;
    bool active = false;
    bool tips = false;
    options.Loop = [&](TMainForm& window) {
        active = testsupport::WaitFor([&] { return QApplication::activeWindow() == &window; });
        tips = testsupport::WaitFor([] { return dm->Tips1.Window() != nullptr; });
        dm->Tips1.CloseDialog();
        window.close();
        return 0;
    };
    KerfpadMainBlock({}, options);
    EXPECT_TRUE(active);
    EXPECT_TRUE(tips);
}

} // namespace
