// The shape objects' per-query costs: ray casts against the bit cone's relatives (the
// collision and picking paths ask them per object and frame), the grid's and text's
// one-off geometry work, which runs again on every option change, and the tessellation
// of a large multipolygon.

#include "NullGLDriver.h"
#include "scene/base/GLRecordingTable.h"
#include "scene/objects/shapes/Cylinder.h"
#include "scene/objects/text/GlyphOutline.h"
#include "scene/objects/shapes/MultiPolygon.h"
#include "scene/objects/shapes/Sphere.h"
#include "scene/objects/lines/XYZGrid.h"

#include <benchmark/benchmark.h>

#include <cmath>

static void BM_SphereRayCast(benchmark::State& state)
{
    TGLSphere sphere;
    sphere.SetRadius(1);
    sphere.Position().SetPoint(1, 2, 3);
    TVector point{}, normal{};
    float x = 0;
    for (auto _ : state) {
        x = x > 0.9f ? -0.9f : x + 0.01f;
        benchmark::DoNotOptimize(sphere.RayCastIntersect({1 + x, 2, -5, 1}, {0, 0, 1, 0}, &point, &normal));
    }
}
BENCHMARK(BM_SphereRayCast);

static void BM_CylinderRayCast(benchmark::State& state)
{
    TGLCylinder cylinder;
    cylinder.SetHeight(2);
    cylinder.Position().SetPoint(10, 0, 0);
    TVector point{}, normal{};
    float y = 0;
    for (auto _ : state) {
        y = y > 0.9f ? -0.9f : y + 0.01f;
        benchmark::DoNotOptimize(cylinder.RayCastIntersect({5, y, 0.1f, 1}, {1, 0.05f, 0, 0}, &point, &normal));
    }
}
BENCHMARK(BM_CylinderRayCast);

// The preview table's grid, with the recorder standing in for the driver.
static void BM_PreviewGridBuild(benchmark::State& state)
{
    TGLRecorder recorder;
    TGLXYZGrid grid;
    grid.XSamplingScale().SetMax(96);
    grid.XSamplingScale().SetStep(4);
    grid.YSamplingScale().SetMax(48);
    grid.YSamplingScale().SetStep(4);
    TRenderContextInfo rci;
    for (auto _ : state) {
        recorder.Clear();
        grid.BuildList(rci);
    }
}
BENCHMARK(BM_PreviewGridBuild);

// Flattening one curved contour, as every glyph of a 3D text does once.
static void BM_GlyphCurveFlattening(benchmark::State& state)
{
    TGlyphOutline outline;
    for (auto _ : state) {
        outline.Clear(0);
        outline.MoveTo(1, 0);
        outline.CubicTo(1, 0.55f, 0.55f, 1, 0, 1);
        outline.CubicTo(-0.55f, 1, -1, 0.55f, -1, 0);
        outline.CubicTo(-1, -0.55f, -0.55f, -1, 0, -1);
        outline.CubicTo(0.55f, -1, 1, -0.55f, 1, 0);
        outline.CloseContour();
        benchmark::DoNotOptimize(outline.Points().data());
    }
}
BENCHMARK(BM_GlyphCurveFlattening);

// A multipolygon the size of a large nested job: a 50,000-node outer contour and 100
// holes of 500 nodes, reduced to its outline and filled once, by the real GLU
// tessellator (OpenGL itself is a do-nothing table).
namespace {

struct TBenchMultiPolygon {
    TBenchMultiPolygon()
    {
        const double pi = 3.14159265358979323846;
        TGLNodes& outer = polygon.GetPath(0);
        outer.BeginUpdate();
        for (int i = 0; i < 50000; ++i) {
            const double a = 2 * pi * i / 50000;
            outer.AddNode(TAffineVector{float(100 * std::cos(a)), float(100 * std::sin(a)), 0});
        }
        outer.EndUpdate();
        for (int h = 0; h < 100; ++h) {
            TGLNodes& hole = polygon.GetPath(h + 1);
            const float cx = (h % 10 - 4.5f) * 12, cy = (h / 10 - 4.5f) * 12;
            hole.BeginUpdate();
            for (int i = 0; i < 500; ++i) {
                const double a = 2 * pi * i / 500;
                hole.AddNode(TAffineVector{cx + float(4 * std::cos(a)), cy + float(4 * std::sin(a)), 0});
            }
            hole.EndUpdate();
        }
    }
    // The top face, textured.
    void Fill()
    {
        const TAffineVector normal{0, 0, 1};
        polygon.RenderTesselatedPolygon(true, &normal, false);
    }
    TGLMultiPolygon polygon;
};

// GLU's tessellator from the system library; every OpenGL call does nothing. Call
// while a NullGLDriver is installed.
bool UseRealGluOnly()
{
    static const TGLProcTable real = [] {
        const TGLProcTable saved = GL;
        InitOpenGLLibraries();
        const TGLProcTable loaded = GL;
        GL = saved;
        return loaded;
    }();
    if (!real.gluNewTess) {
        return false;
    }
    GL.gluNewTess = real.gluNewTess;
    GL.gluDeleteTess = real.gluDeleteTess;
    GL.gluTessCallback = real.gluTessCallback;
    GL.gluTessProperty = real.gluTessProperty;
    GL.gluTessNormal = real.gluTessNormal;
    GL.gluTessBeginPolygon = real.gluTessBeginPolygon;
    GL.gluTessBeginContour = real.gluTessBeginContour;
    GL.gluTessVertex = real.gluTessVertex;
    GL.gluTessEndContour = real.gluTessEndContour;
    GL.gluTessEndPolygon = real.gluTessEndPolygon;
    GL.glBegin = [](GLenum) {};
    GL.glEnd = [] {};
    GL.glVertex3fv = [](const GLfloat*) {};
    GL.glNormal3fv = [](const GLfloat*) {};
    return true;
}

} // namespace

static void BM_MultiPolygonOutlineAndFill(benchmark::State& state)
{
    NullGLDriver driver;
    if (!UseRealGluOnly()) {
        state.SkipWithError("no GLU");
        return;
    }
    TBenchMultiPolygon bench;
    for (auto _ : state) {
        bench.polygon.DropOutline(nullptr);
        benchmark::DoNotOptimize(bench.polygon.GetOutline().Count());
        bench.Fill();
    }
}
BENCHMARK(BM_MultiPolygonOutlineAndFill)->Unit(benchmark::kMillisecond);

static void BM_MultiPolygonFill(benchmark::State& state)
{
    NullGLDriver driver;
    if (!UseRealGluOnly()) {
        state.SkipWithError("no GLU");
        return;
    }
    TBenchMultiPolygon bench;
    bench.polygon.GetOutline();
    for (auto _ : state) {
        bench.Fill();
    }
}
BENCHMARK(BM_MultiPolygonFill)->Unit(benchmark::kMillisecond);
