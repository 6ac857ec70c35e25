#include "engine/LineText.h"
#include "engine/OperandText.h"

#include <gtest/gtest.h>

namespace {

struct CommentCase {
    const char* Line;
    const char* Kept;
};
class CommentCut : public ::testing::TestWithParam<CommentCase> {};
TEST_P(CommentCut, KeepsTextBeforeTheComment)
{
    EXPECT_EQ(GetParam().Kept, CutComment(GetParam().Line));
}
INSTANTIATE_TEST_SUITE_P(
    Table, CommentCut,
    ::testing::Values(CommentCase{"M3, 1, 2 ' cut here", "M3, 1, 2 "}, CommentCase{"'only a comment", ""},
                      CommentCase{"REM a remark", ""}, CommentCase{"M2, 1, 2 REM why", "M2, 1, 2 "},
                      CommentCase{"M2,1,2,REM", "M2,1,2,"}, CommentCase{"FP premium.sbp", "FP premium.sbp"},
                      CommentCase{"FP PREMIUM.sbp", "FP PREMIUM.sbp"}, CommentCase{"&REMAIN = 2", "&REMAIN = 2"},
                      CommentCase{"PRINT \"don't\" 'real", "PRINT \"don't\" "},
                      CommentCase{"PRINT \"REM is kept\"", "PRINT \"REM is kept\""},
                      CommentCase{"label:'why", "label:"}, CommentCase{"rem lower case is text", "rem lower case is text"}));

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

struct LabelCase {
    const char* Line;
    bool IsLabel;
    const char* Name;
};
class Labels : public ::testing::TestWithParam<LabelCase> {};
TEST_P(Labels, Recognised)
{
    std::string_view name;
    EXPECT_EQ(GetParam().IsLabel, IsLabelLine(GetParam().Line, &name)) << GetParam().Line;
    if (GetParam().IsLabel) {
        EXPECT_EQ(GetParam().Name, name);
    }
}
INSTANTIATE_TEST_SUITE_P(Table, Labels,
                         ::testing::Values(LabelCase{"main:", true, "main"}, LabelCase{"  Sub1:  ", true, "Sub1"},
                                           LabelCase{"sub1: ' the subroutine", true, "sub1"},
                                           LabelCase{"\tSKIPSAFECLEAR:\t", true, "SKIPSAFECLEAR"},
                                           LabelCase{"FOUR_PRS4:    'PRS4 ATCs", true, "FOUR_PRS4"},
                                           LabelCase{"done:REM end", true, "done"}, LabelCase{":", false, ""},
                                           LabelCase{"M3, 1, 2", false, ""}, LabelCase{"a b:", false, ""},
                                           LabelCase{"PRINT \"x:\"", false, ""}, LabelCase{"x = 2:", false, ""}));

TEST(LineText, ThenWordIsFoundOutsideNamesAndQuotes)
{
    EXPECT_EQ(7u, FindThenWord("&a = 1 THEN GOTO x"));
    EXPECT_EQ(12u, FindThenWord("&athena = 1 then x"));
    EXPECT_EQ(std::string_view::npos, FindThenWord("\"then\" = &x"));
    EXPECT_EQ(std::string_view::npos, FindThenWord("&a = 1 GOTO x"));
}

struct NumberCase {
    const char* Text;
    bool Rewritten;
    const char* Out;
};
class PlainNumbers : public ::testing::TestWithParam<NumberCase> {};
TEST_P(PlainNumbers, WrittenAsTheEvaluatorWould)
{
    std::string out;
    EXPECT_EQ(GetParam().Rewritten, NormalizePlainNumber(GetParam().Text, out)) << GetParam().Text;
    std::string inPlace = GetParam().Text;
    EXPECT_EQ(GetParam().Rewritten, NormalizePlainNumberInPlace(inPlace));
    if (GetParam().Rewritten) {
        EXPECT_EQ(GetParam().Out, out);
        EXPECT_EQ(GetParam().Out, inPlace);
    } else {
        EXPECT_EQ(GetParam().Text, inPlace);
    }
}
INSTANTIATE_TEST_SUITE_P(Table, PlainNumbers,
                         ::testing::Values(NumberCase{"-0.3500", true, "-0.35"}, NumberCase{"-5", true, "-5"},
                                           NumberCase{"+5", true, "5"}, NumberCase{"-00.50", true, "-0.5"},
                                           NumberCase{"-0.000", true, "0"}, NumberCase{"-12.0", true, "-12"},
                                           NumberCase{"-1e5", false, ""}, NumberCase{"-0.1234567890123", false, ""},
                                           NumberCase{"-1.", false, ""}, NumberCase{"-.5", false, ""},
                                           NumberCase{"1-2", false, ""}, NumberCase{"-", false, ""},
                                           NumberCase{"--1", false, ""}, NumberCase{"-1234567890123456", false, ""}));

TEST(OperandText, OperatorTests)
{
    for (const char* t : {"a+b", "-1", "2^3", "a*b", "1/2", "&x"}) {
        EXPECT_TRUE(IsArithmeticOperator(t)) << t;
    }
    EXPECT_FALSE(IsArithmeticOperator("abc.5"));
    for (const char* t : {"a>b", "a>=b", "a<b", "a<=b", "a<>b", "a=b"}) {
        EXPECT_TRUE(IsComparisonOperator(t)) << t;
    }
    EXPECT_FALSE(IsComparisonOperator("a+b"));
}

struct QuoteCase {
    const char* Text;
    const char* Quoted;
};
class Quote : public ::testing::TestWithParam<QuoteCase> {};
TEST_P(Quote, Operand)
{
    EXPECT_EQ(GetParam().Quoted, QuoteOperand(GetParam().Text));
}
INSTANTIATE_TEST_SUITE_P(Table, Quote,
                         ::testing::Values(QuoteCase{"abc", "\"ABC\""}, QuoteCase{"12.5", "12.5"},
                                           QuoteCase{"a", "\"A\""}, QuoteCase{"", "\"\""},
                                           QuoteCase{"\"abc\"", "\"ABC\""}, QuoteCase{"\"abc", "\"ABC\""},
                                           QuoteCase{"abc\"", "\"ABC\""}, QuoteCase{"a+b", "A+B"},
                                           QuoteCase{"x>=y", "X>=Y"}, QuoteCase{"1e3", "1E3"}));

struct NormalizeCase {
    const char* Text;
    const char* Normalized;
};
class Normalize : public ::testing::TestWithParam<NormalizeCase> {};
TEST_P(Normalize, Assignment)
{
    EXPECT_EQ(GetParam().Normalized, NormalizeAssignment(GetParam().Text));
}
INSTANTIATE_TEST_SUITE_P(Table, Normalize,
                         ::testing::Values(NormalizeCase{"x=6", "x=6"}, NormalizeCase{"x=abc", "x=\"ABC\""},
                                           NormalizeCase{"x=&y", "x=y"}, NormalizeCase{"a = &b", "a =b"},
                                           NormalizeCase{"a = 1", "a =1"}, NormalizeCase{"x=", "x="},
                                           NormalizeCase{"x=a", "x=\"A\""}, NormalizeCase{"x=5", "x=5"},
                                           NormalizeCase{"a > 1", "A > 1"}, NormalizeCase{"a >= 1", "a >=1"},
                                           NormalizeCase{"n=NOSUCH+1", "n=NOSUCH+1"}));

} // namespace
