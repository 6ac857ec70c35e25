// The preview's side of the main window: the scene as built, the cadencer's tick, the
// collision question, the caret line's marker, the control panel, the quick view and
// the messages window.

#include "../RunTestSupport.h"
#include "../../support/SettledWindow.h"

#include "app/run/BitAnimation.h"
#include "app/run/MessagesForm.h"

#include "scene/graph/Camera.h"
#include "scene/objects/shapes/Cubes.h"
#include "scene/objects/lines/LinesGroup.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QUrl>

namespace {

class PreviewGui : public TRunTest {
protected:
    TGLCube* Clamp(int index) { return Window->Move->Clamps()[index].Cube; }
};

TEST_F(PreviewGui, TheSceneHoldsWhatTheRunAndTheViewsRelyOn)
{
    const TPreviewScene& s = *Window->Scene;
    EXPECT_EQ(s.Cube1->CubeWidth(), 96.0f);
    EXPECT_EQ(s.Cube1->CubeDepth(), 48.0f);
    EXPECT_EQ(s.DummyCube1->Position().GetAsAffineVector().X, -48.0f);
    EXPECT_EQ(s.DummyLines->Parent(), s.DummyCube3);
    EXPECT_EQ(s.DummyClamps->Parent(), s.DummyCube3);
    EXPECT_EQ(s.Bit->Parent(), s.DummyCube2);
    EXPECT_EQ(s.Bit->Hint(), "The Bit");
    EXPECT_EQ(s.CollisionManager1.ClientCount(), 1) << "the bit, until a run adds clamps";
    EXPECT_EQ(s.GLCamera2->TargetObject(), s.Bit);
    EXPECT_EQ(s.GLCadencer1.Mode(), cmManual);
    EXPECT_FALSE(s.GLCadencer1.Enabled());
    // Paths go under the lines parent, clamps under theirs.
    OpenProgram("c.sbp", "[CLAMP] C1, 10, 10, 0, 2, 2, 2\r\nJ2,1,1\r\nM2,2,2\r\n");
    Run();
    EXPECT_EQ(s.DummyLines->Count(), 2);
    EXPECT_EQ(s.DummyClamps->Count(), 1);
    EXPECT_EQ(s.CollisionManager1.ClientCount(), 2);
    // A new run frees the clamps of the last one.
    Run();
    EXPECT_EQ(s.DummyClamps->Count(), 1);
}

TEST_F(PreviewGui, ATickMovesTheBitShowsItAndSkipsOddSteps)
{
    OpenProgram("m.sbp", "M2,10,0\r\n");
    SetSimulate(false);
    Run();
    Window->Paused = false;
    Window->Move->Moving = true;
    Window->GLCadencer1Progress(0.6);
    EXPECT_EQ(BitPosition().X, 10.0f) << "the final wait of the run brought it there";
    Window->Scene->Bit->Position().SetPoint(0, 0, 0);
    for (const double skipped : {0.6, 0.0}) {
        Window->GLCadencer1Progress(skipped);
        EXPECT_EQ(BitPosition().X, 0.0f) << skipped;
    }
    Window->GLCadencer1Progress(0.02);
    EXPECT_EQ(BitPosition().X, 0.25f);
    EXPECT_TRUE(Window->Move->Moving);
    EXPECT_EQ(Window->StatusPanelText(3), Tdm::StatusPositionText(0.25, 0, 0));
    // Paused, nothing moves.
    Window->Paused = true;
    Window->GLCadencer1Progress(0.02);
    EXPECT_EQ(BitPosition().X, 0.25f);
    // Speed 0 freezes the bit.
    Window->Paused = false;
    Window->PanelGL->tbSpeed->setValue(0);
    Window->GLCadencer1Progress(0.02);
    EXPECT_EQ(BitPosition().X, 0.25f);
}

TEST_F(PreviewGui, ThePositionPanelShowsTheBitWhenARunWithoutSimulateEndsAndFitsItsText)
{
    Window->show();
    const auto page = OpenProgram("end.sbp", "M2,10,0\r\nEND\r\nM2,20,0\r\n");
    SetSimulate(false);
    const auto panel = [&] { return Window->statusBar()->findChild<QLabel*>("Panel3"); };
    ASSERT_NE(panel(), nullptr);
    EXPECT_EQ(Window->StatusPanelText(3), "");
    // END stops the run before any tick: the bit goes where the run stopped, and the
    // panel says so.
    Run();
    EXPECT_EQ(Position()[0], 10.0f);
    EXPECT_EQ(BitPosition().X, 10.0f);
    EXPECT_EQ(Window->StatusPanelText(3), Tdm::StatusPositionText(10, BitPosition().Y, BitPosition().Z));

    // Stop at a breakpoint once the bit arrived far from the origin (from near there: a
    // glide of 0.25 a tick would take 50,000 ticks): the whole text shows.
    const auto far = OpenProgram("far.sbp", "M3,-12345.6789,12345.6789,-12345.6789\r\nM2,0,0\r\n");
    Code(far).SetCaretXY({1, 1});
    Window->actToggleBP->Execute();
    Window->Scene->Bit->Position().SetPoint(-12345, 12345, -12345);
    AtPass = [&] {
        if (Window->StepWaiting() && !Window->Move->Moving) {
            Window->actStop->Execute();
        }
    };
    Run();
    EXPECT_FALSE(Window->Running);
    const TAffineVector bit = BitPosition();
    EXPECT_EQ(bit.Y, 12345.6789f) << "where the run stopped";
    EXPECT_EQ(Window->StatusPanelText(3), Tdm::StatusPositionText(bit.X, bit.Y, bit.Z));
    for (const int windowWidth : {600, 1200}) {
        Window->resize(windowWidth, 500);
        ASSERT_TRUE(testsupport::WaitForSettledWindow(*Window));
        EXPECT_GE(panel()->contentsRect().width(), panel()->fontMetrics().horizontalAdvance(panel()->text()))
            << windowWidth;
    }
    // A longer text widens the panel where the bar has room.
    Window->Scene->Bit->Position().SetPoint(-123456789.0f, -123456789.0f, -123456789.0f);
    Window->ShowBitPosition();
    ASSERT_TRUE(testsupport::WaitForSettledWindow(*Window));
    EXPECT_GE(panel()->contentsRect().width(), panel()->fontMetrics().horizontalAdvance(panel()->text()));
}

TEST_F(PreviewGui, TheCollisionQuestionSuppressesTheFirstClampOfItsNameOrStops)
{
    const auto page = OpenProgram("clamps.sbp", "[CLAMP] C1, 10, 10, 0, 2, 2, 2\r\n[CLAMP] C1, 20, 10, 0, 2, 2, 2\r\n"
                                                "[CLAMP] other, 30, 10, 0, 2, 2, 2\r\nM2,1,1\r\nM2,2,2\r\n");
    Run();
    TGLBaseSceneObject* bit = Window->Scene->Bit;
    const std::string question = CollisionQuestion("C1").toStdString();

    Dialogs.ExpectMessage(question, TModalResult::mrYes);
    Window->CollisionManager1Collision(bit, Clamp(1));
    Dialogs.ExpectMessage(question, TModalResult::mrNo);
    Window->CollisionManager1Collision(Clamp(1), bit);
    EXPECT_TRUE(Window->Move->Clamps()[0].WarningSuppressed) << "the first of that name";
    EXPECT_FALSE(Window->Move->Clamps()[1].WarningSuppressed);
    // Both C1 boxes are quiet now; clamps among themselves never ask.
    Window->CollisionManager1Collision(bit, Clamp(0));
    Window->CollisionManager1Collision(bit, Clamp(1));
    Window->CollisionManager1Collision(Clamp(0), Clamp(2));

    // Cancel stops the run: here, one waiting at a breakpoint after the clamps.
    Code(page).SetCaretXY({1, 4});
    Window->actToggleBP->Execute();
    AtPass = [&] {
        if (Window->StepWaiting()) {
            Dialogs.ExpectMessage(CollisionQuestion("other").toStdString(), TModalResult::mrCancel);
            Window->CollisionManager1Collision(bit, Clamp(2));
        }
    };
    Run();
    EXPECT_FALSE(Window->Running);
    EXPECT_EQ(CutText().rfind("1.00000,1.00000"), CutText().size() - 25) << "line 5 never ran";

    // A name no clamp has still asks, and No changes nothing.
    Clamp(0)->SetHint("renamed");
    Dialogs.ExpectMessage(CollisionQuestion("renamed").toStdString(), TModalResult::mrNo);
    Window->CollisionManager1Collision(bit, Clamp(0));
}

TEST_F(PreviewGui, TheCollisionCheckRunsOnlyWhileItsBoxIsChecked)
{
    // The bit passes through a clamp on its way.
    OpenProgram("hit.sbp", "[CLAMP] C1, 5, 0, 0, 2, 2, 2\r\nM2,10,0\r\n");
    Window->PanelGL->cbCollision->setChecked(true);
    Dialogs.ExpectMessage(CollisionQuestion("C1").toStdString(), TModalResult::mrNo);
    Run();
    EXPECT_TRUE(Window->Move->Clamps()[0].WarningSuppressed);
    // Unchecked, the next run passes without a question.
    Window->PanelGL->cbCollision->setChecked(false);
    WriteText("back.sbp", "[CLAMP] C1, 5, 0, 0, 2, 2, 2\r\nM2,0,0\r\n");
    Window->DoOpenFile(FilePath("back.sbp"));
    Run();
    EXPECT_EQ(BitPosition().X, 0.0f);
    // Unchecked Simulate disables the check.
    SetSimulate(false);
    EXPECT_FALSE(Window->PanelGL->cbCollision->isEnabled());
}

TEST_F(PreviewGui, TheCaretLinesMarkerAndTheControlPanelsBoxes)
{
    Window->ShowLinePosition("J3, 1, 2, 5");
    Window->ShowLinePosition("MX, 10");
    const TAffineVector marker = Window->Scene->WireframeBit->Position().GetAsAffineVector();
    EXPECT_EQ(marker.X, 10.0f);
    EXPECT_EQ(marker.Y, 2.0f);
    EXPECT_EQ(marker.Z, 5.0f);

    Window->PanelGL->cbWireframe->setChecked(false);
    EXPECT_FALSE(Window->Scene->WireframeBit->Visible());
    Window->PanelGL->cbWireframe->setChecked(true);
    EXPECT_TRUE(Window->Scene->WireframeBit->Visible());

    OpenProgram("j.sbp", "J2,1,1\r\nM2,2,2\r\n");
    Window->PanelGL->cboJogsVisible->click();
    EXPECT_FALSE(Window->Move->JogsVisible());
    Run();
    ASSERT_FALSE(Window->Move->JogLines().empty());
    EXPECT_FALSE(Window->Move->JogLines()[0]->Visible());
    Window->PanelGL->cboJogsVisible->click();
    EXPECT_TRUE(Window->Move->JogLines()[0]->Visible());

    // Clear takes paths and zero offsets; the bit and the position stay.
    Window->PanelGL->BitBtn11->click();
    EXPECT_EQ(CutText() + JogText(), "");
    EXPECT_EQ(Position().X, 2.0f);
    EXPECT_EQ(BitPosition().X, 2.0f);
}

TEST_F(PreviewGui, AQuickViewEndsAtTheFirstLineAfterItsLimit)
{
    WriteText("endless.sbp", "AGAIN:\r\nM2,1,1\r\nM2,2,2\r\nGOTO AGAIN\r\n");
    // Every read of the tick count is one millisecond later.
    struct TCountingClock : IClockSource {
        std::int64_t TickCountMs() const override { return ++Ticks; }
        double NowAsDateTime() const override { return 0; }
        mutable std::int64_t Ticks = 0;
    } clock;
    TClockSourceScope scope(&clock);
    Window->RunQuickView(FilePath("endless.sbp"), 2000);
    EXPECT_FALSE(Window->Running);
    EXPECT_FALSE(Window->QuietRun);
    EXPECT_EQ(PageCount(), 0) << "a quick view opens no page";
    EXPECT_GE(clock.Ticks, 2000);
    EXPECT_LT(clock.Ticks, 2010);
    const std::string text = CutText();
    EXPECT_GT(std::count(text.begin(), text.end(), '\n'), 900);
    EXPECT_FALSE(Window->PanelGL->cbSim->isChecked());
}

TEST_F(PreviewGui, TheMessagesWindowKeepsItsLinesAndSavesThemWhole)
{
    TFMessages messages;
    messages.AddMessage("one");
    EXPECT_TRUE(messages.isVisible());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&messages, &escape);
    EXPECT_FALSE(messages.isVisible());
    messages.AddMessage("two \xC3\xA4");
    EXPECT_TRUE(messages.isVisible()) << "each line brings it back";
    EXPECT_EQ(messages.RichEditMessages->toPlainText(), QString::fromUtf8("one\ntwo \xC3\xA4"));

    WriteText("out.txt", "old");
    Dialogs.ExpectSave(Path("out.txt"));
    messages.ButtonSaveClick();
    EXPECT_EQ(ReadText("out.txt"), "one\r\ntwo \xC3\xA4\r\n");
    Dialogs.ExpectSave(std::nullopt);
    messages.ButtonSaveClick();
    EXPECT_EQ(ReadText("out.txt"), "one\r\ntwo \xC3\xA4\r\n");
    // A folder that cannot be written leaves the old file and says why.
    Dialogs.ExpectSave(Path("missing/out.txt"));
    EXPECT_ANY_THROW(messages.ButtonSaveClick());

    messages.ButtonCloseClick();
    EXPECT_FALSE(messages.isVisible());
    messages.ButtonClearClick();
    EXPECT_TRUE(messages.Lines().isEmpty());
    EXPECT_EQ(messages.RichEditMessages->toPlainText(), "");
}

TEST_F(PreviewGui, DroppedFilesOpenInPages)
{
    WriteText("a.sbp", "M2,1,1\r\n");
    WriteText("b.sbp", "M2,2,2\r\n");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(FilePath("a.sbp")), QUrl::fromLocalFile(FilePath("b.sbp")),
                  QUrl("https://example.com/c.sbp")});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Window.get(), &drop);
    ASSERT_EQ(PageCount(), 2);
    EXPECT_EQ(EditorFactory->GetEditor(1)->GetFileName(), FilePath("b.sbp"));
}

} // namespace
