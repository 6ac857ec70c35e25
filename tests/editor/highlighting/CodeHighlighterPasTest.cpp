#include "editor/highlighting/CodeHighlighterPas.h"
#include "../HighlighterTestSupport.h"
#include "../LanguageHighlighterTestSupport.h"

namespace {

class CodePasHighlighter : public ::testing::Test {
protected:
    TCodePasHighlighter h;
};

TEST_F(CodePasHighlighter, ContextKeywordsOfPropertiesAndExports)
{
    const TScanCase cases[] = {
        {{"property P: T read F write S; read"},
         {"[property]Reserved word[ ]Space[P]Identifier[:]Symbol[ ]Space[T]Identifier[ ]Space[read]Reserved word"
          "[ ]Space[F]Identifier[ ]Space[write]Reserved word[ ]Space[S]Identifier[;]Symbol[ ]Space[read]Identifier"}},
        // The declaration goes on over lines up to its semicolon.
        {{"property P: T", "  Read F Stored B;", "stored"},
         {"[property]Reserved word[ ]Space[P]Identifier[:]Symbol[ ]Space[T]Identifier",
          "[  ]Space[Read]Reserved word[ ]Space[F]Identifier[ ]Space[Stored]Reserved word[ ]Space[B]Identifier"
          "[;]Symbol",
          "[stored]Identifier"}},
        {{"exports F name 'G' index 3; name index"},
         {"[exports]Reserved word[ ]Space[F]Identifier[ ]Space[name]Reserved word[ ]Space['G']String[ ]Space"
          "[index]Reserved word[ ]Space[3]Number[;]Symbol[ ]Space[name]Identifier[ ]Space[index]Identifier"}},
        {{"property P index 1 name"},
         {"[property]Reserved word[ ]Space[P]Identifier[ ]Space[index]Reserved word[ ]Space[1]Number[ ]Space"
          "[name]Identifier"}},
        // A digit or "_" after the letters makes another word.
        {{"end1 end_ END"}, {"[end1]Identifier[ ]Space[end_]Identifier[ ]Space[END]Reserved word"}},
    };
    for (const TScanCase& c : cases) {
        ExpectScans(h, c);
    }
}

TEST_F(CodePasHighlighter, KeywordsByVersionAndPackageSource)
{
    const struct {
        TDelphiVersion version;
        bool package;
        const char* line;
        bool keyword; // the line's last word
    } cases[] = {
        {dvDelphi1, false, "stdcall", false},         {dvDelphi2, false, "Stdcall", true},
        {dvDelphi1, false, "finalization", false},    {dvDelphi2, false, "cdecl", true},
        {dvDelphi2, false, "safecall", false},        {dvDelphi3, false, "safecall", true},
        {dvDelphi3, false, "resourcestring", true},   {dvDelphi3, false, "dispinterface", true},
        {dvDelphi3, false, "overload", false},        {dvDelphi4, false, "reintroduce", true},
        {dvDelphi5, false, "deprecated", false},      {dvDelphi6, false, "platform", true},
        {dvDelphi6, false, "package", false},         {dvDelphi6, true, "package", true},
        {dvDelphi3, true, "contains", true},          {dvDelphi6, true, "Requires", true},
        {dvDelphi2, false, "property P readonly", false}, {dvDelphi3, false, "property P writeonly", true},
        {dvDelphi3, false, "property P implements", false}, {dvDelphi4, false, "property P implements", true},
        {dvDelphi6, false, "readonly", false},        {dvDelphi1, false, "initialization", true},
    };
    for (const auto& c : cases) {
        h.SetDelphiVersion(c.version);
        h.SetPackageSource(c.package);
        ASSERT_EQ(h.DelphiVersion(), c.version);
        const QString line = c.line;
        const QString word = line.section(QLatin1Char(' '), -1);
        h.ResetRange();
        const std::string tokens = ScanOneLine(h, line);
        const std::string expected = "[" + word.toStdString() + "]" + (c.keyword ? "Reserved word" : "Identifier");
        EXPECT_TRUE(tokens.ends_with(expected)) << c.line << " in version " << c.version << ": " << tokens;
    }
}

TEST_F(CodePasHighlighter, LowestVersionHasNoLineComments)
{
    h.SetDelphiVersion(dvDelphi1);
    ExpectScans(h, {{"a // b"}, {"[a]Identifier[ ]Space[/]Symbol[/]Symbol[ ]Space[b]Identifier"}});
    h.SetDelphiVersion(dvDelphi2);
    ExpectScans(h, {{"a // b"}, {"[a]Identifier[ ]Space[// b]Comment"}});
}

TEST_F(CodePasHighlighter, AssemblerBlocksCommentsAndDirectivesOverLines)
{
    const std::vector<QString> lines = {"asm", "  mov eax, 1 { c } {$I x}", "  nop (* x", "y *) ret { z", "}", "end;"};
    std::vector<int> ranges;
    EXPECT_EQ(ScanLines(h, lines, &ranges),
              (std::vector<std::string>{
                  "[asm]Reserved word",
                  "[  ]Space[mov]Assembler[ ]Space[eax]Assembler[,]Assembler[ ]Space[1]Assembler[ ]Space[{ c }]Comment"
                  "[ ]Space[{$I x}]Assembler",
                  "[  ]Space[nop]Assembler[ ]Space[(* x]Comment",
                  "[y *)]Comment[ ]Space[ret]Assembler[ ]Space[{ z]Comment",
                  "[}]Comment",
                  "[end]Reserved word[;]Symbol",
              }));
    EXPECT_EQ(ranges, (std::vector<int>{pasrsAsm, pasrsAsm, pasrsAnsiAsm, pasrsBorAsm, pasrsAsm, pasrsUnknown}));

    ranges.clear();
    EXPECT_EQ(ScanLines(h, {"{$R *.res} x", "{ open", "still }", "{$IFDEF", "X}", "(* open", "", "*) y", "(*) z *)"},
                        &ranges),
              (std::vector<std::string>{"[{$R *.res}]Preprocessor[ ]Space[x]Identifier", "[{ open]Comment",
                                        "[still }]Comment", "[{$IFDEF]Preprocessor", "[X}]Comment",
                                        "[(* open]Comment", "", "[*)]Comment[ ]Space[y]Identifier",
                                        "[(*) z *)]Comment"}));
    EXPECT_EQ(ranges, (std::vector<int>{pasrsUnknown, pasrsBor, pasrsUnknown, pasrsBor, pasrsUnknown, pasrsAnsi,
                                        pasrsAnsi, pasrsUnknown, pasrsUnknown}));
}

TEST_F(CodePasHighlighter, LiteralsAndSymbols)
{
    ExpectScans(h, {{"x := 'it''s' + #13#$0A + $1F + 1..5 + 1.5e-3 - 2E+1e", "(. .) .. @@ <> <= >= : ^ ? 'open"},
                    {"[x]Identifier[ ]Space[:=]Symbol[ ]Space['it''s']String[ ]Space[+]Symbol[ ]Space[#13]Character"
                     "[#$0A]Character[ ]Space[+]Symbol[ ]Space[$1F]Hexadecimal[ ]Space[+]Symbol[ ]Space[1]Number"
                     "[..]Symbol[5]Number[ ]Space[+]Symbol[ ]Space[1.5e-3]Float[ ]Space[-]Symbol[ ]Space[2E+1e]Float",
                     "[(.]Symbol[ ]Space[.)]Symbol[ ]Space[..]Symbol[ ]Space[@@]Symbol[ ]Space[<>]Symbol[ ]Space"
                     "[<=]Symbol[ ]Space[>=]Symbol[ ]Space[:]Symbol[ ]Space[^]Symbol[ ]Space[?]Symbol[ ]Space"
                     "['open]String"}});
    EXPECT_EQ(ScanOneLine(h, "?"), "[?]Symbol");
    EXPECT_EQ(h.GetTokenKind(), pastkNull);
    h.SetLine("? ;", 0);
    EXPECT_EQ(h.GetTokenKind(), pastkUnknown) << "no Pascal symbol, shown as one";
    h.Next();
    h.Next();
    EXPECT_EQ(h.GetTokenKind(), pastkSymbol);
}

TEST_F(CodePasHighlighter, VersionAndPackageSourceFollowEachOther)
{
    TEventCounter editor;
    h.AddChangeHandler(editor.Event());
    EXPECT_EQ(h.DelphiVersion(), dvDelphi6);
    EXPECT_TRUE(h.PackageSource());
    EXPECT_TRUE(h.D4syntax());
    h.SetDelphiVersion(dvDelphi2);
    EXPECT_FALSE(h.PackageSource()) << "no packages before Delphi 3";
    EXPECT_FALSE(h.D4syntax());
    h.SetD4syntax(true);
    EXPECT_FALSE(h.D4syntax());
    EXPECT_EQ(h.DelphiVersion(), dvDelphi2);
    h.SetPackageSource(true);
    EXPECT_EQ(h.DelphiVersion(), dvDelphi3);
    h.SetPackageSource(false);
    h.SetDelphiVersion(dvDelphi1);
    h.SetPackageSource(false);
    EXPECT_EQ(h.DelphiVersion(), dvDelphi1) << "clearing the flag raises nothing";
    h.SetDelphiVersion(dvDelphi4);
    EXPECT_TRUE(h.D4syntax());
    EXPECT_EQ(editor.count, 5) << "one change each, none for a value set again";
}

TEST_F(CodePasHighlighter, ImportsAnotherIDEsColours)
{
    TMemoryRegistryStore store;
    TRegistryStoreScope scope(&store);
    QStringList versions{"stale"};
    h.ListSettingsEntries(versions);
    EXPECT_TRUE(versions.isEmpty()) << "no such IDE on this machine";
    EXPECT_TRUE(h.GetCapabilities() & hcUserSettings);
    EXPECT_TRUE(h.GetCapabilities() & hcRegistry);

    ASSERT_TRUE(store.CreateKey(TRegistryRoot::LocalMachine, "SOFTWARE\\Borland\\Delphi\\5.0"));
    ASSERT_TRUE(store.CreateKey(TRegistryRoot::LocalMachine, "SOFTWARE\\Borland\\Delphi\\6.0"));
    h.ListSettingsEntries(versions);
    EXPECT_EQ(versions, (QStringList{"5.0", "6.0"}));

    const std::string key = "Software\\Borland\\Delphi\\6.0\\Editor\\Highlight";
    WriteIDEColors(store, key, {"Assembler", "Comment", "Identifier", "Reserved word", "Number", "Whitespace"}, 12,
                   15, "True");
    EXPECT_FALSE(h.UseSettingsEntry("6.0")) << "two entries missing";
    EXPECT_EQ(h.KeyAttri->Foreground(), clNone) << "nothing taken over";
    WriteIDEColors(store, key, {"string", "Symbol"}, 9, 0, "False");
    EXPECT_TRUE(h.UseSettingsEntry("6.0"));
    EXPECT_EQ(h.KeyAttri->Foreground(), clBlue);
    EXPECT_EQ(h.SpaceAttri->Background(), clWhite);
    EXPECT_EQ(h.CommentAttri->Style(), TFont::fsBold) << "style from the entry's flags";
    EXPECT_EQ(h.StringAttri->Foreground(), clRed);
    EXPECT_EQ(h.SymbolAttri->Background(), clBlack);
    EXPECT_EQ(h.FloatAttri->Foreground(), clNone) << "the IDE keeps no entry for it";
    EXPECT_FALSE(h.UseSettingsEntry("5.0"));
    EXPECT_FALSE(h.UseSettingsEntry(""));
    EXPECT_FALSE(h.UseSettingsEntry("6.0\\Editor\\Highlight\\.."));
}

} // namespace
