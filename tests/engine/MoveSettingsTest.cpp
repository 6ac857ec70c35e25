// System variables written by the speed, value and setting commands, the direction
// forms of MD, and the commands a preview only logs.

#include "EnginePathSupport.h"

#include "engine/MoveDirections.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

namespace {

struct VarCase {
    const char* Program;
    int Var;
    float Value;
};

// Omitted arguments take their defaults, not the old values.
const VarCase VarCases[] = {
    {"MS, 2", 71, 2},         {"MS, 2", 72, 2},         {"MS, 9, 9\nMS, 2", 73, 1},
    {"MS, 2", 75, 720},       {"JS, 5, 6", 77, 5},      {"JS, 5, 6", 78, 6},
    {"JS", 80, 1440},         {"VC, 0.5", 23, 0.5f},    {"VC, 0.5, 9, 9, 2", 28, 2},
    {"VC, 0.5", -4, 10},      {"VC, 0.5", 29, 1},       {"VS, 1, 2, 3, 4, 5, 6, 7, 8", 72, 1},
    {"VS, 1, 2, 3, 4, 5, 6, 7, 8", 75, 4},  {"VS, 1, 2, 3, 4, 5, 6, 7, 8", 76, 5},
    {"VS, 1, 2, 3, 4, 5, 6, 7, 8", 80, 8},  {"VU, 1, 2, 3, 4, 0.1, 6, 7, 8, 9", 34, 4},
    {"VU, 1, 2, 3, 4, 0.1, 6, 7, 8, 9", 35, 9}, {"VU, 1, 2, 3, 4, 0.1", -1, 0.1f},
    {"VL", 12, 96.5f},        {"VL, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11", 19, 10},
    {"VL, , , , , , , , , , , 11", 20, 11}, {"VB, , 5", 42, 5},
    {"VA, 1, 2, 3, 4, 5, 6, 7", 7, 7},
    {"M3, 1, 2, 3\nZ3", 2, 0}, {"M3, 1, 2, 3\nZ2\nM2, 1, 1", 1, 1},
};

TEST(MoveSettings, SystemVariables)
{
    for (const VarCase& c : VarCases) {
        TPathEngine e;
        e.Run(c.Program);
        EXPECT_FLOAT_EQ(e.Data.GetSysVarFloat(c.Var), c.Value) << c.Program << " %(" << c.Var << ")";
    }
}

TEST(MoveSettings, ModesTextsAndVariables)
{
    TPathEngine e;
    e.Run("SR\nVC, 0.5\n&a = 1\nVB, 1, 2, 3, 4, 5, 6, 7\nSF, 3");
    EXPECT_EQ(e.Data.GetSysVarInt(21), 1);
    EXPECT_EQ(e.Data.GetSysVarInt(-2), 3);
    EXPECT_EQ(e.Data.GetSysVarStr(-3), "-");
    EXPECT_EQ(e.Move.VBValues().V6, 6);
    EXPECT_EQ(e.Move.VBValues().V7, 7.0f);
    e.Calcul.GetVariables().SetValue("a", "1");
    e.Shell.VariablesText = "a=1";
    e.Run("SA\nSL");
    EXPECT_EQ(e.Data.GetSysVarInt(21), 0);
    EXPECT_EQ(e.Shell.VariablesText, "");
}

TEST(MoveSettings, ZeroingAddsAAndBIntoTheirOffsets)
{
    for (const char* word : {"Z5", "UZ"}) {
        TPathEngine e;
        e.Run(std::string("M5, 1, 2, 3, 4, 5\n") + word);
        float a = 0, b = 0;
        e.Move.GetZeroAB(a, b);
        EXPECT_EQ(a, 4.0f) << word;
        EXPECT_EQ(b, 5.0f) << word;
        EXPECT_EQ(e.Move.ZeroOffset().Z, 3.0f) << word;
    }
}

TEST(MoveSettings, DirectionForms)
{
    EXPECT_EQ(ClockToDegrees("3:00"), 90);
    EXPECT_EQ(ClockToDegrees("12:00"), 360);
    EXPECT_EQ(CompassToDegrees("E"), 90);
    EXPECT_EQ(CompassToDegrees("NNW"), 337.5);
    EXPECT_EQ(CompassToDegrees("X"), 0);
    EXPECT_EQ(DepthToZ("", 2), 2);
    EXPECT_EQ(DepthToZ("0.5u", 2), 2.5f);
    EXPECT_EQ(DepthToZ(" 0.5d", 2), 1.5f);
    EXPECT_EQ(DepthToZ("0.5", 2), 2.5f);
    for (const char* bad : {"3:3.5", "abc"}) {
        EXPECT_THROW(ClockToDegrees(bad), EConvertError) << bad;
    }
    EXPECT_THROW(DepthToZ("xD", 0), EConvertError);
    // A bad direction ends the run with the position unchanged.
    TPathEngine e;
    TVector pos;
    EXPECT_THROW(e.Run("MX, 1\nMD, 1, 0, junk"), Exception);
    e.Move.GetPosition(pos);
    EXPECT_EQ(pos.X, 1.0f);
}

} // namespace
