#include "engine/EngineData.h"
#include "engine/SystemVars.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

namespace {

TEST(SystemVars, FreshTableTexts)
{
    TEngineData data;
    const std::pair<int, const char*> texts[] = {
        {12, "96.5"}, {21, "0"}, {22, "1"}, {-3, "-"}, {75, "720"}, {31, "1273.2395"}, {-1, "0.05"}, {41, "0.1"},
        {-2, "0"},    {6, "0"},  {24, ""},  {60, ""},  {66, ""},    {-100, ""},        {500, ""},    {-7000, ""},
    };
    for (const auto& [index, text] : texts) {
        EXPECT_EQ(text, data.GetSysVarText(index)) << index;
    }
}

TEST(SystemVars, TextTypes)
{
    EXPECT_EQ(TSysVarTextType::String, TSystemVarArray::TextType(-3));
    for (int n : {-2, 6, 7, 8, 9, 10, 21, 22}) {
        EXPECT_EQ(TSysVarTextType::Integer, TSystemVarArray::TextType(n)) << n;
    }
    for (int n : {-4, -1, 1, 5, 11, 20, 23, 28, 29, 31, 35, 41, 44, 71, 80}) {
        EXPECT_EQ(TSysVarTextType::Float, TSystemVarArray::TextType(n)) << n;
    }
    for (int n : {-100, -5, 0, 24, 25, 27, 30, 36, 40, 45, 60, 70, 81, 109, 110}) {
        EXPECT_EQ(TSysVarTextType::None, TSystemVarArray::TextType(n)) << n;
    }
}

TEST(SystemVars, OneSetFlagServesAllThreeFields)
{
    TEngineData data;
    data.SetSysVarFloat(21, 5);
    EXPECT_TRUE(data.SysVars.IsSet(21));
    // The integer field was never written, so the coordinate mode reads absolute.
    EXPECT_EQ(0, data.GetSysVarInt(21));
    EXPECT_FLOAT_EQ(5, data.GetSysVarFloat(21));
    EXPECT_EQ("", data.GetSysVarStr(21));
    EXPECT_EQ("0", data.GetSysVarText(21));
}

TEST(SystemVars, StringEntryAndItsDefault)
{
    TEngineData data;
    EXPECT_EQ("-", data.GetSysVarStr(-3));
    data.SetSysVarStr(-3, "vcarve");
    EXPECT_EQ("vcarve", data.GetSysVarText(-3));
    data.SetSysVarStr(-3, "");
    EXPECT_EQ("", data.GetSysVarText(-3));
}

TEST(SystemVars, StoredSinglesSubstituteTheirShortestText)
{
    TEngineData data;
    data.SetSysVarFloat(23, 0.1f);
    EXPECT_EQ("0.1", data.GetSysVarText(23));
    data.SetSysVarFloat(23, -1234.5f);
    EXPECT_EQ("-1234.5", data.GetSysVarText(23));
    data.SetSysVarFloat(23, 1e20f);
    EXPECT_EQ("1E20", data.GetSysVarText(23));
    data.SetSysVarInt(22, -42);
    EXPECT_EQ("-42", data.GetSysVarText(22));
}

TEST(SystemVars, OutOfRangeWritesAreIgnored)
{
    TEngineData data;
    data.SetSysVarInt(110, 7);
    data.SetSysVarInt(-101, 7);
    EXPECT_FALSE(data.SysVars.IsSet(110));
    EXPECT_EQ(0, data.GetSysVarInt(110));
    data.SetSysVarInt(109, 7);
    data.SetSysVarInt(-100, 8);
    EXPECT_EQ(7, data.GetSysVarInt(109));
    EXPECT_EQ(8, data.GetSysVarInt(-100));
}

TEST(SystemVars, PositionEntriesAreLive)
{
    TEngineData data;
    TVector pos{1.5f, -2.0f, 3.25f, 0.0f};
    float a = 45.0f;
    float b = -10.0f;
    data.SetOnGetPosition([&](TVector& p) { p = pos; });
    data.SetOnGetAB([&](float& outA, float& outB) {
        outA = a;
        outB = b;
    });
    EXPECT_FLOAT_EQ(1.5f, data.GetSysVarFloat(1));
    EXPECT_FLOAT_EQ(-2.0f, data.GetSysVarFloat(2));
    EXPECT_FLOAT_EQ(3.25f, data.GetSysVarFloat(3));
    EXPECT_FLOAT_EQ(45.0f, data.GetSysVarFloat(4));
    EXPECT_FLOAT_EQ(-10.0f, data.GetSysVarFloat(5));
    pos.X = 7.0f;
    b = 2.0f;
    EXPECT_EQ("7", data.GetSysVarText(1));
    EXPECT_EQ("2", data.GetSysVarText(5));
}

TEST(EngineDataSlots, EmptySlotsAreCheckedBeforeUse)
{
    TEngineData data;
    EXPECT_DOUBLE_EQ(0.0, data.GetLastHeading());
    EXPECT_FLOAT_EQ(0.0f, data.GetSysVarFloat(1)) << "no simulator: the position reads zero";
    EXPECT_FLOAT_EQ(0.0f, data.GetSysVarFloat(4));
    EXPECT_EQ("0", data.GetSysVarText(3));
    EXPECT_NO_THROW(data.AddMoveNode(true, true, 1, 2, 3));
    EXPECT_NO_THROW(data.AddJogNode(true, true, 1, 2, 3));
    EXPECT_THROW(data.RunFile("sub.sbp"), Exception);
}

} // namespace
