#include "editor/highlighting/CodeHighlighterCpp.h"
#include "../LanguageHighlighterTestSupport.h"

namespace {

class CodeCppHighlighter : public ::testing::Test {
protected:
    TCodeCppHighlighter h;
    std::string Scan(const QString& line)
    {
        h.ResetRange();
        return ScanOneLine(h, line);
    }
};

TEST_F(CodeCppHighlighter, Numbers)
{
    const struct {
        const char* text;
        const char* tokens;
    } cases[] = {
        {"0x1F", "[0x1F]Hexadecimal"},      {"0X1fuL", "[0X1fuL]Hexadecimal"}, {"017", "[017]Octal"},
        {"017L", "[017L]Octal"},            {"019", "[019]Illegal char"},      {"019.5", "[019.5]Float"},
        {"08e1", "[08e1]Float"},            {"0", "[0]Number"},                {"0.5", "[0.5]Float"},
        {".5f", "[.5f]Float"},              {"1.5e-3", "[1.5e-3]Float"},       {"2E+8", "[2E+8]Float"},
        {"10UL", "[10UL]Number"},           {"5u", "[5u]Number"},              {"1.0L", "[1.0L]Float"},
        {"1LL", "[1LL]Illegal char"},       {"7uu", "[7uu]Illegal char"},      {"1.5ff", "[1.5ff]Illegal char"},
        {"1.0fL", "[1.0fL]Illegal char"},   {"1.0Lf", "[1.0Lf]Illegal char"},  {"1.5u", "[1.5u]Illegal char"},
        {"1e2e3", "[1e2e3]Illegal char"},   {"12ab", "[12ab]Illegal char"},    {"3_x", "[3_x]Illegal char"},
        {"0x", "[0x]Illegal char"},         {"0x1.5", "[0x1.5]Illegal char"},  {"1.2.3", "[1.2.3]Illegal char"},
        {"1L2", "[1L2]Illegal char"},
        {"1-2", "[1]Number[-]Symbol[2]Number"},
        {"1e5-2", "[1e5]Float[-]Symbol[2]Number"},
        {"1..2", "[1]Number[.]Symbol[.2]Float"},
        {"x[1]", "[x]Identifier[[]Symbol[1]Number[]]Symbol"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Scan(c.text), c.tokens) << c.text;
    }
}

TEST_F(CodeCppHighlighter, KeywordsMatchWithCase)
{
    EXPECT_EQ(Scan("int Int __int64 reinterpret_cast Reinterpret_cast wchar_t"),
              "[int]Reserved word[ ]Space[Int]Identifier[ ]Space[__int64]Reserved word[ ]Space"
              "[reinterpret_cast]Reserved word[ ]Space[Reinterpret_cast]Identifier[ ]Space[wchar_t]Reserved word");
}

TEST_F(CodeCppHighlighter, DirectivesCommentsAndContinuations)
{
    const std::vector<QString> lines = {
        "#include <x> // c", "  #define A 1 /* c */ + 2", "#define B \\", "  more \\", "  end", "x # y",
        "#if X /* open", "still */ z", "#define C /* c */", "y", "#define D \\", "", "z", "#/* a */x",
    };
    std::vector<int> ranges;
    EXPECT_EQ(ScanLines(h, lines, &ranges),
              (std::vector<std::string>{
                  "[#include <x> ]Preprocessor[// c]Comment",
                  "[  ]Space[#define A 1 ]Preprocessor[/* c */]Comment[ + 2]Preprocessor",
                  "[#define B \\]Preprocessor",
                  "[  more \\]Preprocessor",
                  "[  end]Preprocessor",
                  "[x]Identifier[ ]Space[#]Illegal char[ ]Space[y]Identifier",
                  "[#if X ]Preprocessor[/* open]Comment",
                  "[still */]Comment[ ]Space[z]Identifier",
                  "[#define C ]Preprocessor[/* c */]Comment",
                  "[y]Identifier",
                  "[#define D \\]Preprocessor",
                  "",
                  "[z]Identifier",
                  "[#]Preprocessor[/* a */]Comment[x]Preprocessor",
              }));
    EXPECT_EQ(ranges, (std::vector<int>{cpprsUnknown, cpprsUnknown, cpprsMultiLineDirective, cpprsMultiLineDirective,
                                        cpprsUnknown, cpprsUnknown, cpprsAnsiC, cpprsUnknown, cpprsUnknown,
                                        cpprsUnknown, cpprsMultiLineDirective, cpprsUnknown, cpprsUnknown,
                                        cpprsUnknown}));
    // Comments opened in every state return to it.
    const struct {
        TCppRangeState from;
        const char* line;
        const char* tokens;
        TCppRangeState after;
    } comments[] = {
        {cpprsAnsiC, "a */", "[a */]Comment", cpprsUnknown},
        {cpprsAnsiCAsm, "a */", "[a */]Comment", cpprsAsm},
        {cpprsAnsiCAsmBlock, "a */", "[a */]Comment", cpprsAsmBlock},
        {cpprsDirectiveComment, "a */ b //c", "[a */]Comment[ b ]Preprocessor[//c]Comment", cpprsUnknown},
        {cpprsDirectiveComment, "a", "[a]Comment", cpprsAnsiC},
        {cpprsMultiLineDirective, "//c", "[//c]Comment", cpprsUnknown},
        {cpprsMultiLineDirective, "/*c*/ d", "[/*c*/]Comment[ d]Preprocessor", cpprsUnknown},
        {cpprsMultiLineString, "a\\\" b", "[a\\\" b]String", cpprsUnknown},
    };
    for (const auto& c : comments) {
        h.SetRange(c.from);
        EXPECT_EQ(ScanOneLine(h, c.line), c.tokens) << c.from;
        EXPECT_EQ(h.GetRange(), c.after) << c.from;
    }
}

TEST_F(CodeCppHighlighter, StringsAndCharacters)
{
    const std::vector<QString> lines = {"s = \"a\\\"b\\\\\" + 'c' + '\\'' + \"open", "x", "\"cont\\", "inued\" y",
                                        "'\\\\' \"e\\n\" \"w\\\\\\", "\"z"};
    std::vector<int> ranges;
    EXPECT_EQ(ScanLines(h, lines, &ranges),
              (std::vector<std::string>{
                  "[s]Identifier[ ]Space[=]Symbol[ ]Space[\"a\\\"b\\\\\"]String[ ]Space[+]Symbol[ ]Space['c']Character"
                  "[ ]Space[+]Symbol[ ]Space['\\'']Character[ ]Space[+]Symbol[ ]Space[\"open]String",
                  "[x]Identifier",
                  "[\"cont\\]String",
                  "[inued\"]String[ ]Space[y]Identifier",
                  "['\\\\']Character[ ]Space[\"e\\n\"]String[ ]Space[\"w\\\\\\]String",
                  "[\"]String[z]Identifier",
              }));
    EXPECT_EQ(ranges, (std::vector<int>{cpprsUnknown, cpprsUnknown, cpprsMultiLineString, cpprsUnknown,
                                        cpprsMultiLineString, cpprsUnknown}));
}

TEST_F(CodeCppHighlighter, EveryOperatorHasItsExtendedKind)
{
    const struct {
        const char* text;
        TCppExtTokenKind kind;
    } cases[] = {
        {"&&", xtkLogAnd},         {"&=", xtkAndAssign},     {"&", xtkAnd},
        {"::", xtkScopeResolution}, {":", xtkColon},          {"==", xtkLogEqual},
        {"=", xtkAssign},          {">>=", xtkShiftRightAssign}, {">>", xtkShiftRight},
        {">=", xtkGreaterThanEqual}, {">", xtkGreaterThan},   {"<<=", xtkShiftLeftAssign},
        {"<<", xtkShiftLeft},      {"<=", xtkLessThanEqual}, {"<", xtkLessThan},
        {"--", xtkDecrement},      {"-=", xtkSubtractAssign}, {"->", xtkArrow},
        {"-", xtkSubtract},        {"++", xtkIncrement},     {"+=", xtkAddAssign},
        {"+", xtkAdd},             {"||", xtkLogOr},         {"|=", xtkIncOrAssign},
        {"|", xtkIncOr},           {"!=", xtkNotEqual},      {"!", xtkLogComplement},
        {"%=", xtkModAssign},      {"%", xtkMod},            {"*=", xtkMultiplyAssign},
        {"*", xtkStar},            {"^=", xtkXorAssign},     {"^", xtkXor},
        {"/=", xtkDivideAssign},   {"/", xtkDivide},         {"...", xtkEllipse},
        {".", xtkPoint},           {"?", xtkQuestion},       {"~", xtkBitComplement},
        {",", xtkComma},           {";", xtkSemiColon},      {"(", xtkRoundOpen},
        {")", xtkRoundClose},      {"[", xtkSquareOpen},     {"]", xtkSquareClose},
        {"{", xtkBraceOpen},       {"}", xtkBraceClose},
    };
    for (const auto& c : cases) {
        const QString line = QString(c.text) + "a";
        h.ResetRange();
        h.SetLine(line, 0);
        EXPECT_EQ(h.GetToken(), QString(c.text));
        EXPECT_EQ(h.GetTokenAttribute(), h.SymbolAttri) << c.text;
        EXPECT_EQ(h.GetExtTokenKind(), c.kind) << c.text;
        h.Next();
        EXPECT_EQ(h.GetExtTokenKind(), xtkNonSymbol) << "an identifier follows " << c.text;
    }
    EXPECT_EQ(Scan("@ $ `"), "[@]Illegal char[ ]Space[$]Illegal char[ ]Space[`]Illegal char");
}

TEST_F(CodeCppHighlighter, AsmStatesLastOneToken)
{
    std::vector<int> ranges;
    EXPECT_EQ(ScanLines(h, {"asm { mov }", "x __asm", "mov"}, &ranges),
              (std::vector<std::string>{
                  "[asm]Reserved word[ ]Space[{]Symbol[ ]Space[mov]Identifier[ ]Space[}]Symbol",
                  "[x]Identifier[ ]Space[__asm]Reserved word",
                  "[mov]Identifier",
              }));
    EXPECT_EQ(ranges, (std::vector<int>{cpprsUnknown, cpprsAsm, cpprsUnknown}));
    h.SetRange(cpprsAnsiCAsm);
    h.SetLine("x */ y", 0);
    EXPECT_EQ(h.GetTokenKind(), cpptkComment);
    EXPECT_EQ(h.GetRange(), cpprsAsm);
    h.Next();
    EXPECT_EQ(h.GetTokenKind(), cpptkSpace);
    EXPECT_EQ(h.GetRange(), cpprsUnknown) << "the next token starts neutral";
}

TEST_F(CodeCppHighlighter, ImportsAnotherIDEsColours)
{
    TMemoryRegistryStore store;
    TRegistryStoreScope scope(&store);
    ASSERT_TRUE(store.CreateKey(TRegistryRoot::LocalMachine, "SOFTWARE\\Borland\\C++Builder\\5.0"));
    QStringList versions;
    h.ListSettingsEntries(versions);
    EXPECT_EQ(versions, QStringList{"5.0"});
    const std::string key = "Software\\Borland\\C++Builder\\5.0\\Editor\\Highlight";
    WriteIDEColors(store, key,
                   {"Assembler", "Comment", "Identifier", "Illegal Char", "Reserved word", "Integer", "Float", "Octal",
                    "Whitespace", "String", "Character", "Symbol"},
                   2, 15, "0");
    EXPECT_FALSE(h.UseSettingsEntry("5.0"));
    EXPECT_EQ(h.SpaceAttri->Foreground(), clWindow) << "nothing taken over";
    WriteIDEColors(store, key, {"Preprocessor"}, 4, 15, "1");
    EXPECT_TRUE(h.UseSettingsEntry("5.0"));
    EXPECT_EQ(h.SpaceAttri->Foreground(), clGreen);
    EXPECT_EQ(h.HexAttri->Foreground(), clGreen) << "hexadecimal numbers take the integer colours";
    EXPECT_EQ(h.DirecAttri->Foreground(), clNavy);
    EXPECT_EQ(h.DirecAttri->Style(), TFont::fsBold);
    EXPECT_EQ(h.KeyAttri->Style(), 0);
}

} // namespace
