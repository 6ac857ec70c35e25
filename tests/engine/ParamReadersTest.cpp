#include "engine/EngineData.h"
#include "engine/EngineErrors.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <locale>
#include <tuple>
#include <vector>

namespace {

TArrayofCmds Cmds(std::initializer_list<const char*> items)
{
    TArrayofCmds cmds;
    int i = 0;
    for (const char* item : items) {
        cmds[i++] = item;
    }
    return cmds;
}

TEST(ParamReaders, WholeTextOrDefault)
{
    const std::tuple<const char*, int, int> ints[] = {{"12", 0, 12},   {"-3", 0, -3},      {"", 7, 7},
                                                      {"  ", 7, 7},    {"1.5", 7, 7},      {"12abc", 7, 7},
                                                      {"abc", -1, -1}, {"99999999999", 4, 4}};
    for (const auto& [text, fallback, expected] : ints) {
        EXPECT_EQ(expected, TEngineData::ParamToInt(text, fallback)) << text;
    }
    // The point is the decimal separator.
    const std::tuple<const char*, float, float> floats[] = {{"1.5", 0, 1.5f}, {"-0.25", 0, -0.25f}, {"3", 0, 3},
                                                            {"1e2", 0, 100},  {"", 3, 3},           {"1,5", 3, 3},
                                                            {"abc", 720, 720}, {"1.5.2", 9, 9}};
    for (const auto& [text, fallback, expected] : floats) {
        EXPECT_FLOAT_EQ(expected, TEngineData::ParamToFloat(Cmds({"MS", text}), 1, fallback)) << text;
    }
}

TEST(ParamToStr, BlankTextGivesTheDefaultOtherTextStaysUntrimmed)
{
    EXPECT_EQ("x", TEngineData::ParamToStr("  ", "x"));
    EXPECT_EQ("x", TEngineData::ParamToStr("", "x"));
    EXPECT_EQ(" a ", TEngineData::ParamToStr(" a ", "x"));
}

TEST(ParamReaders, FailedArgumentStopsTheCommandThatReadsIt)
{
    TArrayofCmds cmds = Cmds({"MS", "2", "R*2/"});
    cmds.MarkFailed(2, "? operand ");
    EXPECT_FLOAT_EQ(2.0f, TEngineData::ParamToFloat(cmds, 1, 3.0f));
    try {
        TEngineData::ParamToFloat(cmds, 2, 1.0f);
        FAIL() << "a failed argument was read silently";
    } catch (const EArgumentFailed& e) {
        EXPECT_EQ("R*2/", e.Expression());
        EXPECT_EQ("? operand ", e.Reason());
    }
    EXPECT_THROW(TEngineData::ParamToInt(cmds, 2, 0), EArgumentFailed);
    EXPECT_THROW(TEngineData::ParamToStr(cmds, 2, ""), EArgumentFailed);
    TEngineData data;
    EXPECT_THROW(data.GetMoveParam(cmds, 3), EArgumentFailed);
}

class MoveParam : public ::testing::Test {
protected:
    MoveParam()
    {
        Data.SetOnGetPosition([this](TVector& p) { p = Pos; });
        Data.SetOnGetAB([this](float& a, float& b) {
            a = A;
            b = B;
        });
    }
    TEngineData Data;
    TVector Pos{1.0f, 2.0f, 3.0f, 0.0f};
    float A = 4.0f;
    float B = 5.0f;
};

struct MoveCase {
    std::vector<const char*> Line;
    int I;
    bool Relative;
    float Expected;
};

TEST_F(MoveParam, AbsoluteAndRelativeTable)
{
    const MoveCase cases[] = {
        {{"M3", "10", "20", "30"}, 2, false, 10},
        {{"M3", "10", "20", "30"}, 4, false, 30},
        {{"M3", "10", "20", "30"}, 2, true, 11},
        {{"M3", "10", "20", "30"}, 3, true, 22},
        {{"M3", "", "20", "30"}, 2, false, 1},  // omitted: stays
        {{"M3", "", "20", "30"}, 2, true, 1},
        {{"M5", "1", "1", "1", "", ""}, 5, false, 4}, // omitted A of M5 stays
        {{"M5", "1", "1", "1", "1", ""}, 6, true, 5},
        {{"M4", "", "", "", "7"}, 2, false, 1},
        {{"M4", "", "", "", "7"}, 5, true, 11},
        {{"MY", "5"}, 2, true, 7},
        {{"MY", ""}, 2, true, 2},
        {{"MY", "abc"}, 2, false, 2},
        {{"MZ", "-0.5"}, 2, false, -0.5f},
        {{"MA", "90"}, 2, false, 90},
        {{"MA", ""}, 2, false, 4},
        {{"MB", "5"}, 2, false, 5}, // MB reads its first argument, like MA
        {{"MB", "5"}, 2, true, 10},
        {{"JB", "5"}, 2, false, 5},
        {{"JA", "1"}, 2, true, 5},
        {{"JX", "3"}, 2, true, 4},
        {{"J2", "3", "4"}, 3, false, 4},
        {{"VA", "1", "2", "3", "4", "5"}, 6, true, 10},
        {{"MD", "10"}, 2, false, 10},
        {{"MD", "10"}, 2, true, 10}, // no axis: nothing added
        {{"MD", ""}, 2, true, 0},
        {{"M2", "1", "2", "3"}, 4, false, 3}, // Z argument of M2 still reads Z
    };
    for (const auto& c : cases) {
        Data.SetSysVarInt(21, c.Relative ? 1 : 0);
        TArrayofCmds cmds;
        int i = 0;
        for (const char* item : c.Line) {
            cmds[i++] = item;
        }
        EXPECT_FLOAT_EQ(c.Expected, Data.GetMoveParam(cmds, c.I)) << cmds[0] << " arg " << c.I << " relative "
                                                                  << c.Relative;
    }
}

TEST_F(MoveParam, ModeIsReadAtEachCall)
{
    const TArrayofCmds cmds = Cmds({"MX", "1"});
    EXPECT_FLOAT_EQ(1.0f, Data.GetMoveParam(cmds, 2));
    Data.SetSysVarInt(21, 1);
    EXPECT_FLOAT_EQ(2.0f, Data.GetMoveParam(cmds, 2));
    Data.SetSysVarInt(21, 0);
    EXPECT_FLOAT_EQ(1.0f, Data.GetMoveParam(cmds, 2));
}

TEST(ParamReaders, PointToTextHasFiveDecimalsNoThousandsSeparator)
{
    EXPECT_EQ("1234.50000,-2.00000,0.00000", TEngineData::PointToText(1234.5f, -2, 0));
    EXPECT_EQ("0.00000,0.00000,1000000.00000", TEngineData::PointToText(0.000004f, -0.000004f, 1e6f));
    EXPECT_EQ("0.12500,-0.50000,3.00000", TEngineData::PointToText(0.125f, -0.5f, 3));
    EXPECT_EQ("0.00000,12.34568,0.10000", TEngineData::PointToText(-0.0f, 12.345678f, 0.1f));
}

// A locale whose decimal separator is "," and thousands separator ".".
struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(NumberText, ProgramNumbersIgnoreTheLocale)
{
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    EXPECT_FLOAT_EQ(1.5f, TEngineData::ParamToFloat(Cmds({"MS", "1.5"}), 1, 0));
    EXPECT_FLOAT_EQ(7.0f, TEngineData::ParamToFloat(Cmds({"MS", "1,5"}), 1, 7));
    EXPECT_EQ("1234.50000,-2.00000,0.00000", TEngineData::PointToText(1234.5f, -2, 0));
    TEngineData data;
    data.SetSysVarFloat(23, 0.25f);
    EXPECT_EQ("0.25", data.GetSysVarText(23));
    std::locale::global(previous);
}

} // namespace
