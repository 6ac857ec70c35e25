// The shape objects' per-query costs: ray casts against the bit cone's relatives (the
// collision and picking paths ask them per object and frame), and the grid's and text's
// one-off geometry work, which runs again on every option change.

#include "scene/base/GLRecordingTable.h"
#include "scene/objects/Cylinder.h"
#include "scene/objects/GlyphOutline.h"
#include "scene/objects/Sphere.h"
#include "scene/objects/XYZGrid.h"

#include <benchmark/benchmark.h>

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
