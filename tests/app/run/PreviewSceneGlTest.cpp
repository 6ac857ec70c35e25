// The preview's scene as the main window builds it, drawn with real OpenGL at the sizes
// a preview takes: cuts below the table's top show along the grid's lines too, the
// three axis arrows show whole, and Zoom to Fit shows a path of any size whole, up to
// single precision's limit, with a view that stays finite.

#include "../PreviewCopySupport.h"
#include "../RunTestSupport.h"

#include "app/run/Navigation.h"
#include "app/run/SceneViews.h"
#include "app/settings/PreviewOptions.h"
#include "app/shell/MainBlock.h"

#include "scene/base/MatrixMath.h"
#include "scene/graph/Camera.h"
#include "scene/graph/NonVisualViewer.h"
#include "scene/materials/GLBitmap32.h"
#include "scene/materials/Material.h"
#include "scene/materials/Texture.h"
#include "scene/materials/TextureImage.h"
#include "scene/objects/shapes/Cubes.h"
#include "scene/viewer/GLX11Context.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace {

// The shipped settings on a 1,600 x 1,000 screen give 560 x 437, and 700 x 703 with
// the shipped layout (700 x 678 in a window manager's frame); the others are sizes a
// user's window gave.
constexpr TViewSize ViewSizes[] = {{560, 437}, {599, 440},  {600, 400},   {700, 678}, {700, 703},
                                   {800, 600}, {1100, 903}, {1200, 503}, {1400, 948}};

struct TRgb {
    int R, G, B;
};
using TColourTest = bool (*)(TRgb);

// The cut's red, alone or through the half-transparent table.
bool CutRed(TRgb c)
{
    return c.R > 140 && c.R - c.G > 60 && c.R - c.B > 60;
}

// An arrow's colour where light falls on its side, or the dark of a side turned away
// from the light (a shaft standing up from the table is lit from the side only; one
// lying on it is lit from above).
bool Dark(TRgb c)
{
    return std::max({c.R, c.G, c.B}) < 70;
}
bool ArrowRed(TRgb c)
{
    return c.R - std::max(c.G, c.B) > 50 || Dark(c);
}
bool ArrowGreen(TRgb c)
{
    return c.G - std::max(c.R, c.B) > 25 || Dark(c);
}
bool ArrowBlue(TRgb c)
{
    return c.B - std::max(c.R, c.G) > 50 || Dark(c);
}

using TOffset = std::array<double, 3>;

// A frame of the preview with what it needs to find the table's points in it.
class TFrame {
public:
    // `table`, `view` and `projection`: the table's absolute matrix and the frame's
    // model-view and projection matrices.
    TFrame(const TGLBitmap32& shot, const TMatrix& table, const TMatrix& view, const TMatrix& projection,
           const TViewSize& size)
        : FTableToClip(MultiplyMatrices(MultiplyMatrices(table, view), projection)), FTable(table), FView(view),
          FProjection(projection), FSize(size), FShotWidth(shot.Width())
    {
        // A snapshot is a multiple of 4 pixels wide: the last columns of the view are
        // not in it.
        for (int y = 0; y < shot.Height(); ++y) {
            const std::uint8_t* row = shot.ScanLine(y);
            for (int x = 0; x < shot.Width(); ++x) {
                FPixels.push_back({row[4 * x], row[4 * x + 1], row[4 * x + 2]});
            }
        }
    }

    // The pixel a point of the table (in the table's own coordinates, `base` moved by
    // `offset`) lands on, from the lower left corner; false behind the camera. In
    // double, one matrix after the other, so that a point beside a base at 1E20 lands
    // where the table puts it.
    bool Project(const TAffineVector& base, const TOffset& offset, int& x, int& y) const
    {
        TOffset world{};
        for (int c = 0; c < 3; ++c) {
            world[c] = double(base.X) * FTable[0][c] + double(base.Y) * FTable[1][c] + double(base.Z) * FTable[2][c] +
                       FTable[3][c];
            world[c] += offset[0] * FTable[0][c] + offset[1] * FTable[1][c] + offset[2] * FTable[2][c];
        }
        double eye[3]{};
        for (int c = 0; c < 3; ++c) {
            eye[c] = world[0] * FView[0][c] + world[1] * FView[1][c] + world[2] * FView[2][c] + FView[3][c];
        }
        double clip[4]{};
        for (int c = 0; c < 4; ++c) {
            clip[c] = eye[0] * FProjection[0][c] + eye[1] * FProjection[1][c] + eye[2] * FProjection[2][c] +
                      FProjection[3][c];
        }
        if (!(clip[3] > 0)) {
            return false;
        }
        x = int(std::floor((clip[0] / clip[3] + 1) / 2 * FSize.Width));
        y = int(std::floor((clip[1] / clip[3] + 1) / 2 * FSize.Height));
        return true;
    }
    bool Project(const TAffineVector& p, int& x, int& y) const { return Project(p, {0, 0, 0}, x, y); }
    bool InView(const TAffineVector& base, const TOffset& offset) const
    {
        int x = 0, y = 0;
        return Project(base, offset, x, y) && Inside(x, y);
    }

    // Points of the segment from a to b (`count` of them, its ends left out by `margin`
    // of its length) where no pixel within one of the point's has the colour: empty
    // when there are none, else how many and the first. Points outside the view are
    // skipped when `inViewOnly`; `checked` counts the others.
    std::string Missing(const TAffineVector& a, const TAffineVector& b, int count, double margin,
                        TColourTest colour, bool inViewOnly, int* checked = nullptr) const
    {
        return MissingAlong(a, Towards(a, b), margin, 1 - margin, count, colour, inViewOnly, checked);
    }
    // The same for the points base + t x direction, t from `from` to `to`.
    std::string MissingAlong(const TAffineVector& base, const TOffset& direction, double from, double to, int count,
                             TColourTest colour, bool inViewOnly, int* checked = nullptr) const
    {
        int missing = 0;
        int seen = 0;
        std::string first;
        for (int i = 0; i < count; ++i) {
            const TOffset offset = Scaled(direction, from + (to - from) * i / (count - 1));
            if (inViewOnly && !InView(base, offset)) {
                continue;
            }
            seen += 1;
            std::string where;
            if (!Shows(base, offset, colour, where)) {
                missing += 1;
                first = first.empty() ? where : first;
            }
        }
        if (checked) {
            *checked = seen;
        }
        return missing == 0 ? std::string()
                            : std::to_string(missing) + " of " + std::to_string(seen) + ", first " + first;
    }

    // Points of the segment (taken as Missing takes them) with a pixel of the colour
    // within one of the point's: empty when there are none, else how many and the first
    // such pixel.
    std::string Stained(const TAffineVector& a, const TAffineVector& b, int count, double margin,
                        TColourTest colour) const
    {
        int stained = 0;
        std::string first;
        for (int i = 0; i < count; ++i) {
            int cx = 0, cy = 0, x = 0, y = 0;
            const TOffset offset = Scaled(Towards(a, b), margin + (1 - 2 * margin) * i / (count - 1));
            if (Project(a, offset, cx, cy) && Near(cx, cy, colour, x, y)) {
                stained += 1;
                first = first.empty() ? PixelText(x, y) : first;
            }
        }
        return stained == 0 ? std::string() : std::to_string(stained) + " of " + std::to_string(count) + ", first " + first;
    }

    // Pixels of the colour in the frame.
    int Count(TColourTest colour) const
    {
        return int(std::count_if(FPixels.begin(), FPixels.end(), colour));
    }
    // Pixels that differ from those of another frame of the same size, and the first.
    int Differences(const TFrame& other, std::string* first = nullptr) const
    {
        int count = 0;
        for (std::size_t i = 0; i < FPixels.size() && i < other.FPixels.size(); ++i) {
            const TRgb a = FPixels[i];
            const TRgb b = other.FPixels[i];
            if (a.R != b.R || a.G != b.G || a.B != b.B) {
                if (count++ == 0 && first) {
                    *first = PixelText(int(i % std::size_t(FShotWidth)), int(i / std::size_t(FShotWidth)));
                }
            }
        }
        return count;
    }
    // Every factor from the table to the view is a number.
    bool FiniteProjection() const
    {
        for (int i = 0; i < 4; ++i) {
            const TVector& row = FTableToClip[i];
            if (!std::isfinite(row.X) || !std::isfinite(row.Y) || !std::isfinite(row.Z) || !std::isfinite(row.W)) {
                return false;
            }
        }
        return true;
    }

    std::string SizeText() const { return std::to_string(FSize.Width) + " x " + std::to_string(FSize.Height); }

    // From a to b, in double.
    static TOffset Towards(const TAffineVector& a, const TAffineVector& b)
    {
        return {double(b.X) - a.X, double(b.Y) - a.Y, double(b.Z) - a.Z};
    }

private:
    static TOffset Scaled(const TOffset& v, double t) { return {v[0] * t, v[1] * t, v[2] * t}; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < FSize.Width && y < FSize.Height; }
    TRgb At(int x, int y) const
    {
        return x < FShotWidth ? FPixels[std::size_t(y) * std::size_t(FShotWidth) + std::size_t(x)] : TRgb{-1, -1, -1};
    }
    std::string PixelText(int x, int y) const
    {
        std::string text = "at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
        if (!Inside(x, y)) {
            return text + ", outside the view";
        }
        const TRgb c = At(x, y);
        return text + ": " + std::to_string(c.R) + "," + std::to_string(c.G) + "," + std::to_string(c.B);
    }
    // A pixel of the colour within one of (cx, cy), in (x, y).
    bool Near(int cx, int cy, TColourTest colour, int& x, int& y) const
    {
        for (y = cy - 1; y <= cy + 1; ++y) {
            for (x = cx - 1; x <= cx + 1; ++x) {
                if (Inside(x, y) && colour(At(x, y))) {
                    return true;
                }
            }
        }
        return false;
    }
    bool Shows(const TAffineVector& base, const TOffset& offset, TColourTest colour, std::string& where) const
    {
        int cx = 0, cy = 0, x = 0, y = 0;
        if (!Project(base, offset, cx, cy)) {
            where = "behind the camera";
            return false;
        }
        if (Near(cx, cy, colour, x, y)) {
            return true;
        }
        where = PixelText(cx, cy);
        return false;
    }

    TMatrix FTableToClip;
    TMatrix FTable;
    TMatrix FView;
    TMatrix FProjection;
    TViewSize FSize;
    int FShotWidth;
    std::vector<TRgb> FPixels;
};

class PreviewSceneGl : public TRunTest {
protected:
    PreviewSceneGl()
    {
        RegisterKerfpadClasses();
        ShowBoard();
    }

    // The table as it ships, with the board's picture over it.
    void ShowBoard()
    {
        TGLTexture& board = *Window->Scene->Cube1->Material().Texture();
        board.Image()->LoadFromFile(KERFPAD_DATA_DIR "/board.jpg");
        board.SetTextureMode(tmModulate);
        board.SetDisabled(false);
    }

    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb")) {
            GTEST_SKIP() << "needs the xcb platform (an X server)";
        }
        RegisterGLX11ContextClass();
    }

    // Its path alone in the preview, the bit gliding to it from the origin.
    void RunProgram(const std::string& text)
    {
        Window->Move->Reset();
        // A stopped run leaves the bit where it stopped: from 3E38 it would glide back
        // for ever.
        Window->Scene->Bit->Position().SetPoint(0, 0, 0);
        // A page of its own: a file already open would only be shown again.
        OpenProgram("p" + std::to_string(++FPrograms) + ".sbp", text);
        SetSimulate(false);
        Run();
        ASSERT_FALSE(Window->Running);
    }

    // Its path alone in the preview, from a run whose last move would glide for ever
    // (a bit at 3E38 moves 0.25 a frame): stopped once its lines ran, at the first wait.
    void RunUntilTheGlide(const std::string& text)
    {
        Window->Move->Reset();
        OpenProgram("p" + std::to_string(++FPrograms) + ".sbp", text);
        SetSimulate(false);
        AtPass = [this] { Window->actStop->Execute(); };
        Run();
        AtPass = nullptr;
        ASSERT_FALSE(Window->Running);
    }

    // Its path alone in the preview, the bit put on each target as the run waits for it
    // (at 1E20 it would glide for ever), so that the run ends.
    void RunToTheEnd(const std::string& text)
    {
        AtPass = [this] {
            TAffineVector target;
            Window->Move->GetBitTarget(target);
            Window->Scene->Bit->Position().SetPoint(target.X, target.Y, target.Z);
        };
        RunProgram(text);
        AtPass = nullptr;
    }

    // A frame at that size as the preview panel draws it: the main camera's focal
    // length follows the view's size. The second frame comes from the copy of the
    // scene without its bit, as every frame of a standing view does.
    TFrame Draw(const TViewSize& size)
    {
        return Draw(size, Window->Scene->GLCamera1);
    }
    // The same from another camera (the follow-bit view's).
    TFrame Draw(const TViewSize& size, TGLCamera* camera)
    {
        TGLMemoryViewer viewer;
        DrawAsThePreview(viewer, *Window, size, camera);
        return TFrame(*viewer.Buffer().CreateSnapShot(), Window->Scene->DummyCube3->AbsoluteMatrix(),
                      viewer.Buffer().ModelViewMatrix(), viewer.Buffer().ProjectionMatrix(), size);
    }

    // The first value of the main camera or the pivot that is no number; empty when
    // there is none.
    std::string NotFinite() const
    {
        const TGLCamera& camera = *Window->Scene->GLCamera1;
        const TGLBaseSceneObject& pivot = *Window->Scene->DummyCube1;
        const struct {
            const char* name;
            TVector value;
        } vectors[] = {{"camera position", camera.Position().AsVector()},
                       {"camera direction", camera.Direction().AsVector()},
                       {"camera up", camera.Up().AsVector()},
                       {"camera lens (focal length, depth of view, near plane and its bias)",
                        {camera.FocalLength(), camera.DepthOfView(), camera.NearPlane(), camera.NearPlaneBias()}},
                       {"pivot position", pivot.Position().AsVector()},
                       {"pivot direction", pivot.Direction().AsVector()},
                       {"pivot up", pivot.Up().AsVector()},
                       {"pivot scale", pivot.Scale().AsVector()}};
        for (const auto& v : vectors) {
            if (!std::isfinite(v.value.X) || !std::isfinite(v.value.Y) || !std::isfinite(v.value.Z) ||
                !std::isfinite(v.value.W)) {
                return v.name;
            }
        }
        return {};
    }

    int FPrograms = 0;
};

TEST_F(PreviewSceneGl, CutsBelowTheTopShowAlongTheGridLines)
{
    // Every side on a line of the grid (4 apart), some below the table itself.
    for (const double depth : {0.05, 0.25, 2.0}) {
        const std::string d = std::to_string(depth);
        RunProgram("J3,32,16,1\r\nM3,32,16,-" + d + "\r\nM2,68,16\r\nM2,68,36\r\nM2,32,36\r\nM2,32,16\r\n");
        const float z = -float(depth);
        const TAffineVector corners[] = {{32, 16, z}, {68, 16, z}, {68, 36, z}, {32, 36, z}};
        for (const TViewSize& size : ViewSizes) {
            const TFrame frame = Draw(size);
            for (int side = 0; side < 4; ++side) {
                EXPECT_EQ(frame.Missing(corners[side], corners[(side + 1) % 4], 25, 0.05, CutRed, false), "")
                    << "depth " << depth << ", side " << side << ", " << frame.SizeText();
            }
        }
    }
}

TEST_F(PreviewSceneGl, TheThreeAxisArrowsShowWholeInTheirColours)
{
    // Each shaft, 11 long from where the three meet. The shafts lying on the table are
    // lit from above: no dark pixel lies on or beside them either (their outline drew
    // a black line along a side the light does not reach, and facets beside their
    // middle show dark).
    const struct {
        const char* name;
        TAffineVector to;
        TColourTest colour;
        TColourTest stain;
    } arrows[] = {{"X", {10, -1, 0}, ArrowRed, Dark},
                  {"Y", {-1, 10, 0}, ArrowGreen, Dark},
                  {"Z", {-1, -1, 11}, ArrowBlue, nullptr}};
    for (const TViewSize& size : ViewSizes) {
        const TFrame frame = Draw(size);
        for (const auto& arrow : arrows) {
            // The Z arrow leans out of the view's left side: a few of its points are in.
            int checked = 0;
            EXPECT_EQ(frame.Missing({-1, -1, 0}, arrow.to, 31, 0.1, arrow.colour, true, &checked), "")
                << arrow.name << " arrow, " << frame.SizeText();
            EXPECT_GE(checked, 3) << arrow.name << " arrow, " << frame.SizeText();
            if (arrow.stain) {
                EXPECT_EQ(frame.Stained({-1, -1, 0}, arrow.to, 61, 0.1, arrow.stain), "")
                    << arrow.name << " arrow, " << frame.SizeText();
            }
        }
    }
}

TEST_F(PreviewSceneGl, ZoomToFitShowsAPathOfAnySizeWhole)
{
    const float z = -0.25f;
    const struct {
        const char* what;
        std::vector<TAffineVector> nodes; // back to the first when more than two
    } paths[] = {{"a square of 100", {{0, 0, z}, {100, 0, z}, {100, 100, z}, {0, 100, z}}},
                 {"a square of 1,000", {{0, 0, z}, {1000, 0, z}, {1000, 1000, z}, {0, 1000, z}}},
                 {"a sheet of 2,000 x 1,000", {{0, 0, z}, {2000, 0, z}, {2000, 1000, z}, {0, 1000, z}}},
                 {"one cut of 10,000", {{0, 0, z}, {10000, 0, z}}}};
    for (const auto& path : paths) {
        std::vector<TAffineVector> nodes = path.nodes;
        if (nodes.size() > 2) {
            nodes.push_back(nodes.front());
        }
        std::string program;
        for (const TAffineVector& n : nodes) {
            program += "M3," + std::to_string(n.X) + "," + std::to_string(n.Y) + "," + std::to_string(n.Z) + "\r\n";
        }
        RunProgram(program);
        Window->PanelGL->ButtonZoomExt->click();
        const auto expectWhole = [&](const TViewSize& size, const char* when) {
            const TFrame frame = Draw(size);
            for (std::size_t i = 0; i + 1 < nodes.size(); ++i) {
                // Its ends in sight too, but not under the bit that stands at the last.
                EXPECT_EQ(frame.Missing(nodes[i], nodes[i + 1], 21, 0.01, CutRed, false), "")
                    << path.what << when << ", side " << i << ", " << frame.SizeText();
            }
        };
        for (const TViewSize& size : ViewSizes) {
            expectWhole(size, "");
        }
        // The wheel takes the view back by a quarter of its distance: still in sight.
        const float distance = Window->Scene->GLCamera1->Position().Z() - Window->Scene->DummyCube1->Position().Z();
        for (int notch = 0; notch < int(distance / 4); ++notch) {
            Window->FormMouseWheel(120);
        }
        expectWhole(ViewSizes[0], ", moved back");
    }
}

} // namespace

namespace {

TEST_F(PreviewSceneGl, ZoomKeepsAFiniteViewOfPathsToSinglePrecisionsLimit)
{
    // Each program starts at the origin (the position stays from one run to the next).
    const struct {
        const char* what;
        const char* program;
    } paths[] = {{"a cut to 1E7", "J2,0,0\r\nM2,1e7,1e7\r\n"},
                 {"a cut to 1E20", "J2,0,0\r\nM2,1e20,1e20\r\n"},
                 {"a cut to 3E38", "J2,0,0\r\nM2,3e38,3e38\r\n"},
                 {"a cut to -3E38", "J2,0,0\r\nM2,-3e38,-3e38\r\n"},
                 {"a cut from -3E38 to 3E38", "J2,-3e38,-3e38\r\nM2,3e38,3e38\r\n"},
                 {"a tiny path, then a cut to 3E38", "J2,0,0\r\nM2,1,1\r\nM2,2,1\r\nM2,2,3e38\r\n"},
                 {"a tiny path at 3.4E38", "J2,3.4e38,0\r\nM2,3.4e38,1\r\n"}};
    for (const auto& path : paths) {
        RunUntilTheGlide(path.program);
        Window->PanelGL->ButtonZoomExt->click();
        const auto expectShown = [&](const char* when, std::span<const TViewSize> sizes) {
            EXPECT_EQ(NotFinite(), "") << path.what << when;
            for (const TViewSize& size : sizes) {
                const TFrame frame = Draw(size);
                EXPECT_TRUE(frame.FiniteProjection()) << path.what << when << ", " << frame.SizeText();
                EXPECT_GT(frame.Count(CutRed), 0) << path.what << when << ", " << frame.SizeText();
            }
        };
        expectShown("", ViewSizes);
        // Then the shipped size and the widest, whose projection multiplies the most.
        const TViewSize moved[] = {{560, 437}, {1200, 503}};
        for (int notch = 0; notch < 3; ++notch) {
            Window->FormMouseWheel(120);
        }
        Window->FormMouseWheel(-360);
        expectShown(", after the wheel", moved);
        Window->PanelGL->NavButtons[static_cast<int>(TNavButton::Out)]->click();
        expectShown(", after Out", moved);
    }

    // Then a path of the table's size shows whole again, as the preview started.
    Window->PanelGL->BitBtn11->click();
    const float z = -0.25f;
    const TAffineVector square[] = {{10, 10, z}, {40, 10, z}, {40, 40, z}, {10, 40, z}};
    RunProgram("J2,10,10\r\nM3,10,10,-0.25\r\nM2,40,10\r\nM2,40,40\r\nM2,10,40\r\nM2,10,10\r\n");
    Window->PanelGL->ButtonZoomExt->click();
    EXPECT_EQ(Window->Scene->ViewScale(), 1.0f);
    EXPECT_EQ(Window->Scene->GLCamera1->DepthOfView(), TPreviewScene::MainDepthOfView);
    for (const TViewSize& size : ViewSizes) {
        const TFrame frame = Draw(size);
        for (int side = 0; side < 4; ++side) {
            EXPECT_EQ(frame.Missing(square[side], square[(side + 1) % 4], 21, 0.05, CutRed, false), "")
                << "side " << side << ", " << frame.SizeText();
        }
    }
}

} // namespace

namespace {

// Cuts that reach far from the table, each run after a jog to its start. `table`: its
// part over the table, from where it comes onto it to where it leaves it.
struct TFarCut {
    const char* what;
    const char* program;
    TAffineVector from, to;
    TAffineVector tableFrom, tableTo;
};
const TFarCut FarCuts[] = {
    {"a cut to 1E7", "J2,0,0\r\nM2,1e7,1e7\r\n", {0, 0, 0}, {1e7f, 1e7f, 0}, {0, 0, 0}, {48, 48, 0}},
    {"a cut to 1E10", "J2,0,0\r\nM2,1e10,1e10\r\n", {0, 0, 0}, {1e10f, 1e10f, 0}, {0, 0, 0}, {48, 48, 0}},
    {"a cut to 1E20", "J2,0,0\r\nM2,1e20,1e20\r\n", {0, 0, 0}, {1e20f, 1e20f, 0}, {0, 0, 0}, {48, 48, 0}},
    {"a cut to 3E38", "J2,0,0\r\nM2,3e38,3e38\r\n", {0, 0, 0}, {3e38f, 3e38f, 0}, {0, 0, 0}, {48, 48, 0}},
    {"a cut from -3E38 to 3E38 through the origin", "J2,-3e38,-3e38\r\nM2,3e38,3e38\r\n", {-3e38f, -3e38f, 0},
     {3e38f, 3e38f, 0}, {0, 0, 0}, {48, 48, 0}},
    // Two units to the left for every three up, from the table's middle.
    {"a cut from the table to (-2E38, 3E38)", "J2,60,30\r\nM2,-2e38,3e38\r\n", {60, 30, 0}, {-2e38f, 3e38f, 0},
     {60, 30, 0}, {48, 48, 0}},
    // In a polyline drawn from its own points, long enough for a picture to be kept part
    // of the way through it: at its end, drawn over that picture, and at its start, the
    // rest of it running back over the table.
    {"a cut to 1E10 after 40,000 moves", "J2,5,0\r\n&i = 0\r\nL1:\r\nM2, 5 - &i / 8000, 0\r\n&i = &i + 1\r\n"
                                         "IF &i <= 40000 THEN GOTO L1\r\nM2,1e10,1e10\r\n",
     {0, 0, 0}, {1e10f, 1e10f, 0}, {0, 0, 0}, {48, 48, 0}},
    {"a cut to 3E38 and back before 40,000 moves", "J2,0,0\r\nM2,3e38,3e38\r\nM2,0,0\r\n&i = 0\r\nL1:\r\n"
                                                   "M2, &i / 8000, 0\r\n&i = &i + 1\r\nIF &i <= 40000 THEN GOTO L1\r\n",
     {0, 0, 0}, {3e38f, 3e38f, 0}, {0, 0, 0}, {48, 48, 0}},
};
// The shipped size and the widest, whose projection multiplies the most.
const TViewSize FarViewSizes[] = {{560, 437}, {1200, 503}};

TEST_F(PreviewSceneGl, ACutReachingFarShowsWhereverItCrossesTheView)
{
    const TSceneView start = CaptureView(*Window->Scene, "Start");
    Dialogs.ExpectInput("Start");
    Window->PanelGL->BitBtn9->click();
    // The bit's marker stands where the caret's line goes, over the bit: off, to see
    // the bit itself; and no jog over the cut.
    Window->PanelGL->cbWireframe->setChecked(false);
    Window->PanelGL->cboJogsVisible->click();
    ASSERT_FALSE(Window->PanelGL->cboJogsVisible->isChecked());
    for (const TFarCut& cut : FarCuts) {
        RunToTheEnd(cut.program);
        ASSERT_EQ(Window->Move->CutLines().size(), 1u) << cut.what;
        const auto expectOverTheTable = [&](const char* view) {
            for (const TViewSize& size : FarViewSizes) {
                const TFrame frame = Draw(size);
                int checked = 0;
                EXPECT_EQ(frame.Missing(cut.tableFrom, cut.tableTo, 25, 0.05, CutRed, true, &checked), "")
                    << cut.what << view << ", " << frame.SizeText();
                EXPECT_GE(checked, 10) << cut.what << view << ", " << frame.SizeText();
            }
        };
        ApplyView(*Window->Scene, start);
        expectOverTheTable(", as the preview starts");

        Window->PanelGL->ButtonZoomExt->click();
        for (const TViewSize& size : FarViewSizes) {
            const TFrame frame = Draw(size);
            EXPECT_EQ(frame.Missing(cut.from, cut.to, 41, 0.02, CutRed, false), "")
                << cut.what << ", after Zoom, " << frame.SizeText();
        }
        emit Window->PanelGL->cboView->activated(0);
        expectOverTheTable(", in the view kept at the start");

        // Following the bit at either end: the cut leaves it toward the other.
        for (const auto& [at, other] : {std::pair{cut.from, cut.to}, std::pair{cut.to, cut.from}}) {
            Window->Scene->Bit->Position().SetPoint(at.X, at.Y, at.Z);
            Window->PanelGL->cbFollowBit->setChecked(true);
            const TOffset away = TFrame::Towards(at, other);
            const double length = std::hypot(away[0], away[1], away[2]);
            const TOffset unit{away[0] / length, away[1] / length, away[2] / length};
            for (const TViewSize& size : FarViewSizes) {
                const TFrame frame = Draw(size, Window->Scene->GLCamera2);
                int checked = 0;
                EXPECT_EQ(frame.MissingAlong(at, unit, 1, 20, 39, CutRed, true, &checked), "")
                    << cut.what << ", following the bit at " << at.X << ", " << frame.SizeText();
                EXPECT_GE(checked, 5) << cut.what << ", following the bit at " << at.X << ", " << frame.SizeText();
                // The bit shows: the frame differs from one without it.
                Window->Scene->Bit->SetVisible(false);
                const int bitPixels = frame.Differences(Draw(size, Window->Scene->GLCamera2));
                Window->Scene->Bit->SetVisible(true);
                EXPECT_GE(bitPixels, 50) << cut.what << ", following the bit at " << at.X << ", " << frame.SizeText();
            }
            Window->PanelGL->cbFollowBit->setChecked(false);
        }
    }
}

// A view kept as the preview starts has no depth of view of its own: it comes back as
// far-seeing as it was kept, not as far as the Zoom in between made the camera see,
// and so draws the same picture.
TEST_F(PreviewSceneGl, AViewKeptAtTheStartComesBackAsItWasKeptAfterZoomOnALargePath)
{
    // The bit's marker follows the caret's line: off, so that only the view differs.
    Window->PanelGL->cbWireframe->setChecked(false);
    const TAffineVector bit = BitPosition();
    const float depth = Window->Scene->GLCamera1->DepthOfView();
    Dialogs.ExpectInput("Start");
    Window->PanelGL->BitBtn9->click();
    std::vector<TFrame> before;
    for (const TViewSize& size : FarViewSizes) {
        before.push_back(Draw(size));
    }
    const struct {
        const char* what;
        const char* program;
    } paths[] = {{"a sheet of 2,000 x 1,000", "J2,0,0\r\nM3,0,0,-0.25\r\nM2,2000,0\r\nM2,2000,1000\r\n"},
                 {"a cut of 10,000", "J2,0,0\r\nM3,0,0,-0.25\r\nM2,10000,0\r\n"},
                 {"a cut 5,000 deep", "J2,0,0\r\nM3,1,1,-5000\r\n"},
                 {"a cut to 1E20", "J2,0,0\r\nM2,1e20,1e20\r\n"},
                 {"a cut to 3E38", "J2,0,0\r\nM2,3e38,3e38\r\n"}};
    for (const auto& path : paths) {
        RunToTheEnd(path.program);
        Window->PanelGL->ButtonZoomExt->click();
        ASSERT_NE(Window->Scene->GLCamera1->DepthOfView(), depth) << path.what << ": Zoom sees further";
        // The path gone and the bit back, the view alone differs from the kept one.
        Window->PanelGL->BitBtn11->click();
        Window->Scene->Bit->Position().SetPoint(bit.X, bit.Y, bit.Z);
        emit Window->PanelGL->cboView->activated(0);
        EXPECT_EQ(Window->Scene->ViewScale(), 1.0f) << path.what;
        EXPECT_EQ(Window->Scene->GLCamera1->DepthOfView(), depth) << path.what;
        for (std::size_t i = 0; i < before.size(); ++i) {
            std::string first;
            EXPECT_EQ(Draw(FarViewSizes[i]).Differences(before[i], &first), 0)
                << path.what << ", " << before[i].SizeText() << ", first " << first;
        }
    }
}

TEST_F(PreviewSceneGl, AViewKeptAfterZoomOnAFarCutComesBackAsItWasKept)
{
    const char* program = "J2,0,0\r\nM2,3e38,3e38\r\n";
    const TViewSize size = FarViewSizes[0];
    RunToTheEnd(program);
    Window->PanelGL->ButtonZoomExt->click();
    ASSERT_LT(Window->Scene->ViewScale(), 1.0f) << "a view that Zoom scaled";
    // The bit where the run leaves it in both pictures.
    Window->Scene->Bit->Position().SetPoint(0, 0, 0);
    const TSceneView kept = CaptureView(*Window->Scene, "Far");
    const float depth = Window->Scene->GLCamera1->DepthOfView();
    const TFrame before = Draw(size);
    ASSERT_GT(before.Count(CutRed), 100);
    Dialogs.ExpectInput("Far");
    Window->PanelGL->BitBtn9->click();

    // Another view, then a new start of the program that runs the same cut.
    ApplyView(*Window->Scene, TSceneView{});
    StartWindow();
    ShowBoard();
    RunToTheEnd(program);
    Window->Scene->Bit->Position().SetPoint(0, 0, 0);
    emit Window->PanelGL->cboView->activated(0);

    const TSceneView back = CaptureView(*Window->Scene, "Far");
    const auto expectSame = [](const TVector& a, const TVector& b, const char* what) {
        EXPECT_EQ(a.X, b.X) << what;
        EXPECT_EQ(a.Y, b.Y) << what;
        EXPECT_EQ(a.Z, b.Z) << what;
    };
    expectSame(back.CameraPos, kept.CameraPos, "camera");
    expectSame(back.DummyCubePos, kept.DummyCubePos, "pivot");
    expectSame(back.DummyCubeDir, kept.DummyCubeDir, "pivot's direction");
    expectSame(back.DummyCubeUp, kept.DummyCubeUp, "pivot's up");
    EXPECT_EQ(Window->Scene->ViewScale(), kept.ViewScale);
    EXPECT_EQ(Window->Scene->GLCamera1->DepthOfView(), depth);
    std::string first;
    EXPECT_EQ(Draw(size).Differences(before, &first), 0) << "the picture, first " << first;
}

} // namespace
