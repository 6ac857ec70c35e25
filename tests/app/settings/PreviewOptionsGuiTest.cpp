// The preview options dialog with scripted boxes: Save, Defaults and "&Close", the
// colour panels through the dialog service, the size arrows and a size that is not a
// number; the menu's instance; and the Views and Scene sections kept byte for byte by
// a start and an exit of the program.

#include "app/shell/MainBlock.h"
#include "app/shell/MainForm.h"
#include "app/settings/PreviewOptionsForm.h"
#include "app/run/PreviewPanel.h"

#include "../ShellTestSupport.h"

#include "scene/materials/Color.h"
#include "scene/materials/Material.h"
#include "scene/objects/lines/XYZGrid.h"
#include "scene/objects/shapes/Cubes.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>

namespace {

// A Scene section as the dialog writes it.
const std::string CustomScene = "[Scene]\nBackgroundColor=0\nTableColor=255\nTableTransp=0.3\nShowAxis=0\n"
                                "MainBitColor=65280\nMainBitTransp=0.7\nWireBitColor=16711680\nGridColor=0\n"
                                "MoveColor=65535\nJogColor=16776960\nMoveDashed=1\nJogDashed=0\nConversion=1\n"
                                "CubeWidth=100.5\nCubeHeight=50\nGridWidth=2\nGridHeight=2.5\nShowGrid=1\n";

class PreviewOptionsGui : public TShellTest {
protected:
    ~PreviewOptionsGui() override
    {
        Dialog.reset();
        Window.reset();
    }
    void Start()
    {
        Window = std::make_unique<TMainForm>();
        Dialog = std::make_unique<TFPreviewOptions>(
            Window->PreviewTargets(false));
    }
    TGLCube& Table() { return *Window->Scene->Cube1; }
    TColor TableColor() { return VectorToColor(Table().Material().FrontProperties()->Diffuse()->Color()); }

    std::unique_ptr<TMainForm> Window;
    std::unique_ptr<TFPreviewOptions> Dialog;
};

TEST_F(PreviewOptionsGui, DefaultsThenCloseChangesNothing)
{
    WriteSettings(CustomScene);
    Start();
    EXPECT_EQ(Table().CubeWidth(), 100.5f) << "start-up applied the section";
    EXPECT_EQ(TableColor(), 255);
    EXPECT_EQ(Dialog->EditTableWidth->text(), "100.5");
    EXPECT_EQ(Dialog->transparency->value(), 3);

    const std::string question = "This will remove current settings and restore defaults, continue?";
    Dialogs.ExpectMessage(question, TModalResult::mrNo);
    Dialog->Button2->click();
    EXPECT_EQ(Dialog->EditTableWidth->text(), "100.5");
    Dialogs.ExpectMessage(question, TModalResult::mrYes);
    Dialog->Button2->click();
    EXPECT_EQ(Dialog->Options(), TPreviewOptions{});
    EXPECT_EQ(Dialog->EditTableWidth->text(), "96");
    EXPECT_EQ(Table().CubeWidth(), 100.5f) << "nothing applied until Save";

    Dialog->show();
    Dialog->BitBtn1->click();
    EXPECT_FALSE(Dialog->isVisible());
    EXPECT_EQ(Dialog->result(), QDialog::Rejected);
    EXPECT_EQ(Table().CubeWidth(), 100.5f);
    EXPECT_EQ(TableColor(), 255);
    Dialog.reset();
    Window.reset();
    EXPECT_NE(ReadSettings().find(CustomScene), std::string::npos) << "nothing written";
}

TEST_F(PreviewOptionsGui, SaveAppliesAndWritesAndWithoutChangesWritesTheSameBytes)
{
    WriteSettings("[Main]\nWidth=900\n" + CustomScene + "[Views]\nNumViews=0\n");
    Start();
    const std::string before = ReadSettings();
    Dialog->Button1->click();
    EXPECT_EQ(ReadSettings(), before);

    Dialog->rbMillimeters->click();
    Dialog->EditTableWidth->setText("2438.4");
    Dialog->EditTableHeight->setText(" 1219.2 ");
    Dialog->transparency->setValue(6);
    Dialog->Button1->click();
    EXPECT_FLOAT_EQ(Table().CubeWidth(), 96);
    EXPECT_FLOAT_EQ(Table().CubeDepth(), 48);
    EXPECT_FLOAT_EQ(Table().Material().FrontProperties()->Diffuse()->Color().W, 0.6f);
    EXPECT_EQ(Settings().ReadString("Scene", "Conversion", ""), "2");
    EXPECT_EQ(Settings().ReadString("Scene", "CubeWidth", ""), "2438.4");
    EXPECT_EQ(Settings().ReadString("Scene", "CubeHeight", ""), "1219.2");
    EXPECT_EQ(Settings().ReadString("Scene", "TableTransp", ""), "0.6");
    EXPECT_EQ(Settings().ReadString("Main", "Width", ""), "900");
}

TEST_F(PreviewOptionsGui, ASizeThatIsNotANumberLeavesEverythingUnchanged)
{
    Start();
    const std::string before = ReadSettings();
    Dialog->table->SetColor(clLime);
    Dialog->EditTableWidth->setText("120");
    Dialog->EditGridHeight->setText("abc");
    Dialogs.ExpectMessage("'abc' is not a valid floating point value", TModalResult::mrOk);
    Dialog->Button1->click();
    EXPECT_EQ(TableColor(), 0x6FFFFF) << "the steps before the sizes did not run either";
    EXPECT_EQ(Table().CubeWidth(), 96.0f);
    EXPECT_EQ(ReadSettings(), before);
}

TEST_F(PreviewOptionsGui, ColourPanelsAndArrowsWorkAsTheUserDoes)
{
    Start();
    Dialog->show();
    Dialogs.ExpectColor(clLime);
    QTest::mouseClick(Dialog->table, Qt::LeftButton);
    EXPECT_EQ(Dialog->table->Color(), clLime);
    Dialogs.ExpectColor(std::nullopt);
    QTest::mouseClick(Dialog->grid, Qt::LeftButton);
    EXPECT_EQ(Dialog->grid->Color(), 0xFFFFFF) << "cancelled";
    EXPECT_EQ(Dialogs.ColorsShown, (std::vector<TColor>{0x6FFFFF, 0xFFFFFF})) << "each starts from its panel";

    Dialog->EditTableWidth->setText("2438.4");
    Dialog->UpDownTableWidth->Up->click();
    EXPECT_EQ(Dialog->EditTableWidth->text(), "2439.4");
    Dialog->UpDownTableWidth->Down->click();
    Dialog->UpDownTableWidth->Down->click();
    EXPECT_EQ(Dialog->EditTableWidth->text(), "2437.4");
    Dialog->UpDownGridWidth->Down->click();
    EXPECT_EQ(Dialog->EditGridWidth->text(), "3");
    Dialog->EditGridHeight->setText("x4");
    Dialogs.ExpectMessage("'x4' is not a valid floating point value", TModalResult::mrOk);
    Dialog->UpDownGridHeight->Up->click();
    EXPECT_EQ(Dialog->EditGridHeight->text(), "x4");
}

TEST_F(PreviewOptionsGui, TheMenuOpensAFreshDialogAndCloseAppliesNothing)
{
    Start();
    Dialogs.ExpectForm("FPreviewOptions", {{"EditTableWidth", "50"}, {"cbShowAxis", "0"}}, TModalResult::mrCancel);
    Window->actPreviewOptions->trigger();
    EXPECT_EQ(Dialogs.FormsShown, std::vector<std::string>{"FPreviewOptions"});
    EXPECT_EQ(Table().CubeWidth(), 96.0f);
    EXPECT_EQ(Window->actPreviewOptions->shortcut(), QKeySequence(Qt::Key_F7));
    EXPECT_TRUE(Window->mTools->actions().contains(Window->actPreviewOptions));
    EXPECT_TRUE(Window->PopupMenu1->actions().contains(Window->actPreviewOptions));
}

TEST_F(PreviewOptionsGui, AGridTooFineIsDrawnCoarserSaidOnceAndStartsAgainFromTheFile)
{
    Dm.OpenLog();
    Start();
    Dialog->EditGridWidth->setText("0.0001");
    Dialog->EditGridHeight->setText("0.0001");
    Dialog->Button1->click();
    Dialog->Button1->click();
    EXPECT_EQ(Settings().ReadString("Scene", "GridWidth", ""), "0.0001");
    const TXYZGridSampling drawn = Window->Scene->XYZGrid1->Sampling();
    EXPECT_TRUE(drawn.Coarsened);
    EXPECT_LE(drawn.Lines, TGLXYZGrid::DefaultMaxLines);
    EXPECT_LE(drawn.Vertices, TGLXYZGrid::DefaultMaxVertices);
    // A dialog opened again applies the same file and says nothing new.
    Dialog = std::make_unique<TFPreviewOptions>(Window->PreviewTargets(false));

    // The next start reads the same values and bounds the grid the same way.
    Dialog.reset();
    Window.reset();
    Start();
    EXPECT_EQ(Window->Scene->XYZGrid1->Sampling().Lines, drawn.Lines);

    // A table of a million inches with the grid at 4 is bounded too; Defaults put it back.
    Dialog->EditTableWidth->setText("1000000");
    Dialog->EditTableHeight->setText("1000000");
    Dialog->EditGridWidth->setText("4");
    Dialog->EditGridHeight->setText("4");
    Dialog->Button1->click();
    EXPECT_LE(Window->Scene->XYZGrid1->Sampling().Vertices, TGLXYZGrid::DefaultMaxVertices);
    Dialogs.ExpectMessage("This will remove current settings and restore defaults, continue?", TModalResult::mrYes);
    Dialog->Button2->click();
    Dialog->Button1->click();
    EXPECT_FALSE(Window->Scene->XYZGrid1->Sampling().Coarsened);
    Dm.CloseLog();

    const std::string fine = "info: Grid steps of 0.0001 x 0.0001 in over a table of 96 x 48 in give more lines "
                             "than the view can show; the grid is drawn with steps of 0.2048 x 0.2048 in.\n";
    const std::string large = "info: Grid steps of 4 x 4 in over a table of 1000000 x 1000000 in give more lines "
                              "than the view can show; the grid is drawn with steps of 4096 x 2048 in.\n";
    const std::string log = ReadText("log.txt");
    const std::size_t first = log.find(fine);
    ASSERT_NE(first, std::string::npos) << log;
    const std::size_t second = log.find(fine, first + 1);
    ASSERT_NE(second, std::string::npos) << "once more at the next start\n" << log;
    EXPECT_EQ(log.find(fine, second + 1), std::string::npos) << "once per start\n" << log;
    const std::size_t third = log.find(large);
    EXPECT_NE(third, std::string::npos) << log;
    EXPECT_EQ(log.find(large, third + 1), std::string::npos) << log;
}

// The text of a section, from its header to the next one.
std::string SectionText(const std::string& file, const std::string& section)
{
    const std::size_t start = file.find("[" + section + "]\n");
    if (start == std::string::npos) {
        return {};
    }
    const std::size_t end = file.find("\n[", start);
    return file.substr(start, end == std::string::npos ? std::string::npos : end + 1 - start);
}

class SettingsFileGui : public TAppTest {};

TEST_F(SettingsFileGui, StartAndExitKeepViewsAndSceneByteForByte)
{
    const std::string views = "[Views]\nNumViews=2\n";
    const std::string view0 = "[View0]\nName=Top\nCameraPos=0.00000,0.00000,75.00000\n"
                              "DummyCubeDir=0.00000,0.00000,1.00000\nDummyCubeUp=0.00000,1.00000,0.00000\n"
                              "DummyCubePos=-48.00000,-24.00000,9.00000\n";
    const std::string view1 = "[View1]\nName=Far corner\nCameraPos=1234.50000,-2.25000,75.00000\n"
                              "DummyCubeDir=0.00000,0.00000,1.00000\nDummyCubeUp=0.00000,1.00000,0.00000\n"
                              "DummyCubePos=-96.00000,-48.00000,40.00000\n";
    WriteSettings("[Main]\nLeft=10\nTop=10\nWidth=900\nHeight=700\nGLPosRotSpeed=30\n" + views + view0 + view1 +
                  CustomScene + "[MRUFiles]\nMRUFile1=/nowhere/a.sbp\n");
    TMainBlockOptions options;
    options.WithViewer = false;
    options.InstallServices = false;
    options.Loop = [](TMainForm& window) {
        // The other writers of the file while the program runs.
        dm->Tips1CloseDialog();
        dm->EditorOptions.EditorSettings.Save();
        window.close();
        return 0;
    };
    EXPECT_EQ(KerfpadMainBlock({}, options), 0);
    const std::string after = ReadSettings();
    EXPECT_EQ(SectionText(after, "Views"), views);
    EXPECT_EQ(SectionText(after, "View0"), view0);
    EXPECT_EQ(SectionText(after, "View1"), view1);
    EXPECT_EQ(SectionText(after, "Scene"), CustomScene);
    EXPECT_NE(SectionText(after, "Main").find("GLPosRotSpeed=30\n"), std::string::npos);
}

} // namespace
