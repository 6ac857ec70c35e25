// The program's start and end through its main block: the log of both, the command
// line, the registry marks and the test-run item, with the tests' own services.

#include "app/shell/MainBlock.h"
#include "app/shell/MainForm.h"
#include "app/run/MessagesForm.h"

#include "../AppTestSupport.h"

#include "platform/gui/QtEventLoop.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "../../support/FifoWatchdog.h"
#include "../../support/SettledWindow.h"

#include <filesystem>
#include <stdexcept>

namespace {

class MainBlockGui : public TAppTest {
protected:
    // The main block's log, without the time in front of each line.
    std::vector<std::string> LogTexts() const
    {
        std::vector<std::string> texts;
        std::string text = ReadText("log.txt");
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = text.find('\n', start);
            const std::string line = text.substr(start, end - start);
            texts.push_back(line.substr(line.find(' ', line.find(' ') + 1) + 1));
            start = end == std::string::npos ? text.size() : end + 1;
        }
        return texts;
    }
    QString FilePath(const std::string& name) const { return QString::fromStdString(Path(name)); }
    int Run(const QStringList& arguments, const std::function<void(TMainForm&)>& inside)
    {
        TMainBlockOptions options;
        options.WithViewer = false;
        options.InstallServices = false;
        options.Loop = [&](TMainForm& window) {
            inside(window);
            window.close();
            return 7;
        };
        return KerfpadMainBlock(arguments, options);
    }

    TQtEventLoop Loop;
    TEventLoopScope LoopScope{&Loop};
};

TEST_F(MainBlockGui, StartAndExitAreLoggedInOrder)
{
    EXPECT_EQ(Run({}, [](TMainForm&) {}), 7);
    const std::vector<std::string> expected = {
        "debug: Log file opened", "debug: assigning MRU files", "debug: ReadIniSettings", "debug: ReadCodeHigh",
        "debug: ReadGLSettings",
        "debug: ReadCommands",    "debug: SetRegistry",         "debug: TCalcul.Create",   "debug: TMove.Create",
        "debug: TFPreviewOptions.Create", "debug: Before Cadencer enabled",
        "debug: FormCloseQuery",  "debug: WriteIniSettings",    "debug: Closing log file"};
    EXPECT_EQ(LogTexts(), expected);
    EXPECT_EQ(dm, nullptr);
    EXPECT_EQ(FMessages, nullptr);
    // The automation class is marked safe for scripting and for initialising.
    TRegistry registry(Registry);
    registry.SetRootKey(TRegistryRoot::ClassesRoot);
    EXPECT_TRUE(registry.KeyExists("\\CLSID\\{C938A13C-86A6-49E6-B728-5B7C9C1A93B5}\\Implemented "
                                   "Categories\\{7DD95801-9882-11CF-9FA9-00AA006C42C4}"));
    EXPECT_TRUE(registry.KeyExists("\\CLSID\\{C938A13C-86A6-49E6-B728-5B7C9C1A93B5}\\Implemented "
                                   "Categories\\{7DD95802-9882-11CF-9FA9-00AA006C42C4}"));
}

// Opening a named pipe for writing waits until another program reads it: the program
// would never start. The log is left off, and standard error says why.
TEST_F(MainBlockGui, ALogThatIsANamedPipeIsLeftOffAndTheProgramStarts)
{
    const testsupport::TFifoWatchdog pipe(Path("log.txt"));
    ASSERT_TRUE(pipe.Made());
    ::testing::internal::CaptureStderr();
    bool started = false;
    const int result = Run({}, [&](TMainForm&) { started = true; });
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, 7);
    EXPECT_TRUE(started);
    EXPECT_NE(errors.find("Kerfpad runs without its debug log. Not a regular file: \"" + Path("log.txt") +
                          "\" is a named pipe.\n"),
              std::string::npos)
        << errors;
    EXPECT_TRUE(std::filesystem::is_fifo(folder / "log.txt"));
    EXPECT_FALSE(pipe.Fired()) << "the start waited on the pipe";
}

TEST_F(MainBlockGui, ClosingTheMainWindowEndsTheProgramWhileAnotherWindowShows)
{
    // The program's own loop, with a window of no parent open (as the tips are) when the
    // main window closes: the loop must end with the main window and the settings be
    // written. Should the loop go on, the stray window is closed once the wait for a
    // state is up, which ends it and fails the test.
    QWidget stray;
    bool strayClosedLate = false;
    QTimer late;
    late.setSingleShot(true);
    QObject::connect(&late, &QTimer::timeout, [&] {
        strayClosedLate = true;
        stray.close();
    });
    QTimer::singleShot(0, [&] {
        stray.show();
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* window = dynamic_cast<TMainForm*>(top)) {
                window->close();
            }
        }
        late.start(testsupport::StateTimeoutMs);
    });
    TMainBlockOptions options;
    options.WithViewer = false;
    options.InstallServices = false;
    KerfpadMainBlock({}, options);
    EXPECT_FALSE(strayClosedLate);
    const std::vector<std::string> log = LogTexts();
    EXPECT_NE(std::find(log.begin(), log.end(), "debug: WriteIniSettings"), log.end());
}

TEST_F(MainBlockGui, EveryArgumentOpensAPageSwitchesToo)
{
    WriteText("a.sbp", "M2,1,1\r\n");
    WriteText("b.sbp", "M2,2,2\r\n");
    QStringList titles;
    Run({FilePath("a.sbp"), FilePath("b.sbp"), "-x"}, [&](TMainForm&) {
        for (int i = 0; i < EditorFactory->GetEditorCount(); ++i) {
            titles << EditorFactory->GetEditor(i)->GetFileTitle();
        }
    });
    EXPECT_EQ(titles, (QStringList{"a.sbp", "b.sbp", "-x"}));
}

TEST_F(MainBlockGui, ARegistryThatRefusesIsReportedAndStartUpGoesOn)
{
    Registry.SetReadOnly(true);
    Dialogs.ExpectMessage("Error trying to set registry for ActiveX control.", TModalResult::mrOk);
    bool started = false;
    Run({}, [&](TMainForm& window) { started = window.Move != nullptr; });
    EXPECT_TRUE(started);
    const std::vector<std::string> log = LogTexts();
    EXPECT_NE(std::find(log.begin(), log.end(), "error: trying to set the registry"), log.end());
}

TEST_F(MainBlockGui, RunTestsShowsOnlyWithATestRunsFolder)
{
    bool visible = true;
    Run({}, [&](TMainForm& window) { visible = window.RunTests1->isVisible(); });
    EXPECT_FALSE(visible);
    QDir(QString::fromStdString(folder.string())).mkdir("TestRuns");
    Run({}, [&](TMainForm& window) { visible = window.RunTests1->isVisible(); });
    EXPECT_TRUE(visible);
}

TEST_F(MainBlockGui, StoredBoundsNoScreenCanShowStartOnTheScreenAndAreWrittenSo)
{
    const char* stored[] = {
        "Left=2147483000\nTop=0\nWidth=1600\nHeight=500\n",
        "Left=2147483647\nTop=2147483647\nWidth=2147483647\nHeight=2147483647\n",
        "Left=0\nTop=0\nWidth=100000\nHeight=100000\n",
        "Left=3000\nTop=10\nWidth=600\nHeight=400\n",
        "Left=-5000\nTop=-5000\nWidth=600\nHeight=400\n",
        "Left=-5000\nTop=-5000\nWidth=600\nHeight=400\nMaximized=1\n",
    };
    for (const char* bounds : stored) {
        WriteSettings(std::string("[Main]\n") + bounds);
        QRect frame, screen;
        bool maximized = false;
        Run({}, [&](TMainForm& window) {
            // As the user sees it: shown, and brought to its bounds with its frame.
            EXPECT_TRUE(testsupport::WaitForSettledWindow(window)) << bounds;
            frame = window.frameGeometry();
            maximized = window.isMaximized();
            screen = window.screen()->availableGeometry();
        });
        // Bounds are the window's outer rectangle, its frame included.
        EXPECT_TRUE(screen.contains(frame))
            << bounds << " on " << screen.width() << "x" << screen.height() << " at " << frame.x() << ","
            << frame.y() << " " << frame.width() << "x" << frame.height();
        const TIniFile after = Settings();
        const QRect written(after.ReadInteger("Main", "Left", -1), after.ReadInteger("Main", "Top", -1),
                            after.ReadInteger("Main", "Width", -1), after.ReadInteger("Main", "Height", -1));
        EXPECT_TRUE(screen.contains(written)) << bounds;
        if (!maximized) {
            EXPECT_EQ(written, frame) << bounds;
        }
    }
}

TEST_F(MainBlockGui, AnExceptionThatEscapesAHandlerIsReportedNotFatal)
{
    Dialogs.ExpectMessage("escaped", TModalResult::mrOk);
    bool after = false;
    Run({}, [&](TMainForm& window) {
        QTimer::singleShot(0, &window, [] { throw std::runtime_error("escaped"); });
        QTimer::singleShot(1, &window, [&] { after = true; });
        testsupport::WaitFor([&] { return after; });
    });
    EXPECT_TRUE(after) << "the loop went on";
}

} // namespace
