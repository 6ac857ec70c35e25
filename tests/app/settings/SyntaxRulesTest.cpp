// The highlighting rules and the main settings file: the shipped rules byte for byte,
// the section layout the page writes, renumbering and erasing, and files that are
// refused whole.

#include "app/settings/CheckedIniReader.h"
#include "app/settings/HighlightRulesFile.h"
#include "app/settings/SyntaxRules.h"

#include "../AppTestSupport.h"

#include "editor/highlighting/CodeRuleHighlighter.h"
#include "platform/core/files/IniFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::string ShippedRulesText()
{
    std::ifstream in(KERFPAD_DATA_DIR "/DefaultHighlighting.ini", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class SyntaxRules : public TAppTest {
protected:
    TCodeRange& Root() { return *Dm.CodeRuleHighlighter1->RootRange(); }
    TSyntaxRules Read(const std::string& text)
    {
        WriteSettings(text);
        return ReadSyntaxRules(Settings());
    }
    // The rules written into the settings file as it stands.
    void Write(const TSyntaxRules& rules)
    {
        TIniFile ini = Settings();
        WriteSyntaxRules(ini, rules);
        ini.UpdateFile();
    }
    static TKeywordGroupRule Group(const char* name, QStringList keywords = {})
    {
        TKeywordGroupRule group;
        group.Name = QString::fromUtf8(name);
        group.Keywords = std::move(keywords);
        return group;
    }
    static TRangeRule Range(const char* name, const char* open = "'", const char* ends = "")
    {
        TRangeRule range;
        range.Name = QString::fromUtf8(name);
        range.Open = QString::fromUtf8(open);
        range.EndChars = QString::fromUtf8(ends);
        return range;
    }
};

TEST_F(SyntaxRules, TheShippedRulesComeBackByteForByteThroughTheHighlighter)
{
    const std::string shipped = ShippedRulesText();
    ASSERT_FALSE(shipped.empty());
    WriteText("shipped.ini", shipped);
    const TSyntaxRules rules = ReadSyntaxRules(TIniFile(Path("shipped.ini")));
    AddSyntaxRules(Root(), rules);
    Dm.CodeRuleHighlighter1->SetLine("MS,1 ' scanned, so prepared", 0);
    EXPECT_EQ(SyntaxRulesOf(Root()), rules);
    Write(SyntaxRulesOf(Root()));
    EXPECT_EQ(ReadSettings(), shipped);

    // Every keyword of the language is in a group; comments are a ' range to the line end.
    int keywords = 0;
    for (const TKeywordGroupRule& group : rules.Groups) {
        keywords += static_cast<int>(group.Keywords.size());
    }
    EXPECT_EQ(keywords, 140);
    ASSERT_EQ(rules.Ranges.size(), 1u);
    EXPECT_EQ(rules.Ranges[0].Open, "'");
    EXPECT_FALSE(Root().GetRange(0)->CloseOnTerm);
}

TEST_F(SyntaxRules, SectionsReadAsTheRulesSay)
{
    const TSyntaxRules rules = Read("[SyntaxHighlight]\nnkw=3\nnrg=3\n"
                                    "[kw1]\nName= Moves \nFG=255\nStyle=bi\nkwList=MS~JS~\n"
                                    "[kw2]\nName=  \nFG=not read\n"
                                    "[kw3]\nName=Flow\nBG=-2147483643\nkwList=IF\n"
                                    "[rg1]\nsrange=&\nerange= ,;\nName= Variable \nDefFG=32768\nNumStyle=Su\n"
                                    "[rg2]\nsrange='\nerange=\nName=Comment\n"
                                    "[rg3]\nsrange=\"\nerange= \nName=Word\n");
    ASSERT_EQ(rules.Groups.size(), 2u) << "a nameless group is left out";
    EXPECT_EQ(rules.Groups[0].Name, "Moves");
    EXPECT_EQ(rules.Groups[0].Foreground, 255);
    EXPECT_EQ(rules.Groups[0].Background, clNone) << "an absent colour is no colour";
    EXPECT_EQ(rules.Groups[0].Style, TFont::fsBold | TFont::fsItalic);
    EXPECT_EQ(rules.Groups[0].Keywords, (QStringList{"MS", "JS"}));
    EXPECT_EQ(rules.Groups[1].Background, clWindow);
    EXPECT_EQ(rules.Groups[1].Keywords, QStringList{"IF"});
    EXPECT_EQ(rules.Ranges[0].Name, "Variable") << "the file's values are trimmed";
    EXPECT_EQ(rules.Ranges[0].EndChars, " ,;") << "erange keeps its blank";
    EXPECT_EQ(rules.Ranges[2].EndChars, " ");
    EXPECT_EQ(rules.Ranges[0].NumberStyle, TFont::fsStrikeOut | TFont::fsUnderline);

    AddSyntaxRules(Root(), rules);
    EXPECT_FALSE(Root().GetCaseSensitive());
    const TCodeRange& variable = *Root().GetRange(0);
    EXPECT_TRUE(variable.CloseOnEol);
    EXPECT_TRUE(variable.CloseOnTerm);
    EXPECT_FALSE(variable.GetCaseSensitive());
    EXPECT_EQ(variable.OpenSymbol().TermKind, tkAnyTerm);
    EXPECT_TRUE(variable.DelimiterChars.Contains(u' '));
    EXPECT_TRUE(variable.DelimiterChars.Contains(u';'));
    EXPECT_FALSE(variable.DelimiterChars.Contains(u'.'));
    EXPECT_EQ(variable.DefaultAttri().Foreground(), 32768);
    EXPECT_FALSE(Root().GetRange(1)->CloseOnTerm) << "an empty Range End closes only at the line end";
    EXPECT_EQ(Root().GetSymbolGroup(0)->Attributes->Name(), "unknown");

    EXPECT_TRUE(Root().GetRange(2)->CloseOnTerm) << "a blank alone ends the range";

    // Written back from the prepared rules (preparing adds blank, tab and line ends to
    // every set): a blank that is the only end character survives, others are implied.
    Dm.CodeRuleHighlighter1->SetLine("x", 0);
    ASSERT_TRUE(Root().Prepared());
    Write(SyntaxRulesOf(Root()));
    const std::string written = ReadSettings();
    EXPECT_NE(written.find("erange=,;\n"), std::string::npos) << written;
    EXPECT_NE(written.find("erange=\n"), std::string::npos);
    EXPECT_NE(written.find("erange= \n"), std::string::npos);
    EXPECT_EQ(ReadSyntaxRules(Settings()).Ranges[2].EndChars, " ");
}

TEST_F(SyntaxRules, AGroupIsWrittenWithTildesLettersAndSignedColours)
{
    TKeywordGroupRule moves = Group("Moves", {"MS", "JS"});
    moves.Style = TFont::fsBold | TFont::fsUnderline;
    moves.Background = clWindow;
    TKeywordGroupRule plain = Group("Plain");
    Write({{moves, plain}, {}});
    EXPECT_EQ(SectionLines("kw1"), (std::vector<std::string>{"Name=Moves", "FG=536870911", "BG=-2147483643",
                                                             "Style=BU", "kwList=MS~JS~"}));
    EXPECT_EQ(SectionLines("kw2"),
              (std::vector<std::string>{"Name=Plain", "FG=536870911", "BG=536870911", "Style=", "kwList="}));
    EXPECT_EQ(SectionLines("SyntaxHighlight"), (std::vector<std::string>{"nkw=2", "nrg=0"}));
}

TEST_F(SyntaxRules, ASavedGroupMovesToTheEndAndIsRenumbered)
{
    AddSyntaxRules(Root(), {{Group("A", {"M2"}), Group("B"), Group("C")}, {}});
    Write(SyntaxRulesOf(Root()));
    TKeywordGroupRule changed = Group("A", {"M3"});
    ReplaceKeywordGroup(Root(), FindKeywordGroup(Root(), "A"), changed);
    Write(SyntaxRulesOf(Root()));
    const TIniFile ini = Settings();
    EXPECT_EQ(ini.ReadString("kw1", "Name", ""), "B");
    EXPECT_EQ(ini.ReadString("kw2", "Name", ""), "C");
    EXPECT_EQ(ini.ReadString("kw3", "Name", ""), "A");
    EXPECT_EQ(ini.ReadString("kw3", "kwList", ""), "M3~");
}

TEST_F(SyntaxRules, TheFirstOfTwoEqualNamesIsTheOneFound)
{
    AddSyntaxRules(Root(), {{Group("A", {"M2"}), Group("A", {"M3"})}, {Range("R", "'"), Range("R", "&")}});
    EXPECT_EQ(FindKeywordGroup(Root(), "A"), 0);
    EXPECT_EQ(FindKeywordGroup(Root(), "a"), -1) << "names compare exactly";
    EXPECT_EQ(FindRangeRule(Root(), "R"), 0);
}

TEST_F(SyntaxRules, DeletingTheLastOfFiveRangesErasesEveryOldSectionOnTheNextSave)
{
    TSyntaxRules rules;
    for (const char* name : {"r1", "r2", "r3", "r4", "r5"}) {
        rules.Ranges.push_back(Range(name));
    }
    AddSyntaxRules(Root(), rules);
    Write(SyntaxRulesOf(Root()));
    // A stale rg0 from a hand edit, and one past the old count that nothing counts.
    TIniFile ini = Settings();
    ini.WriteString("rg0", "Name", "stale");
    ini.WriteString("rg9", "Name", "beyond");
    ini.UpdateFile();

    Root().DeleteRange(4);
    Root().Unprepare();
    Write(SyntaxRulesOf(Root()));
    const TIniFile after = Settings();
    EXPECT_EQ(after.ReadInteger("SyntaxHighlight", "nrg", -1), 4);
    for (const char* gone : {"rg0", "rg5"}) {
        EXPECT_FALSE(after.SectionExists(gone)) << gone;
    }
    for (const char* kept : {"rg1", "rg2", "rg3", "rg4", "rg9"}) {
        EXPECT_TRUE(after.SectionExists(kept)) << kept;
    }
    EXPECT_EQ(after.ReadString("rg4", "Name", ""), "r4");
}

TEST_F(SyntaxRules, AHugeOldCountIsNotWalkedNumberByNumber)
{
    WriteSettings("[SyntaxHighlight]\nnkw=2147483647\nnrg=2000000000\n[kw1]\nName=old\n[kw12]\nName=old\n");
    Write({{Group("new")}, {}});
    const TIniFile ini = Settings();
    EXPECT_EQ(ini.ReadString("kw1", "Name", ""), "new");
    EXPECT_FALSE(ini.SectionExists("kw12"));
    EXPECT_EQ(ini.ReadInteger("SyntaxHighlight", "nrg", -1), 0);
}

struct TBadRules {
    const char* Text;
    const char* Named; // what the message quotes
};

class BadSyntaxRules : public SyntaxRules, public ::testing::WithParamInterface<TBadRules> {};

TEST_P(BadSyntaxRules, AreRefusedWholeWithAnErrorBoxAndTheFileLeftAlone)
{
    const std::string text = std::string("[SyntaxHighlight]\n") + GetParam().Text;
    WriteSettings(text);
    std::string message;
    try {
        ReadSyntaxRules(Settings());
        ADD_FAILURE() << "read";
    } catch (const EBadSettingsFile& e) {
        message = e.Message();
    }
    EXPECT_NE(message.find(SettingsPath()), std::string::npos) << message;
    EXPECT_NE(message.find(GetParam().Named), std::string::npos) << message;

    // At start-up: the box, the log line, and the rules the highlighter had.
    AddSyntaxRules(Root(), {{Group("kept", {"M2"})}, {}});
    Dialogs.ExpectMessage(message, TModalResult::mrOk);
    Dm.OpenLog();
    ReadCodeHigh(Dm, Settings());
    Dm.CloseLog();
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(SyntaxRulesOf(Root()), (TSyntaxRules{{Group("kept", {"M2"})}, {}}));
    EXPECT_NE(ReadText("log.txt").find("error: The file"), std::string::npos);
    EXPECT_EQ(ReadSettings(), text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadSyntaxRules,
    ::testing::Values(TBadRules{"nkw=two\n", "[SyntaxHighlight], key nkw holds \"two\""},
                      TBadRules{"nkw=-1\n", "key nkw holds \"-1\""},
                      TBadRules{"nkw=2\n[kw1]\nName=A\n", "[kw2] is missing"},
                      TBadRules{"nkw=1\n[kw1]\nName=A\nFG=blue\n", "[kw1], key FG holds \"blue\""},
                      TBadRules{"nkw=1\n[kw1]\nName=A\nBG=1.5\n", "key BG holds \"1.5\""},
                      TBadRules{"nrg=1\n", "[rg1] is missing"},
                      TBadRules{"nrg=1\n[rg1]\nsrange='\nNumBG=\n", "[rg1], key NumBG holds \"\""}));

TEST_F(SyntaxRules, WithoutRulesInTheSettingsTheShippedOnesAreRead)
{
    WriteText("DefaultHighlighting.ini", ShippedRulesText());
    WriteSettings("[Main]\nWidth=800\n");
    Dm.OpenLog();
    ReadCodeHigh(Dm, Settings());
    Dm.CloseLog();
    EXPECT_NE(ReadText("log.txt").find("debug: ReadCodeHigh\n"), std::string::npos);
    EXPECT_GE(FindKeywordGroup(Root(), "Moves"), 0);
    TCodeRuleHighlighter& highlighter = *Dm.CodeRuleHighlighter1;
    highlighter.SetLine("ms,2", 0);
    EXPECT_EQ(highlighter.GetToken(), u"ms");
    EXPECT_EQ(highlighter.GetTokenAttribute()->Foreground(), clBlue) << "keywords match without case";
    EXPECT_EQ(Root().GetRange(0)->OpenSymbol().Symbol, "'");

    // Rules in the settings file win; none at all and no shipped file gives none.
    TAppTest::WriteSettings("[SyntaxHighlight]\nnkw=0\nnrg=0\n");
    Root().Clear();
    ReadCodeHigh(Dm, Settings());
    EXPECT_EQ(Root().GetSymbolGroupCount(), 0);
    std::filesystem::remove(Path("DefaultHighlighting.ini"));
    WriteSettings("");
    ReadCodeHigh(Dm, Settings());
    EXPECT_EQ(Root().GetSymbolGroupCount(), 0);
}

TEST_F(SyntaxRules, AnEmptyBinaryOrTruncatedShippedFileIsRefusedWithABox)
{
    const std::string shipped = ShippedRulesText();
    const std::size_t kw8 = shipped.find("[kw8]");
    ASSERT_NE(kw8, std::string::npos);
    // The head of a PNG picture, bytes that are no UTF-8, a NUL, and a stray "=".
    const char bytes[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe\x80kw1=\x01\x02\n\0[\xc3";
    const std::string binary(bytes, sizeof bytes - 1);
    const struct {
        const char* name;
        std::string text;
        const char* problem;
    } cases[] = {
        {"empty", "", "section [SyntaxHighlight] is missing."},
        {"binary", binary, "section [SyntaxHighlight] is missing."},
        {"truncated", shipped.substr(0, kw8), "section [kw8] is missing."},
    };
    WriteSettings("[Main]\nWidth=800\n");
    Dm.OpenLog();
    for (const auto& c : cases) {
        WriteText("DefaultHighlighting.ini", c.text);
        Root().Clear();
        AddSyntaxRules(Root(), {{Group("kept", {"M2"})}, {}});
        const std::string message = "The file \"" + Path("DefaultHighlighting.ini") + "\" is not used: " + c.problem;
        Dialogs.ExpectMessage(message, TModalResult::mrOk);
        const std::size_t shown = Dialogs.Shown.size();
        ReadCodeHigh(Dm, Settings());
        ASSERT_EQ(Dialogs.Shown.size(), shown + 1) << c.name;
        EXPECT_EQ(Dialogs.Shown.back().Type, TMsgDlgType::mtError) << c.name;
        EXPECT_EQ(SyntaxRulesOf(Root()), (TSyntaxRules{{Group("kept", {"M2"})}, {}})) << c.name;
        EXPECT_EQ(ReadText("DefaultHighlighting.ini"), c.text) << c.name;
    }
    Dm.CloseLog();
    const std::string log = ReadText("log.txt");
    for (const auto& c : cases) {
        EXPECT_NE(log.find(std::string("error: The file \"") + Path("DefaultHighlighting.ini") +
                           "\" is not used: " + c.problem + "\n"),
                  std::string::npos)
            << c.name << "\n" << log;
    }
}

} // namespace
