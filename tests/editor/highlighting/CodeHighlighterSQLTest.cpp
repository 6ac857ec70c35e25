#include "editor/highlighting/CodeHighlighterSQL.h"
#include "../HighlighterTestSupport.h"
#include "../LanguageHighlighterTestSupport.h"

#include <map>

namespace {

class CodeSQLHighlighter : public ::testing::Test {
protected:
    TCodeSQLHighlighter h;
    std::vector<std::string> Scan(TSQLDialect dialect, const std::vector<QString>& lines)
    {
        h.SetSQLDialect(dialect);
        return ScanLines(h, lines);
    }
};

TEST_F(CodeSQLHighlighter, EveryDialectBuildsItsListsWithTheirCounts)
{
    using Counts = std::map<int, int>;
    const struct {
        TSQLDialect dialect;
        Counts counts;
    } dialects[] = {
        {sqlStandard, {{sqltkKey, 126}}},
        {sqlInterbase6, {{sqltkKey, 251}, {sqltkDatatype, 13}, {sqltkFunction, 8}}},
        {sqlMSSQL7, {{sqltkKey, 197}, {sqltkDatatype, 24}, {sqltkFunction, 139}}},
        {sqlMySQL, {{sqltkKey, 161}, {sqltkDatatype, 27}, {sqltkFunction, 143}}},
        {sqlOracle,
         {{sqltkKey, 378}, {sqltkDatatype, 31}, {sqltkFunction, 151}, {sqltkException, 20}, {sqltkComment, 4},
          {sqltkDefaultPackage, 116}, {sqltkPLSQL, 124}, {sqltkSQLPlus, 62}}},
        {sqlSybase, {{sqltkKey, 373}}},
        {sqlIngres, {{sqltkKey, 315}, {sqltkDatatype, 23}, {sqltkFunction, 102}}},
        {sqlMSSQL2K, {{sqltkKey, 171}, {sqltkDatatype, 29}, {sqltkFunction, 168}}},
    };
    EXPECT_EQ(h.SQLDialect(), sqlSybase);
    for (const auto& d : dialects) {
        h.SetSQLDialect(d.dialect);
        Counts counts;
        for (int hash = 0; hash < h.Keywords().Count(); ++hash) {
            int length = 0;
            for (const TCodeHashEntry* e = h.Keywords().Get(hash); e; e = e->Next()) {
                ++counts[e->Kind()];
                EXPECT_GE(e->KeyLength(), length) << "chains ordered by length";
                length = e->KeyLength();
            }
        }
        EXPECT_EQ(counts, d.counts) << "dialect " << d.dialect;
    }
}

TEST_F(CodeSQLHighlighter, TokensInSeveralDialects)
{
    const struct {
        TSQLDialect dialect;
        TScanCase scan;
    } cases[] = {
        {sqlSybase,
         {{"select a, t where x >= 1.5 -- done"},
          {"[select]Reserved word[ ]Space[a]Identifier[,]Symbol[ ]Space[t]Identifier[ ]Space[where]Reserved word"
           "[ ]Space[x]Identifier[ ]Space[>=]Symbol[ ]Space[1.5]Number[ ]Space[-- done]Comment"}}},
        // Comments and strings carried over lines, an empty line among them.
        {sqlSybase,
         {{"a /* one", "", "three */ b"},
          {"[a]Identifier[ ]Space[/* one]Comment", "", "[three */]Comment[ ]Space[b]Identifier"}}},
        {sqlMySQL, {{"/* x */ y"}, {"[/* x */]Comment[ ]Space[y]Identifier"}}},
        {sqlOracle,
         {{"x = 'it", "goes on' || y"},
          {"[x]Identifier[ ]Space[=]Symbol[ ]Space['it]String",
           "[goes on']String[ ]Space[||]Symbol[ ]Space[y]Identifier"}}},
        // MySQL: "#" comments in the first column only; a backslash escapes.
        {sqlMySQL,
         {{"# note", " # x", "'it\\'s' 'C:\\\\' z", "\"a\"\"b\" \"c\\\"d\" e"},
          {"[# note]Comment", "[ ]Space[#]Identifier[ ]Space[x]Identifier",
           "['it\\'s']String[ ]Space['C:\\\\']String[ ]Space[z]Identifier",
           "[\"a\"\"b\"]String[ ]Space[\"c\\\"d\"]String[ ]Space[e]Identifier"}}},
        {sqlSybase,
         {{"'a\\' b # c"}, {"['a\\']String[ ]Space[b]Identifier[ ]Space[#]Identifier[ ]Space[c]Identifier"}}},
        {sqlSybase, {{"\"unclosed ' x"}, {"[\"unclosed ' x]String"}}},
        // Numbers stop before a range and before a comment.
        {sqlSybase,
         {{"1..5 2-3.4 4--c"},
          {"[1]Number[.]Symbol[.]Symbol[5]Number[ ]Space[2-3.4]Number[ ]Space[4]Number[--c]Comment"}}},
        {sqlSybase,
         {{"<<= << <= < <> && &= & == => = >> >= > || |= | ++ += + /= / != ! %= * ^= ~ (),.;?[]{} -"},
          {"[<<=]Symbol[ ]Space[<<]Symbol[ ]Space[<=]Symbol[ ]Space[<]Symbol[ ]Space[<]Symbol[>]Symbol[ ]Space"
           "[&&]Symbol[ ]Space[&=]Symbol[ ]Space[&]Symbol[ ]Space[==]Symbol[ ]Space[=>]Symbol[ ]Space[=]Symbol"
           "[ ]Space[>>]Symbol[ ]Space[>=]Symbol[ ]Space[>]Symbol[ ]Space[||]Symbol[ ]Space[|=]Symbol[ ]Space"
           "[|]Symbol[ ]Space[++]Symbol[ ]Space[+=]Symbol[ ]Space[+]Symbol[ ]Space[/=]Symbol[ ]Space[/]Symbol"
           "[ ]Space[!=]Symbol[ ]Space[!]Symbol[ ]Space[%=]Symbol[ ]Space[*]Symbol[ ]Space[^=]Symbol[ ]Space"
           "[~]Symbol[ ]Space[(]Symbol[)]Symbol[,]Symbol[.]Symbol[;]Symbol[?]Symbol[[]Symbol[]]Symbol[{]Symbol"
           "[}]Symbol[ ]Space[-]Symbol"}}},
        // Variables after ":" or the at sign, with each dialect's exceptions.
        {sqlOracle,
         {{":v @w :="}, {"[:v]Variable[ ]Space[@]Symbol[w]Identifier[ ]Space[:]Variable[=]Symbol"}}},
        {sqlIngres, {{":v @w"}, {"[:v]Variable[ ]Space[@w]Variable"}}},
        {sqlSybase, {{":v @w @@x"}, {"[:]Symbol[v]Identifier[ ]Space[@w]Variable[ ]Space[@]Variable[@x]Variable"}}},
        {sqlMySQL, {{"@w"}, {"[@]Symbol[w]Identifier"}}},
        {sqlMSSQL7,
         {{"@@ERROR @@nope @x@y"}, {"[@@ERROR]Function[ ]Space[@@nope]Identifier[ ]Space[@x@y]Variable"}}},
        {sqlMSSQL2K, {{"@@ERROR"}, {"[@@ERROR]Variable"}}},
        // REM and its abbreviations comment out the rest of an Oracle line.
        {sqlOracle,
         {{"REM a note", "rem", "Remark x", "REMARKS x", "x REMA y"},
          {"[REM a note]Comment", "[rem]Comment", "[Remark x]Comment", "[REMARKS]Identifier[ ]Space[x]Identifier",
           "[x]Identifier[ ]Space[REMA y]Comment"}}},
        {sqlSybase, {{"REM x"}, {"[REM]Identifier[ ]Space[x]Identifier"}}},
        {sqlOracle,
         {{"NUMBER NO_DATA_FOUND dbms_output LOOP SPOOL TO_CHAR SELECT E$1#"},
          {"[NUMBER]Data type[ ]Space[NO_DATA_FOUND]Exception[ ]Space[dbms_output]Default packages[ ]Space"
           "[LOOP]Reserved word (PL/SQL)[ ]Space[SPOOL]SQL*Plus command[ ]Space[TO_CHAR]Function[ ]Space"
           "[SELECT]Reserved word[ ]Space[E$1#]Identifier"}}},
        // Keywords compare as text: a digit, "#" or "$" where a keyword has another is
        // no match, although their hash values are equal.
        {sqlIngres,
         {{"FLOAT9 float4 FLOAT# INTEGER5 integer4"},
          {"[FLOAT9]Identifier[ ]Space[float4]Data type[ ]Space[FLOAT#]Identifier[ ]Space[INTEGER5]Identifier"
           "[ ]Space[integer4]Data type"}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Scan(c.dialect, c.scan.lines), c.scan.tokens) << "dialect " << c.dialect;
    }
    std::vector<int> ranges;
    h.SetSQLDialect(sqlSybase);
    ScanLines(h, {"/* a", "b", "c */ 'd", "e'"}, &ranges);
    EXPECT_EQ(ranges, (std::vector<int>{sqlrsComment, sqlrsComment, sqlrsString, sqlrsUnknown}));
}

TEST_F(CodeSQLHighlighter, TableNamesAndDialectChangesRebuildAndNotify)
{
    TEventCounter editor;
    h.AddChangeHandler(editor.Event());
    h.TableNames().Add("Orders");
    EXPECT_EQ(editor.count, 1);
    h.TableNames().Add("SELECT");
    h.TableNames().Add("orders");
    h.TableNames().Add("order lines");
    EXPECT_EQ(editor.count, 4) << "each change rebuilds once";
    EXPECT_EQ(ScanOneLine(h, "select * from ORDERS"),
              "[select]Reserved word[ ]Space[*]Symbol[ ]Space[from]Reserved word[ ]Space[ORDERS]Table name");

    h.SetSQLDialect(sqlSybase);
    EXPECT_EQ(editor.count, 4) << "the same dialect changes nothing";
    h.SetSQLDialect(sqlOracle);
    EXPECT_EQ(editor.count, 5);
    EXPECT_EQ(ScanOneLine(h, "Orders"), "[Orders]Table name") << "table names outlive a dialect change";

    TCodeEditStringList names;
    names.Add("Parts");
    h.SetTableNames(names);
    EXPECT_EQ(editor.count, 6);
    EXPECT_EQ(ScanOneLine(h, "orders parts"), "[orders]Identifier[ ]Space[parts]Table name");
    EXPECT_FALSE(h.IsKeyword("parts"));
}

TEST_F(CodeSQLHighlighter, IsKeywordWordCharsAndAssign)
{
    h.SetSQLDialect(sqlOracle);
    for (const char* word : {"select", "Number", "dbms_output", "loop", "TO_CHAR", "ZERO_DIVIDE"}) {
        EXPECT_TRUE(h.IsKeyword(word)) << word;
    }
    for (const char* word : {"spool", "REM", "", "not a word", "selected", "SELECT "}) {
        EXPECT_FALSE(h.IsKeyword(word)) << word;
    }

    const struct {
        TSQLDialect dialect;
        bool hash, dollar, at;
    } chars[] = {{sqlOracle, true, true, false},
                 {sqlMSSQL7, false, false, true},
                 {sqlMSSQL2K, false, false, true},
                 {sqlSybase, false, false, false}};
    for (const auto& c : chars) {
        h.SetSQLDialect(c.dialect);
        const TCodeCharSet set = h.GetWordChars();
        EXPECT_EQ(set.Contains(u'#'), c.hash);
        EXPECT_EQ(set.Contains(u'$'), c.dollar);
        EXPECT_EQ(set.Contains(u'@'), c.at);
        EXPECT_TRUE(set.Contains(u'_') && set.Contains(u'7') && set.Contains(char16_t(192)) &&
                    set.Contains(char16_t(255)));
        EXPECT_FALSE(set.Contains(char16_t(215)) || set.Contains(char16_t(247)) || set.Contains(u'-') ||
                     set.Contains(u'\u0100'));
    }

    TCodeSQLHighlighter source;
    source.SetSQLDialect(sqlIngres);
    source.KeyAttri->SetStyle(TFont::fsUnderline);
    h.Assign(&source);
    EXPECT_EQ(h.SQLDialect(), sqlIngres);
    EXPECT_EQ(h.KeyAttri->Style(), TFont::fsUnderline);
}

} // namespace
