// The main window and the messages window on a real X display, under a window manager
// and without one (ctest runs the suite both ways, on a screen of 1,600 x 1,000): bounds
// are outer rectangles, frame included, so stored bounds that fit the screen come back
// and are written back as they were, with the title bar on the screen; the preview
// keeps its width from start to start, maximised or not; a first start without settings
// gives the preview the share the shipped settings give it; and a PRINT brings the
// messages window to the front without taking the keyboard.

#include "app/run/MessagesForm.h"
#include "app/settings/MainSettings.h"
#include "app/shell/MainForm.h"
#include "app/shell/WindowFrame.h"

#include "../RunTestSupport.h"
#include "../../support/QtTestApp.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

class MainWindowX11 : public TShellTest {
protected:
    ~MainWindowX11() override { Window.reset(); }

    static bool UnderWindowManager()
    {
        const char* manager = std::getenv("KERFPAD_TEST_WINDOW_MANAGER");
        return manager != nullptr && std::string(manager) != "none";
    }
    static QRect Area() { return QApplication::primaryScreen()->availableGeometry(); }

    // Starts the window on `settings` ("" for no file) and waits until it is framed
    // where it was placed (under a window manager, maximised where it asks to be).
    void Start(const std::string& settings)
    {
        std::filesystem::remove(SettingsPath());
        if (!settings.empty()) {
            WriteSettings(settings);
        }
        Window = std::make_unique<TMainForm>();
        Window->WaitFrameMs = 0;
        Window->show();
        // Without a window manager nobody maximises it.
        testsupport::WaitFor(
            [&] {
                QMargins frame;
                const TFramedBounds* framed = FindFramedBounds(*Window);
                if (!KnownFrame(*Window, frame) || framed == nullptr) {
                    return false;
                }
                if (Window->isMaximized()) {
                    return !UnderWindowManager() || Window->frameGeometry().size() == Area().size();
                }
                return !framed->Wanted.has_value();
            },
            5000);
        // What the splitter and the window manager still do with it.
        testsupport::WaitFor([] { return false; }, 300);
    }
    // Closes the window, which writes its settings.
    void Stop() { Window.reset(); }

    QRect Stored() const
    {
        const TIniFile ini = Settings();
        return {ini.ReadInteger("Main", "Left", -1), ini.ReadInteger("Main", "Top", -1),
                ini.ReadInteger("Main", "Width", -1), ini.ReadInteger("Main", "Height", -1)};
    }
    int StoredPanelWidth() const { return Settings().ReadInteger("Main", "PanelGLWidth", -1); }

    std::unique_ptr<TMainForm> Window;
};

std::string BoundsSettings(const QRect& r, const std::string& more = "")
{
    return "[Main]\nShowTipsOnStartup=0\nLeft=" + std::to_string(r.left()) + "\nTop=" + std::to_string(r.top()) +
           "\nWidth=" + std::to_string(r.width()) + "\nHeight=" + std::to_string(r.height()) + "\n" + more;
}

TEST_F(MainWindowX11, StoredBoundsComeBackAndAreWrittenBackAsTheyWere)
{
    const QRect area = Area();
    const struct {
        const char* What;
        std::string Settings;
        QRect Shown; // the frame, and what is written back
    } cases[] = {
        {"the shipped settings", "[Main]\nWidth=1200\nHeight=760\nPanelGLWidth=560\n", {0, 0, 1200, 760}},
        {"the whole screen", BoundsSettings(area), area},
        {"moved down and right", BoundsSettings({200, 150, 1000, 700}), {200, 150, 1000, 700}},
        {"stored off the screen", BoundsSettings({5000, -3000, 1000, 700}),
         {area.left() + (area.width() - 1000) / 2, area.top() + (area.height() - 700) / 2, 1000, 700}},
        {"wider than the screen", BoundsSettings({0, 0, area.width() + 400, 700}), {0, 0, area.width(), 700}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        std::string settings = c.Settings;
        for (int start = 0; start < 3; ++start) {
            Start(settings);
            const QRect frame = Window->frameGeometry();
            EXPECT_EQ(frame, c.Shown) << "start " << start;
            EXPECT_TRUE(area.contains(frame)) << "start " << start;
            // The title bar, where a window manager draws one, lies on the screen.
            EXPECT_GE(Window->geometry().top(), area.top()) << "start " << start;
            Stop();
            EXPECT_EQ(Stored(), c.Shown) << "start " << start;
            settings = ReadSettings();
        }
    }
}

TEST_F(MainWindowX11, ThePreviewKeepsItsWidthFromStartToStart)
{
    for (const int maximized : {1, 0}) {
        SCOPED_TRACE(maximized);
        std::string settings = "[Main]\nWidth=1200\nHeight=760\nPanelGLWidth=398\nMaximized=" +
                               std::to_string(maximized) + "\n";
        for (int start = 0; start < 5; ++start) {
            Start(settings);
            EXPECT_EQ(Window->PanelGL->width(), 398) << "start " << start;
            Stop();
            EXPECT_EQ(StoredPanelWidth(), 398) << "start " << start;
            EXPECT_EQ(Stored().size(), QSize(1200, 760)) << "start " << start;
            settings = ReadSettings();
        }
    }
}

TEST_F(MainWindowX11, AFirstStartGivesThePreviewTheShippedShare)
{
    Start("");
    EXPECT_EQ(Window->frameGeometry().size(), QSize(DesignedMainWidth, DesignedMainHeight));
    EXPECT_EQ(Window->PanelGL->width(), DesignedPanelGLWidth);
    Stop();
    EXPECT_EQ(StoredPanelWidth(), DesignedPanelGLWidth);
    EXPECT_EQ(Stored().size(), QSize(DesignedMainWidth, DesignedMainHeight));
    // What ships says the same.
    const TIniFile shipped(std::string(KERFPAD_DATA_DIR) + "/kerfpad.ini");
    EXPECT_EQ(shipped.ReadInteger("Main", "PanelGLWidth", -1), DesignedPanelGLWidth);
    EXPECT_EQ(shipped.ReadInteger("Main", "Width", -1), DesignedMainWidth);
    EXPECT_EQ(shipped.ReadInteger("Main", "Height", -1), DesignedMainHeight);
}

class MessagesX11 : public TRunTest {
protected:
    MessagesX11() { FMessages = &Messages; }
    ~MessagesX11() override { FMessages = nullptr; }
    TFMessages Messages;
};

// A PRINT shows the window, and again after Close, while the keyboard stays in the main
// window: the run's keys (Stop, Step) must still reach it.
TEST_F(MessagesX11, APrintLeavesTheKeyboardWithTheMainWindow)
{
    OpenProgram("print.sbp", "PRINT \"one\"\r\nM2, 1, 1\r\nPRINT \"two\"\r\n");
    SetSimulate(false);
    Window->show();
    testsupport::WaitFor([&] { return Window->windowHandle()->isExposed(); }, 5000);
    Window->activateWindow();
    testsupport::WaitFor([&] { return QApplication::activeWindow() == Window.get(); }, 5000);
    ASSERT_EQ(QApplication::activeWindow(), Window.get());
    for (int pass = 0; pass < 2; ++pass) {
        Run();
        testsupport::WaitFor([&] { return Messages.windowHandle() && Messages.windowHandle()->isExposed(); }, 5000);
        testsupport::WaitFor([] { return false; }, 300);
        EXPECT_TRUE(Messages.isVisible()) << pass;
        EXPECT_EQ(QApplication::activeWindow(), Window.get()) << pass;
        Messages.ButtonClose->click();
    }
}

} // namespace
