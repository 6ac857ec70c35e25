// Steps beside a long path in the preview's scene as the main window builds it, drawn
// with real OpenGL: after each Step and Step Back the frame starts from the picture kept
// part of the way through the path and draws only its end, and shows to the last pixel
// what the same frame drawn whole shows: the half-transparent table over the cuts below
// its top, the jogs' and the cuts' colours, a cut laid again over an earlier one at the
// same depth.

#include "../RunTestSupport.h"

#include "app/settings/PreviewOptions.h"
#include "app/shell/MainBlock.h"

#include "scene/graph/NonVisualViewer.h"
#include "scene/materials/GLBitmap32.h"
#include "scene/materials/Material.h"
#include "scene/materials/Texture.h"
#include "scene/materials/TextureImage.h"
#include "scene/objects/lines/LinesGroup.h"
#include "scene/objects/shapes/Cubes.h"
#include "scene/viewer/GLX11Context.h"

#include <QGuiApplication>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

class PreviewStepGl : public TRunTest {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb")) {
            GTEST_SKIP() << "needs the xcb platform (an X server)";
        }
        RegisterKerfpadClasses();
        RegisterGLX11ContextClass();
        // The table as it ships, with the board's picture over it.
        TGLTexture& board = *Window->Scene->Cube1->Material().Texture();
        board.Image()->LoadFromFile(KERFPAD_DATA_DIR "/board.jpg");
        board.SetTextureMode(tmModulate);
        board.SetDisabled(false);
        // The shipped settings' preview on a 1,600 x 1,000 screen.
        preview.SetWidth(560);
        preview.SetHeight(437);
        preview.Buffer().SetBackgroundColor(TPreviewOptions().BackgroundColor);
        preview.SetCamera(Window->Scene->GLCamera1);
    }

    std::vector<std::uint8_t> Frame()
    {
        preview.Render();
        const std::unique_ptr<TGLBitmap32> shot = preview.Buffer().CreateSnapShot();
        return {shot->Data(), shot->Data() + shot->Width() * shot->Height() * 4};
    }
    // The same frame drawn whole: an object outside the paths, which draws nothing,
    // changed and back, so that nothing kept of the scene is good any more.
    std::vector<std::uint8_t> WholeFrame()
    {
        TGLBaseSceneObject& clamps = *Window->Scene->DummyClamps;
        clamps.SetVisible(!clamps.Visible());
        clamps.SetVisible(!clamps.Visible());
        const int reuses = preview.Buffer().PassPictureReuses();
        std::vector<std::uint8_t> frame = Frame();
        EXPECT_EQ(preview.Buffer().PassPictureReuses(), reuses);
        return frame;
    }
    TGLMemoryViewer preview;
};

TEST_F(PreviewStepGl, StepsBesideALongPathDrawItsEndOverThePictureAndShowTheWholeFrame)
{
    // 50,000 moves along y 22 below the table's top, then the lines to step over.
    const auto page = OpenProgram("long.sbp", "&i = 0\r\n"
                                              "L1:\r\n"
                                              "M3, 10 + &i / 800, 22, -0.1\r\n"
                                              "&i = &i + 1\r\n"
                                              "IF &i < 50000 THEN GOTO L1\r\n"
                                              "M3, 40, 30, -0.1\r\n"
                                              "J3, 50, 35, 0.5\r\n"
                                              "M3, 50, 35, -0.2\r\n"
                                              "M3, 30, 22, -0.1\r\n"
                                              "M2, 60, 22\r\n"
                                              "J3, 70, 10, 1\r\n"
                                              "M3, 70, 10, 0.3\r\n");
    // A breakpoint after the loop.
    Code(page).SetCaretXY({1, 6});
    Window->actToggleBP->Execute();
    SetSimulate(false);
    // Each wait: the frame beside a whole one, then the next press (S Step, B Step Back).
    const std::string presses = "SSSSBBBSSSSSBB";
    std::size_t pressed = 0;
    int reusesExpected = 0;
    AtPass = [&] {
        if (!Window->StepWaiting()) {
            return;
        }
        const std::string at = "after " + presses.substr(0, pressed);
        const int reuses = preview.Buffer().PassPictureReuses();
        const std::uint64_t drawnBefore = Window->Scene->DummyLines->Batches().PointsDrawn();
        const std::vector<std::uint8_t> frame = Frame();
        const std::uint64_t drawn = Window->Scene->DummyLines->Batches().PointsDrawn() - drawnBefore;
        EXPECT_TRUE(frame == WholeFrame()) << at;
        // The first frame keeps the copy without the bit, the whole frames the picture.
        if (pressed >= 1) {
            EXPECT_EQ(preview.Buffer().PassPictureReuses(), reuses + 1) << at;
            EXPECT_LE(drawn, 2 * TLineBatches::TailPoints + 8 * TLineBatches::PointsPerDraw) << at;
            ++reusesExpected;
        }
        if (pressed == presses.size()) {
            Window->actStop->Execute();
            return;
        }
        (presses[pressed++] == 'S' ? Window->actStep : Window->actStepBack)->Execute();
    };
    Run();
    EXPECT_EQ(pressed, presses.size());
    EXPECT_EQ(preview.Buffer().PassPictureReuses(), reusesExpected);
    EXPECT_GE(reusesExpected, 10);
    std::string jogs;
    Window->Move->GetPathText("J", jogs);
    EXPECT_FALSE(jogs.empty()) << "the steps went over the jogs";
}

} // namespace
