#include "scene/base/Rounding.h"
#include "scene/base/ScalarMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(RoundingTest, RoundsTiesToEvenAndTruncatesTowardZero)
{
    struct Case {
        float value;
        std::int32_t rounded, truncated;
    } cases[] = {{2.5f, 2, 2}, {3.5f, 4, 3}, {-2.5f, -2, -2}, {-3.5f, -4, -3}, {0.5f, 0, 0}, {1.5f, 2, 1},
                 {-2.7f, -3, -2}, {2.7f, 3, 2}, {-0.4f, 0, 0}, {0.49999997f, 0, 0}, {-0.0f, 0, 0},
                 // the largest float below 2^31 and -2^31 itself still fit
                 {2147483520.0f, 2147483520, 2147483520}, {-2147483648.0f, INT32_MIN, INT32_MIN},
                 // values with no 32-bit integer give the integer indefinite, never an undefined cast
                 {2147483648.0f, INT32_MIN, INT32_MIN}, {-2147483904.0f, INT32_MIN, INT32_MIN},
                 {1e20f, INT32_MIN, INT32_MIN}, {-1e20f, INT32_MIN, INT32_MIN}, {kInf, INT32_MIN, INT32_MIN},
                 {-kInf, INT32_MIN, INT32_MIN}, {kNaN, INT32_MIN, INT32_MIN}};
    for (const Case& c : cases) {
        EXPECT_EQ(RoundSingle(c.value), c.rounded) << c.value;
        EXPECT_EQ(TruncSingle(c.value), c.truncated) << c.value;
    }
    EXPECT_EQ(RoundFloat(2.5f), 2.0f);
    EXPECT_EQ(RoundFloat(3.5f), 4.0f);
    EXPECT_EQ(RoundFloat(-2.5f), -2.0f);
    EXPECT_EQ(RoundFloat(1e20f), 1e20f);  // no integer range on the float form
    EXPECT_EQ(TruncExtended(-2.7L), -2.0L);
    EXPECT_EQ(TruncExtended(1e30L + 0.5L), 1e30L);
    EXPECT_EQ(TruncExtended(12345678901.75L), 12345678901.0L);
    // the fraction keeps the sign of the value
    const float frac[][2] = {{-2.75f, -0.75f}, {2.75f, 0.75f}, {3.0f, 0.0f}, {-0.5f, -0.5f}, {1e10f, 0.0f}};
    for (const auto& c : frac)
        EXPECT_EQ(FracSingle(c[0]), c[1]) << c[0];
}

TEST(WrapDegrees180Test, BringsTheAngleIntoRange)
{
    const float cases[][2] = {{540, 180}, {-540, -180}, {190, -170}, {-190, 170}, {360, 0}, {-360, 0}, {180, 180},
                              {-180, -180}, {0, 0}, {90, 90}, {720, 0}, {725, 5}, {-725, -5}, {179.5f, 179.5f}};
    for (const auto& c : cases)
        EXPECT_EQ(WrapDegrees180(c[0]), c[1]) << c[0];
    for (float angle : {1e20f, -1e20f, 3e30f, 16777216.0f * 360.0f + 360.0f}) {
        const float r = WrapDegrees180(angle);
        EXPECT_LE(r, 180.0f) << angle;
        EXPECT_GE(r, -180.0f) << angle;
    }
    EXPECT_TRUE(std::isnan(WrapDegrees180(kNaN)));
}

TEST(PowerTest, CornerCases)
{
    const float cases[][3] = {{0, 0, 1}, {5, 0, 1}, {-3, 0, 1}, {0, 2, 0}, {0, 0.5f, 0}, {2, 3, 8}, {-2, 3, -8},
                              {-2, 2, 4}, {4, 0.5f, 2}, {2, -1, 0.5f}, {10, -2, 0.01f}, {8, 1.0f / 3.0f, 2},
                              {1.5f, 2, 2.25f}};
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(Power(c[0], c[1]), c[2]) << c[0] << "^" << c[1];
    // whole exponents beyond the 32-bit range
    EXPECT_EQ(Power(2, 1e10f), kInf);
    EXPECT_EQ(Power(0.5f, 1e10f), 0.0f);
    EXPECT_EQ(Power(-1, 1e10f), 1.0f);  // every float this large is even
    EXPECT_EQ(Power(2, -1e10f), 0.0f);
    EXPECT_TRUE(std::isnan(Power(2, kNaN)));
}

TEST(IntPowerTest, RepeatedSquaring)
{
    struct Case {
        float base;
        std::int32_t n;
        float result;
    } cases[] = {{2, -2, 0.25f}, {2, 0, 1}, {0, 0, 1}, {3, 1, 3}, {3, 5, 243}, {-3, 3, -27}, {-3, 4, 81},
                 {2, 10, 1024}, {2, 31, 2147483648.0f}, {0.5f, -3, 8}, {1, INT32_MIN, 1}, {2, INT32_MIN, 0},
                 {-1, INT32_MAX, -1}};
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(IntPower(c.base, c.n), c.result) << c.base << "^" << c.n;
}

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

TEST(ArcTan2Test, AngleOfThePointInMinusPiToPi)
{
    const double cases[][3] = {{0, 1, 0}, {1, 0, M_PI / 2}, {0, -1, M_PI}, {-1, 0, -M_PI / 2}, {1, 1, M_PI / 4},
                               {-1, -1, -3 * M_PI / 4}};
    for (const auto& c : cases) {
        EXPECT_NEAR(static_cast<double>(ArcTan2(c[0], c[1])), c[2], 1e-15) << c[0] << "," << c[1];
        EXPECT_FLOAT_EQ(ArcTan2Single(static_cast<float>(c[0]), static_cast<float>(c[1])), static_cast<float>(c[2]))
            << c[0] << "," << c[1];
    }
}

TEST(ArcSinCosTest, ExactAtTheEnds)
{
    EXPECT_EQ(ArcSin(1.0L), ArcTan2(1.0L, 0.0L));
    EXPECT_EQ(ArcSin(-1.0L), -ArcTan2(1.0L, 0.0L));
    EXPECT_EQ(ArcCos(1.0L), 0.0L);
    EXPECT_NEAR(static_cast<double>(ArcCos(-1.0L)), M_PI, 1e-18);
    EXPECT_NEAR(static_cast<double>(ArcSin(0.5L)), M_PI / 6, 1e-15);
    EXPECT_NEAR(static_cast<double>(ArcCos(0.5L)), M_PI / 3, 1e-15);
    EXPECT_NEAR(static_cast<double>(Tangent(M_PI / 4)), 1.0, 1e-15);
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

TEST(ClampValueTest, TestsMinFirst)
{
    const float cases[][4] = {{-1, 0, 1, 0}, {2, 0, 1, 1}, {0.5f, 0, 1, 0.5f}, {0, 0, 1, 0}, {1, 0, 1, 1},
                              // min above max: below min gives min, the rest max
                              {0.5f, 1, 0, 1}, {-7, 1, 0, 1}, {1, 1, 0, 0}, {5, 1, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ClampValue(c[0], c[1], c[2]), c[3]) << c[0] << " in " << c[1] << ".." << c[2];
}

TEST(IsInRangeTest, InclusiveWhicheverEndIsSmaller)
{
    struct Case {
        float x, a, b;
        bool inside;
    } cases[] = {{5, 10, 0, true}, {10, 0, 10, true}, {0, 0, 10, true}, {0, 10, 0, true}, {10.001f, 0, 10, false},
                 {-0.001f, 10, 0, false}, {kNaN, 0, 10, false}};
    for (const Case& c : cases)
        EXPECT_EQ(IsInRange(c.x, c.a, c.b), c.inside) << c.x << " in " << c.a << ".." << c.b;
}

TEST(RoundUpToPowerOf2Test, SmallestPowerOfTwoNotBelow)
{
    const std::int32_t cases[][2] = {{INT32_MIN, 1}, {-5, 1}, {0, 1}, {1, 1}, {2, 2}, {3, 4}, {256, 256},
                                     {257, 512}, {1 << 30, 1 << 30},
                                     // nothing larger fits: capped instead of overflowing
                                     {(1 << 30) + 1, 1 << 30}, {INT32_MAX, 1 << 30}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundUpToPowerOf2(c[0]), c[1]) << c[0];
}

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
