// The lines group draws exactly what its children draw one by one (same strips, same
// styles, same order), and a frame copies only the polylines that changed.

#include "scene/graph/DirectOpenGL.h"
#include "scene/graph/World.h"
#include "scene/objects/lines/LinesGroup.h"
#include "scene/rendering/GLStateCache.h"

#include "../../NullContext.h"
#include "../../RecordedPrimitives.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

// A line strip as it reaches the screen: its style and its points.
struct TDrawnStrip {
    std::vector<double> Color;
    double Width = 1;
    double Pattern = 0xFFFF;
    std::vector<double> Points;
    bool operator==(const TDrawnStrip&) const = default;
};

// Client arrays are read back here: the recorder does not follow their pointers.
const GLfloat* VertexArray = nullptr;

void RecordStrip(GLint first, GLsizei count)
{
    TGLCall call;
    call.Name = "strip";
    for (GLsizei i = 0; i < count * 3; ++i) {
        call.Data.push_back(VertexArray[3 * first + i]);
    }
    TGLRecorder::Current()->Record(std::move(call));
}

class LineBatchesTest : public ::testing::Test {
protected:
    LineBatchesTest()
    {
        rci.GLStates = &states;
        GL.glVertexPointer = [](GLint, GLenum, GLsizei, const void* p) { VertexArray = static_cast<const GLfloat*>(p); };
        GL.glDrawArrays = [](GLenum, GLint first, GLsizei count) { RecordStrip(first, count); };
        GL.glMultiDrawArraysEXT = [](GLenum, const GLint* firsts, const GLsizei* counts, GLsizei n) {
            TGLRecorder::Current()->Record(TGLCall{"glMultiDrawArraysEXT", {}, {}, {}});
            for (GLsizei i = 0; i < n; ++i) {
                RecordStrip(firsts[i], counts[i]);
            }
        };
    }

    // Every line strip of one frame of `parent`, whether drawn by glBegin (directly or
    // through a display list) or by arrays.
    std::vector<TDrawnStrip> Frame(TGLBaseSceneObject& parent)
    {
        gl.Clear();
        parent.Render(rci);
        strips_.clear();
        saved_.clear();
        style_ = TDrawnStrip();
        style_.Color = {1, 1, 1, 1};
        const std::vector<TGLCall> calls = gl.Calls();
        std::vector<TGLCall>* compiling = nullptr;
        for (const TGLCall& call : calls) {
            if (call.Name == "glNewList") {
                compiling = &lists_[call.Args[0]];
                compiling->clear();
            } else if (call.Name == "glEndList") {
                compiling = nullptr;
            } else if (compiling) {
                compiling->push_back(call);
            } else {
                Execute(call);
            }
        }
        return strips_;
    }

    void Execute(const TGLCall& call)
    {
        if (call.Name == "glCallList") {
            for (const TGLCall& listed : lists_[call.Args[0]]) {
                Execute(listed);
            }
        } else if (call.Name == "glPushAttrib") {
            saved_.push_back(style_);
        } else if (call.Name == "glPopAttrib") {
            style_ = saved_.back();
            saved_.pop_back();
        } else if (call.Name == "glColor3fv" || call.Name == "glColor4fv") {
            style_.Color = call.Data;
        } else if (call.Name == "glLineWidth") {
            style_.Width = call.Args[0];
        } else if (call.Name == "glLineStipple") {
            style_.Pattern = call.Args[1];
        } else if (call.Name == "glBegin") {
            inStrip_ = call.Args[0] == GL_LINE_STRIP;
            if (inStrip_) {
                strips_.push_back(style_);
            }
        } else if (call.Name == "glEnd") {
            inStrip_ = false;
        } else if (inStrip_ && call.Name == "glVertex3f") {
            strips_.back().Points.insert(strips_.back().Points.end(), call.Args.begin(), call.Args.end());
        } else if (call.Name == "strip") {
            strips_.push_back(style_);
            strips_.back().Points = call.Data;
        }
    }

    TGLRecorder gl;
    scenetest::TNullContext context;
    TGLStateCache states;
    TRenderContextInfo rci;

private:
    std::map<double, std::vector<TGLCall>> lists_;
    std::vector<TDrawnStrip> strips_;
    std::vector<TDrawnStrip> saved_;
    TDrawnStrip style_;
    bool inStrip_ = false;
};

TGLLines* AddLine(TGLBaseSceneObject& parent, std::initializer_list<float> xs, const TVector& color = {1, 0, 0, 1},
                  std::uint16_t pattern = 0xFFFF, float width = 1)
{
    auto* line = parent.AddNewChild<TGLLines>();
    line->SetNodesAspect(lnaInvisible);
    line->SetLineColor(color);
    line->SetLinePattern(pattern);
    line->SetLineWidth(width);
    for (float x : xs) {
        line->AddNode(x, x + 1, 0);
    }
    return line;
}

// Children of every kind, in an order that breaks and resumes batches.
void Populate(TGLBaseSceneObject& parent)
{
    const TVector red{1, 0, 0, 1};
    const TVector blue{0, 0, 1, 1};
    AddLine(parent, {0, 1, 2}, red);
    AddLine(parent, {3, 4}, red);
    AddLine(parent, {5}, red);                                 // one node draws nothing
    AddLine(parent, {6, 7}, blue, 0xFFFF, 0.5f)->SetVisible(false); // hidden between two reds
    AddLine(parent, {8, 9}, red);
    AddLine(parent, {10, 11}, blue, 0x8888, 0.5f);             // dashed jog
    AddLine(parent, {12, 13}, {1, 0, 0, 0.5f});                // translucent
    TGLLines* curve = AddLine(parent, {14, 15, 16}, red);
    curve->SetSplineMode(lsmCubicSpline);                      // draws itself
    AddLine(parent, {17, 18}, red)->Position().SetPoint(0, 5, 0); // moved: draws itself
    AddLine(parent, {19, 20}, red)->SetShowAxes(true);
    AddLine(parent, {21, 22}, red);
}

TEST_F(LineBatchesTest, DrawsWhatTheChildrenDrawOneByOne)
{
    TGLDummyCube plain;
    TGLLinesGroup group;
    Populate(plain);
    Populate(group);
    const std::vector<TDrawnStrip> expected = Frame(plain);
    EXPECT_EQ(Frame(group), expected);
    EXPECT_EQ(Frame(group), expected) << "the second frame draws from the copies";
    // Three reds (one of them empty) in one batch, the hidden blue not breaking it; the
    // dashed, translucent and last ones each their own; three children on their own.
    EXPECT_EQ(group.Batches().Batches(), 7);
    EXPECT_EQ(gl.Count("glMultiDrawArraysEXT"), 4);
}

// After each change to both scenes, the group still draws what the plain parent draws,
// and copies only the points of the polylines from the first changed one on.
TEST_F(LineBatchesTest, FramesCopyOnlyWhatChanged)
{
    TGLDummyCube plain;
    TGLLinesGroup group;
    for (TGLBaseSceneObject* parent : {static_cast<TGLBaseSceneObject*>(&plain), static_cast<TGLBaseSceneObject*>(&group)}) {
        for (int i = 0; i < 10; ++i) {
            const float x = float(i * 10);
            AddLine(*parent, {x, x + 1});
        }
    }
    const struct {
        const char* Change;
        std::function<void(TGLBaseSceneObject&)> Apply;
        std::uint64_t Copied;
    } steps[] = {
        {"first frame", [](TGLBaseSceneObject&) {}, 20},
        {"nothing", [](TGLBaseSceneObject&) {}, 0},
        {"last grows", [](TGLBaseSceneObject& p) { static_cast<TGLLines*>(p.Children(9))->AddNode(5, 5, 0); }, 3},
        {"new polyline", [](TGLBaseSceneObject& p) { AddLine(p, {7, 8, 9}); }, 3},
        {"last freed", [](TGLBaseSceneObject& p) { delete p.Children(10); }, 0},
        {"last loses a node", [](TGLBaseSceneObject& p) { static_cast<TGLLines*>(p.Children(9))->DeleteLastNode(); }, 2},
        {"restyled at 7", [](TGLBaseSceneObject& p) { static_cast<TGLLines*>(p.Children(7))->SetLineWidth(2); }, 6},
        {"hidden at 8", [](TGLBaseSceneObject& p) { p.Children(8)->SetVisible(false); }, 2},
        {"axes at 8", [](TGLBaseSceneObject& p) { p.Children(8)->SetVisible(true); p.Children(8)->SetShowAxes(true); }, 2},
        {"freed at 0", [](TGLBaseSceneObject& p) { delete p.Children(0); }, 16},
        {"all freed", [](TGLBaseSceneObject& p) { p.DeleteChildren(); }, 0},
        {"one again", [](TGLBaseSceneObject& p) { AddLine(p, {1, 2}); }, 2},
        {"last one freed", [](TGLBaseSceneObject& p) { delete p.Children(0); }, 0},
    };
    for (const auto& step : steps) {
        step.Apply(plain);
        step.Apply(group);
        const std::uint64_t before = group.Batches().PointsCopied();
        EXPECT_EQ(Frame(group), Frame(plain)) << step.Change;
        EXPECT_EQ(group.Batches().PointsCopied() - before, step.Copied) << step.Change;
        if (group.Count() == 0) {
            // No frame draws an empty parent's children: its copies went with the last.
            EXPECT_EQ(group.Batches().Batches(), 0) << step.Change;
        }
    }
}

TEST_F(LineBatchesTest, PickingAndSortingDrawChildByChild)
{
    TGLLinesGroup group;
    Populate(group);
    rci.drawState = dsPicking;
    Frame(group);
    EXPECT_EQ(gl.Count("glMultiDrawArraysEXT"), 0);
    EXPECT_GT(gl.Count("glLoadName"), 5);
    rci.drawState = dsRendering;
    group.SetObjectsSorting(osRenderFarthestFirst);
    Frame(group);
    EXPECT_EQ(gl.Count("glMultiDrawArraysEXT"), 0);
    group.SetObjectsSorting(osInherited);
    Frame(group);
    EXPECT_EQ(gl.Count("glMultiDrawArraysEXT"), 4);
}

// A child that draws one strip through (id, id, 0) and (id, 0, 0), at `x`; `blended`
// places it among those the scene's sorting draws last.
void AddMarker(TGLBaseSceneObject& parent, float id, float x, bool blended)
{
    auto* marker = parent.AddNewChild<TGLDirectOpenGL>();
    marker->Position().SetPoint(x, 0, 0);
    marker->SetBlend(blended);
    marker->OnRender = [id](TObject*, TRenderContextInfo&) {
        GL.glBegin(GL_LINE_STRIP);
        GL.glVertex3f(id, id, 0);
        GL.glVertex3f(id, 0, 0);
        GL.glEnd();
    };
}

// Under the scene's sorting (blended objects last) the polylines still go through their
// batches, in order, and the group's own blended children come after everything else,
// farthest from the camera first, as the scene draws them.
TEST_F(LineBatchesTest, BlendedChildrenComeLastAndThePolylinesKeepTheirBatches)
{
    TGLDummyCube plain;
    TGLLinesGroup group;
    for (TGLBaseSceneObject* parent : {static_cast<TGLBaseSceneObject*>(&plain), static_cast<TGLBaseSceneObject*>(&group)}) {
        parent->SetObjectsSorting(osRenderBlendedLast);
        AddMarker(*parent, 100, 2, true);
        Populate(*parent);
        AddMarker(*parent, 200, 9, true);
        AddMarker(*parent, 300, 5, false);
        AddLine(*parent, {30, 31});
        AddMarker(*parent, 400, 5, true);
    }
    const std::vector<TDrawnStrip> expected = Frame(plain);
    ASSERT_GE(expected.size(), 3u);
    const auto firstX = [](const TDrawnStrip& strip) { return strip.Points.at(0); };
    EXPECT_EQ(firstX(expected[expected.size() - 3]), 200) << "the farthest first";
    EXPECT_EQ(firstX(expected[expected.size() - 2]), 400);
    EXPECT_EQ(firstX(expected[expected.size() - 1]), 100);
    for (const char* frame : {"first frame", "from the copies"}) {
        EXPECT_EQ(Frame(group), expected) << frame;
        EXPECT_EQ(gl.Count("glMultiDrawArraysEXT"), 5) << frame;
    }
    // Hidden, a blended child no longer draws; shown again, it comes last again.
    group.Children(0)->SetVisible(false);
    plain.Children(0)->SetVisible(false);
    EXPECT_EQ(Frame(group), Frame(plain));
    group.Children(0)->SetVisible(true);
    plain.Children(0)->SetVisible(true);
    EXPECT_EQ(Frame(group), expected);
}

// In a scene the group hears which children changed and looks at those only; a change
// anywhere (at the end, far inside, in the child list itself) still shows in the frame.
TEST_F(LineBatchesTest, InASceneEveryChangeIsSeenWithoutLookingAtEveryChild)
{
    TGLWorld world;
    auto* plain = TGLBaseSceneObject::CreateAsChild<TGLDummyCube>(world.ObjectRoot());
    auto* group = TGLBaseSceneObject::CreateAsChild<TGLLinesGroup>(world.ObjectRoot());
    for (TGLBaseSceneObject* parent : std::initializer_list<TGLBaseSceneObject*>{plain, group}) {
        for (int i = 0; i < 3000; ++i) {
            AddLine(*parent, {float(i), float(i) + 0.5f}, i % 2 == 0 ? TVector{1, 0, 0, 1} : TVector{0, 0, 1, 1});
        }
    }
    const auto line = [](TGLBaseSceneObject& p, int i) { return static_cast<TGLLines*>(p.Children(i)); };
    const struct {
        const char* Change;
        std::function<void(TGLBaseSceneObject&)> Apply;
        std::uint64_t Copied;
    } steps[] = {
        {"first frame", [](TGLBaseSceneObject&) {}, 6000},
        {"the last grows", [&](TGLBaseSceneObject& p) { line(p, 2999)->AddNode(5, 5, 0); }, 3},
        {"one near the end restyled", [&](TGLBaseSceneObject& p) { line(p, 2990)->SetLineWidth(2); }, 21},
        {"one far inside hidden", [&](TGLBaseSceneObject& p) { p.Children(10)->SetVisible(false); }, 5979},
        {"one far inside grows", [&](TGLBaseSceneObject& p) { line(p, 500)->AddNode(1, 1, 0); }, 5002},
        {"a new one inserted inside",
         [&](TGLBaseSceneObject& p) {
             auto* added = new TGLLines(nullptr);
             added->SetNodesAspect(lnaInvisible);
             added->AddNode(7, 7, 0);
             added->AddNode(8, 8, 0);
             p.Insert(1000, added);
         },
         4003},
        {"one inside freed", [&](TGLBaseSceneObject& p) { delete p.Children(2000); }, 2001},
        {"one moved to the end", [&](TGLBaseSceneObject& p) { p.Children(2500)->MoveTo(&p); }, 1001},
        {"nothing", [](TGLBaseSceneObject&) {}, 0},
    };
    for (const auto& step : steps) {
        step.Apply(*plain);
        step.Apply(*group);
        const std::uint64_t before = group->Batches().PointsCopied();
        EXPECT_EQ(Frame(*group), Frame(*plain)) << step.Change;
        EXPECT_EQ(group->Batches().PointsCopied() - before, step.Copied) << step.Change;
    }
}

} // namespace
