// Section "Scene" without a window: the keys read and written, the track bars' single
// precision, the unit, and the record applied to the preview scene and the simulator.

#include "app/settings/PreviewOptions.h"
#include "app/run/PreviewScene.h"

#include "engine/Move.h"
#include "platform/core/files/IniFile.h"
#include "scene/materials/Color.h"
#include "scene/materials/Material.h"
#include "scene/objects/shapes/ArrowLine.h"
#include "scene/objects/shapes/Cone.h"
#include "scene/objects/shapes/Cubes.h"
#include "scene/objects/lines/LinesGroup.h"
#include "scene/objects/text/SpaceText.h"
#include "scene/objects/lines/XYZGrid.h"

#include "../../engine/EngineTestSupport.h"
#include "../../support/TempFolderTest.h"

#include <gtest/gtest.h>

namespace {

class PreviewOptions : public testsupport::TTempFolderTest {
protected:
    TPreviewOptions Read(const std::string& section)
    {
        WriteText("scene.ini", "[Scene]\n" + section);
        TPreviewOptions options;
        options.Millimeters = true; // a read starts from the defaults, not from this
        options.Read(TIniFile(Path("scene.ini")));
        return options;
    }
    void Apply(const TPreviewOptions& options) { ApplyPreviewOptions(options, {&Scene, nullptr, &Move, {}}); }
    const TVector& Diffuse(TGLCustomSceneObject* object) const
    {
        return object->Material().FrontProperties()->Diffuse()->Color();
    }

    TPreviewScene Scene;
    TEngineData Data;
    TCalcul Calcul;
    TFakeShell Shell;
    TMove Move{Data, Calcul, Shell, Scene.DummyLines, Scene.DummyClamps, &Scene.CollisionManager1};
};

TEST_F(PreviewOptions, OpacitiesTruncateInSinglePrecision)
{
    const struct {
        const char* text;
        int position;
    } cases[] = {{"0.3", 3}, {"0.6", 6}, {"0.7", 7}, {"0.5", 5}, {"0", 0},   {"1", 10},
                 {"0.35", 3}, {"1.7", 10}, {"-0.2", 0}, {"1E30", 10}, {"x", 5}};
    for (const auto& c : cases) {
        EXPECT_EQ(Read(std::string("TableTransp=") + c.text + "\n").TableTransparency, c.position) << c.text;
        EXPECT_EQ(Read(std::string("MainBitTransp=") + c.text + "\n").MainBitTransparency, c.position) << c.text;
    }
}

TEST_F(PreviewOptions, TheKeysAreWrittenInOrderAndReadBack)
{
    TPreviewOptions options;
    options.TableTransparency = 3;
    options.MainBitTransparency = 7;
    options.Millimeters = true;
    options.CubeWidth = 2438.4;
    options.GridHeight = 0.5;
    options.MoveDashed = true;
    TIniFile ini(Path("out.ini"));
    options.Write(ini);
    EXPECT_EQ(ini.ReadSectionValues("Scene"),
              (std::vector<std::string>{"BackgroundColor=15780518", "TableColor=7340031", "TableTransp=0.3",
                                        "ShowAxis=1", "MainBitColor=8421504", "MainBitTransp=0.7",
                                        "WireBitColor=16711680", "GridColor=16777215", "MoveColor=255",
                                        "JogColor=16711680", "MoveDashed=1", "JogDashed=0", "Conversion=2",
                                        "CubeWidth=2438.4", "CubeHeight=48", "GridWidth=4", "GridHeight=0.5",
                                        "ShowGrid=1"}));
    TPreviewOptions back;
    back.Read(ini);
    EXPECT_EQ(back, options);
    // Any unit but 1 is millimetres.
    EXPECT_TRUE(Read("Conversion=3\n").Millimeters);
    EXPECT_FALSE(Read("Conversion=1\n").Millimeters);
    EXPECT_EQ(Read(""), TPreviewOptions{}) << "a missing section gives the defaults";
}

TEST_F(PreviewOptions, DefaultsGiveTheTableAndPathsTheirLook)
{
    // Paths made before the options keep their colours; later ones take the new.
    Move.AddMoveNode(true, true, 1, 1, 0);
    Move.AddMoveNode(true, false, 2, 2, 0);
    TPreviewOptions changed;
    changed.MoveColor = clLime;
    changed.JogColor = clYellow;
    changed.MoveDashed = true;
    Apply(changed);
    Move.AddMoveNode(true, true, 3, 3, 0);
    Move.AddJogNode(true, true, 4, 4, 0);
    ASSERT_EQ(Move.CutLines().size(), 2u);
    const TVector lime{0, 1, 0, 1};
    EXPECT_NE(Move.CutLines()[0]->LineColorVector().Y, 1.0f) << "made before";
    EXPECT_EQ(Move.CutLines()[1]->LineColorVector().Y, lime.Y);
    EXPECT_EQ(Move.CutLines()[1]->LinePattern(), 0x8888);
    EXPECT_EQ(Move.CutLines()[0]->LinePattern(), 0xFFFF);

    Apply(Read(""));
    Move.AddMoveNode(true, true, 5, 5, 0);
    Move.AddJogNode(true, true, 6, 6, 0);
    const TVector red{1, 0, 0, 1};
    const TVector blue{0, 0, 1, 1};
    const TVector cut = Move.CutLines().back()->LineColorVector();
    const TVector jog = Move.JogLines().back()->LineColorVector();
    EXPECT_EQ((std::array{cut.X, cut.Y, cut.Z, cut.W}), (std::array{red.X, red.Y, red.Z, red.W}));
    EXPECT_EQ((std::array{jog.X, jog.Y, jog.Z, jog.W}), (std::array{blue.X, blue.Y, blue.Z, blue.W}));
    EXPECT_EQ(Move.CutLines().back()->LinePattern(), 0xFFFF);

    EXPECT_EQ(VectorToColor(Diffuse(Scene.Cube1)), 0x6FFFFF);
    EXPECT_FLOAT_EQ(Diffuse(Scene.Cube1).W, 0.5f);
    EXPECT_FLOAT_EQ(Diffuse(Scene.Bit).W, 0.5f);
    EXPECT_EQ(VectorToColor(Diffuse(Scene.Bit)), 0x808080);
    EXPECT_EQ(VectorToColor(Diffuse(Scene.WireframeBit)), 0xFF0000);
    const TAffineVector at = Scene.Cube1->Position().GetAsAffineVector();
    EXPECT_EQ((std::array{at.X, at.Y, at.Z}), (std::array{48.0f, 24.0f, -0.375f}));
    EXPECT_EQ(Scene.Cube1->CubeWidth(), 96.0f);
    EXPECT_EQ(Scene.Cube1->CubeDepth(), 48.0f);
    EXPECT_EQ(Scene.Cube1->CubeHeight(), 0.75f) << "the table's own thickness";
}

TEST_F(PreviewOptions, MillimetresSizeTheTableAndTheGridInInches)
{
    TPreviewOptions options = Read("Conversion=2\nCubeWidth=2438.4\nCubeHeight=1219.2\nGridWidth=25.4\n"
                                   "GridHeight=50.8\nTableTransp=0.2\nMainBitTransp=1\nShowAxis=0\nShowGrid=0\n"
                                   "GridColor=255\n");
    Apply(options);
    EXPECT_FLOAT_EQ(Scene.Cube1->CubeWidth(), 96);
    EXPECT_FLOAT_EQ(Scene.Cube1->CubeDepth(), 48);
    EXPECT_FLOAT_EQ(Scene.XYZGrid1->XSamplingScale().Max(), 96);
    EXPECT_FLOAT_EQ(Scene.XYZGrid1->YSamplingScale().Max(), 48);
    EXPECT_FLOAT_EQ(Scene.XYZGrid1->XSamplingScale().Step(), 1);
    EXPECT_FLOAT_EQ(Scene.XYZGrid1->YSamplingScale().Step(), 2);
    EXPECT_EQ(VectorToColor(Scene.XYZGrid1->LineColorVector()), 0x0000FF);
    EXPECT_FALSE(Scene.XYZGrid1->Visible());
    EXPECT_FLOAT_EQ(Diffuse(Scene.Cube1).W, 0.2f);
    EXPECT_FLOAT_EQ(Diffuse(Scene.Bit).W, 1.0f);
    for (TGLBaseSceneObject* axis : std::initializer_list<TGLBaseSceneObject*>{
             Scene.XArrow, Scene.YArrow, Scene.ZArrow, Scene.SpaceTextx, Scene.SpaceTexty, Scene.SpaceTextz}) {
        EXPECT_FALSE(axis->Visible()) << axis->Name();
    }
    // Inches: the same numbers are inches, and the table stays with its corner at the
    // origin and its top at Z = 0.
    options.Millimeters = false;
    options.ShowAxis = true;
    Apply(options);
    EXPECT_FLOAT_EQ(Scene.Cube1->CubeWidth(), 2438.4f);
    const TAffineVector at = Scene.Cube1->Position().GetAsAffineVector();
    EXPECT_FLOAT_EQ(at.X, 1219.2f);
    EXPECT_FLOAT_EQ(at.Y, 609.6f);
    EXPECT_FLOAT_EQ(at.Z, -0.375f);
    EXPECT_TRUE(Scene.ZArrow->Visible());
}

TEST_F(PreviewOptions, AGridTooFineForTheViewIsDrawnCoarserAndSaysSo)
{
    const std::string tooFine = " give more lines than the view can show; the grid is drawn with steps of ";
    const struct {
        const char* section;
        std::string note;
    } cases[] = {
        {"GridWidth=0.0001\nGridHeight=0.0001\n",
         "Grid steps of 0.0001 x 0.0001 in over a table of 96 x 48 in" + tooFine + "0.2048 x 0.2048 in."},
        {"GridWidth=0.01\nGridHeight=0.01\n",
         "Grid steps of 0.01 x 0.01 in over a table of 96 x 48 in" + tooFine + "0.32 x 0.16 in."},
        {"CubeWidth=1000000\nCubeHeight=1000000\n",
         "Grid steps of 4 x 4 in over a table of 1000000 x 1000000 in" + tooFine + "4096 x 2048 in."},
        {"Conversion=2\nCubeWidth=2438.4\nCubeHeight=1219.2\nGridWidth=0.01\nGridHeight=0.01\n",
         "Grid steps of 0.01 x 0.01 mm over a table of 2438.4 x 1219.2 mm" + tooFine + "5.12 x 5.12 mm."},
        {"CubeWidth=1E39\n", "Grid steps of 4 x 4 in over a table of 1E39 x 48 in cannot be drawn; the grid is left out."},
        {"GridWidth=0.0001\nGridHeight=0.0001\nShowGrid=0\n", ""},
        {"GridWidth=2\nGridHeight=0.5\n", ""},
    };
    for (const auto& c : cases) {
        const TPreviewOptions options = Read(c.section);
        Apply(options);
        const TGLXYZGrid& grid = *Scene.XYZGrid1;
        EXPECT_EQ(GridNote(options, grid), c.note) << c.section;
        const TXYZGridSampling sampling = grid.Sampling();
        EXPECT_LE(sampling.Lines, TGLXYZGrid::DefaultMaxLines) << c.section;
        EXPECT_LE(sampling.Vertices, TGLXYZGrid::DefaultMaxVertices) << c.section;
        // The scale keeps the step asked; only the drawing is coarser.
        EXPECT_EQ(grid.XSamplingScale().Step(), static_cast<float>(options.GridWidth * options.UnitFactor()))
            << c.section;
    }
}

} // namespace
