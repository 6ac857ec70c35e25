#include "editor/highlighting/CodeRuleHighlighter.h"
#include "editor/highlighting/CodeRuleText.h"
#include "platform/core/objects/Filer.h"
#include "../../support/PartProgramRules.h"
#include "../HighlighterTestSupport.h"
#include "../RuleTokens.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>

namespace {

// Part-program rules with a nested block, escapes in every kind of value and a full
// Info block.
void BuildSampleRules(TCodeRuleHighlighter& highlighter)
{
    BuildPartProgramRules(highlighter);
    TCodeRange& root = *highlighter.RootRange();
    root.DefaultAttri().SetBackground(clWhite);
    root.NumberAttri().SetForeground(clRed);
    root.NumberAttri().SetStyle(TFont::fsItalic);
    auto block = std::make_unique<TCodeRange>("<&\"", "\">");
    block->Name = "Block \"<&>\"";
    block->CloseOnTerm = true;
    block->SetCaseSensitive(false);
    block->DelimiterChars = TextToCharSet(u";<>\u00E9");
    AddKeywordGroup(*block, "A&B", "x<y~a&amp;b", clYellow, "SU");
    AddKeywordGroup(*block, "Empty", "", clBlack, "");
    auto inner = std::make_unique<TCodeRange>("(", ")");
    inner->Name = "Inner";
    inner->OpenSymbol().TermKind = tkDelimiterTerm;
    block->AddRange(std::move(inner));
    root.AddRange(std::move(block));

    auto& info = highlighter.Info;
    info.General = {"ShopBot", "Part programs (*.sbp)|*.sbp", "Default"};
    info.Author = {"A. Writer", "a@example.org", "example.org", "(c) \"us\"", "Kerfpad", "1 < 2"};
    info.Version.Version = 3;
    info.Version.Revision = -2;
    info.Version.Date = 45123.75;
    info.Version.Type = 1;
    info.History = {"first", "second"};
    info.Sample = {"M3,1,2 ' cut", "&x=1"};
}

QByteArray ExpectedFile()
{
    QFile file(QStringLiteral(KERFPAD_TEST_DATA "/editor/part-program-rules.txt"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

TEST(CodeRuleText, WritesTheDocumentByteForByte)
{
    TCodeRuleHighlighter highlighter;
    BuildSampleRules(highlighter);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    highlighter.WriteRuleText(buffer);
    EXPECT_EQ(buffer.data(), ExpectedFile());
}

TEST(CodeRuleText, ReadsBackWhatItWrote)
{
    TCodeRuleHighlighter written;
    BuildSampleRules(written);
    TCodeRuleHighlighter read;
    TEventCounter changes;
    read.AddChangeHandler(changes.Event());
    read.ReadRuleText(QByteArrayView(ExpectedFile()));
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(read.RuleText(), written.RuleText());
    const TCodeRange& block = *read.RootRange()->GetRange(2);
    EXPECT_EQ(block.Name, "Block \"<&>\"");
    EXPECT_EQ(block.OpenSymbol().Symbol, "<&\"");
    EXPECT_EQ(block.OpenSymbol().TermKind, tkDelimiterTerm) << "AnyTerm False";
    EXPECT_EQ(block.GetSymbolGroup(0)->KeywordList, QStringList({"x<y", "a&amp;b"}));
    EXPECT_EQ(block.GetSymbolGroup(0)->Attributes->Name(), "unknown");
    EXPECT_TRUE(block.DelimiterChars.Contains(u'\u00E9'));
    EXPECT_EQ(read.Info.Version.Date, 45123.75) << "the time of day survives";
    EXPECT_EQ(read.GetSampleSource(), "M3,1,2 ' cut\n&x=1\n");
    for (const char* line : {"M3,1 ' cut", "&x=2", "if &a then 12"}) {
        written.ResetRange();
        read.ResetRange();
        EXPECT_EQ(ScanLine(read, line), ScanLine(written, line)) << line;
    }

    std::vector<std::pair<std::string, std::string>> stored = TBinaryPropertyWriter::Collect(written);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].first, "Syntax");
    TCodeRuleHighlighter streamed;
    EXPECT_TRUE(TBinaryPropertyWriter::Collect(streamed).empty()) << "no nested range, nothing streamed";
    TBinaryPropertyReader::Apply(streamed, stored);
    EXPECT_EQ(streamed.Syntax(), written.Syntax());
}

TEST(CodeRuleText, ValueEscapes)
{
    const struct {
        const char* text;
        const char* value;
    } cases[] = {{"&amp;&lt;&qt;&gt;", "&<\">"}, {"&amp;lt;", "&lt;"}, {"&AMP;&quot;", "&AMP;&quot;"},
                 {"a&b&", "a&b&"},            {"&am&amp;", "&am&"}};
    for (const auto& c : cases) {
        EXPECT_EQ(UnescapeRuleValue(QString(c.text)), c.value) << c.text;
        EXPECT_EQ(UnescapeRuleValue(EscapeRuleValue(QString(c.value))), c.value) << c.value;
    }
}

TEST(CodeRuleText, SectionsAndForeignTags)
{
    TCodeRuleHighlighter highlighter;
    highlighter.Info.History = {"old"};
    highlighter.Info.Sample = {"old"};
    highlighter.SetSyntax("<UniHighlighter><Notes>free text</Notes>"
                          "<Info><History><H>a</H></History><Sample><S>1</S></Sample>"
                          "<History><H>b</H></History><Sample><S>2</S></Sample>"
                          "<Version><Type>release</Type><Date>7</Date></Version></Info>"
                          "<range name=\"Top\"><KW Name=\"K\"><w>if</w></KW></range>"
                          "<Copyright>us</Copyright></UniHighlighter>");
    EXPECT_EQ(highlighter.Info.History, QStringList({"old", "a", "b"})) << "History appends";
    EXPECT_EQ(highlighter.Info.Sample, QStringList({"2"})) << "Sample replaces";
    EXPECT_EQ(highlighter.Info.Version.Type, 0) << "compared exactly";
    EXPECT_EQ(highlighter.RootRange()->Name, "Top");
    EXPECT_EQ(highlighter.RootRange()->GetSymbolGroup(0)->KeywordList, QStringList({"if"}));

    QByteArray latin = "<UniHighlighter><Range><KW><W>caf\xE9</W></KW></Range></UniHighlighter>";
    highlighter.ReadRuleText(QByteArrayView(latin));
    EXPECT_EQ(highlighter.RootRange()->GetSymbolGroup(0)->KeywordList, QStringList({QString::fromUtf8("caf\xC3\xA9")}))
        << "not UTF-8: Windows-1252";
}

TEST(CodeRuleText, FormatErrorsKeepTheRules)
{
    TCodeRuleHighlighter highlighter;
    BuildPartProgramRules(highlighter);
    const QByteArray before = highlighter.RuleText();
    TEventCounter changes;
    highlighter.AddChangeHandler(changes.Event());
    const QString head = "<UniHighlighter>\r\n<Range>\r\n";
    const struct {
        QString text;
        const char* message;
    } cases[] = {
        {"", "Highlighter header tag (\"<UniHighlighter>\") was not found."},
        {"<Range></Range>", "Highlighter header tag (\"<UniHighlighter>\") was not found."},
        {"</UniHighlighter>", "Highlighter header tag (\"<UniHighlighter>\") was not found."},
        {"<?xml?><UniHighlighter>", "Tag \"?xml?\" is unknown (line 0)"},
        {"<UniHighlighter>\r\n<Info\r\n>", "Unexpected end of line. Line 1"},
        {"<UniHighlighter><Range Name=\"a\r\nb\"\r\n>", "Unexpected end of line. Line 1"},
        {head + "<OpenSymbol>a\r\nb</OpenSymbol>", "Unexpected end of line. Line 2"},
        {head + "<OpenSymbol>a", "Unexpected end of line. Line 2"},
        {head + "\r\n<Bogus>x</Bogus>", "Tag \"Bogus\" is unknown (line 3)"},
        {head + "<OpenSymbol>a</CloseSymbol>", "Close tag: /OpenSymbol is not found. Line 2"},
        {head + "<Def><Back>1</Back>\r\n<Fore>2</Fore></Back>", "Unexpected tag: /Back line 3"},
        {head + "<W>a</W>", "Unexpected tag: W line 2"},
        {"<UniHighlighter>\r\n<Info>\r\n</Range>", "Unexpected tag: /Range line 2"},
        {"<UniHighlighter>\r\n<Info></Info>\r\n</Range>", "Closing tag: /UniHighlighter was not found. Line 2"},
        {"<UniHighlighter>\r\n<Info></Info>\r\n", "Closing tag: /UniHighlighter was not found. Line 2"},
        {head + "<KW Name=\"k\">\r\n", "Closing tag: /UniHighlighter was not found. Line 3"},
        {"<UniHighlighter><Range Name=\"open", "Closing tag: /UniHighlighter was not found. Line 0"},
    };
    for (const auto& c : cases) {
        try {
            highlighter.ReadRuleText(c.text);
            ADD_FAILURE() << "read: " << c.text.toStdString();
        } catch (const Exception& error) {
            EXPECT_EQ(error.Message(), c.message) << c.text.toStdString();
        }
        EXPECT_EQ(highlighter.RuleText(), before) << c.text.toStdString();
    }
    EXPECT_THROW(highlighter.ReadRuleText(head + "<Def><Back>red</Back></Def></Range></UniHighlighter>"),
                 EConvertError);
    EXPECT_EQ(highlighter.RuleText(), before);
    EXPECT_EQ(changes.count, 0);
}

} // namespace
