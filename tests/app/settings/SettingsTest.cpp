#include "app/shell/CommandHints.h"
#include "app/settings/EditorSettings.h"
#include "app/settings/ShellSettings.h"
#include "app/shell/TextFileLines.h"

#include "../AppTestSupport.h"

#include "engine/Keywords.h"
#include "platform/core/files/Stream.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QRegularExpression>

namespace {

class Settings : public TAppTest {};

TEST_F(Settings, AFreshInstallationGivesTheDefaults)
{
    Dm.OpenLog();
    TMainSettings main;
    main.PanelGLWidth = 1;
    ReadIniSettings(Dm, main);
    TCommandHints hints;
    ReadCommands(Dm, hints);
    Dm.CloseLog();
    EXPECT_EQ(ReadText("log.txt"), "2024-03-07 09:05:03 debug: Log file opened\n"
                                   "2024-03-07 09:05:03 debug: ReadIniSettings\n"
                                   "2024-03-07 09:05:03 debug: ReadCommands\n"
                                   "2024-03-07 09:05:03 debug: Closing log file\n");
    EXPECT_EQ(main, TMainSettings{});
    EXPECT_FALSE(Dm.Tips1.ShowOnStartup) << "no tips.ini";
    EXPECT_EQ(Dm.GetMRUFileCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(SettingsPath())) << "reading writes nothing";
}

TEST_F(Settings, EditorSettingsWriteFifteenKeysAndIgnoreAFontStyle)
{
    WriteSettings("[Editor]\nFontStyle=BI\nSmartTabs=1\n");
    TEditorSettings editor;
    editor.Load();
    EXPECT_TRUE(editor.SmartTabs);
    EXPECT_EQ(editor.Font.Style(), 0);
    editor.SmartTabs = false;
    editor.Save();
    EXPECT_EQ(SectionLines("Editor"),
              (std::vector<std::string>{"FontStyle=BI", "SmartTabs=0", "MainColor=-2147483643", "FontName=Courier New",
                                        "FontColor=-2147483640", "FontSize=10", "SelectedBG=-2147483635",
                                        "SelectedFG=-2147483634", "AutoIndent=1", "TabWidth=5", "GutterColor=-2147483633",
                                        "GutterVisible=1", "GutterLineNumbers=1", "DefNewFile=-1", "EdMinW=300",
                                        "PrevMinW=100"}));
}

TEST_F(Settings, PrintSettingsWriteTheirDefaultsInOrderWithPointDecimals)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TPrintSettings print;
    print.MarginTop = 1;
    print.Load();
    print.MarginLeft = 12.5;
    print.Save();
    EXPECT_EQ(SectionLines("PrintSettings"),
              (std::vector<std::string>{"PrintHeader=1", "HeaderLeft=$TITLE$", "HeaderCenter=",
                                        "HeaderRight=$PAGENUM$/$PAGECOUNT$", "PrintFooter=1", "FooterLeft=$DATE$ $TIME$",
                                        "FooterCenter=", "FooterRight=Kerfpad", "MarginLeft=12.5", "MarginRight=20",
                                        "MarginTop=20", "MarginBottom=20", "MarginGutter=0", "SyntaxPrint=1",
                                        "UseColors=1", "WrapLines=1", "LineNumbers=0", "LineNumInMargin=1"}));
    TPrintSettings back;
    back.Load();
    EXPECT_EQ(back.MarginLeft, 12.5);
    QLocale::setDefault(saved);
}

TEST_F(Settings, MainValuesAreReadAsControlsCanHoldThem)
{
    WriteSettings("[Main]\nWidth=0\nHeight=600\nPanelGLWidth=-5\nGLPosRotSpeed=0\nGLDisplaySpeed=500\n"
                  "GLSimulate=0\nViewVariables=x\nGLFollowBit=1\n[Editor]\nEdMinW=-1\nTabWidth=four\n"
                  "[MRUFiles]\nMRUFile1=A\nMRUFile2=B\nMRUFile5=\n");
    TMainSettings main;
    ReadIniSettings(Dm, main);
    EXPECT_FALSE(main.HasBounds()) << "a width of 0 keeps the form's size";
    EXPECT_EQ(main.PanelGLWidth, 0);
    EXPECT_EQ(main.GLPosRotSpeed, 1);
    EXPECT_EQ(main.GLDisplaySpeed, 200);
    EXPECT_FALSE(main.GLSimulate);
    EXPECT_TRUE(main.ViewVariables) << "no number reads as the default";
    EXPECT_FALSE(main.GLFollowBit) << "never read";
    EXPECT_EQ(Dm.MRUFiles.Items(), (QStringList{"A", "B"}));
    TEditorSettings editor;
    editor.Load();
    EXPECT_EQ(editor.EdMinW, 0);
    EXPECT_EQ(editor.TabWidth, 5);
}

TEST_F(Settings, ExitWritesMainInOrderAndDeletesUnusedRecentFiles)
{
    std::string old = "[MRUFiles]\n";
    for (int n = 1; n <= 10; ++n)
        old += "MRUFile" + std::to_string(n) + "=/old/" + std::to_string(n) + ".sbp\n";
    WriteSettings(old);
    for (const char* name : {"/c.sbp", "/b.sbp", "/a.sbp"})
        Dm.AddMRUFile(name);
    TMainSettings main;
    main.Left = 10;
    main.Width = 800;
    main.Height = 600;
    main.GLFollowBit = true;
    WriteIniSettings(Dm, main);
    EXPECT_EQ(SectionLines("MRUFiles"), (std::vector<std::string>{"MRUFile1=/a.sbp", "MRUFile2=/b.sbp", "MRUFile3=/c.sbp"}));
    EXPECT_EQ(SectionLines("Main"),
              (std::vector<std::string>{"Left=10", "Top=0", "Width=800", "Height=600", "Maximized=0", "PanelGLWidth=560",
                                        "GLPosRotSpeed=20", "GLSimulate=1", "GLJogsVisible=1", "GLFollowBit=1",
                                        "ShowWireFramebit=1", "GLDisplaySpeed=50", "SuppressAllMessages=1",
                                        "ViewStatusbar=1", "ViewVariables=1"}));
}

TEST_F(Settings, AnUnreadableSettingsFileGivesDefaultsAndIsNeverReplaced)
{
    std::filesystem::create_directory(SettingsPath());
    TMainSettings main;
    ReadIniSettings(Dm, main);
    EXPECT_EQ(main.PanelGLWidth, ShippedPanelGLWidth);
    EXPECT_THROW(WriteIniSettings(Dm, main), EStreamError);
    EXPECT_TRUE(std::filesystem::is_directory(SettingsPath()));
}

TEST_F(Settings, TipSettingsComeFromMainOnlyWithTipsBesideTheExecutable)
{
    WriteSettings("[Main]\nShowTipsOnStartup=1\nCurrentTip=99\n");
    WriteText("Tips.INI", "one\r\ntwo\r\nthree\r\n");
    TMainSettings main;
    ReadIniSettings(Dm, main);
    EXPECT_EQ(Dm.Tips1.Tips(), (QStringList{"one", "two", "three"}));
    EXPECT_TRUE(Dm.Tips1.ShowOnStartup);
    EXPECT_EQ(Dm.Tips1.CurrentTip(), 0) << "past the last tip wraps to the first";

    Dm.Tips1.SetCurrentTip(2);
    Dm.Tips1.ShowOnStartup = false;
    Dm.Tips1CloseDialog();
    EXPECT_EQ(SectionLines("Main"), (std::vector<std::string>{"ShowTipsOnStartup=0", "CurrentTip=3"}));
}

TEST_F(Settings, TipSettingsThatCannotBeStoredAreReported)
{
    WriteText("plain", "x");
    ::setenv("KERFPAD_APP_DIR", Path("plain").c_str(), 1);
    Dm.OpenLog();
    const std::string expected = "Cannot create file \"" + SettingsPath() + "\". Not a directory";
    Dialogs.ExpectMessage(expected, TModalResult::mrOk);
    Dm.Tips1CloseDialog();
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Type, TMsgDlgType::mtError);
}

TEST_F(Settings, CommandHintsMatchTheWholeWordExactly)
{
    TCommandHints hints;
    ReadCommands(Dm, hints);
    EXPECT_FALSE(hints.HasList());
    EXPECT_EQ(hints.Hint("MS"), "");

    WriteText("Commands.ini", "MS~Move speeds\r\nM~\r\nMSX~other\r\nMS~second\r\n");
    ReadCommands(Dm, hints);
    ASSERT_TRUE(hints.HasList());
    EXPECT_EQ(hints.Hint("MS"), "Move speeds");
    EXPECT_EQ(hints.Hint("M"), "");
    EXPECT_EQ(hints.Hint("ms"), "");
    EXPECT_EQ(hints.Hint("MSX"), "other");
}

TEST(ShippedData, OneHintPerKeywordAndADozenTips)
{
    QStringList lines;
    ASSERT_TRUE(ReadTextFileLines(KERFPAD_DATA_DIR "/commands.ini", lines));
    EXPECT_EQ(lines.value(0), "MS~Move speeds");
    EXPECT_EQ(lines.size(), KeywordCount + 1);
    TCommandHints hints;
    hints.SetLines(lines);
    for (auto keyword : CommandKeywords) {
        const QString word = QString::fromUtf8(keyword.data(), keyword.size()).toUpper();
        EXPECT_FALSE(hints.Hint(word).isEmpty()) << keyword;
    }
    EXPECT_FALSE(hints.Hint("[CLAMP]").isEmpty());
    ASSERT_TRUE(ReadTextFileLines(KERFPAD_DATA_DIR "/tips.ini", lines));
    EXPECT_EQ(lines.size(), 12);
    EXPECT_EQ(lines.filter(QRegularExpression("^\\s*$")).size(), 0);
}

} // namespace
