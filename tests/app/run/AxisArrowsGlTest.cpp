// The preview's axis arrows and their labels drawn with real OpenGL over many view
// sizes and camera angles: every pixel of an arrow or a label keeps its own colour, at
// full strength, from every side (top, side, front, behind, tilted, after Zoom, riding
// on the bit), whichever faces, sides or outline the view shows.

#include "../PreviewCopySupport.h"
#include "../RunTestSupport.h"

#include "app/run/Navigation.h"
#include "app/settings/PreviewOptions.h"
#include "app/shell/MainBlock.h"

#include "scene/graph/Camera.h"
#include "scene/objects/shapes/Cubes.h"
#include "scene/graph/LightSource.h"
#include "scene/graph/NonVisualViewer.h"
#include "scene/materials/GLBitmap32.h"
#include "scene/objects/shapes/ArrowLine.h"
#include "scene/objects/text/SpaceText.h"
#include "scene/viewer/GLX11Context.h"

#include <QGuiApplication>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

// Sizes users' previews had, among them those where shafts darkened.
constexpr TViewSize ViewSizes[] = {{350, 580},  {560, 437}, {599, 440},   {600, 400},  {700, 678},  {700, 703},
                                   {800, 600},  {1000, 603}, {1100, 903}, {1200, 503}, {1400, 948}};

struct TRgb {
    int R, G, B;
    bool operator==(const TRgb&) const = default;
};

// A pixel of an arrow or a label in its own colour: red, green or blue at nearly full
// strength, the others far below it. A side turned from the light showed near black.
bool OwnColour(TRgb c)
{
    const int channels[] = {c.R, c.G, c.B};
    const int* own = std::max_element(std::begin(channels), std::end(channels));
    for (const int& other : channels) {
        if (&other != own && *own - other < 150) {
            return false;
        }
    }
    return *own >= 200;
}

class AxisArrowsGl : public TRunTest {
protected:
    AxisArrowsGl() { RegisterKerfpadClasses(); }

    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb")) {
            GTEST_SKIP() << "needs the xcb platform (an X server)";
        }
        RegisterGLX11ContextClass();
    }

    // These objects alone on the table, under the preview's lights, and the background
    // as a frame without them holds it.
    void ShowOnly(std::vector<TGLBaseSceneObject*> shown)
    {
        TGLBaseSceneObject* table = Window->Scene->DummyCube3;
        for (int i = 0; i < table->Count(); ++i) {
            TGLBaseSceneObject* child = table->Children(i);
            child->SetVisible(dynamic_cast<TGLLightSource*>(child) != nullptr);
        }
        Background = Draw({64, 64}, Window->Scene->GLCamera1).front();
        for (TGLBaseSceneObject* object : shown) {
            object->SetVisible(true);
        }
    }

    // A frame at that size from the camera, as the preview panel draws it: the second
    // one, from the copy of the scene without its bit. The background where nothing is.
    std::vector<TRgb> Draw(const TViewSize& size, TGLCamera* camera)
    {
        TGLMemoryViewer viewer;
        DrawAsThePreview(viewer, *Window, size, camera);
        const std::unique_ptr<TGLBitmap32> shot = viewer.Buffer().CreateSnapShot();
        std::vector<TRgb> pixels;
        for (int y = 0; y < shot->Height(); ++y) {
            const std::uint8_t* row = shot->ScanLine(y);
            for (int x = 0; x < shot->Width(); ++x) {
                pixels.push_back({row[4 * x], row[4 * x + 1], row[4 * x + 2]});
            }
        }
        return pixels;
    }

    // The pixels the shown objects cover, and the first not in an object's own colour
    // (empty when there is none).
    std::string FirstDarkened(const TViewSize& size, TGLCamera* camera, int& covered)
    {
        const std::vector<TRgb> frame = Draw(size, camera);
        const int width = int(frame.size()) / size.Height;
        covered = 0;
        std::string first;
        int darkened = 0;
        for (std::size_t i = 0; i < frame.size(); ++i) {
            if (frame[i] == Background) {
                continue;
            }
            ++covered;
            if (!OwnColour(frame[i])) {
                if (darkened++ == 0) {
                    first = "(" + std::to_string(int(i) % width) + ", " + std::to_string(int(i) / width) +
                            "): " + std::to_string(frame[i].R) + "," + std::to_string(frame[i].G) + "," +
                            std::to_string(frame[i].B);
                }
            }
        }
        return darkened == 0 ? std::string() : std::to_string(darkened) + " of " + std::to_string(covered) + ", first at " + first;
    }

    // From each view of the table, at every size, the shown objects cover some pixels
    // and each of those is in its object's own colour.
    void ExpectOwnColourFromEverySide(const std::string& what)
    {
        TPreviewScene& scene = *Window->Scene;
        TGLBaseSceneObject& pivot = *scene.DummyCube1;
        const TVector start = pivot.Position().AsVector();
        TSceneView lastView;
        struct TView {
            const char* name;
            // Sets the view up; gives the camera that shows it.
            std::function<TGLCamera*()> place;
        };
        // Close by: the table's origin on the camera's axis, 30 units from it, the
        // letters a dozen pixels high and more.
        const TVector close{0, 0, 45, 1};
        const auto turned = [&](float pitch, float turn, bool zoomed, const TVector* at = nullptr) {
            return [&, pitch, turn, zoomed, at] {
                const TVector& place = at != nullptr ? *at : start;
                pivot.Position().SetPoint(place.X, place.Y, place.Z);
                pivot.Direction().SetVector(0, 0, 1);
                pivot.Up().SetVector(0, 1, 0);
                if (zoomed) {
                    ZoomToFit(scene, Window->Move.get());
                }
                pivot.Turn(turn);
                pivot.Pitch(pitch);
                return scene.GLCamera1;
            };
        };
        const TView views[] = {
            {"top", turned(0, 0, false)},
            {"tilted 30", turned(-30, 0, false)},
            {"tilted 45", turned(-45, 0, false)},
            {"tilted 60", turned(-60, 0, false)},
            {"side, along Y", turned(-90, 0, false)},
            {"side, along X", turned(-90, 90, false)},
            {"behind, along -Y", turned(-90, 180, false)},
            {"side, along -X", turned(-90, -90, false)},
            {"tilted 45, turned 45", turned(-45, 45, false)},
            {"tilted 60, turned 135", turned(-60, 135, false)},
            {"tilted 30, turned 90", turned(-30, 90, false)},
            {"from below, tilted 120", turned(-120, 30, false)},
            {"close, top", turned(0, 0, false, &close)},
            {"close, tilted 45", turned(-45, 0, false, &close)},
            {"close, tilted 60, turned 30", turned(-60, 30, false, &close)},
            {"close, side along Y", turned(-90, 0, false, &close)},
            {"close, side along X", turned(-90, 90, false, &close)},
            {"close, behind", turned(-90, 180, false, &close)},
            {"top after Zoom", turned(0, 0, true)},
            {"tilted 45 after Zoom", turned(-45, 0, true)},
            {"side after Zoom", turned(-90, 90, true)},
            {"Follow Bit View, the bit at the origin",
             [&] {
                 scene.Bit->Position().SetPoint(0, 0, 0);
                 return FollowBitOn(scene, lastView);
             }},
            {"Follow Bit View, the bit on the table",
             [&] {
                 scene.Bit->Position().SetPoint(6, 4, 0);
                 return FollowBitOn(scene, lastView);
             }},
        };
        for (const TView& view : views) {
            TGLCamera* camera = view.place();
            int seen = 0;
            for (const TViewSize& size : ViewSizes) {
                int covered = 0;
                EXPECT_EQ(FirstDarkened(size, camera, covered), "")
                    << what << ", " << view.name << ", " << size.Width << " x " << size.Height;
                seen += covered;
            }
            EXPECT_GT(seen, 0) << view.name << ": no " << what << " in sight";
            if (camera == scene.GLCamera2) {
                FollowBitOff(scene, lastView);
            }
        }
    }

    // The preview's background as a frame holds it.
    TRgb Background{};
};

TEST_F(AxisArrowsGl, EveryPixelOfAnArrowKeepsItsOwnColourFromEverySide)
{
    TPreviewScene& scene = *Window->Scene;
    ShowOnly({scene.XArrow, scene.YArrow, scene.ZArrow});
    ExpectOwnColourFromEverySide("arrow");
}

// The letters' faces, and the sides the extrusion gives them, which a view along the
// table or a tilted one shows: lit, they were black from every angle but the top.
TEST_F(AxisArrowsGl, EveryPixelOfALabelKeepsItsOwnColourFromEverySide)
{
    TPreviewScene& scene = *Window->Scene;
    ShowOnly({scene.SpaceTextx, scene.SpaceTexty, scene.SpaceTextz});
    ExpectOwnColourFromEverySide("label");
}

} // namespace
