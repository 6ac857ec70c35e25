// The Views group and the navigation controls of the main window, with scripted boxes:
// New, Save and Delete and what they write, a view applied only by the user's choice,
// the follow-bit view, a held navigation button, the wheel over an editor page, the
// panel's settings across a restart, its width from its controls' least up (a fold by
// the Enlarge buttons lasting the session only) and the focal length on resizing.

#include "app/settings/MainSettings.h"
#include "app/shell/MainForm.h"
#include "app/run/PreviewPanel.h"
#include "app/run/SceneViews.h"
#include "platform/core/text/Utf8.h"

#include "../ShellTestSupport.h"

#include "scene/graph/Camera.h"
#include "scene/objects/shapes/Cubes.h"

#include "../../support/SettledWindow.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegion>
#include <QScreen>
#include <QSpinBox>
#include <QSplitter>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <filesystem>

namespace {

class ViewsGui : public TShellTest {
protected:
    ~ViewsGui() override { Window.reset(); }
    void Start()
    {
        Window = std::make_unique<TMainForm>();
        Window->WaitFrameMs = 0;
    }
    TPreviewPanel& Panel() { return *Window->PanelGL; }
    // Every button of the preview at least its size hint wide and wholly visible.
    void ExpectControlsWhole(const std::string& what)
    {
        for (const QAbstractButton* button : Panel().findChildren<QAbstractButton*>()) {
            const std::string name = what + " " + button->objectName().toStdString();
            EXPECT_GE(button->width(), button->sizeHint().width()) << name;
            EXPECT_EQ(button->visibleRegion(), QRegion(button->rect())) << name;
        }
    }
    TAffineVector Pivot() const { return Window->Scene->DummyCube1->Position().GetAsAffineVector(); }
    TAffineVector Camera() const { return Window->Scene->GLCamera1->Position().GetAsAffineVector(); }
    QStringList Items()
    {
        QStringList items;
        for (int i = 0; i < Panel().cboView->count(); ++i) {
            items << Panel().cboView->itemText(i);
        }
        return items;
    }

    std::unique_ptr<TMainForm> Window;
};

void ExpectAt(const TAffineVector& actual, const TAffineVector& expected, const char* what)
{
    EXPECT_NEAR(actual.X, expected.X, 1e-4) << what;
    EXPECT_NEAR(actual.Y, expected.Y, 1e-4) << what;
    EXPECT_NEAR(actual.Z, expected.Z, 1e-4) << what;
}

TEST_F(ViewsGui, NewSaveAndDeleteKeepTheListAndTheFile)
{
    Start();
    EXPECT_TRUE(Items().isEmpty());
    // With no view, Save and Delete ask nothing and do nothing.
    Panel().BitBtn8->click();
    Panel().BitBtn10->click();
    EXPECT_FALSE(Settings().SectionExists("Views"));

    // A name of blanks, or none, is refused.
    for (const std::optional<std::string>& answer : {std::optional<std::string>("   "), std::optional<std::string>()}) {
        Dialogs.ExpectInput(answer);
        Dialogs.ExpectMessage("Invalid Name.", TModalResult::mrOk);
        Panel().BitBtn9->click();
    }
    EXPECT_TRUE(Items().isEmpty());
    EXPECT_EQ(Dialogs.InputPrompts.at(0), (std::pair<std::string, std::string>{"Enter a Name", "View Name:"}));

    Window->FormMouseWheel(240);
    Dialogs.ExpectInput("  Top  ");
    Panel().BitBtn9->click();
    Window->Scene->GLCamera1->Position().SetPoint(3, 4, 60);
    Dialogs.ExpectInput("Side");
    Panel().BitBtn9->click();
    EXPECT_EQ(Items(), (QStringList{"Top", "Side"}));
    EXPECT_EQ(Panel().cboView->currentIndex(), 1);
    EXPECT_EQ(Settings().ReadString("Views", "NumViews", ""), "2");
    EXPECT_EQ(SectionLines("View0"),
              (std::vector<std::string>{"Name=Top", "CameraPos=0.00000,0.00000,75.00000",
                                        "DummyCubeDir=0.00000,0.00000,1.00000", "DummyCubeUp=0.00000,1.00000,0.00000",
                                        "DummyCubePos=-48.00000,-24.00000,18.00000"}));
    EXPECT_EQ(Settings().ReadString("View1", "CameraPos", ""), "3.00000,4.00000,60.00000");

    // Save asks first; only Yes takes the current view.
    Window->FormMouseWheel(-500);
    const std::string question = "Overwrite view \"Side\" with current view?";
    Dialogs.ExpectMessage(question, TModalResult::mrNo);
    Panel().BitBtn8->click();
    EXPECT_EQ(Settings().ReadString("View1", "DummyCubePos", ""), "-48.00000,-24.00000,18.00000");
    Dialogs.ExpectMessage(question, TModalResult::mrYes);
    Panel().BitBtn8->click();
    EXPECT_EQ(Settings().ReadString("View1", "DummyCubePos", ""), "-48.00000,-24.00000,23.00000");
    EXPECT_EQ(Window->Views.at(1).Name, "Side");

    // Delete selects the first item without applying it.
    Window->Scene->GLCamera1->Position().SetPoint(9, 9, 9);
    Dialogs.ExpectMessage("Are you sure you want to delete the view \"Side\"?", TModalResult::mrCancel);
    Panel().BitBtn10->click();
    EXPECT_EQ(Items().size(), 2);
    Dialogs.ExpectMessage("Are you sure you want to delete the view \"Side\"?", TModalResult::mrYes);
    Panel().BitBtn10->click();
    EXPECT_EQ(Items(), QStringList{"Top"});
    EXPECT_EQ(Panel().cboView->currentIndex(), 0);
    ExpectAt(Camera(), {9, 9, 9}, "not applied");
    EXPECT_EQ(Settings().ReadString("Views", "NumViews", ""), "1");
    EXPECT_FALSE(Settings().SectionExists("View1"));

    // Deleting the only view writes 0 and erases View0 and View1.
    Dialogs.ExpectMessage("Are you sure you want to delete the view \"Top\"?", TModalResult::mrYes);
    Panel().BitBtn10->click();
    EXPECT_TRUE(Items().isEmpty());
    EXPECT_TRUE(Window->Views.empty());
    EXPECT_EQ(Settings().ReadString("Views", "NumViews", ""), "0");
    EXPECT_FALSE(Settings().SectionExists("View0"));
}

// A view named with a hundred characters or a thousand, made with New or read at
// start-up: the panel keeps its layout, New, Save and Delete stay inside the window and
// work, the list shows the name shortened, and the view keeps it whole and applies.
TEST_F(ViewsGui, ALongViewNameKeepsThePanelAndStaysWhole)
{
    const std::string bounds = "[Main]\nLeft=0\nTop=0\nWidth=1000\nHeight=700\nPanelGLWidth=450\n";
    const auto shown = [&](const std::string& views) {
        WriteSettings(bounds + views);
        Start();
        Window->show();
        ASSERT_TRUE(testsupport::WaitForSettledWindow(*Window));
    };
    shown("");
    const QList<int> sizes = Window->MainSplitter->sizes();
    const int least = Panel().LeastWidth();
    const QSize window = Window->size();
    Window.reset();
    const auto expectLaidOut = [&](const std::string& what) {
        ASSERT_TRUE(testsupport::WaitForSettledWindow(*Window)) << what;
        EXPECT_EQ(Window->size(), window) << what;
        EXPECT_EQ(Window->MainSplitter->sizes(), sizes) << what;
        EXPECT_EQ(Panel().LeastWidth(), least) << what;
        ExpectControlsWhole(what);
        for (const QPushButton* button : {Panel().BitBtn9, Panel().BitBtn8, Panel().BitBtn10}) {
            const QRect inWindow(button->mapTo(Window.get(), QPoint(0, 0)), button->size());
            EXPECT_TRUE(Window->rect().contains(inWindow)) << what << " " << button->objectName().toStdString();
        }
    };
    // `length` characters of `unit`, repeated; never a blank at either end (New trims).
    const auto named = [](std::size_t length, const std::u32string& unit) {
        std::u32string name;
        while (name.size() < length) {
            name += unit;
        }
        name.resize(length);
        name.front() = U'V';
        name.back() = U'9';
        return Utf32ToUtf8(name);
    };
    const struct {
        std::size_t length;
        std::u32string unit;
    } cases[] = {{100, U"Front left clamp close up "}, {200, U"x"}, {1000, U"view of the part "},
                 {150, U"\u00c4rger "},             {1000, U"\U0001D54F"}};
    for (const auto& c : cases) {
        const std::string name = named(c.length, c.unit);
        const std::string what = std::to_string(c.length) + " characters";
        const QString listed = QString::fromStdString(ListedViewName(name));
        shown("");
        Window->Scene->GLCamera1->Position().SetPoint(3, 4, 60);
        Dialogs.ExpectInput(name);
        Panel().BitBtn9->click();
        expectLaidOut(what + ", made with New");
        EXPECT_EQ(Items().join(u'|').toStdString(), listed.toStdString()) << what;
        EXPECT_LT(listed.size(), QString::fromStdString(name).size()) << what << ": shortened";
        EXPECT_EQ(Window->Views.at(0).Name, name) << what;
        EXPECT_EQ(Settings().ReadString("View0", "Name", ""), name) << what;

        // Save asks with the name as listed and takes the view.
        Window->Scene->GLCamera1->Position().SetPoint(5, 6, 50);
        Dialogs.ExpectMessage("Overwrite view \"" + listed.toStdString() + "\" with current view?",
                              TModalResult::mrYes);
        Panel().BitBtn8->click();
        EXPECT_EQ(Settings().ReadString("View0", "CameraPos", ""), "5.00000,6.00000,50.00000") << what;
        EXPECT_EQ(Settings().ReadString("View0", "Name", ""), name) << what;
        Window->Scene->GLCamera1->Position().SetPoint(0, 0, 75);
        emit Panel().cboView->activated(0);
        ExpectAt(Camera(), {5, 6, 50}, "applied");

        // Read at the next start, applied there, and deleted.
        Window.reset();
        shown("[Views]\nNumViews=1\n[View0]\nName=" + name + "\nCameraPos=7,8,40\n");
        expectLaidOut(what + ", read at start-up");
        EXPECT_EQ(Items().join(u'|').toStdString(), listed.toStdString()) << what;
        EXPECT_EQ(Window->Views.at(0).Name, name) << what;
        ExpectAt(Camera(), {7, 8, 40}, "applied at start-up");
        Dialogs.ExpectMessage("Are you sure you want to delete the view \"" + listed.toStdString() + "\"?",
                              TModalResult::mrYes);
        Panel().BitBtn10->click();
        EXPECT_TRUE(Items().isEmpty()) << what;
        EXPECT_EQ(Settings().ReadString("Views", "NumViews", ""), "0") << what;
        Window.reset();
    }
}

TEST_F(ViewsGui, OnlyTheUsersChoiceAppliesAView)
{
    WriteSettings("[Views]\nNumViews=2\n[View0]\nName=Top\nCameraPos=1,1,70\nDummyCubePos=-40,-20,5\n"
                  "[View1]\nName=Corner\nCameraPos=2,2,50\nDummyCubePos=-10,-10,1\n");
    Start();
    EXPECT_EQ(Items(), (QStringList{"Top", "Corner"}));
    ExpectAt(Camera(), {1, 1, 70}, "view 0 at start-up");
    ExpectAt(Pivot(), {-40, -20, 5}, "view 0 at start-up");
    Panel().cboView->setCurrentIndex(1);
    ExpectAt(Camera(), {1, 1, 70}, "a choice in code");
    emit Panel().cboView->activated(1);
    ExpectAt(Camera(), {2, 2, 50}, "the user's choice");
    ExpectAt(Pivot(), {-10, -10, 1}, "the user's choice");
}

TEST_F(ViewsGui, WithoutViewsNoneIsApplied)
{
    Start();
    EXPECT_EQ(Panel().cboView->count(), 0);
    ExpectAt(Camera(), {0, 0, 75}, "as built");
    ExpectAt(Pivot(), {-48, -24, 20}, "as built");
}

TEST_F(ViewsGui, FollowBitViewLocksTheNavigationAndGivesThePivotBack)
{
    Start();
    Window->Scene->DummyCube1->Turn(30);
    Window->FormMouseWheel(120);
    const TAffineVector direction = Window->Scene->DummyCube1->Direction().GetAsAffineVector();
    Panel().cbFollowBit->click();
    EXPECT_FALSE(Panel().GroupBox1->isEnabled());
    EXPECT_FALSE(Panel().NavButtons[0]->isEnabled());
    EXPECT_FALSE(Panel().UpDownSpeed->isEnabled());
    EXPECT_FALSE(Panel().ButtonZoomExt->isEnabled());
    EXPECT_TRUE(Panel().GroupBoxViews->isEnabled());
    ExpectAt(Window->Scene->DummyCube1->Direction().GetAsAffineVector(), {0, 0, 1}, "facing the camera");
    Window->Scene->DummyCube1->Position().SetPoint(0, 0, 0);
    Panel().cbFollowBit->click();
    EXPECT_TRUE(Panel().GroupBox1->isEnabled());
    EXPECT_TRUE(Panel().ButtonZoomExt->isEnabled());
    ExpectAt(Window->Scene->DummyCube1->Direction().GetAsAffineVector(), direction, "back");
    ExpectAt(Pivot(), {-48, -24, 19}, "back");

    Panel().ButtonZoomExt->click();
    ExpectAt(Pivot(), {-48, -24, 9}, "zoomed to the table");
}

TEST_F(ViewsGui, AHeldButtonStepsUntilReleased)
{
    Start();
    Window->show();
    Panel().UpDownSpeed->setValue(100);
    QToolButton* in = Panel().NavButtons[5];
    QTest::mousePress(in, Qt::LeftButton);
    EXPECT_TRUE(Window->NavButtonHeld);
    EXPECT_FLOAT_EQ(Pivot().Z, 21) << "one step at once";
    EXPECT_TRUE(testsupport::WaitFor([&] { return Pivot().Z >= 24; })) << "and more while held";
    QTest::mouseRelease(in, Qt::LeftButton);
    EXPECT_FALSE(Window->NavButtonHeld);
    const float released = Pivot().Z;
    // A repeat still running would step several times before this.
    testsupport::RunEventLoopPast(std::chrono::milliseconds(4 * TPreviewPanel::NavRepeatMs));
    EXPECT_EQ(Pivot().Z, released);

    // Rotation turns instead: Left at 100 % turns by -1 degree a step.
    Panel().cbRotation->click();
    Window->NavButtonDown(TNavButton::Left);
    Window->NavButtonUp();
    EXPECT_NEAR(Window->Scene->DummyCube1->TurnAngle(), -1, 1e-4);
    EXPECT_EQ(Pivot().Z, released);
}

TEST_F(ViewsGui, TheWheelOverAnEditorPageMovesThePreview)
{
    WriteText("a.sbp", "M2,1,1\r\n");
    Start();
    Window->show();
    Window->DoOpenFile(FilePath("a.sbp"));
    QWidget* editor = Form(ActiveEditor).findChild<QWidget*>();
    ASSERT_NE(editor, nullptr);
    for (const auto& [delta, z] : {std::pair{120, 19.0f}, std::pair{99, 19.0f}, std::pair{-360, 22.0f}}) {
        QWheelEvent wheel(QPointF(5, 5), editor->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(editor, &wheel);
        EXPECT_EQ(Pivot().Z, z) << delta;
        EXPECT_TRUE(wheel.isAccepted());
    }
    // Over a window of its own (a box, the options dialog) the wheel is that window's.
    QLabel other;
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&other, &wheel);
    EXPECT_EQ(Pivot().Z, 22.0f);
}

TEST_F(ViewsGui, ThePanelsKeysSurviveARestart)
{
    // A first start finds the settings file that ships beside the executable.
    std::filesystem::copy_file(std::filesystem::path(KERFPAD_DATA_DIR) / "kerfpad.ini", SettingsPath());
    Start();
    Window->show();
    EXPECT_EQ(Panel().UpDownSpeed->value(), 20) << "the settings' default";
    EXPECT_GT(Window->MainSplitter->sizes().value(1), 200) << "no 50-pixel preview on a first start";
    const QList<int> first = Window->MainSplitter->sizes();
    Window->MainSplitter->setSizes({first.value(0) - 30, first.value(1) + 30});
    Panel().UpDownSpeed->setValue(120);
    Panel().cbFollowBit->click();
    const int width = Window->MainSplitter->sizes().value(1);
    Window.reset();
    EXPECT_EQ(Settings().ReadString("Main", "GLPosRotSpeed", ""), "120");
    EXPECT_EQ(Settings().ReadString("Main", "GLFollowBit", ""), "1");
    EXPECT_EQ(Settings().ReadInteger("Main", "PanelGLWidth", 0), width);

    Start();
    Window->show();
    EXPECT_EQ(Panel().UpDownSpeed->value(), 120);
    EXPECT_FALSE(Panel().cbFollowBit->isChecked()) << "written, never read";
    EXPECT_EQ(Window->MainSplitter->sizes().value(1), width);
    // A window never shown writes back the width it read.
    Window.reset();
    Start();
    Window.reset();
    EXPECT_EQ(Settings().ReadInteger("Main", "PanelGLWidth", 0), width);
}

TEST_F(ViewsGui, ThePreviewTakesAStoredWidthFromItsLeastUpAndWritesItBack)
{
    const auto started = [&](const std::string& key) {
        WriteSettings("[Main]\nLeft=0\nTop=0\nWidth=780\nHeight=560\n" + key);
        Start();
        Window->show();
        ASSERT_TRUE(testsupport::WaitForSettledWindow(*Window));
    };
    started("");
    const int least = Panel().LeastWidth();
    const int room = Window->MainSplitter->width() - Window->MainSplitter->handleWidth() -
                     Window->EditorSplitter->minimumSizeHint().width();
    ASSERT_GT(least, Panel().ImageLeft->sizeHint().width() * 4) << "the controls need more than the bar";
    Window.reset();
    ASSERT_LE(least + 20, room) << "the window holds the preview's least and the editor's";
    const std::pair<std::string, int> cases[] = {
        {"", std::min(std::max(ShippedPanelGLWidth, least), room)}, // the key missing: as shipped
        {"PanelGLWidth=50\n", least},
        {"PanelGLWidth=0\n", least},
        {"PanelGLWidth=-40\n", least},
        {"PanelGLWidth=3\n", least},
        {"PanelGLWidth=" + std::to_string(least) + "\n", least},
        {"PanelGLWidth=" + std::to_string(least + 20) + "\n", least + 20},
    };
    for (const auto& [key, shown] : cases) {
        started(key);
        EXPECT_EQ(Window->MainSplitter->sizes().value(1), shown) << key;
        EXPECT_EQ(Panel().width(), shown) << key;
        ExpectControlsWhole(key);
        Window.reset();
        EXPECT_EQ(Settings().ReadInteger("Main", "PanelGLWidth", -1), shown) << key;
    }
    // A window never shown writes back no less.
    WriteSettings("[Main]\nPanelGLWidth=3\n");
    Start();
    Window.reset();
    EXPECT_GE(Settings().ReadInteger("Main", "PanelGLWidth", -1), least);
}

TEST_F(ViewsGui, APreviewStoredWiderThanItsWindowLeavesTheEditorItsPlace)
{
    // What a monitor twice as large leaves behind keeps its share, from the preview's
    // least up; a width beyond the window (-1) takes what the editor's least width
    // leaves; the largest window keeps no share, so its preview shows at its least.
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    const auto doubled = [&](int preview) {
        return "Width=" + std::to_string(2 * screen.width()) + "\nHeight=" + std::to_string(2 * screen.height()) +
               "\nPanelGLWidth=" + std::to_string(preview);
    };
    // A doubled window's preview (`preview` > 0) keeps its share of the window as fitted
    // to the screen; otherwise `wanted` is what shows.
    const struct {
        std::string bounds;
        int preview, wanted;
    } cases[] = {
        {doubled(screen.width()), screen.width(), 0},
        {doubled(2 * 700), 2 * 700, 0},
        {doubled(700), 700, 0},
        {doubled(400), 400, 0},
        {"Width=780\nHeight=560\nPanelGLWidth=2147483647", 0, -1},
        {"Width=2147483647\nHeight=2147483647\nPanelGLWidth=700", 0, 0},
    };
    for (const auto& [bounds, preview, stated] : cases) {
        WriteSettings("[Main]\nLeft=0\nTop=0\n" + bounds + "\n");
        Start();
        Window->show();
        // Shares of the outer width, frame included, as the bounds are stored.
        const int wanted = preview > 0 ? preview * Window->frameGeometry().width() / (2 * screen.width()) : stated;
        const int total = Window->MainSplitter->width() - Window->MainSplitter->handleWidth();
        const int editorLeast = Window->EditorSplitter->minimumSizeHint().width();
        const int shown = wanted >= 0 ? std::min(std::max(wanted, Panel().LeastWidth()), total - editorLeast)
                                      : total - editorLeast;
        EXPECT_EQ(Window->MainSplitter->sizes(), (QList<int>{total - shown, shown})) << bounds;
        ExpectControlsWhole(bounds);
        Window.reset();
        EXPECT_EQ(Settings().ReadInteger("Main", "PanelGLWidth", -1), shown) << bounds;
    }
}

TEST_F(ViewsGui, TheEnlargeButtonsFoldASideForTheSessionOnly)
{
    WriteSettings("[Main]\nLeft=0\nTop=0\nWidth=780\nHeight=560\n");
    Start();
    Window->show();
    const int total = Window->MainSplitter->width() - Window->MainSplitter->handleWidth();
    const int least = Panel().LeastWidth();
    const int bar = Panel().ImageLeft->width();
    // Enlarge Editor, pressed until the preview is folded to the bar (the user's choice).
    for (int press = 0; press < 4 && Window->MainSplitter->sizes().value(1) != bar; ++press) {
        Panel().ImageLeft->click();
    }
    EXPECT_EQ(Window->MainSplitter->sizes(), (QList<int>{total - bar, bar}));
    Window.reset();
    EXPECT_EQ(Settings().ReadInteger("Main", "PanelGLWidth", -1), least) << "kept at its least";
    Start();
    Window->show();
    EXPECT_EQ(Window->MainSplitter->sizes().value(1), least);
    ExpectControlsWhole("after a fold");

    // Enlarge Preview until the editor is folded; the next start gives it its least width.
    for (int press = 0; press < 4 && Window->MainSplitter->sizes().value(0) != bar; ++press) {
        Panel().ImageRight->click();
    }
    EXPECT_EQ(Window->MainSplitter->sizes(), (QList<int>{bar, total - bar}));
    const int editorLeast = Window->EditorSplitter->minimumSizeHint().width();
    ASSERT_GT(editorLeast, bar);
    Window.reset();
    EXPECT_EQ(Settings().ReadInteger("Main", "PanelGLWidth", -1), total - editorLeast) << "the editor kept at its least";
    Start();
    Window->show();
    EXPECT_EQ(Window->MainSplitter->sizes(), (QList<int>{editorLeast, total - editorLeast}));
}

TEST_F(ViewsGui, TheFocalLengthFollowsAResize)
{
    Start();
    Window->show();
    for (const QSize size : {QSize(1200, 800), QSize(900, 500), QSize(1500, 1000)}) {
        Window->resize(size);
        ASSERT_TRUE(testsupport::WaitForSettledWindow(*Window));
        const QSize view = Panel().ViewSize();
        EXPECT_FLOAT_EQ(Window->Scene->GLCamera1->FocalLength(), FocalLengthFor(view.width(), view.height()))
            << size.width();
    }
    // The split moves the panel without resizing the window.
    Window->MainSplitter->setSizes({1100, 400});
    ASSERT_TRUE(testsupport::WaitForSettledWindow(*Window));
    const QSize view = Panel().ViewSize();
    EXPECT_FLOAT_EQ(Window->Scene->GLCamera1->FocalLength(), FocalLengthFor(view.width(), view.height()));
}

} // namespace
