// Named views and navigation without a window: the views' text in the settings file in
// any locale, the button, mouse and wheel steps, zoom to fit and the follow-bit view on
// the preview scene itself.

#include "app/run/Navigation.h"
#include "app/run/PreviewScene.h"
#include "app/run/SceneViews.h"

#include "engine/Move.h"
#include "platform/core/files/IniFile.h"
#include "platform/core/text/Utf8.h"
#include "scene/graph/Camera.h"
#include "scene/objects/shapes/Cone.h"
#include "scene/objects/shapes/Cubes.h"
#include "scene/objects/lines/LinesGroup.h"

#include "../../engine/EngineTestSupport.h"
#include "../../support/TempFolderTest.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using TLogLines = std::vector<std::pair<std::string, std::string>>;

TAffineVector Affine(const TVector& v)
{
    return {v.X, v.Y, v.Z};
}

void ExpectVector(const TAffineVector& actual, const TAffineVector& expected, const std::string& what)
{
    EXPECT_NEAR(actual.X, expected.X, 1e-4) << what;
    EXPECT_NEAR(actual.Y, expected.Y, 1e-4) << what;
    EXPECT_NEAR(actual.Z, expected.Z, 1e-4) << what;
}

class SceneViews : public testsupport::TTempFolderTest {
protected:
    TIniFile Ini(const std::string& text)
    {
        WriteText("views.ini", text);
        return TIniFile(Path("views.ini"));
    }
    std::vector<TSceneView> Read(const TIniFile& ini)
    {
        return ReadSceneViews(ini, [this](const std::string& tag, const std::string& text) {
            Log.emplace_back(tag, text);
        });
    }
    TLogLines Log;
};

TEST_F(SceneViews, AViewWithoutItsSectionGetsItsNameAndTheDefaults)
{
    const std::vector<TSceneView> views = Read(
        Ini("[Views]\nNumViews=2\n[View0]\nName=Top\nCameraPos=1.00000,2.00000,3.00000\nDummyCubePos=-48,-24,9\n"));
    ASSERT_EQ(views.size(), 2u);
    EXPECT_EQ(views[0].Name, "Top");
    ExpectVector(Affine(views[0].CameraPos), {1, 2, 3}, "read");
    ExpectVector(Affine(views[0].DummyCubeDir), {0, 0, 1}, "missing key");
    ExpectVector(Affine(views[0].DummyCubePos), {-48, -24, 9}, "without decimals");
    EXPECT_EQ(views[1].Name, "View1");
    EXPECT_EQ(ViewVectorToStr(views[1].CameraPos), "50.00000,25.00000,75.00000");
    EXPECT_EQ(ViewVectorToStr(views[1].DummyCubeDir), "0.00000,0.00000,1.00000");
    EXPECT_EQ(ViewVectorToStr(views[1].DummyCubeUp), "0.00000,1.00000,0.00000");
    EXPECT_EQ(ViewVectorToStr(views[1].DummyCubePos), "0.00000,0.00000,0.00000");
    EXPECT_TRUE(Log.empty());
}

TEST_F(SceneViews, AVectorThatDoesNotReadGivesItsDefaultAndAnErrorLine)
{
    for (const char* text : {"abc", "1,2", "1,2,x", "", "1;2;3", "1,2,3,4", "1.5.5,2,3", "1e999,2,3"}) {
        Log.clear();
        const std::vector<TSceneView> views =
            Read(Ini(std::string("[Views]\nNumViews=1\n[View0]\nCameraPos=") + text + "\n"));
        ExpectVector(Affine(views.at(0).CameraPos), {50, 25, 75}, text);
        ASSERT_EQ(Log.size(), 1u) << text;
        EXPECT_EQ(Log[0].first, "error");
        EXPECT_NE(Log[0].second.find("CameraPos"), std::string::npos) << Log[0].second;
    }
}

TEST_F(SceneViews, NumViewsOutOfRangeIsBoundedWithAnErrorLine)
{
    const struct {
        const char* text;
        std::size_t count;
        std::size_t errors;
    } cases[] = {{"-3", 0, 1}, {"5000", 1000, 1}, {"1000", 1000, 0}, {"x", 0, 0}};
    for (const auto& c : cases) {
        Log.clear();
        EXPECT_EQ(Read(Ini(std::string("[Views]\nNumViews=") + c.text + "\n")).size(), c.count) << c.text;
        EXPECT_EQ(Log.size(), c.errors) << c.text;
    }
}

TEST_F(SceneViews, VectorsUseAPointAndNoGroupingInAnyLocale)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::string oldC = std::setlocale(LC_ALL, nullptr);
    // Not every system has the German locale; the Qt default is changed either way.
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    const struct {
        TVector v;
        const char* text;
    } cases[] = {{{1234.5f, -0.25f, 1e6f, 0}, "1234.50000,-0.25000,1000000.00000"},
                 {{0.000004f, -48, 9, 0}, "0.00000,-48.00000,9.00000"},
                 {{-1234567.125f, 0.5f, 0.123456f, 0}, "-1234567.12500,0.50000,0.12346"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ViewVectorToStr(c.v), c.text);
        TVector back{9, 9, 9, 9};
        ASSERT_TRUE(StrToViewVector(c.text, back)) << c.text;
        EXPECT_EQ(ViewVectorToStr(back), c.text);
        EXPECT_EQ(back.W, 0.0f);
    }
    TVector blanks{};
    EXPECT_TRUE(StrToViewVector(" 1 , -2 ,3 ", blanks));
    ExpectVector(Affine(blanks), {1, -2, 3}, "blanks");
    std::setlocale(LC_ALL, oldC.c_str());
    QLocale::setDefault(previous);
}

TEST_F(SceneViews, WritingErasesTheOldSectionsAndWritesTheKeysInOrder)
{
    TIniFile ini = Ini("[Main]\nWidth=800\n[Views]\nNumViews=1\n[View0]\nName=Only\n[View1]\nName=Stale\n"
                       "[View2]\nName=Beyond\n[Scene]\nShowGrid=0\n");
    WriteSceneViews(ini, {});
    EXPECT_EQ(ini.Text(), "[Main]\nWidth=800\n[Views]\nNumViews=0\n[View2]\nName=Beyond\n[Scene]\nShowGrid=0\n");

    TSceneView top;
    top.Name = "Top";
    top.CameraPos = {0, 0, 1234.5f, 1};
    WriteSceneViews(ini, {top, TSceneView{"Side"}});
    EXPECT_EQ(ini.ReadSectionValues("View0"),
              (std::vector<std::string>{"Name=Top", "CameraPos=0.00000,0.00000,1234.50000",
                                        "DummyCubeDir=0.00000,0.00000,1.00000", "DummyCubeUp=0.00000,1.00000,0.00000",
                                        "DummyCubePos=0.00000,0.00000,0.00000"}));
    EXPECT_EQ(ini.ReadString("View1", "Name", ""), "Side");
    EXPECT_EQ(ini.ReadString("View2", "Name", ""), "Beyond") << "past every old count";
    const std::vector<TSceneView> back = Read(ini);
    ASSERT_EQ(back.size(), 2u);
    ExpectVector(Affine(back[0].CameraPos), {0, 0, 1234.5f}, "round trip");
    // A count far beyond any list erases no more than the bound.
    TIniFile huge = Ini("[Views]\nNumViews=2000000000\n[View3]\nName=x\n");
    WriteSceneViews(huge, {});
    EXPECT_FALSE(huge.SectionExists("View3"));
}

TEST_F(SceneViews, AViewKeepsTheScaleAndDepthOfViewAFitGaveIt)
{
    TPreviewScene scene;
    const TSceneView atStart = CaptureView(scene, "Start");
    EXPECT_EQ(atStart.ViewScale, 1.0f);
    EXPECT_EQ(atStart.DepthOfView, 0.0f) << "the preview's own: none kept";
    // As Zoom leaves a view of paths to 3E38.
    const float scale = 0x1p-9f;
    scene.SetViewScale(scale);
    scene.DummyCube1->Position().SetPoint(-2.9e35f, -2.9e35f, -1.2e36f);
    scene.GLCamera1->SetDepthOfView(2.6e36f * scale);
    const TSceneView far = CaptureView(scene, "Far");
    EXPECT_EQ(far.ViewScale, scale);
    EXPECT_EQ(far.DepthOfView, 2.6e36f * scale);

    TIniFile ini = Ini("[Views]\nNumViews=0\n");
    WriteSceneViews(ini, {atStart, far});
    EXPECT_FALSE(ini.ValueExists("View0", "ViewScale")) << "a view as the preview starts is written as before";
    EXPECT_FALSE(ini.ValueExists("View0", "DepthOfView"));
    const std::vector<TSceneView> back = Read(ini);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1].ViewScale, scale);
    EXPECT_EQ(back[1].DepthOfView, far.DepthOfView);
    EXPECT_EQ(back[1].DummyCubePos.Z, -1.2e36f) << "every digit of a large place";
    EXPECT_TRUE(Log.empty());

    // Applied elsewhere, each comes back as it was kept.
    ApplyView(scene, back[0]);
    EXPECT_EQ(scene.ViewScale(), 1.0f);
    ApplyView(scene, back[1]);
    EXPECT_EQ(scene.ViewScale(), scale);
    EXPECT_EQ(scene.GLCamera1->DepthOfView(), far.DepthOfView);
    EXPECT_EQ(scene.GLCamera2->DepthOfView(), TPreviewScene::FollowDepthOfView * scale);
    EXPECT_EQ(scene.DummyCube1->Position().Z(), -1.2e36f);
}

// Every view comes back as far-seeing as it was kept, whatever a Zoom did to the camera
// in between: a view kept at the start, with no depth of view of its own, kept a later
// Zoom's larger one. Each is applied as kept and as read back from the file.
TEST_F(SceneViews, AViewComesBackWithItsDepthOfViewAfterAnyZoom)
{
    struct TCut {
        const char* what;
        TAffineVector to;
    };
    // The preview as it starts, a Zoom on its cut (on the table alone without one).
    struct TPreview {
        TPreviewScene Scene;
        TEngineData Data;
        TCalcul Calcul;
        TFakeShell Shell;
        TMove Move{Data, Calcul, Shell, Scene.DummyLines, Scene.DummyClamps, &Scene.CollisionManager1};
        void ZoomOn(const TCut* cut)
        {
            Move.Reset();
            if (cut != nullptr) {
                Move.AddJogNode(true, true, 0, 0, -0.25f);
                Move.AddMoveNode(true, true, 0, 0, -0.25f);
                Move.AddMoveNode(true, false, cut->to.X, cut->to.Y, cut->to.Z);
            }
            ZoomToFit(Scene, &Move);
        }
    };
    const TCut wide{"a cut of 10,000", {10000, 0, -0.25f}};
    const TCut far{"a cut to 1E37", {1e37f, 1e37f, -0.25f}};
    // Zooms that see further than, or at another scale than, every view kept below.
    const TCut deep{"a cut 5,000 deep", {1, 1, -5000}};
    const TCut farthest{"a cut to 3E38", {3e38f, 3e38f, -0.25f}};
    const struct {
        const char* what;
        std::function<void(TPreview&)> place;
    } kept[] = {{"at the start", [](TPreview&) {}},
                {"after Zoom on the table", [](TPreview& p) { p.ZoomOn(nullptr); }},
                {"after Zoom on a cut of 10,000", [&](TPreview& p) { p.ZoomOn(&wide); }},
                {"after Zoom on a cut to 1E37", [&](TPreview& p) { p.ZoomOn(&far); }}};
    const TCut* laterZooms[] = {&deep, &farthest};
    for (const auto& k : kept) {
        TPreview preview;
        TPreviewScene& scene = preview.Scene;
        k.place(preview);
        const float depth = scene.GLCamera1->DepthOfView();
        const float scale = scene.ViewScale();
        const TSceneView view = CaptureView(scene, k.what);
        TIniFile ini = Ini("[Views]\nNumViews=0\n");
        WriteSceneViews(ini, {view});
        const TSceneView read = Read(ini).at(0);
        for (const TCut* later : laterZooms) {
            for (const auto& [how, applied] : {std::pair{"as kept", view}, std::pair{"as read", read}}) {
                preview.ZoomOn(later);
                ASSERT_NE(scene.GLCamera1->DepthOfView(), depth) << k.what << ", then " << later->what;
                ApplyView(scene, applied);
                const std::string what = std::string(k.what) + ", then " + later->what + ", " + how;
                EXPECT_EQ(scene.ViewScale(), scale) << what;
                EXPECT_EQ(scene.GLCamera1->DepthOfView(), depth) << what;
                EXPECT_EQ(scene.GLCamera2->DepthOfView(), TPreviewScene::FollowDepthOfView * scale) << what;
            }
        }
    }
    EXPECT_TRUE(Log.empty());
}

TEST(ListedViewName, ALongNameIsShortenedAroundTheMiddleByCharacters)
{
    const auto repeated = [](const std::string& unit, std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i) {
            text += unit;
        }
        return text;
    };
    const std::string forty = repeated("a", MaxListedViewName);
    const std::string numbered = "Left clamp seen from the front, close up, view 1";
    const struct {
        const char* what;
        std::string name;
        std::string listed;
    } cases[] = {
        {"empty", "", ""},
        {"short", "Top", "Top"},
        {"as long as shown whole", forty, forty},
        {"one more", forty + "b", repeated("a", 26) + "\u2026" + repeated("a", 12) + "b"},
        {"numbered: its end kept", numbered, "Left clamp seen from the f\u2026se up, view 1"},
        {"1,000 characters", "x" + repeated("y", 998) + "z", "x" + repeated("y", 25) + "\u2026" + repeated("y", 12) + "z"},
        // Characters, not bytes: none is cut in two.
        {"two-byte letters", repeated("\u00e4", 41), repeated("\u00e4", 26) + "\u2026" + repeated("\u00e4", 13)},
        {"beyond the BMP", repeated("\U0001D54F", 100),
         repeated("\U0001D54F", 26) + "\u2026" + repeated("\U0001D54F", 13)},
        {"as long in characters, longer in bytes", repeated("\u4e2d", 40), repeated("\u4e2d", 40)},
    };
    for (const auto& c : cases) {
        const std::string listed = ListedViewName(c.name);
        EXPECT_EQ(listed, c.listed) << c.what;
        EXPECT_LE(Utf8ToUtf32(listed).size(), MaxListedViewName) << c.what;
        EXPECT_TRUE(IsWellFormedUtf8(listed)) << c.what;
    }
}

TEST_F(SceneViews, AScaleOrDepthOutOfRangeGivesItsDefaultAndAnErrorLine)
{
    const struct {
        const char* key;
        const char* text;
    } cases[] = {{"ViewScale", "0"},      {"ViewScale", "-0.5"},   {"ViewScale", "2"},     {"ViewScale", "abc"},
                 {"ViewScale", "1e-40"},  {"ViewScale", "1e999"},  {"DepthOfView", "0"},  {"DepthOfView", "-5"},
                 {"DepthOfView", "1e37"}, {"DepthOfView", "x"}};
    for (const auto& c : cases) {
        Log.clear();
        const std::vector<TSceneView> views =
            Read(Ini(std::string("[Views]\nNumViews=1\n[View0]\n") + c.key + "=" + c.text + "\n"));
        EXPECT_EQ(views.at(0).ViewScale, 1.0f) << c.key << " " << c.text;
        EXPECT_EQ(views.at(0).DepthOfView, 0.0f) << c.key << " " << c.text;
        ASSERT_EQ(Log.size(), 1u) << c.key << " " << c.text;
        EXPECT_EQ(Log[0].first, "error");
        EXPECT_NE(Log[0].second.find(c.key), std::string::npos) << Log[0].second;
    }
}

TEST(Navigation, ButtonsStepBySpeedInPositionOrRotation)
{
    const struct {
        TNavButton button;
        TAffineVector step;
    } cases[] = {{TNavButton::Left, {0.25f, 0, 0}},  {TNavButton::Up, {0, -0.25f, 0}}, {TNavButton::Right, {-0.25f, 0, 0}},
                 {TNavButton::Down, {0, 0.25f, 0}}, {TNavButton::Out, {0, 0, 0.25f}}, {TNavButton::In, {0, 0, -0.25f}}};
    for (const auto& c : cases) {
        const TAffineVector step = NavButtonStep(c.button, 25);
        ExpectVector(step, c.step, "step " + std::to_string(static_cast<int>(c.button)));
        TPreviewScene scene;
        const TAffineVector before = scene.DummyCube1->Position().GetAsAffineVector();
        ApplyNavStep(*scene.DummyCube1, step, false);
        const TAffineVector after = scene.DummyCube1->Position().GetAsAffineVector();
        ExpectVector({after.X - before.X, after.Y - before.Y, after.Z - before.Z}, {-c.step.X, -c.step.Y, -c.step.Z},
                     "moved by the negated step");
    }
    TPreviewScene scene;
    ApplyNavStep(*scene.DummyCube1, NavButtonStep(TNavButton::Left, 500), true);
    EXPECT_NEAR(scene.DummyCube1->TurnAngle(), -5, 1e-4) << "Left at 500 % turns by -5 degrees";
    ExpectVector(scene.DummyCube1->Position().GetAsAffineVector(), {-48, -24, 20}, "turning moves nothing");
}

TEST(Navigation, MouseDragsPanTurnAndRoll)
{
    const TShiftState left = TShiftState::ssLeft;
    const TShiftState right = TShiftState::ssRight;
    EXPECT_DOUBLE_EQ(MouseDragFactor(left, 75, 0), 0.1625);
    EXPECT_DOUBLE_EQ(MouseDragFactor(left, 0, 75), 0.1625) << "its magnitude";
    EXPECT_DOUBLE_EQ(MouseDragFactor(left, 1, 1), 0.01) << "at least 0.01";
    EXPECT_DOUBLE_EQ(MouseDragFactor(right, 75, 0), 0.13);

    // Panning: 10 px right and 4 px up moves the pivot right and up.
    const TMouseDragStep pan = MouseDragStep(left, 100, 100, 110, 96, 0.1625);
    EXPECT_DOUBLE_EQ(pan.Horizontal, -1.625);
    EXPECT_DOUBLE_EQ(pan.Vertical, -0.65);
    TPreviewScene scene;
    ApplyMouseDrag(*scene.DummyCube1, left, pan);
    ExpectVector(scene.DummyCube1->Position().GetAsAffineVector(), {-48 + 1.625f, -24 + 0.65f, 20}, "pan");

    // Turning: 10 px right and 3 px down only turns.
    const TMouseDragStep turn = MouseDragStep(right, 100, 100, 110, 103, 0.13);
    EXPECT_EQ(turn.Vertical, 0.0);
    EXPECT_DOUBLE_EQ(turn.Horizontal, -1.3);
    TPreviewScene turned;
    ApplyMouseDrag(*turned.DummyCube1, right, turn);
    EXPECT_NEAR(turned.DummyCube1->TurnAngle(), 1.625, 1e-4);
    EXPECT_NEAR(turned.DummyCube1->PitchAngle(), 0, 1e-6) << "no pitch";
    EXPECT_NEAR(turned.DummyCube1->RollAngle(), 0, 1e-6);

    // Alt rolls instead.
    const TShiftState alt = right | TShiftState(TShiftState::ssAlt);
    const TMouseDragStep roll = MouseDragStep(alt, 100, 100, 90, 130, 0.13);
    EXPECT_EQ(roll.Vertical, 0.0);
    EXPECT_EQ(roll.Horizontal, 0.0);
    EXPECT_DOUBLE_EQ(roll.Roll, 1.3);
    TPreviewScene rolled;
    ApplyMouseDrag(*rolled.DummyCube1, alt, roll);
    EXPECT_NEAR(rolled.DummyCube1->RollAngle(), -1.625, 1e-4);
    EXPECT_NEAR(rolled.DummyCube1->TurnAngle(), 0, 1e-6);

    // A 1 px move, or a move with no button, does nothing.
    for (const TShiftState shift : {left, right, TShiftState()}) {
        const TMouseDragStep none = MouseDragStep(shift, 100, 100, 101, 99, 0.13);
        EXPECT_EQ(none.Vertical, 0.0);
        EXPECT_EQ(none.Horizontal, 0.0);
    }
    TPreviewScene still;
    ApplyMouseDrag(*still.DummyCube1, TShiftState(), MouseDragStep(TShiftState(), 0, 0, 50, 50, 0.13));
    ExpectVector(still.DummyCube1->Position().GetAsAffineVector(), {-48, -24, 20}, "no button");
}

TEST(Navigation, TheWheelMovesByWholeHundredsTowardZero)
{
    for (const auto& [delta, step] : {std::pair{120, 1}, std::pair{-120, -1}, std::pair{99, 0}, std::pair{-99, 0},
                                      std::pair{240, 2}, std::pair{-250, -2}}) {
        EXPECT_EQ(WheelStep(delta), step) << delta;
        TPreviewScene scene;
        ApplyWheel(*scene.DummyCube1, delta);
        EXPECT_EQ(scene.DummyCube1->Position().Z(), 20.0f - step) << delta;
    }
}

TEST(Navigation, ZoomToFitCentresOnThePathsOrTheTable)
{
    TPreviewScene scene;
    scene.GLCamera1->Position().SetPoint(5, 5, 5);
    scene.DummyCube1->Turn(40);
    ZoomToFit(scene, nullptr);
    ExpectVector(scene.GLCamera1->Position().GetAsAffineVector(), {0, 0, 75}, "camera");
    ExpectVector(scene.DummyCube1->Position().GetAsAffineVector(), {-48, -24, 9}, "the table's pivot");
    ExpectVector(scene.DummyCube1->Direction().GetAsAffineVector(), {0, 0, 1}, "direction");
    ExpectVector(scene.DummyCube1->Up().GetAsAffineVector(), {0, 1, 0}, "up");

    // Cut paths from X 10 to 20 (Y 30 to 34) centre on (15, 32); jogs do not count.
    TEngineData data;
    TCalcul calcul;
    TFakeShell shell;
    TMove move(data, calcul, shell, scene.DummyLines, scene.DummyClamps, &scene.CollisionManager1);
    move.AddJogNode(true, true, -100, -100, 0);
    move.AddJogNode(true, false, 10, 30, 0);
    ZoomToFit(scene, &move);
    ExpectVector(scene.DummyCube1->Position().GetAsAffineVector(), {-48, -24, 9}, "jogs only");
    move.AddMoveNode(true, true, 10, 30, 0);
    move.AddMoveNode(true, false, 20, 34, -1);
    ZoomToFit(scene, &move);
    const TAffineVector pivot = scene.DummyCube1->Position().GetAsAffineVector();
    EXPECT_FLOAT_EQ(pivot.X, -15) << "the middle, not (|20| - |10|) / 2";
    EXPECT_FLOAT_EQ(pivot.Y, -32);
    // size 10: d = 17.5 x 10 / 96 + 35, z = 2d - 10.
    EXPECT_NEAR(pivot.Z, 2 * (17.5 * 10 / 96 + 35) - 10, 1e-4);
    const TFitPlace negative = ZoomToFitPivot(true, -10, -30, 5, -5, 96, 48);
    ExpectVector({float(negative.X), float(negative.Y), float(negative.Z)}, {20, 0, 2 * (17.5 * 20 / 96 + 35) - 20},
                 "negative X");
}

TEST(Navigation, ZoomToFitSeesAsFarAsTheFitNeeds)
{
    TPreviewScene scene;
    TEngineData data;
    TCalcul calcul;
    TFakeShell shell;
    TMove move(data, calcul, shell, scene.DummyLines, scene.DummyClamps, &scene.CollisionManager1);
    // How far the camera sees from its near plane, and how far the farthest of the
    // cuts and the table's bottom lies from it once fitted.
    const auto reach = [&] { return scene.GLCamera1->DepthOfView(); };
    const auto farthest = [&](float lowestZ) {
        return scene.GLCamera1->Position().Z() - scene.DummyCube1->Position().Z() - std::min(lowestZ, -0.75f);
    };

    ZoomToFit(scene, &move);
    EXPECT_EQ(reach(), TPreviewScene::MainDepthOfView) << "the table alone";

    const struct {
        const char* what;
        TAffineVector from, to;
    } cuts[] = {{"a cut of 10,000", {0, 0, -0.25f}, {10000, 0, -0.25f}},
                {"a sheet of 2,000 x 1,000", {0, 0, -0.5f}, {2000, 1000, -0.5f}},
                {"a cut 5,000 deep", {0, 0, 0}, {1, 1, -5000}},
                {"a cut of 1 below the table", {0, 0, -2}, {1, 0, -2}}};
    for (const auto& cut : cuts) {
        move.Reset();
        move.AddMoveNode(true, true, cut.from.X, cut.from.Y, cut.from.Z);
        move.AddMoveNode(true, false, cut.to.X, cut.to.Y, cut.to.Z);
        ZoomToFit(scene, &move);
        const float lowest = std::min(cut.from.Z, cut.to.Z);
        // As far again behind it: the wheel can take the view back that far.
        EXPECT_GE(reach(), 2 * farthest(lowest)) << cut.what;
        EXPECT_GE(reach(), TPreviewScene::MainDepthOfView) << cut.what;
    }
    // A small fit after a wide one gives the depth buffer its precision back.
    move.Reset();
    move.AddMoveNode(true, true, 0, 0, -0.25f);
    move.AddMoveNode(true, false, 10, 10, -0.25f);
    ZoomToFit(scene, &move);
    EXPECT_EQ(reach(), TPreviewScene::MainDepthOfView);
}

TEST(Navigation, ZoomToFitScalesAViewBeyondSinglePrecisionAroundTheCamera)
{
    TPreviewScene scene;
    TEngineData data;
    TCalcul calcul;
    TFakeShell shell;
    TMove move(data, calcul, shell, scene.DummyLines, scene.DummyClamps, &scene.CollisionManager1);
    const float z = -0.25f;
    const struct {
        const char* what;
        TAffineVector from, to;
        bool scaled;
    } cuts[] = {{"a cut to 1E20", {0, 0, z}, {1e20f, 1e20f, z}, false},
                {"a cut to 1E37", {0, 0, z}, {1e37f, 1e37f, z}, true},
                {"a cut to -3E38", {0, 0, z}, {-3e38f, -3e38f, z}, true},
                {"a cut from -3.4E38 to 3.4E38", {-3.4e38f, -3.4e38f, z}, {3.4e38f, 3.4e38f, z}, true},
                // Close to the camera: scaled around the origin, it would lie behind it.
                {"a cut of 1 at 3.4E38", {3.4e38f, 0, z}, {3.4e38f, 1, z}, true}};
    for (const auto& cut : cuts) {
        move.Reset();
        // A cut starts where the tool stands.
        move.AddJogNode(true, true, cut.from.X, cut.from.Y, cut.from.Z);
        move.AddMoveNode(true, true, cut.from.X, cut.from.Y, cut.from.Z);
        move.AddMoveNode(true, false, cut.to.X, cut.to.Y, cut.to.Z);
        ZoomToFit(scene, &move);
        const float scale = scene.ViewScale();
        int exponent = 0;
        EXPECT_EQ(std::frexp(scale, &exponent), 0.5f) << cut.what << ": a power of two";
        EXPECT_EQ(scale < 1, cut.scaled) << cut.what;
        const TAffineVector pivot = scene.DummyCube1->Position().GetAsAffineVector();
        for (const double value : {double(pivot.X), double(pivot.Y), double(pivot.Z),
                                   double(scene.GLCamera1->DepthOfView()), double(cut.from.X) * scale,
                                   double(cut.to.X) * scale}) {
            EXPECT_LE(std::abs(value), TPreviewScene::MaxViewReach) << cut.what;
        }
        // The camera sees the cut's end where it would see it unscaled, in double (to
        // single precision's rounding of the camera's place).
        float maxX = 0, minX = 0, maxY = 0, minY = 0;
        ASSERT_TRUE(move.GetExtents(maxX, minX, maxY, minY));
        const TFitPlace fit = ZoomToFitPivot(true, maxX, minX, maxY, minY, 96, 48);
        const TVector seen = scene.DummyCube3->LocalToAbsolute(TVector{cut.to.X, cut.to.Y, cut.to.Z, 1});
        const double unscaled[3] = {fit.X + cut.to.X, fit.Y + cut.to.Y, fit.Z + cut.to.Z - 75};
        const double scaled[3] = {seen.X, seen.Y, double(seen.Z) - 75};
        const double unscaledLength = std::hypot(unscaled[0], unscaled[1], unscaled[2]);
        const double scaledLength = std::hypot(scaled[0], scaled[1], scaled[2]);
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_NEAR(scaled[axis] / scaledLength, unscaled[axis] / unscaledLength, 1e-3) << cut.what;
        }
    }
}

TEST(Navigation, AScaledViewMovesAndSeesInTheTablesUnits)
{
    TPreviewScene scene;
    const float scale = 1.0f / 1024;
    scene.SetViewScale(scale);
    EXPECT_EQ(scene.GLCamera1->NearPlaneBias(), scale);
    EXPECT_EQ(scene.GLCamera1->DepthOfView(), TPreviewScene::MainDepthOfView * scale) << "as far as before";
    EXPECT_EQ(scene.GLCamera2->NearPlaneBias(), scale) << "the follow-bit camera too";
    EXPECT_EQ(scene.GLCamera2->DepthOfView(), TPreviewScene::FollowDepthOfView * scale);
    // A notch and a step of Out at 100 % move one unit of the table each.
    ApplyWheel(*scene.DummyCube1, 120);
    EXPECT_EQ(scene.DummyCube1->Position().Z(), 20 - scale);
    ApplyNavStep(*scene.DummyCube1, NavButtonStep(TNavButton::Out, 100), false);
    EXPECT_EQ(scene.DummyCube1->Position().Z(), 20 - 2 * scale);

    // A stored view without a scale or depth of view was seen as the preview starts:
    // at scale 1, as far as the start's camera, whatever a fit gave the camera since.
    scene.GLCamera1->SetDepthOfView(TPreviewScene::MaxViewReach);
    ApplyView(scene, TSceneView{});
    EXPECT_EQ(scene.ViewScale(), 1.0f);
    EXPECT_EQ(scene.GLCamera1->NearPlaneBias(), 1.0f);
    EXPECT_EQ(scene.GLCamera1->DepthOfView(), TPreviewScene::MainDepthOfView);
    EXPECT_EQ(scene.GLCamera2->DepthOfView(), TPreviewScene::FollowDepthOfView);
}

TEST(Navigation, TheFollowBitViewKeepsTheBitAtTheWorldsOrigin)
{
    for (const float scale : {1.0f, 0x1p-9f}) {
        TPreviewScene scene;
        scene.SetViewScale(scale);
        scene.DummyCube1->Turn(30);
        const TAffineVector before = scene.DummyCube1->Position().GetAsAffineVector();
        scene.Bit->Position().SetPoint(1e20f, 3e38f, -2);
        TSceneView last;
        FollowBitOn(scene, last);
        // Exactly: the camera rides 6 units from it, which a place of 1E20 would round away.
        for (const TAffineVector& at : {TAffineVector{1e20f, 3e38f, -2}, TAffineVector{-3e38f, 5, 0},
                                        TAffineVector{10, 20, 0.5f}}) {
            scene.Bit->Position().SetPoint(at.X, at.Y, at.Z);
            const TVector bit = scene.Bit->AbsolutePosition();
            EXPECT_EQ(bit.X, 0.0f) << at.X << " at scale " << scale;
            EXPECT_EQ(bit.Y, 0.0f) << at.Y << " at scale " << scale;
            EXPECT_EQ(bit.Z, 0.0f) << at.Z << " at scale " << scale;
        }
        FollowBitOff(scene, last);
        ExpectVector(scene.DummyCube1->Position().GetAsAffineVector(), before, "the pivot back");
        scene.Bit->Position().SetPoint(1, 1, 0);
        ExpectVector(scene.DummyCube1->Position().GetAsAffineVector(), before, "no longer following");
    }
}

TEST(Navigation, FocalLengthFitsTheSmallerSide)
{
    EXPECT_FLOAT_EQ(FocalLengthFor(700, 406), 50);
    EXPECT_FLOAT_EQ(FocalLengthFor(1400, 406), 50) << "height limits";
    EXPECT_FLOAT_EQ(FocalLengthFor(350, 812), 25) << "width limits";
}

} // namespace
