// The keyboard on a real X display, under each window manager and without one: keys are
// pressed on the X server as a user's are (XTest, through xdotool), so the window
// manager's bindings see them. Alt+F4 closes every window and dialog; Escape closes the
// Tip of the Day and the keys then go to the page; after a PRINT has brought the
// messages window up, typed keys still go to the page; a start gives the main window
// the keyboard.

#include "app/pages/EditorForm.h"
#include "app/plugins/AboutBox.h"
#include "app/run/MessagesForm.h"
#include "app/settings/EditorOptionsForm.h"
#include "app/settings/PreviewOptionsForm.h"
#include "app/shell/DataModule.h"
#include "app/shell/MainBlock.h"
#include "app/shell/TipWindow.h"
#include "app/shell/WindowFrame.h"
#include "app/testrun/QuickviewForm.h"
#include "app/testrun/TestRunForm.h"
#include "editor/widget/CodeEditWidget.h"
#include "platform/gui/QtEventLoop.h"
#include "platform/gui/QtMessageBox.h"

#include "../AppTestSupport.h"
#include "../RunTestSupport.h"
#include "../../support/QtTestApp.h"

#include <QApplication>
#include <QPointer>
#include <QWindow>
#include <qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

namespace {

bool HaveXdotool()
{
    return std::system("command -v xdotool >/dev/null 2>&1") == 0;
}

bool PressKeys(const std::string& keys)
{
    return std::system(("xdotool key --clearmodifiers " + keys).c_str()) == 0;
}

// Whether the window manager takes `window` for the active one, where there is one
// (_NET_ACTIVE_WINDOW): it applies its keys (Alt+F4) to that window, and may learn of
// the change after the window has the keyboard.
bool ActiveForWindowManager(const QWidget& window)
{
    xcb_connection_t* c = qApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, 18, "_NET_ACTIVE_WINDOW"), nullptr);
    if (atom == nullptr || atom->atom == XCB_NONE) {
        std::free(atom);
        return true;
    }
    xcb_get_property_reply_t* active = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
    std::free(atom);
    const bool none = active == nullptr || xcb_get_property_value_length(active) != 4;
    const bool same = !none && *static_cast<const xcb_window_t*>(xcb_get_property_value(active)) == window.winId();
    std::free(active);
    return none || same;
}

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
        if (!HaveXdotool()) {
            GTEST_SKIP() << "xdotool is not installed";
        }
    }

    // Brings `window` to the front with the keyboard, as a click would, and waits until
    // it has it.
    static bool Activate(QWidget& window)
    {
        window.show();
        window.raise();
        window.activateWindow();
        return testsupport::WaitFor(
            [&] {
                return SeenFrame(window).has_value() && QApplication::activeWindow() == &window &&
                       ActiveForWindowManager(window);
            },
            5000);
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
        EXPECT_TRUE(testsupport::WaitFor([&] { return window.isNull() || !window->isVisible(); }, 5000));
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
    ASSERT_TRUE(testsupport::WaitFor([&] { return tip.isNull(); }, 5000));
    ASSERT_TRUE(testsupport::WaitFor([&] { return QApplication::activeWindow() == Window.get(); }, 5000));
    ASSERT_TRUE(PressKeys("a b c"));
    EXPECT_TRUE(testsupport::WaitFor([&] { return page.GetText().startsWith(QLatin1String("' abc")); }, 5000))
        << page.GetText().toStdString();
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
        ASSERT_TRUE(testsupport::WaitFor([&] { return SeenFrame(Messages).has_value(); }, 5000));
        ASSERT_TRUE(PressKeys("x"));
        EXPECT_TRUE(testsupport::WaitFor([&] { return page.GetText().count(QLatin1Char('x')) == pass + 1; }, 5000))
            << page.GetText().toStdString();
        EXPECT_EQ(QApplication::activeWindow(), Window.get());
        Messages.ButtonClose->click();
    }
}

// At a start the main window takes the keyboard, under a window manager or without one,
// and so shows the tips (without one it was never activated: no key reached it).
class StartX11 : public TAppTest {
protected:
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
        active = testsupport::WaitFor([&] { return QApplication::activeWindow() == &window; }, 5000);
        tips = testsupport::WaitFor([] { return dm->Tips1.Window() != nullptr; }, 5000);
        dm->Tips1.CloseDialog();
        window.close();
        return 0;
    };
    KerfpadMainBlock({}, options);
    EXPECT_TRUE(active);
    EXPECT_TRUE(tips);
}

} // namespace
