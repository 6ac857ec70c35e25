// The plug-in window's browser under a real QtWebEngine (an X server, the sandbox off as
// root): the sample page reads the program through the web channel and sends its text
// back, closing its own window; pages outside the plug-in folder find no transport; an
// unreachable home page gives way to the folder's listing.

#include "app/plugins/PlugInServices.h"
#include "app/plugins/PlugInsForm.h"
#include "app/shell/LinkLabel.h"

#include "../ModalSteps.h"
#include "../PlugInTestSupport.h"

#include "platform/gui/QtMessageBox.h"
#include "platform/gui/automation/PlugInWebPage.h"

#include "../../support/FifoWatchdog.h"
#include "../../support/SettledWindow.h"

#include <QAccessible>
#include <QHostAddress>
#include <QPushButton>
#include <QRegion>
#include <QScreen>
#include <QSplitter>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

namespace {

class TFakeHeadlessShell : public IAutomationShell {
public:
    void BringToFront() override {}
    bool HeadlessRunGoing() const override { return Headless; }
    bool Headless = false;
};

class PlugInsWeb : public TPlugInTest {
protected:
    PlugInsWeb()
    {
        std::filesystem::create_directories(folder / "plugins");
        std::filesystem::copy_file(std::filesystem::path(KERFPAD_DATA_DIR) / "plugins" / "sample-page.html",
                                   folder / "plugins" / "sample-page.html");
    }
    ~PlugInsWeb() override { FreeLaterDeleted(); }

    // The script's value, once the page ran it.
    static QVariant Js(QWebEnginePage& page, const QString& script)
    {
        auto result = std::make_shared<std::optional<QVariant>>();
        page.runJavaScript(script, [result](const QVariant& value) { *result = value; });
        EXPECT_TRUE(testsupport::WaitFor([&] { return result->has_value(); }))
            << "the page ran " << script.toStdString();
        return result->value_or(QVariant());
    }
    // Every button of the buffer at least its size hint wide and wholly visible.
    static void ExpectButtonsWhole(const TFPlugIns& window, const std::string& what)
    {
        for (const QPushButton* button : window.PanelGL->findChildren<QPushButton*>()) {
            const std::string name = what + " " + button->text().toStdString();
            EXPECT_GE(button->width(), button->sizeHint().width()) << name;
            EXPECT_EQ(button->visibleRegion(), QRegion(button->rect())) << name;
        }
    }
    // Loads `target` in the window's browser and waits for it.
    static bool Load(TFPlugIns& window, const QString& target)
    {
        bool finished = false;
        window.CreateWebBrowser(false);
        const QMetaObject::Connection c =
            QObject::connect(window.WebBrowser, &QWebEngineView::loadFinished, [&] { finished = true; });
        window.Navigate(target);
        testsupport::WaitFor([&] { return finished; });
        QObject::disconnect(c);
        return finished;
    }
    static bool FindsTransport(TFPlugIns& window)
    {
        return Js(*window.WebBrowser->page(), "typeof qt !== 'undefined' && !!qt.webChannelTransport").toBool();
    }

    TModalSteps Steps;
    TDialogResponderScope StepsScope{&Steps};
};

TEST_F(PlugInsWeb, TheSamplePageReadsThroughTheChannelAndItsSendDataClosesItsOwnWindow)
{
    const auto page = NewPage();
    page->ReplaceAllText({"MS,1,2", "J2,3,4"});
    Code(page).SetCaretXY({1, 2});
    Move.AddMoveNode(true, true, 0.1f, 2.0f, -1.5f);
    const std::size_t nodes = Move.PathNodeCount();
    QPointer<TFPlugIns> shown;
    QString position, line;
    TFakeHeadlessShell shell;
    TAutomationShellScope shellScope(&shell);
    QSize size;
    Steps.ExpectSteps("FPlugIns", [&](QDialog&) {
        shown = FPlugIns;
        size = FPlugIns->size();
        QWebEnginePage& web = *FPlugIns->WebBrowser->page();
        EXPECT_TRUE(testsupport::WaitFor(
            [&] { return !Js(web, "document.getElementById('position').textContent").toString().isEmpty(); }));
        position = Js(web, "document.getElementById('position').textContent").toString();
        line = Js(web, "document.getElementById('line').textContent").toString();
        // A call that fails over the channel is logged and answers nothing.
        shell.Headless = true;
        Js(web, "kerfpad.AddMoveNode(1, 1, 1, 1, 1, function (r) { document.title = 'answered ' + r; }); 1");
        EXPECT_TRUE(testsupport::WaitFor([&] { return web.title().startsWith("answered"); }));
        shell.Headless = false;
        // Coordinates that are no finite numbers are refused whole, whatever form they
        // take on the way (JSON has no NaN or Infinity: they travel as null).
        for (const char* call : {"kerfpad.AddMoveNode(NaN, 1, 1, 1, 1, function () { document.title = 'nan'; }); 1",
                                 "kerfpad.AddJogNode(1, 'inf', 1, 1, 1, function () { document.title = 'inf'; }); 1",
                                 "kerfpad.AddJogNode(1, 1, -Infinity, 1, 1, function () { document.title = 'infinity'; }); 1"}) {
            Js(web, call);
            const QString answered = QString::fromLatin1(call).section('\'', 1, 1);
            EXPECT_TRUE(testsupport::WaitFor([&] { return web.title() == answered; })) << call;
        }
        Js(web, "document.getElementById('text').value = \"' sent \\u00D8\"; document.getElementById('send').click(); 1");
    });
    // A ".vbs" name: its page of the same name stands in.
    TPlugInWindowLoader().LoadSimple("plugins\\sample-page.vbs", 650, 600, true);
    EXPECT_EQ(Steps.FormsShown, std::vector<std::string>{"FPlugIns"});
    EXPECT_EQ(size, QSize(650, 600));
    EXPECT_EQ(position, "0.100000001490116,2,-1.5");
    EXPECT_EQ(line, "J2,3,4");
    EXPECT_TRUE(Logged("error: automation: No path nodes can be added while a results run or a quick view goes."));
    for (const char* refused : {"AddMoveNode: x = NAN", "AddJogNode: y = INF", "AddJogNode: z = NAN"}) {
        EXPECT_TRUE(Logged("error: automation: " + std::string(refused) +
                           " is not a finite single-precision number; no node was added."))
            << refused;
    }
    EXPECT_EQ(Move.PathNodeCount(), nodes);
    EXPECT_EQ(page->GetLines()->ToStringList(), (QStringList{"MS,1,2", QString::fromUtf8("' sent \u00D8J2,3,4")}));
    EXPECT_EQ(FPlugIns, nullptr);
    ASSERT_TRUE(shown) << "freed on the next event pass, not under its own page's call";
    FreeLaterDeleted();
    EXPECT_FALSE(shown);
    EXPECT_FALSE(Settings().SectionExists("PlugInsWin")) << "a single page leaves the settings";
}

TEST_F(PlugInsWeb, OnlyPagesInsideThePlugInFolderFindTheTransport)
{
    WriteText("outside.html", "<html><body>outside</body></html>");
    std::filesystem::create_symlink(folder / "outside.html", folder / "plugins" / "link.html");
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QObject::connect(&server, &QTcpServer::newConnection, [&server] {
        QTcpSocket* socket = server.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
            socket->readAll();
            const QByteArray body = "<html><body>served</body></html>";
            socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                          QByteArray::number(body.size()) + "\r\n\r\n" + body);
            socket->disconnectFromHost();
        });
    });
    const QString served = QStringLiteral("http://127.0.0.1:%1/page.html").arg(server.serverPort());

    TFPlugIns window;
    FPlugIns = &window;
    const struct {
        QString Target;
        bool Transport;
    } cases[] = {
        {FilePath("plugins/sample-page.html"), true},
        {FilePath("outside.html"), false},
        {FilePath("plugins/sample-page.html"), true},
        {served, false},
        {FilePath("plugins/link.html"), false}, // inside by name, outside in fact
        {FilePath("plugins/../outside.html"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Target.toStdString());
        ASSERT_TRUE(Load(window, c.Target));
        EXPECT_EQ(window.WebBrowser->ChannelOffered(), c.Transport);
        EXPECT_EQ(FindsTransport(window), c.Transport);
    }
    FPlugIns = nullptr;
}

TEST_F(PlugInsWeb, TheBufferTakesAStoredWidthFromItsLeastUpAndWritesItBack)
{
    const int least = TFPlugIns().BufferLeastWidth();
    ASSERT_GT(least, 50) << "six buttons need more than the 50 pixels of a missing key";
    const std::string bounds = "[PlugInsWin]\nLeft=10\nTop=10\nWidth=900\nHeight=500\nMaximized=0\n";
    const std::pair<std::string, int> cases[] = {
        {"", least}, // a file without the key
        {"PanelGLWidth=50\n", least},
        {"PanelGLWidth=0\n", least},
        {"PanelGLWidth=-7\n", least},
        {"PanelGLWidth=" + std::to_string(least + 20) + "\n", least + 20},
    };
    for (const auto& [key, shown] : cases) {
        WriteSettings(bounds + key);
        TFPlugIns window;
        window.HomeAddress = "http://127.0.0.1:1/";
        int width = -1;
        Steps.ExpectSteps("FPlugIns", [&](QDialog&) {
            width = window.PanelGL->width();
            ExpectButtonsWhole(window, key);
            window.reject();
        });
        window.Execute();
        EXPECT_EQ(width, shown) << key;
        EXPECT_EQ(window.BufferLeastWidth(), least) << "measured alike before and after showing";
        EXPECT_EQ(Settings().ReadInteger("PlugInsWin", "PanelGLWidth", -1), shown) << key;
    }
}

TEST_F(PlugInsWeb, TheBufferFitsItsWindowAndShowsEveryButtonWhole)
{
    // The shipped settings; a width beyond the window (-1: what the page's least width
    // leaves); what a monitor twice as large leaves behind, which keeps its share of the
    // window as fitted to the screen (-2) from the buffer's least up (0: the least); the
    // largest window, which keeps no share.
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    const auto doubled = [&](int buffer) {
        return "Left=0\nTop=0\nWidth=" + std::to_string(2 * screen.width()) +
               "\nHeight=" + std::to_string(2 * screen.height()) + "\nPanelGLWidth=" + std::to_string(buffer) + "\n";
    };
    for (const auto& [stored, shown] : {std::pair<std::string, int>{"", 310},
                                        {"Left=10\nTop=10\nWidth=900\nHeight=500\nPanelGLWidth=2147483647\n", -1},
                                        {doubled(700), -2},
                                        {doubled(310), 0},
                                        {"Width=2147483647\nHeight=2147483647\nPanelGLWidth=312\n", 0}}) {
        std::filesystem::copy_file(std::filesystem::path(KERFPAD_DATA_DIR) / "kerfpad.ini", SettingsPath(),
                                   std::filesystem::copy_options::overwrite_existing);
        if (!stored.empty()) {
            WriteSettings("[PlugInsWin]\n" + stored);
        }
        TFPlugIns window;
        window.HomeAddress = "http://127.0.0.1:1/";
        int buffer = -1, beside = -1;
        Steps.ExpectSteps("FPlugIns", [&](QDialog&) {
            buffer = window.PanelGL->width();
            beside = window.Splitter1->width() - window.Splitter1->handleWidth() -
                     window.PanelForWeb->minimumSizeHint().width();
            ExpectButtonsWhole(window, stored);
            window.reject();
        });
        window.Execute();
        const int share = 700 * window.width() / (2 * screen.width());
        const int expected = shown > 0 ? shown : shown == 0 ? window.BufferLeastWidth() : shown == -1 ? beside : share;
        EXPECT_EQ(buffer, expected) << stored;
        EXPECT_EQ(Settings().ReadInteger("PlugInsWin", "PanelGLWidth", -1), buffer) << stored;
    }
}

// On a window of 640 x 480 (the largest a screen of that size gives) every button of
// both sides shows whole, however wide the buffer was stored and wherever the user drags
// the splitter: the rows of buttons wrap rather than run out of the window.
TEST_F(PlugInsWeb, EveryButtonOfASmallWindowShowsWholeWhereverTheSplitterIs)
{
    for (const char* stored : {"310", "50", "2147483647"}) {
        WriteSettings(std::string("[PlugInsWin]\nLeft=0\nTop=0\nWidth=640\nHeight=480\nPanelGLWidth=") + stored + "\n");
        TFPlugIns window;
        window.HomeAddress = "http://127.0.0.1:1/";
        Steps.ExpectSteps("FPlugIns", [&](QDialog&) {
            const int total = window.Splitter1->width() - window.Splitter1->handleWidth();
            for (const auto& [where, sizes] : {std::pair{"as opened", window.Splitter1->sizes()},
                                               std::pair{"the splitter fully left", QList<int>{0, total}},
                                               std::pair{"the splitter fully right", QList<int>{total, 0}}}) {
                const std::string what = std::string(stored) + ", " + where;
                window.Splitter1->setSizes(sizes);
                EXPECT_TRUE(testsupport::WaitForSettledWindow(window)) << what;
                QList<QWidget*> controls = {window.Label1};
                for (QPushButton* button : window.findChildren<QPushButton*>()) {
                    controls.append(button);
                }
                for (const QWidget* control : controls) {
                    const std::string name = what + " " + control->objectName().toStdString();
                    // "..." has a fixed width below its hint.
                    EXPECT_GE(control->width(), std::min(control->sizeHint().width(), control->maximumWidth())) << name;
                    EXPECT_EQ(control->visibleRegion(), QRegion(control->rect())) << name;
                    EXPECT_TRUE(window.rect().contains(QRect(control->mapTo(&window, QPoint(0, 0)), control->size())))
                        << name;
                }
            }
            window.reject();
        });
        window.Execute();
        EXPECT_EQ(window.width(), 640) << stored;
    }
}

TEST_F(PlugInsWeb, ASinglePageGetsTheSizeItAsksForNoLargerThanTheScreen)
{
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    for (const QSize asked : {QSize(650, 600), QSize(5000, 300), QSize(300, 5000)}) {
        QSize size;
        Steps.ExpectSteps("FPlugIns", [&](QDialog& window) {
            size = window.size();
            window.reject();
        });
        TPlugInWindowLoader().LoadSimple("plugins/sample-page.html", asked.width(), asked.height(), true);
        // The size asked is the window's outer size; this display has no window manager,
        // so no frame.
        EXPECT_EQ(size, asked.boundedTo(screen.size())) << asked.width();
        FreeLaterDeleted();
    }
}

// A page's link to a named pipe (the listing links every entry of the folder) would
// hold the browser, and the program after its last window, until another program
// writes into it: the navigation is refused and logged, and the page stays.
TEST_F(PlugInsWeb, ALinkToANamedPipeIsRefusedAndThePageStays)
{
    const testsupport::TFifoWatchdog pipe(Path("plugins/pipe.html"));
    ASSERT_TRUE(pipe.Made());
    WriteText("plugins/links.html", "<html><body><a id=\"pipe\" href=\"pipe.html\">pipe</a></body></html>");
    TFPlugIns window;
    FPlugIns = &window;
    ASSERT_TRUE(Load(window, FilePath("plugins/links.html")));
    const std::string refusal =
        "error: automation: Not a regular file: \"" + Path("plugins/pipe.html") + "\" is a named pipe.";
    Js(*window.WebBrowser->page(), "document.getElementById('pipe').click(); true");
    EXPECT_TRUE(testsupport::WaitFor([&] { return Logged(refusal); })) << ReadText("log.txt");
    EXPECT_EQ(window.WebBrowser->url().fileName(), "links.html");
    EXPECT_FALSE(pipe.Fired()) << "the browser waited on the pipe";
    FPlugIns = nullptr;
}

// A message box leaves the factory that announces boxes to assistive technology in the
// process; the page's own objects, built without type information, meet it as the page
// takes the focus (a cast of one ended the process), and so does every event filter.
TEST_F(PlugInsWeb, APageTakesTheFocusAfterAMessageBox)
{
    {
        TQtMessageBox box(nullptr, "Kerfpad", TMsgDlgType::mtError, "Cannot find file: missing.sbp", mbOK);
        box.show();
        QTest::keyClick(&box, Qt::Key_Return);
    }
    TFPlugIns window;
    window.HomeAddress = "http://127.0.0.1:1/";
    bool focused = false;
    Steps.ExpectSteps("FPlugIns", [&](QDialog&) {
        EXPECT_TRUE(testsupport::WaitFor([&] { return window.OfflineListingShown; }));
        QWidget* page = window.WebBrowser->focusProxy() != nullptr ? window.WebBrowser->focusProxy() : window.WebBrowser;
        window.activateWindow();
        QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(40, 40));
        window.WebBrowser->setFocus(Qt::MouseFocusReason);
        testsupport::WaitFor([&] { return window.WebBrowser->hasFocus() || page->hasFocus(); });
        focused = window.WebBrowser->hasFocus() || page->hasFocus();
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(page);
        EXPECT_TRUE(accessible == nullptr || accessible->role() != QAccessible::AlertMessage);
        window.reject();
    });
    window.Execute();
    EXPECT_TRUE(focused);
}

TEST_F(PlugInsWeb, AnUnreachableHomePageGivesWayToTheListing)
{
    TFPlugIns window;
    window.HomeAddress = "http://127.0.0.1:1/";
    QString text;
    Steps.ExpectSteps("FPlugIns", [&](QDialog&) {
        ASSERT_NE(window.WebBrowser, nullptr) << "made when the window shows";
        EXPECT_TRUE(testsupport::WaitFor([&] { return window.OfflineListingShown; }));
        EXPECT_TRUE(testsupport::WaitFor([&] { return window.WebBrowser->url().fileName() == "tmpdirlisting.html"; }));
        EXPECT_TRUE(testsupport::WaitFor(
            [&] { return !Js(*window.WebBrowser->page(), "document.body ? document.body.innerText : ''").toString().isEmpty(); }));
        text = Js(*window.WebBrowser->page(), "document.body.innerText").toString();
        window.reject();
    });
    window.Execute();
    EXPECT_TRUE(text.contains("Unable to connect to http://127.0.0.1:1/")) << text.toStdString();
    EXPECT_TRUE(text.contains("sample-page.html")) << text.toStdString();
    EXPECT_TRUE(std::filesystem::exists(folder / "plugins" / "tmpdirlisting.html"));
    EXPECT_TRUE(Settings().SectionExists("PlugInsWin")) << "the whole window saves its settings";
}

} // namespace
