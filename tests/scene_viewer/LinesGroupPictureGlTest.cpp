// A long tool path under the lines group on a real renderer, in a scene with a dynamic
// layer: a frame after a node was added or taken away at the path's end starts from the
// picture kept part of the way through it and draws only the end again, yet shows
// exactly what a whole frame shows (the plate behind, the glass drawn over the path
// after it, the paths' colours and depth, segments reaching far beyond the view clipped
// where they cross it); any other change draws everything again.

#include "scene/graph/Camera.h"
#include "scene/graph/NonVisualViewer.h"
#include "scene/graph/World.h"
#include "scene/materials/GLBitmap32.h"
#include "scene/materials/Material.h"
#include "scene/objects/lines/LinesGroup.h"
#include "scene/objects/shapes/Cubes.h"
#include "scene/viewer/GLX11Context.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// A box of one flat colour (emission only) at z; translucent below an alpha of 1.
TGLCube* FlatBox(TGLBaseSceneObject* parent, float x, float z, float side, const TVector& colour)
{
    auto* box = TGLBaseSceneObject::CreateAsChild<TGLCube>(parent);
    box->Position().SetPoint(x, x, z);
    box->SetCubeWidth(side);
    box->SetCubeHeight(side);
    box->SetCubeDepth(0.05f);
    TGLFaceProperties& face = *box->Material().FrontProperties();
    face.Diffuse()->SetColor({0, 0, 0, colour.W});
    face.Ambient()->SetColor({0, 0, 0, 1});
    face.Emission()->SetColor({colour.X, colour.Y, colour.Z, 1});
    if (colour.W < 1) {
        box->Material().SetBlendingMode(bmTransparency);
    }
    return box;
}

// `count` nodes in rows across the view, half behind the glass's plane and half in
// front of it, so that the glass covers some of the path and not the rest.
void Serpentine(TGLLines& line, int count, float top)
{
    for (int i = 0; i < count; ++i) {
        const int row = i / 500;
        const float t = static_cast<float>(i % 500) / 499.0f;
        const float x = row % 2 == 0 ? -1.6f + 3.2f * t : 1.6f - 3.2f * t;
        line.AddNode(x, top - 0.02f * static_cast<float>(row), (i / 37) % 2 == 0 ? -0.3f : 0.3f);
    }
}

const TVector Red{1, 0, 0, 1};
const TVector Blue{0, 0, 1, 1};

// How a scene holds its paths: under a lines group, or for comparison under a plain
// grouping cube whose polylines draw themselves one by one, or under a lines group in a
// scene that keeps no picture (without a dynamic layer), every frame whole.
enum class TPaths { Group, Plain, GroupDrawnWhole };

// Seen from (0, 0, 10) down -Z: a grey plate at z -1, the paths' parent, green glass at
// z 0 over the lower left (blended, so drawn after the paths), and the bit, a box held by
// the dynamic layer's cube.
struct TPathScene {
    explicit TPathScene(TPaths kind)
    {
        RegisterGLX11ContextClass();
        camera = TGLBaseSceneObject::CreateAsChild<TGLCamera>(world.CameraRoot());
        camera->Position().SetPoint(0, 0, 10);
        TGLBaseSceneObject* root = world.ObjectRoot();
        plate = FlatBox(root, 0, -1, 4, {0.5f, 0.5f, 0.5f, 1});
        if (kind != TPaths::Plain) {
            group = TGLBaseSceneObject::CreateAsChild<TGLLinesGroup>(root);
            paths = group;
        } else {
            paths = TGLBaseSceneObject::CreateAsChild<TGLDummyCube>(root);
        }
        FlatBox(root, -0.9f, 0, 1.8f, {0, 1, 0, 0.5f});
        auto* holder = TGLBaseSceneObject::CreateAsChild<TGLDummyCube>(root);
        FlatBox(holder, 1.2f, 0.5f, 0.2f, {1, 1, 1, 1});
        if (kind != TPaths::GroupDrawnWhole) {
            world.AddToDynamicLayer(holder);
        }
        viewer.SetWidth(160);
        viewer.SetHeight(160);
        viewer.Buffer().SetBackgroundColor(clWhite);
        viewer.SetCamera(camera);
    }

    std::vector<std::uint8_t> Frame()
    {
        viewer.Render();
        const std::unique_ptr<TGLBitmap32> shot = viewer.Buffer().CreateSnapShot();
        return {shot->Data(), shot->Data() + shot->Width() * shot->Height() * 4};
    }
    TGLLines& Line(int index) const { return static_cast<TGLLines&>(*paths->Children(index)); }
    TGLLines& Last() const { return Line(paths->Count() - 1); }

    TGLWorld world;
    TGLCamera* camera;
    TGLCube* plate;
    TGLLinesGroup* group = nullptr;
    TGLBaseSceneObject* paths;
    TGLMemoryViewer viewer;
};

class LinesGroupPictureGl : public ::testing::Test {
protected:
    struct TStep {
        const char* Change;
        std::function<void(TPathScene&)> Apply;
        bool FromPicture;
    };
    // The paths made the same way in both scenes.
    void Build(const std::function<void(TPathScene&)>& make)
    {
        make(grouped);
        make(*plain);
    }
    // Each change to both scenes and a frame of each: the same pixels, and the lines
    // group's frame started from its picture exactly where that is good, drawing at most
    // `mostDrawn` points then.
    void Check(const std::vector<TStep>& steps, std::uint64_t mostDrawn)
    {
        // The first frame keeps the copy of the scene without the bit, the first change
        // then the picture part of the way through the paths.
        for (int i = 0; i < 2; ++i) {
            EXPECT_TRUE(grouped.Frame() == plain->Frame());
            grouped.Last().AddNode(0, 0, 0);
            plain->Last().AddNode(0, 0, 0);
        }
        for (const TStep& step : steps) {
            step.Apply(grouped);
            step.Apply(*plain);
            const int reuses = grouped.viewer.Buffer().PassPictureReuses();
            const std::uint64_t drawn = grouped.group->Batches().PointsDrawn();
            EXPECT_TRUE(grouped.Frame() == plain->Frame()) << step.Change;
            EXPECT_EQ(grouped.viewer.Buffer().PassPictureReuses() - reuses, step.FromPicture ? 1 : 0) << step.Change;
            if (step.FromPicture) {
                EXPECT_LE(grouped.group->Batches().PointsDrawn() - drawn, mostDrawn) << step.Change;
            }
        }
    }

    TPathScene grouped{TPaths::Group};
    // What the group's frames are compared with.
    std::unique_ptr<TPathScene> plain = std::make_unique<TPathScene>(TPaths::Plain);
};

TGLLines& Polyline(TPathScene& scene, const TVector& colour, float width = 1, std::uint16_t pattern = 0xFFFF)
{
    auto* line = scene.paths->AddNewChild<TGLLines>();
    line->SetNodesAspect(lnaInvisible);
    line->SetLineColor(colour);
    line->SetLineWidth(width);
    line->SetLinePattern(pattern);
    return *line;
}

constexpr int LongPath = 3 * static_cast<int>(TLineBatches::TailPoints);
constexpr std::uint64_t MostInTail = 2 * TLineBatches::TailPoints + 4 * TLineBatches::PointsPerDraw;

void DeleteNodes(TGLLines& line, std::uint64_t count)
{
    for (std::uint64_t i = 0; i < count; ++i) {
        line.DeleteLastNode();
    }
}

TEST_F(LinesGroupPictureGl, StepsAtTheEndOfALongPathDrawOnlyItsEndYetShowTheWholeFrame)
{
    Build([](TPathScene& s) {
        TGLLines& before = Polyline(s, Blue, 0.5f);
        before.AddNode(-1.5f, -1.7f, 0.2f);
        before.AddNode(1.5f, -1.7f, 0.2f);
        // A curve draws itself, in its place among the paths.
        TGLLines& curve = Polyline(s, {1, 0, 1, 1});
        curve.SetSplineMode(lsmCubicSpline);
        curve.AddNode(-1.5f, 1.8f, 0.4f);
        curve.AddNode(0, 1.2f, 0.4f);
        curve.AddNode(1.5f, 1.8f, 0.4f);
        Serpentine(Polyline(s, Red), LongPath, 1.7f);
    });
    Check({{"a node at the end", [](TPathScene& s) { s.Line(2).AddNode(0.5f, -1.5f, -0.3f); }, true},
           {"the node taken away again", [](TPathScene& s) { s.Line(2).DeleteLastNode(); }, true},
           {"a jog after the path",
            [](TPathScene& s) {
                TGLLines& jog = Polyline(s, Blue, 0.5f);
                jog.AddNode(-1.2f, -1.5f, 0.3f);
                jog.AddNode(-0.2f, -1.6f, 0.3f);
            },
            true},
           {"a cut after the jog",
            [](TPathScene& s) {
                TGLLines& cut = Polyline(s, Red);
                cut.AddNode(-0.2f, -1.6f, 0.3f);
                cut.AddNode(-0.2f, -1.6f, -0.3f);
            },
            true},
           {"the cut grows", [](TPathScene& s) { s.Last().AddNode(0.6f, -1.6f, -0.3f); }, true},
           {"the cut freed", [](TPathScene& s) { delete &s.Last(); }, true},
           {"the jog freed", [](TPathScene& s) { delete &s.Last(); }, true},
           {"half the tail taken away",
            [](TPathScene& s) { DeleteNodes(s.Line(2), TLineBatches::TailPoints / 2); }, true},
           {"a frame without changes", [](TPathScene&) {}, false},
           {"nodes taken away past the picture's place",
            [](TPathScene& s) { DeleteNodes(s.Line(2), TLineBatches::TailPoints); }, false},
           {"a node at the end once more", [](TPathScene& s) { s.Line(2).AddNode(-0.5f, 0.5f, 0.3f); }, true},
           {"a polyline before the place restyled", [](TPathScene& s) { s.Line(0).SetLineColor(Red); }, false},
           {"a node after it", [](TPathScene& s) { s.Line(2).AddNode(-0.4f, 0.5f, 0.3f); }, true},
           {"the curve before the place grows", [](TPathScene& s) { s.Line(1).AddNode(1.6f, 1.0f, 0.4f); }, false},
           {"a node after that", [](TPathScene& s) { s.Line(2).AddNode(-0.3f, 0.5f, 0.3f); }, true},
           {"a polyline before the place hidden", [](TPathScene& s) { s.Line(0).SetVisible(false); }, false},
           {"the plate behind moved", [](TPathScene& s) { s.plate->Position().SetPoint(0.1f, 0, -1); }, false},
           {"the paths moved", [](TPathScene& s) { s.paths->Position().SetPoint(0.05f, 0, 0); }, false},
           {"a node at the end of the moved path", [](TPathScene& s) { s.Line(2).AddNode(0.4f, 0.4f, 0.3f); },
            true},
           // A view that moves keeps no picture: it is kept once the view stands.
           {"the camera moved", [](TPathScene& s) { s.camera->Position().SetPoint(0.05f, 0, 10); }, false},
           {"a node once it stands", [](TPathScene& s) { s.Line(2).AddNode(0.3f, 0.4f, 0.3f); }, false},
           {"another node", [](TPathScene& s) { s.Line(2).AddNode(0.2f, 0.4f, 0.3f); }, true},
           {"the buffer resized", [](TPathScene& s) { s.viewer.SetWidth(150); }, false},
           {"a node at the new size", [](TPathScene& s) { s.Line(2).AddNode(0.1f, 0.4f, 0.3f); }, false},
           {"and another", [](TPathScene& s) { s.Line(2).AddNode(0, 0.4f, 0.3f); }, true}},
          MostInTail);
    // The glass covers some of the path and not the rest, and both colours show.
    const std::vector<std::uint8_t> frame = grouped.Frame();
    int green = 0, red = 0;
    for (std::size_t i = 0; i < frame.size(); i += 4) {
        green += frame[i + 1] > 100 && frame[i] < 100 ? 1 : 0;
        red += frame[i] > 200 && frame[i + 1] < 50 && frame[i + 2] < 50 ? 1 : 0;
    }
    EXPECT_GT(green, 100);
    EXPECT_GT(red, 100);
}

// A dashed path would start its pattern again where it were split: it is drawn again
// from its start, whatever its length, and still shows the whole frame.
TEST_F(LinesGroupPictureGl, ADashedPathIsNeverSplit)
{
    Build([](TPathScene& s) {
        Serpentine(Polyline(s, Blue), LongPath, 1.7f);
        Serpentine(Polyline(s, Red, 1, 0x8888), LongPath / 2, 0.1f);
    });
    Check({{"a node at the end", [](TPathScene& s) { s.Last().AddNode(0.5f, -1.5f, -0.3f); }, true},
           {"the node taken away again", [](TPathScene& s) { s.Last().DeleteLastNode(); }, true}},
          static_cast<std::uint64_t>(LongPath / 2 + 3));
}

// Segments reaching far beyond the view are clipped in double precision wherever they
// lie, before the picture's place, in the part drawn over the picture and in a short
// polyline after it, and a translucent path's parts blend in the order of its segments:
// a frame from the picture shows what a whole frame of the same group shows.
TEST_F(LinesGroupPictureGl, FarSegmentsBeforeAndAfterThePicturesPlaceShowAsInAWholeFrame)
{
    plain = std::make_unique<TPathScene>(TPaths::GroupDrawnWhole);
    const TVector glassRed{1, 0, 0, 0.5f};
    Build([&](TPathScene& s) {
        // Across the view to 1E10 and back, then the serpentine over both.
        TGLLines& path = Polyline(s, glassRed);
        path.AddNode(-1.5f, 1.8f, 0.2f);
        path.AddNode(1e10f, -1e10f, 0.2f);
        path.AddNode(-1.5f, -1.8f, 0.2f);
        Serpentine(path, LongPath, 1.7f);
    });
    Check({{"a node at the end", [](TPathScene& s) { s.Last().AddNode(0.5f, -1.5f, -0.3f); }, true},
           {"a cut to 3E38 at the end", [](TPathScene& s) { s.Last().AddNode(3e38f, 3e38f, -0.3f); }, true},
           {"and from there across the view", [](TPathScene& s) { s.Last().AddNode(-1.6f, -0.5f, -0.3f); }, true},
           {"a polyline from -3E38 to 3E38 across it",
            [&](TPathScene& s) {
                TGLLines& across = Polyline(s, glassRed);
                across.AddNode(-3e38f, 3e38f, 0.1f);
                across.AddNode(3e38f, -3e38f, 0.1f);
            },
            true},
           {"that polyline freed", [](TPathScene& s) { delete &s.Last(); }, true},
           {"the far nodes at the end taken away", [](TPathScene& s) { DeleteNodes(s.Last(), 2); }, true},
           {"the plate behind moved", [](TPathScene& s) { s.plate->Position().SetPoint(0.1f, 0, -1); }, false},
           {"a node at the end once more", [](TPathScene& s) { s.Last().AddNode(0.4f, 0.4f, 0.3f); }, true}},
          MostInTail);
}

// Two buffers showing the same scene each draw it right: the picture the other one kept
// further along the path is not taken for the first one's.
TEST_F(LinesGroupPictureGl, AnotherBufferOfTheSceneNeverMisleadsTheFirst)
{
    Build([](TPathScene& s) { Serpentine(Polyline(s, Red), LongPath, 1.7f); });
    TGLMemoryViewer other;
    other.SetWidth(160);
    other.SetHeight(160);
    other.SetCamera(grouped.camera);
    const auto otherDraws = [&](TPathScene& s) {
        Serpentine(s.Last(), 5000, -1.0f);
        if (s.group) {
            other.Render();
        }
        s.Last().AddNode(0.3f, -1.5f, -0.3f);
        if (s.group) {
            other.Render();
            EXPECT_GT(other.Buffer().PassPictureBytes(), 0u);
        }
    };
    Check({{"a node", [](TPathScene& s) { s.Last().AddNode(0.3f, -1.5f, -0.3f); }, true},
           {"the other buffer kept a picture further on", otherDraws, false},
           {"a node after it", [](TPathScene& s) { s.Last().AddNode(0.2f, -1.5f, -0.3f); }, true}},
          MostInTail);
}

} // namespace
