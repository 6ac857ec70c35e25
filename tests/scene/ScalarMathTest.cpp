#include "scene/base/Rounding.h"
#include "scene/base/ScalarMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

struct RoundCase {
    float value;
    std::int32_t rounded;
    std::int32_t truncated;
};

class RoundingTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundingTest, RoundsTiesToEvenAndTruncatesTowardZero)
{
    const RoundCase& c = GetParam();
    EXPECT_EQ(RoundSingle(c.value), c.rounded) << c.value;
    EXPECT_EQ(TruncSingle(c.value), c.truncated) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, RoundingTest,
    ::testing::Values(RoundCase{2.5f, 2, 2}, RoundCase{3.5f, 4, 3}, RoundCase{-2.5f, -2, -2},
                      RoundCase{-3.5f, -4, -3}, RoundCase{0.5f, 0, 0}, RoundCase{1.5f, 2, 1},
                      RoundCase{-2.7f, -3, -2}, RoundCase{2.7f, 3, 2}, RoundCase{-0.4f, 0, 0},
                      RoundCase{0.49999997f, 0, 0}, RoundCase{-0.0f, 0, 0},
                      // the largest float below 2^31 and -2^31 itself still fit
                      RoundCase{2147483520.0f, 2147483520, 2147483520},
                      RoundCase{-2147483648.0f, INT32_MIN, INT32_MIN}));

// Values with no 32-bit integer give the integer indefinite, never an undefined cast.
INSTANTIATE_TEST_SUITE_P(
    OutOfRange, RoundingTest,
    ::testing::Values(RoundCase{2147483648.0f, INT32_MIN, INT32_MIN}, RoundCase{-2147483904.0f, INT32_MIN, INT32_MIN},
                      RoundCase{1e20f, INT32_MIN, INT32_MIN}, RoundCase{-1e20f, INT32_MIN, INT32_MIN},
                      RoundCase{kInf, INT32_MIN, INT32_MIN}, RoundCase{-kInf, INT32_MIN, INT32_MIN},
                      RoundCase{kNaN, INT32_MIN, INT32_MIN}));

TEST(RoundFloatTest, KeepsTiesToEvenAsFloat)
{
    EXPECT_EQ(RoundFloat(2.5f), 2.0f);
    EXPECT_EQ(RoundFloat(3.5f), 4.0f);
    EXPECT_EQ(RoundFloat(-2.5f), -2.0f);
    EXPECT_EQ(RoundFloat(1e20f), 1e20f);  // no integer range on the float form
}

struct FracCase {
    float value, fraction;
};

class FracSingleTest : public ::testing::TestWithParam<FracCase> {};

TEST_P(FracSingleTest, KeepsTheSignOfTheValue)
{
    EXPECT_EQ(FracSingle(GetParam().value), GetParam().fraction);
}

INSTANTIATE_TEST_SUITE_P(Values, FracSingleTest,
                         ::testing::Values(FracCase{-2.75f, -0.75f}, FracCase{2.75f, 0.75f}, FracCase{3.0f, 0.0f},
                                           FracCase{-0.5f, -0.5f}, FracCase{1e10f, 0.0f}));

TEST(TruncExtendedTest, TruncatesBeyondTheIntegerRange)
{
    EXPECT_EQ(TruncExtended(-2.7L), -2.0L);
    EXPECT_EQ(TruncExtended(1e30L + 0.5L), 1e30L);
    EXPECT_EQ(TruncExtended(12345678901.75L), 12345678901.0L);
}

struct WrapCase {
    float angle, wrapped;
};

class WrapDegrees180Test : public ::testing::TestWithParam<WrapCase> {};

TEST_P(WrapDegrees180Test, BringsTheAngleIntoRange)
{
    EXPECT_EQ(WrapDegrees180(GetParam().angle), GetParam().wrapped) << GetParam().angle;
}

INSTANTIATE_TEST_SUITE_P(Values, WrapDegrees180Test,
                         ::testing::Values(WrapCase{540, 180}, WrapCase{-540, -180}, WrapCase{190, -170},
                                           WrapCase{-190, 170}, WrapCase{360, 0}, WrapCase{-360, 0},
                                           WrapCase{180, 180}, WrapCase{-180, -180}, WrapCase{0, 0},
                                           WrapCase{90, 90}, WrapCase{720, 0}, WrapCase{725, 5},
                                           WrapCase{-725, -5}, WrapCase{179.5f, 179.5f}));

TEST(WrapDegrees180Test, StaysInRangeForHugeAngles)
{
    for (float angle : {1e20f, -1e20f, 3e30f, 16777216.0f * 360.0f + 360.0f}) {
        const float r = WrapDegrees180(angle);
        EXPECT_LE(r, 180.0f) << angle;
        EXPECT_GE(r, -180.0f) << angle;
    }
    EXPECT_TRUE(std::isnan(WrapDegrees180(kNaN)));
}

struct PowerCase {
    float base, exponent, result;
};

class PowerTest : public ::testing::TestWithParam<PowerCase> {};

TEST_P(PowerTest, CornerCases)
{
    const PowerCase& c = GetParam();
    EXPECT_FLOAT_EQ(Power(c.base, c.exponent), c.result) << c.base << "^" << c.exponent;
}

INSTANTIATE_TEST_SUITE_P(Values, PowerTest,
                         ::testing::Values(PowerCase{0, 0, 1}, PowerCase{5, 0, 1}, PowerCase{-3, 0, 1},
                                           PowerCase{0, 2, 0}, PowerCase{0, 0.5f, 0}, PowerCase{2, 3, 8},
                                           PowerCase{-2, 3, -8}, PowerCase{-2, 2, 4}, PowerCase{4, 0.5f, 2},
                                           PowerCase{2, -1, 0.5f}, PowerCase{10, -2, 0.01f},
                                           PowerCase{8, 1.0f / 3.0f, 2}, PowerCase{1.5f, 2, 2.25f}));

TEST(PowerTest, WholeExponentsBeyondThe32BitRange)
{
    EXPECT_EQ(Power(2, 1e10f), std::numeric_limits<float>::infinity());
    EXPECT_EQ(Power(0.5f, 1e10f), 0.0f);
    EXPECT_EQ(Power(-1, 1e10f), 1.0f);  // every float this large is even
    EXPECT_EQ(Power(2, -1e10f), 0.0f);
    EXPECT_TRUE(std::isnan(Power(2, kNaN)));
}

struct IntPowerCase {
    float base;
    std::int32_t n;
    float result;
};

class IntPowerTest : public ::testing::TestWithParam<IntPowerCase> {};

TEST_P(IntPowerTest, RepeatedSquaring)
{
    const IntPowerCase& c = GetParam();
    EXPECT_FLOAT_EQ(IntPower(c.base, c.n), c.result) << c.base << "^" << c.n;
}

INSTANTIATE_TEST_SUITE_P(Values, IntPowerTest,
                         ::testing::Values(IntPowerCase{2, -2, 0.25f}, IntPowerCase{2, 0, 1}, IntPowerCase{0, 0, 1},
                                           IntPowerCase{3, 1, 3}, IntPowerCase{3, 5, 243}, IntPowerCase{-3, 3, -27},
                                           IntPowerCase{-3, 4, 81}, IntPowerCase{2, 10, 1024},
                                           IntPowerCase{2, 31, 2147483648.0f}, IntPowerCase{0.5f, -3, 8},
                                           IntPowerCase{1, INT32_MIN, 1}, IntPowerCase{2, INT32_MIN, 0},
                                           IntPowerCase{-1, INT32_MAX, -1}));

TEST(AngleConversionTest, UsesTheFloatAndExtendedFactors)
{
    EXPECT_EQ(DegToRad(180.0f), static_cast<float>(180.0 * 0.01745329238474369));
    EXPECT_EQ(RadToDeg(1.0f), 57.295780181884766f);
    EXPECT_NEAR(static_cast<double>(DegToRadExtended(180.0L)), 3.14159265358979323846, 1e-18);
    EXPECT_NEAR(static_cast<double>(RadToDegExtended(3.14159265358979323846264L)), 180.0, 1e-13);
    // the extended factors carry more than double precision
    EXPECT_NE(DegToRadFactorExtended, static_cast<TExtended>(static_cast<double>(DegToRadFactorExtended)));
}

TEST(TrigonometryTest, SinCosFormsAgree)
{
    float s = 0, c = 0;
    SinCos(0.5f, s, c);
    EXPECT_FLOAT_EQ(s, std::sin(0.5f));
    EXPECT_FLOAT_EQ(c, std::cos(0.5f));
    SinCosScaled(0.5f, 3.0f, s, c);
    EXPECT_FLOAT_EQ(s, 3 * std::sin(0.5f));
    EXPECT_FLOAT_EQ(c, 3 * std::cos(0.5f));
    TExtended se = 0, ce = 0;
    SinCosExtended(1.0L, se, ce);
    EXPECT_NEAR(static_cast<double>(se * se + ce * ce), 1.0, 1e-18);
}

struct ArcCase {
    double y, x, angle;
};

class ArcTan2Test : public ::testing::TestWithParam<ArcCase> {};

TEST_P(ArcTan2Test, AngleOfThePointInMinusPiToPi)
{
    const ArcCase& c = GetParam();
    EXPECT_NEAR(static_cast<double>(ArcTan2(c.y, c.x)), c.angle, 1e-15);
    EXPECT_FLOAT_EQ(ArcTan2Single(static_cast<float>(c.y), static_cast<float>(c.x)), static_cast<float>(c.angle));
}

INSTANTIATE_TEST_SUITE_P(Quadrants, ArcTan2Test,
                         ::testing::Values(ArcCase{0, 1, 0}, ArcCase{1, 0, M_PI / 2}, ArcCase{0, -1, M_PI},
                                           ArcCase{-1, 0, -M_PI / 2}, ArcCase{1, 1, M_PI / 4},
                                           ArcCase{-1, -1, -3 * M_PI / 4}));

TEST(ArcSinCosTest, ExactAtTheEnds)
{
    EXPECT_EQ(ArcSin(1.0L), ArcTan2(1.0L, 0.0L));
    EXPECT_EQ(ArcSin(-1.0L), -ArcTan2(1.0L, 0.0L));
    EXPECT_EQ(ArcCos(1.0L), 0.0L);
    EXPECT_NEAR(static_cast<double>(ArcCos(-1.0L)), M_PI, 1e-18);
    EXPECT_NEAR(static_cast<double>(ArcSin(0.5L)), M_PI / 6, 1e-15);
    EXPECT_NEAR(static_cast<double>(ArcCos(0.5L)), M_PI / 3, 1e-15);
    EXPECT_NEAR(static_cast<double>(Tangent(M_PI / 4)), 1.0, 1e-15);
}

TEST(InvSqrtTest, ReciprocalSquareRoot)
{
    EXPECT_EQ(InvSqrt(4.0), 0.5);
    EXPECT_EQ(InvSqrt(0.0), std::numeric_limits<double>::infinity());
}

TEST(MinMaxTest, PickTheExtremes)
{
    EXPECT_EQ(MinOf3(3, 1, 2), 1);
    EXPECT_EQ(MinOf3(1, 3, 2), 1);
    EXPECT_EQ(MinOf3(3, 2, 1), 1);
    EXPECT_EQ(MaxOf3(3, 1, 2), 3);
    EXPECT_EQ(MaxOf3(1, 3, 2), 3);
    EXPECT_EQ(MaxOf3(1, 2, 3), 3);
    EXPECT_EQ(MaxInteger(-5, 3), 3);
    EXPECT_EQ(MaxInteger(INT32_MIN, INT32_MAX), INT32_MAX);
    EXPECT_EQ(MaxExtended(-1.5L, -2.5L), -1.5L);
}

struct ClampCase {
    float value, min, max, result;
};

class ClampValueTest : public ::testing::TestWithParam<ClampCase> {};

TEST_P(ClampValueTest, TestsMinFirst)
{
    const ClampCase& c = GetParam();
    EXPECT_EQ(ClampValue(c.value, c.min, c.max), c.result);
}

INSTANTIATE_TEST_SUITE_P(Values, ClampValueTest,
                         ::testing::Values(ClampCase{-1, 0, 1, 0}, ClampCase{2, 0, 1, 1}, ClampCase{0.5f, 0, 1, 0.5f},
                                           ClampCase{0, 0, 1, 0}, ClampCase{1, 0, 1, 1},
                                           // min above max: below min gives min, the rest max
                                           ClampCase{0.5f, 1, 0, 1}, ClampCase{-7, 1, 0, 1}, ClampCase{1, 1, 0, 0},
                                           ClampCase{5, 1, 0, 0}));

struct RangeCase {
    float x, a, b;
    bool inside;
};

class IsInRangeTest : public ::testing::TestWithParam<RangeCase> {};

TEST_P(IsInRangeTest, InclusiveWhicheverEndIsSmaller)
{
    const RangeCase& c = GetParam();
    EXPECT_EQ(IsInRange(c.x, c.a, c.b), c.inside) << c.x << " in " << c.a << ".." << c.b;
}

INSTANTIATE_TEST_SUITE_P(Values, IsInRangeTest,
                         ::testing::Values(RangeCase{5, 10, 0, true}, RangeCase{10, 0, 10, true},
                                           RangeCase{0, 0, 10, true}, RangeCase{0, 10, 0, true},
                                           RangeCase{10.001f, 0, 10, false}, RangeCase{-0.001f, 10, 0, false},
                                           RangeCase{kNaN, 0, 10, false}));

struct PowerOf2Case {
    std::int32_t n, result;
};

class RoundUpToPowerOf2Test : public ::testing::TestWithParam<PowerOf2Case> {};

TEST_P(RoundUpToPowerOf2Test, SmallestPowerOfTwoNotBelow)
{
    EXPECT_EQ(RoundUpToPowerOf2(GetParam().n), GetParam().result) << GetParam().n;
}

INSTANTIATE_TEST_SUITE_P(Values, RoundUpToPowerOf2Test,
                         ::testing::Values(PowerOf2Case{INT32_MIN, 1}, PowerOf2Case{-5, 1}, PowerOf2Case{0, 1},
                                           PowerOf2Case{1, 1}, PowerOf2Case{2, 2}, PowerOf2Case{3, 4},
                                           PowerOf2Case{256, 256}, PowerOf2Case{257, 512},
                                           PowerOf2Case{1 << 30, 1 << 30},
                                           // nothing larger fits: capped instead of overflowing
                                           PowerOf2Case{(1 << 30) + 1, 1 << 30}, PowerOf2Case{INT32_MAX, 1 << 30}));

TEST(SqrtByteTableTest, SquareRootRampSharedAfterFirstUse)
{
    const std::uint8_t* t = SqrtByteTable();
    EXPECT_EQ(t, SqrtByteTable());
    EXPECT_EQ(t[0], 0);
    EXPECT_EQ(t[255], 255);
    EXPECT_EQ(t[1], 15);      // sqrt(1/255)*255 = 15.97
    EXPECT_EQ(t[64], 127);    // sqrt(64/255)*255 = 127.75
    EXPECT_EQ(t[128], 180);   // 180.67
    for (int i = 1; i < 256; ++i)
        EXPECT_GE(t[i], t[i - 1]) << i;
}

} // namespace
