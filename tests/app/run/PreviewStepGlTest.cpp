// Steps beside a long path in the preview's scene as the main window builds it, drawn
// with real OpenGL: after each Step and Step Back the frame starts from the picture kept
// part of the way through the path and draws only its end, and shows to the last pixel
// what the same frame drawn whole shows: the half-transparent table over the cuts below
// its top, the jogs' and the cuts' colours, a cut laid again over an earlier one at the
// same depth, cuts reaching far beyond the view clipped where they cross it, before the
// picture's place or after it; a view that changes draws everything again.

#include "../RunTestSupport.h"

#include "app/run/SceneViews.h"
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

#include <QCheckBox>
#include <QGuiApplication>
#include <QToolButton>

#include <algorithm>
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
    // changed and back, so that nothing kept of the scene is good any more. Drawn so,
    // the paths go in two parts around the picture kept for the next frame: the same
    // as in one go, which a change of the buffer's own makes (its view then is not
    // that of the copy it kept, and it keeps no picture).
    std::vector<std::uint8_t> WholeFrame()
    {
        const int reuses = preview.Buffer().PassPictureReuses();
        preview.Buffer().NotifyChange(nullptr);
        const std::vector<std::uint8_t> inOneGo = Frame();
        TGLBaseSceneObject& clamps = *Window->Scene->DummyClamps;
        clamps.SetVisible(!clamps.Visible());
        clamps.SetVisible(!clamps.Visible());
        std::vector<std::uint8_t> frame = Frame();
        EXPECT_EQ(preview.Buffer().PassPictureReuses(), reuses);
        EXPECT_TRUE(frame == inOneGo) << "in two parts and in one go";
        return frame;
    }
    TGLMemoryViewer preview;
};

// Each case: lines before and after 50,000 moves along y 22 below the table's top (a
// breakpoint on the first line after them), and at each wait the view changes (Z Zoom,
// F Follow Bit View on, U off) and the press (S Step, B Step Back) that end it.
TEST_F(PreviewStepGl, StepsBesideALongPathDrawItsEndOverThePictureAndShowTheWholeFrame)
{
    const std::string lastLines = "M3, 40, 30, -0.1\r\n"
                                  "J3, 50, 35, 0.5\r\n"
                                  "M3, 50, 35, -0.2\r\n"
                                  "M3, 30, 22, -0.1\r\n"
                                  "M2, 60, 22\r\n"
                                  "J3, 70, 10, 1\r\n"
                                  "M3, 70, 10, 0.3\r\n";
    const struct {
        const char* What;
        std::string Before;
        std::string After;
        std::vector<std::string> Waits;
    } cases[] = {
        {"a long path", "", lastLines, {"S", "S", "S", "S", "B", "B", "B", "S", "S", "S", "S", "S", "B", "B"}},
        // Clipped segments in the polyline before the picture's place, in the whole
        // frames and those from the picture alike; a view that Zoom scales down, and the
        // follow-bit view's centring, draw everything anew.
        {"a cut to 3E38 and back before it", "M3, 3e38, 3e38, -0.1\r\n", lastLines,
         {"S", "S", "ZS", "S", "B", "FS", "S", "B", "US", "S", "B"}},
        // Segments clipped in the part drawn over the picture, at the end of the long
        // polyline and in a polyline after it.
        {"cuts to 1E20 and -3E38 after it", "",
         "M3, 40, 30, -0.1\r\n"
         "M2, 1e20, 1e20\r\n"
         "M2, 30, 22\r\n"
         "J3, 50, 35, 0.5\r\n"
         "M3, 50, 35, -0.2\r\n"
         "M3, -3e38, -3e38, -0.1\r\n"
         "M3, 60, 22, -0.1\r\n"
         "J3, 70, 10, 1\r\n",
         {"S", "S", "S", "S", "S", "S", "B", "B", "B", "FS", "B", "US", "S", "ZB", "S"}},
    };
    SetSimulate(false);
    const TSceneView start = CaptureView(*Window->Scene, "Start");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        Window->Move->Reset();
        ApplyView(*Window->Scene, start);
        const auto page = OpenProgram(std::string("long ") + c.What + ".sbp",
                                      c.Before + "&i = 0\r\n"
                                                 "L1:\r\n"
                                                 "M3, 10 + &i / 800, 22, -0.1\r\n"
                                                 "&i = &i + 1\r\n"
                                                 "IF &i < 50000 THEN GOTO L1\r\n" +
                                          c.After);
        Code(page).SetCaretXY({1, 6 + static_cast<int>(std::count(c.Before.begin(), c.Before.end(), '\n'))});
        Window->actToggleBP->Execute();
        std::size_t wait = 0;
        int reusesExpected = preview.Buffer().PassPictureReuses();
        int reused = 0;
        const auto following = [this] { return Window->PanelGL->cbFollowBit->isChecked(); };
        // A frame that may start from the picture beside one drawn whole; the points
        // the first drew.
        const auto expectWholeFrame = [&](const std::string& at) {
            const std::uint64_t drawnBefore = Window->Scene->DummyLines->Batches().PointsDrawn();
            const std::vector<std::uint8_t> frame = Frame();
            const std::uint64_t drawn = Window->Scene->DummyLines->Batches().PointsDrawn() - drawnBefore;
            EXPECT_TRUE(frame == WholeFrame()) << at;
            return drawn;
        };
        AtPass = [&] {
            if (!Window->StepWaiting()) {
                return;
            }
            const std::string at = "at wait " + std::to_string(wait);
            const int reuses = preview.Buffer().PassPictureReuses();
            const std::uint64_t drawn = expectWholeFrame(at);
            // The first frame keeps the copy without the bit, the whole frames the
            // picture. Followed, the view moves with every move of the bit.
            if (wait >= 1 && !following()) {
                EXPECT_EQ(preview.Buffer().PassPictureReuses(), reuses + 1) << at;
                EXPECT_LE(drawn, 2 * TLineBatches::TailPoints + 8 * TLineBatches::PointsPerDraw) << at;
                ++reusesExpected;
                ++reused;
            }
            if (wait == c.Waits.size()) {
                Window->actStop->Execute();
                return;
            }
            for (const char action : c.Waits[wait]) {
                const int before = preview.Buffer().PassPictureReuses();
                switch (action) {
                case 'Z': Window->PanelGL->ButtonZoomExt->click(); break;
                case 'F':
                case 'U':
                    Window->PanelGL->cbFollowBit->setChecked(action == 'F');
                    preview.SetCamera(action == 'F' ? Window->Scene->GLCamera2 : Window->Scene->GLCamera1);
                    break;
                case 'S': Window->actStep->Execute(); break;
                case 'B': Window->actStepBack->Execute(); break;
                default: ADD_FAILURE() << action;
                }
                if (action != 'S' && action != 'B') {
                    expectWholeFrame(at + ", view " + action);
                    EXPECT_EQ(preview.Buffer().PassPictureReuses(), before) << at << ", view " << action;
                }
            }
            ++wait;
        };
        Run();
        AtPass = nullptr;
        EXPECT_EQ(wait, c.Waits.size());
        EXPECT_EQ(preview.Buffer().PassPictureReuses(), reusesExpected);
        EXPECT_GE(reused, 8);
        EXPECT_FALSE(JogText().empty()) << "the steps went over the jogs";
        EXPECT_FALSE(following());
        preview.SetCamera(Window->Scene->GLCamera1);
    }
}

} // namespace
