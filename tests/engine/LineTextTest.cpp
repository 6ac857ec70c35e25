#include "engine/LineText.h"
#include "engine/calcul/Calcul.h"
#include "engine/OperandText.h"

#include <gtest/gtest.h>

namespace {

TEST(LineText, CommentCutKeepsTextBeforeTheComment)
{
    const std::pair<const char*, const char*> cases[] = {
        {"M3, 1, 2 ' cut here", "M3, 1, 2 "},   {"'only a comment", ""},
        {"REM a remark", ""},                   {"M2, 1, 2 REM why", "M2, 1, 2 "},
        {"M2,1,2,REM", "M2,1,2,"},              {"FP premium.sbp", "FP premium.sbp"},
        {"FP PREMIUM.sbp", "FP PREMIUM.sbp"},   {"&REMAIN = 2", "&REMAIN = 2"},
        {"PRINT \"don't\" 'real", "PRINT \"don't\" "}, {"PRINT \"REM is kept\"", "PRINT \"REM is kept\""},
        {"label:'why", "label:"},               {"rem lower case is text", "rem lower case is text"},
    };
    for (const auto& [line, kept] : cases) {
        EXPECT_EQ(kept, CutComment(line)) << line;
    }
}

TEST(LineText, StatementWordsMatchWholeWordsOnly)
{
    EXPECT_TRUE(StartsWithWord("END", "END"));
    EXPECT_TRUE(StartsWithWord("end 'done", "END"));
    EXPECT_TRUE(StartsWithWord("INPUT\"x\" &a", "INPUT"));
    EXPECT_TRUE(StartsWithWord("Exit Shopbot", "EXIT SHOPBOT"));
    EXPECT_FALSE(StartsWithWord("ENDX = 1", "END"));
    EXPECT_FALSE(StartsWithWord("end:", "END"));
    EXPECT_FALSE(StartsWithWord("GOTOTAL", "GOTO"));
    EXPECT_FALSE(StartsWithWord("EN", "END"));
}

TEST(LineText, LabelsAreRecognised)
{
    const std::pair<const char*, const char*> cases[] = { // the line, its label name or nullptr
        {"main:", "main"}, {"  Sub1:  ", "Sub1"}, {"sub1: ' the subroutine", "sub1"},
        {"\tSKIPSAFECLEAR:\t", "SKIPSAFECLEAR"}, {"FOUR_PRS4:    'PRS4 ATCs", "FOUR_PRS4"}, {"done:REM end", "done"},
        {":", nullptr}, {"M3, 1, 2", nullptr}, {"a b:", nullptr}, {"PRINT \"x:\"", nullptr}, {"x = 2:", nullptr},
    };
    for (const auto& [line, label] : cases) {
        std::string_view name;
        EXPECT_EQ(label != nullptr, IsLabelLine(line, &name)) << line;
        if (label) {
            EXPECT_EQ(label, name) << line;
        }
    }
}

TEST(LineText, ThenWordIsFoundOutsideNamesAndQuotes)
{
    EXPECT_EQ(7u, FindThenWord("&a = 1 THEN GOTO x"));
    EXPECT_EQ(12u, FindThenWord("&athena = 1 then x"));
    EXPECT_EQ(std::string_view::npos, FindThenWord("\"then\" = &x"));
    EXPECT_EQ(std::string_view::npos, FindThenWord("&a = 1 GOTO x"));
}

TEST(LineText, SignedNumbersAreWrittenAsTheEvaluatorReturnsThem)
{
    TCalcul calcul;
    for (const char* sign : {"-", "+"}) {
        for (const char* whole : {"0", "007", "12345678901234567"}) {
            for (const char* fraction : {"", ".50", ".000", ".1234567890123456"}) {
                const std::string text = std::string(sign) + whole + fraction;
                calcul.Formula = text;
                std::string evaluated;
                ASSERT_TRUE(calcul.Calculate(evaluated)) << text;
                std::string rewritten = text;
                EXPECT_TRUE(SignedNumberAsEvaluated(rewritten)) << text;
                EXPECT_EQ(evaluated, rewritten) << text;
            }
        }
    }
    for (const char* text : {"-1e5", "+1E-2", "-1.", "-.5", "1-2", "5", "-", "--1", "-+1", "- 1", "-1,5"}) {
        std::string unchanged = text;
        EXPECT_FALSE(SignedNumberAsEvaluated(unchanged)) << text;
        EXPECT_EQ(text, unchanged);
    }
}

TEST(OperandText, OperatorTests)
{
    for (const char* t : {"a+b", "-1", "2^3", "a*b", "1/2", "&x"}) {
        EXPECT_TRUE(IsArithmeticOperator(t)) << t;
    }
    EXPECT_FALSE(IsArithmeticOperator("abc.5"));
    // What QuoteOperand leaves unquoted besides arithmetic.
    for (const char* t : {"a>b", "a>=b", "a<b", "a<=b", "a<>b", "a=b"}) {
        EXPECT_TRUE(HasOperatorChar(t, ocComparison)) << t;
    }
    EXPECT_FALSE(HasOperatorChar("a+b", ocComparison));
}

TEST(OperandText, QuoteOperandAndNormalizeAssignment)
{
    const std::pair<const char*, const char*> quoted[] = {
        {"abc", "\"ABC\""}, {"12.5", "12.5"}, {"a", "\"A\""},   {"", "\"\""},      {"\"abc\"", "\"ABC\""},
        {"\"abc", "\"ABC\""}, {"abc\"", "\"ABC\""}, {"a+b", "A+B"}, {"x>=y", "X>=Y"}, {"1e3", "1E3"},
    };
    for (const auto& [text, out] : quoted) {
        EXPECT_EQ(out, QuoteOperand(text)) << text;
    }
    const std::pair<const char*, const char*> assignments[] = {
        {"x=6", "x=6"},     {"x=abc", "x=\"ABC\""}, {"x=&y", "x=y"},     {"a = &b", "a =b"},
        {"a = 1", "a =1"},  {"x=", "x="},           {"x=a", "x=\"A\""},  {"x=5", "x=5"},
        {"a > 1", "A > 1"}, {"a >= 1", "a >=1"},    {"n=NOSUCH+1", "n=NOSUCH+1"},
    };
    for (const auto& [text, out] : assignments) {
        EXPECT_EQ(out, NormalizeAssignment(text)) << text;
    }
}

} // namespace
