// The code insert items and their file, plug-in items of the completion list and the
// print settings on the print engine.

#include "app/settings/CheckedIniReader.h"
#include "app/settings/CodeInsertCompletion.h"
#include "app/settings/CodeInsertItems.h"
#include "app/plugins/PlugInLoader.h"
#include "app/printing/PrintSettingsApply.h"

#include "../AppTestSupport.h"
#include "../../support/FifoWatchdog.h"

#include "editor/printing/CodeEditPrint.h"
#include "platform/core/files/IniFile.h"

#include <gtest/gtest.h>

namespace {

class CodeInsertFile : public TAppTest {
protected:
    std::string File() const { return CodeInsertFileName().toStdString(); }
    void WriteFile(const std::string& text) const { WriteText("KerfpadCI.ini", text); }
    std::string ReadFile() const { return ReadText("KerfpadCI.ini"); }
    TCodeInsertItems Items;
};

TEST_F(CodeInsertFile, ReadingAndWritingBackKeepsTheFileStaleKeysIncluded)
{
    const std::string text = "; snippets\n[Code Insert]\nItemCount=2\nItem1=Header\nValue1='Part~MS,2,1\n"
                             "Item2=Stop\nValue2=PAUSE~END~\nItem3=old\nValue3=stale\n";
    WriteFile(text);
    ASSERT_TRUE(Items.Load(File()));
    EXPECT_EQ(Items.Items, (std::vector<Tci>{{"Header", "'Part~MS,2,1"}, {"Stop", "PAUSE~END~"}}));
    ASSERT_TRUE(Items.Save(File()));
    EXPECT_EQ(ReadFile(), text);

    // Inserted with every "~" a line break, the last one too; shown trimmed, and kept so.
    EXPECT_EQ(Items.InsertValues()[1], "PAUSE\r\nEND\r\n");
    EXPECT_EQ(Items.Show(1), "PAUSE\r\nEND");
    EXPECT_EQ(Items.GetCodeInsertValue(1), "PAUSE~END");
    Items.Save(File());
    EXPECT_EQ(TIniFile(File()).ReadString(CodeInsertSection, "Value2", ""), "PAUSE~END");
}

TEST_F(CodeInsertFile, AMissingFileGivesNoItemsAndTheFirstWriteCreatesIt)
{
    Items.Items = {{"a", "b"}};
    ASSERT_TRUE(Items.Load(File()));
    EXPECT_EQ(Items.Count(), 0);
    Items.Save(File());
    EXPECT_EQ(ReadFile(), "[Code Insert]\nItemCount=0\n");
}

TEST_F(CodeInsertFile, DeletingTheSecondOfThreeMovesTheThirdUpAndLeavesItsOldKeys)
{
    WriteFile("[Code Insert]\nItemCount=3\nItem1=A\nValue1=a\nItem2=B\nValue2=b\nItem3=C\nValue3=c\n");
    Items.Load(File());
    Items.Remove(1);
    Items.Save(File());
    const TIniFile ini(File());
    EXPECT_EQ(ini.ReadInteger(CodeInsertSection, "ItemCount", 0), 2);
    EXPECT_EQ(ini.ReadString(CodeInsertSection, "Item2", ""), "C");
    EXPECT_EQ(ini.ReadString(CodeInsertSection, "Item3", ""), "C") << "read by nobody";
}

TEST_F(CodeInsertFile, ValuesOutsideTheItemsAreEmpty)
{
    Items.Items = {{"A", "x\r\ny"}};
    EXPECT_EQ(Items.GetCodeInsertValue(0), "x~y");
    for (int outside : {-1, 1, 1000}) {
        EXPECT_EQ(Items.GetCodeInsertValue(outside), "") << outside;
    }
}

struct TBadItems {
    const char* Text;
    const char* Named;
};

class BadCodeInsertFile : public CodeInsertFile, public ::testing::WithParamInterface<TBadItems> {};

TEST_P(BadCodeInsertFile, IsRefusedWholeAndNeverWrittenBack)
{
    const std::string text = std::string("[Code Insert]\n") + GetParam().Text;
    WriteFile(text);
    std::string message;
    try {
        ReadCodeInsertItems(TIniFile(File()));
    } catch (const EBadSettingsFile& e) {
        message = e.Message();
    }
    EXPECT_NE(message.find(File()), std::string::npos) << message;
    EXPECT_NE(message.find(GetParam().Named), std::string::npos) << message;
    Items.Items = {{"kept", "M2"}};
    Dialogs.ExpectMessage(message, TModalResult::mrOk);
    EXPECT_FALSE(Items.Load(File()));
    EXPECT_EQ(Items.Items, (std::vector<Tci>{{"kept", "M2"}}));
    EXPECT_EQ(ReadFile(), text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadCodeInsertFile,
    ::testing::Values(TBadItems{"ItemCount=three\n", "[Code Insert], key ItemCount holds \"three\""},
                      TBadItems{"ItemCount=-2\n", "key ItemCount holds \"-2\""},
                      TBadItems{"ItemCount=2\nItem1=A\nValue1=a\nItem2=B\n", "key Value2 is missing"},
                      TBadItems{"ItemCount=1\nValue1=a\n", "key Item1 is missing"}));

TEST_F(CodeInsertFile, AFileThatCannotBeReadIsNeverReplaced)
{
    std::filesystem::create_directory(Path("KerfpadCI.ini"));
    Dialogs.ExpectMessage("The file \"" + File() + "\" cannot be read. Not a regular file: \"" + File() +
                              "\" is a directory.",
                          TModalResult::mrOk);
    EXPECT_FALSE(Items.Load(File()));
    EXPECT_TRUE(std::filesystem::is_directory(Path("KerfpadCI.ini")));
    // A named pipe would hold the window until another program writes into it.
    std::filesystem::remove(Path("KerfpadCI.ini"));
    const testsupport::TFifoWatchdog pipe(Path("KerfpadCI.ini"));
    ASSERT_TRUE(pipe.Made());
    Dialogs.ExpectMessage("The file \"" + File() + "\" cannot be read. Not a regular file: \"" + File() +
                              "\" is a named pipe.",
                          TModalResult::mrOk);
    EXPECT_FALSE(Items.Load(File()));
    EXPECT_TRUE(std::filesystem::is_fifo(Path("KerfpadCI.ini")));
    EXPECT_FALSE(pipe.Fired());
}

TEST_F(CodeInsertFile, AFailedWriteIsReported)
{
    // A folder that is a regular file cannot take the file, whoever runs the test.
    WriteText("plain", "not a folder");
    const std::string file = Path("plain/KerfpadCI.ini");
    std::string message;
    try {
        TIniFile ini(file);
        ini.WriteInteger(CodeInsertSection, "ItemCount", 0);
        ini.UpdateFile();
    } catch (const Exception& e) {
        message = e.Message();
    }
    ASSERT_NE(message.find(file), std::string::npos) << message;
    Items.Items = {{"A", "a"}};
    Dialogs.ExpectMessage(message, TModalResult::mrOk);
    EXPECT_FALSE(Items.Save(file));
    EXPECT_EQ(ReadText("plain"), "not a folder");
}

// --- plug-in items --------------------------------------------------------------------

struct TLoadFileCase {
    const char* Value;
    bool Named;
    const char* File;
    int Width;
    int Height;
};

class LoadFileItems : public ::testing::TestWithParam<TLoadFileCase> {};

TEST_P(LoadFileItems, SplitIntoPageAndSize)
{
    const TLoadFileCase& c = GetParam();
    EXPECT_TRUE(IsLoadFileValue(QString::fromUtf8(c.Value)));
    const std::optional<TLoadFileItem> item = ParseLoadFileValue(QString::fromUtf8(c.Value));
    ASSERT_EQ(item.has_value(), c.Named);
    if (item) {
        EXPECT_EQ(item->FileName, QString::fromUtf8(c.File));
        EXPECT_EQ(std::pair(item->Width, item->Height), std::pair(c.Width, c.Height));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, LoadFileItems,
                         ::testing::Values(TLoadFileCase{"[LOADFILE],page.htm", true, "page.htm", 0, 0},
                                           TLoadFileCase{"[LOADFILE],page.htm,400", true, "page.htm", 0, 0},
                                           TLoadFileCase{"[LOADFILE],page.htm,400,300", true, "page.htm", 400, 300},
                                           TLoadFileCase{"[loadfile], page.htm , 400, 300", true, "page.htm", 400, 300},
                                           TLoadFileCase{"[LOADFILE],page.htm,x,300", true, "page.htm", 0, 0},
                                           TLoadFileCase{"[LOADFILE],page.htm,400,", true, "page.htm", 0, 0},
                                           TLoadFileCase{"[LOADFILE]", false, "", 0, 0},
                                           TLoadFileCase{"[LOADFILE],", false, "", 0, 0}));

class FakeLoader : public IPlugInLoader {
public:
    void LoadSimple(const QString& fileName, int width, int height, bool quiet) override
    {
        Loaded << QStringLiteral("%1 %2x%3%4").arg(fileName).arg(width).arg(height).arg(quiet ? " quiet" : "");
    }
    QStringList Loaded;
};

class CodeInsertCompletion : public TAppTest {
protected:
    FakeLoader Loader;
    TPlugInLoaderScope LoaderScope{&Loader};
};

TEST_F(CodeInsertCompletion, APlugInItemShowsItsPageAndInsertsNothing)
{
    QString value = QStringLiteral("[LOADFILE],page.htm,400,300");
    bool canExecute = true;
    CodeAutoCompleteCodeCompletion(value, canExecute);
    EXPECT_FALSE(canExecute);
    EXPECT_EQ(Loader.Loaded, QStringList{"page.htm 400x300"});

    value = QStringLiteral("MS,2,1\r\n");
    canExecute = true;
    CodeAutoCompleteCodeCompletion(value, canExecute);
    EXPECT_TRUE(canExecute);
    EXPECT_EQ(value, "MS,2,1\r\n");

    value = QStringLiteral("[LOADFILE]");
    Dialogs.ExpectMessage("The code insert item names no plug-in page: [LOADFILE]", TModalResult::mrOk);
    CodeAutoCompleteCodeCompletion(value, canExecute);
    EXPECT_FALSE(canExecute);
    EXPECT_EQ(Loader.Loaded.size(), 1);
}

// --- print settings --------------------------------------------------------------------

TEST(PrintSettingsApply, HeaderFooterMarginsAndOptionsReachTheEngine)
{
    TCodeEditPrint engine;
    engine.Font().SetName("Courier New");
    engine.Font().SetSize(10);
    TPrintSettings settings;
    settings.HeaderLeft = "$TITLE$";
    settings.HeaderCenter = "";
    settings.HeaderRight = "$PAGENUM$";
    settings.PrintFooter = false;
    settings.MarginLeft = 12.0;
    settings.MarginGutter = 3.0;
    settings.SyntaxPrint = false;
    settings.UseColors = true;
    settings.WrapLines = false;
    settings.LineNumbers = true;
    settings.LineNumInMargin = false;
    ApplyPrintSettings(settings, engine);

    ASSERT_EQ(engine.Header().Count(), 3) << "the empty centre too";
    const TAlignment alignments[] = {taLeftJustify, taCenter, taRightJustify};
    for (int i = 0; i < 3; ++i) {
        const THeaderFooterItem& item = engine.Header().Item(i);
        EXPECT_EQ(std::tuple(item.Alignment, item.LineNumber, item.Font.Size()), std::tuple(alignments[i], 1, 8));
        EXPECT_EQ(item.Font.Name(), "Courier New");
    }
    EXPECT_EQ(engine.Header().Item(1).Text, "");
    EXPECT_EQ(engine.Footer().Count(), 0);
    EXPECT_EQ(engine.Font().Size(), 10) << "only the items' copy is size 8";
    EXPECT_DOUBLE_EQ(engine.Margins().Left(), 12.0);
    EXPECT_DOUBLE_EQ(engine.Margins().Right(), 20.0);
    EXPECT_DOUBLE_EQ(engine.Margins().Gutter(), 3.0);
    EXPECT_FALSE(engine.Highlight);
    EXPECT_TRUE(engine.Colors);
    EXPECT_FALSE(engine.Wrap());
    EXPECT_TRUE(engine.LineNumbers());
    EXPECT_FALSE(engine.LineNumbersInMargin());

    // Applied again, nothing doubles; the footer comes back with its three items.
    settings.PrintFooter = true;
    ApplyPrintSettings(settings, engine);
    EXPECT_EQ(engine.Header().Count(), 3);
    EXPECT_EQ(engine.Footer().Count(), 3);
}

TEST(PrintSettingsApply, MarginsRoundHalvesToEven)
{
    const std::pair<double, int> cases[] = {{12.6, 13}, {12.5, 12}, {13.5, 14}, {12.4, 12}, {0.0, 0}, {100.0, 100}};
    for (const auto& [stored, shown] : cases) {
        EXPECT_EQ(RoundMargin(stored), shown) << stored;
    }
}

} // namespace
