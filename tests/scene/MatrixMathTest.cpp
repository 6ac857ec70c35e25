#include "scene/base/VectorGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ExpectMatrixNear(const TMatrix& actual, const TMatrix& expected, float tolerance)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_NEAR(actual[i][j], expected[i][j], tolerance) << "[" << i << "][" << j << "]";
}

void ExpectMatrixEq(const TMatrix& actual, const TMatrix& expected)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_EQ(actual[i][j], expected[i][j]) << "[" << i << "][" << j << "]";
}

// An integer matrix whose products and minors are exact in float32.
const TMatrix kA{{{2, -1, 0, 3}, {1, 4, -2, 0}, {0, 5, 1, -1}, {3, 0, 2, 1}}};
const TMatrix kB{{{1, 0, 2, -1}, {0, 3, 1, 2}, {-2, 1, 0, 4}, {1, -1, 3, 0}}};

TMatrix Rotation(float sx, float sy, float sz, const TAffineVector& t)
{
    TMatrix m = MultiplyMatrices(MakeRotationMatrixX(std::sin(sx), std::cos(sx)),
                                 MultiplyMatrices(MakeRotationMatrixY(std::sin(sy), std::cos(sy)),
                                                  MakeRotationMatrixZ(std::sin(sz), std::cos(sz))));
    m[3] = {t.X, t.Y, t.Z, 1};
    return m;
}

TEST(MatrixBuildTest, ScaleTranslationMovesPoints)
{
    const TAffineVector p = TransformAffinePoint(TAffineVector{1, 2, 3}, MakeScaleTranslationMatrix({2, 2, 2}, {10, 0, 0}));
    EXPECT_EQ(p.X, 12);
    EXPECT_EQ(p.Y, 4);
    EXPECT_EQ(p.Z, 6);
    // a direction ignores the translation
    const TAffineVector d = TransformVector(TAffineVector{1, 2, 3}, MakeScaleTranslationMatrix({2, 2, 2}, {10, 0, 0}));
    EXPECT_EQ(d.X, 2);
}

TEST(AxisRotationTest, QuarterTurnFollowsTheRightHandRuleAndAxisAngleTurnsTheOtherWay)
{
    const struct {
        const char* name;
        TMatrix (*builder)(float, float);
        TVector from, to;  // a +90 degree turn maps from to to
        TVector axis;      // any length
    } cases[] = {{"X", MakeRotationMatrixX, {0, 1, 0, 0}, {0, 0, 1, 0}, {5, 0, 0, 0}},
                 {"Y", MakeRotationMatrixY, {0, 0, 1, 0}, {1, 0, 0, 0}, {0, 0.5f, 0, 0}},
                 {"Z", MakeRotationMatrixZ, {1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}}};
    for (const auto& c : cases) {
        const TVector r = TransformVector(c.from, c.builder(1, 0));
        EXPECT_TRUE(VectorEquals(r, c.to)) << c.name << ": " << r.X << "," << r.Y << "," << r.Z << "," << r.W;
        for (float a : {0.0f, 0.3f, 1.5707964f, -2.0f, 3.1415927f}) {
            SCOPED_TRACE(::testing::Message() << c.name << " " << a);
            ExpectMatrixNear(MakeRotationMatrix(c.axis, a), c.builder(std::sin(-a), std::cos(a)), 1e-6f);
        }
    }
    ExpectMatrixNear(MakeRotationMatrix(TAffineVector{5, 0, 0}, 0.3f), MakeRotationMatrixX(std::sin(-0.3f), std::cos(0.3f)),
                     1e-6f);
}

TEST(MatrixBuildTest, RotateVectorAroundAnOddAxisKeepsLengthAndAxisComponent)
{
    const TAffineVector axis{1, 1, 0};
    const TAffineVector v{3, -1, 2};
    const TAffineVector r = RotateVectorAroundAxis(v, axis, 0.7f);
    EXPECT_NEAR(AffineVectorLength(r), AffineVectorLength(v), 1e-5);
    EXPECT_NEAR(AffineDotProduct(r, NormalizedAffineVector(axis)), AffineDotProduct(v, NormalizedAffineVector(axis)), 1e-5);
    // a half turn about Z flips X and Y
    const TAffineVector h = RotateVectorAroundAxis(TAffineVector{1, 2, 3}, ZVector, 3.14159265f);
    EXPECT_NEAR(h.X, -1, 1e-6);
    EXPECT_NEAR(h.Y, -2, 1e-6);
    EXPECT_EQ(h.Z, 3);
}

TEST(MatrixProductTest, IntegerProductByHand)
{
    // row 0 of kA times the columns of kB
    const TMatrix p = MultiplyMatrices(kA, kB);
    const TMatrix expected{{{5, -6, 12, -4}, {5, 10, 6, -1}, {-3, 17, 2, 14}, {0, 1, 9, 5}}};
    ExpectMatrixEq(p, expected);
}

TEST(MatrixProductTest, TheLeftMatrixIsAppliedFirst)
{
    const TMatrix translate = MakeScaleTranslationMatrix({1, 1, 1}, {10, 0, 0});
    const TMatrix scale = MakeScaleTranslationMatrix({2, 2, 2}, {0, 0, 0});
    EXPECT_EQ(TransformAffinePoint(TAffineVector{1, 0, 0}, MultiplyMatrices(translate, scale)).X, 22);
    EXPECT_EQ(TransformAffinePoint(TAffineVector{1, 0, 0}, MultiplyMatrices(scale, translate)).X, 12);
}

TEST(MatrixProductTest, ResultMayBeAnOperand)
{
    const TMatrix expected = MultiplyMatrices(kA, kB);
    TMatrix a = kA, b = kB;
    MultiplyMatrices(a, b, a);
    ExpectMatrixEq(a, expected);
    a = kA;
    MultiplyMatrices(a, b, b);
    ExpectMatrixEq(b, expected);
    b = kB;
    MultiplyMatricesSafe(a, b, a);
    ExpectMatrixEq(a, expected);
    TMatrix sq = kA;
    MultiplyMatricesSafe(sq, sq, sq);
    ExpectMatrixEq(sq, MultiplyMatrices(kA, kA));
}

TEST(MatrixProductTest, TransformVectorUsesAllFourRows)
{
    const TVector r = TransformVector(TVector{1, 2, 3, 4}, kA);
    // 1*row0 + 2*row1 + 3*row2 + 4*row3
    EXPECT_TRUE(VectorEquals(r, TVector{16, 22, 7, 4}));
}

TEST(MatrixProductTest, SumsOfProductsRoundOnce)
{
    // 2^24 + 1 - 2^24: float32 step by step would lose the 1.
    const TMatrix m{{{16777216.0f, 0, 0, 0}, {1, 0, 0, 0}, {-16777216.0f, 0, 0, 0}, {0, 0, 0, 0}}};
    EXPECT_EQ(TransformVector(TVector{1, 1, 1, 0}, m).X, 1);
}

TEST(MatrixDeterminantTest, CofactorExpansion)
{
    const struct {
        const char* name;
        TMatrix m;
        float det;
    } cases[] = {{"identity", IdentityMatrix, 1},
                 {"scale", MakeScaleTranslationMatrix({2, 3, 4}, {7, 8, 9}), 24},
                 {"swapped rows", {{{0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}, -1},
                 {"integer A", kA, -103}, {"integer B", kB, 13},
                 {"zero row", {{{1, 2, 3, 4}, {0, 0, 0, 0}, {5, 6, 7, 8}, {1, 0, 0, 1}}}, 0},
                 {"dependent rows", {{{1, 2, 3, 4}, {2, 4, 6, 8}, {5, 6, 7, 8}, {1, 0, 0, 1}}}, 0},
                 {"last column only", {{{2, 0, 0, 1}, {0, 3, 0, 0}, {0, 0, 4, 0}, {1, 0, 0, 1}}}, 12}};
    for (const auto& c : cases)
        EXPECT_EQ(MatrixDeterminant(c.m), c.det) << c.name;
    EXPECT_EQ(MatrixDeterminant3(1, 0, 0, 0, 1, 0, 0, 0, 1), 1);
    EXPECT_EQ(MatrixDeterminant3(2, 0, 0, 0, 3, 0, 0, 0, 4), 24);
    EXPECT_EQ(MatrixDeterminant3(1, 2, 3, 4, 5, 6, 7, 8, 9), 0);
    EXPECT_EQ(MatrixDeterminant3(2, -1, 0, 1, 4, -2, 0, 5, 1), 29);
    // swapping two columns of the arguments changes the sign
    EXPECT_EQ(MatrixDeterminant3(1, 4, -2, 2, -1, 0, 0, 5, 1), -29);
}

TEST(MatrixInverseTest, AdjointTimesMatrixIsDeterminantTimesIdentity)
{
    TMatrix adj = kA;
    AdjointMatrix(adj);
    TMatrix expected = IdentityMatrix;
    ScaleMatrix(expected, -103);
    ExpectMatrixEq(MultiplyMatrices(kA, adj), expected);
    ExpectMatrixEq(MultiplyMatrices(adj, kA), expected);
}

TEST(MatrixInverseTest, ProductWithTheInverseIsIdentity)
{
    const TMatrix regular[] = {kA, kB, MakeScaleTranslationMatrix({2, 0.5f, 4}, {-3, 7, 1}),
                               Rotation(0.3f, -1.1f, 2.0f, {5, -6, 7}),
                               // a perspective-like last column
                               TMatrix{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, -1}, {0, 0, -2, 0}}}};
    for (const TMatrix& m : regular) {
        SCOPED_TRACE(&m - regular);
        TMatrix inv = m;
        InvertMatrix(inv);
        ExpectMatrixNear(MultiplyMatrices(m, inv), IdentityMatrix, 2e-6f);
        ExpectMatrixNear(MultiplyMatrices(inv, m), IdentityMatrix, 2e-6f);
    }
}

TEST(MatrixInverseTest, SingularMatricesBecomeTheIdentity)
{
    const TMatrix singular[] = {
        {{{1, 2, 3, 4}, {0, 0, 0, 0}, {5, 6, 7, 8}, {1, 0, 0, 1}}},    // zero row
        {{{1, 2, 3, 4}, {2, 4, 6, 8}, {5, 6, 7, 8}, {1, 0, 0, 1}}},    // dependent rows
        ZeroMatrix,
        MakeScaleTranslationMatrix({1e-14f, 1e-14f, 1e-13f}, {1, 2, 3}),  // |det| below Epsilon2
        MakeScaleTranslationMatrix({std::nanf(""), 1, 1}, {0, 0, 0}),       // no determinant at all
    };
    for (const TMatrix& m : singular) {
        TMatrix inv = m;
        InvertMatrix(inv);
        ExpectMatrixEq(inv, IdentityMatrix);
    }
}

TEST(MatrixInverseTest, TinyButRegularMatrixInvertsWithoutOverflow)
{
    // det = 1e-36 is above Epsilon2; 1/det does not fit in float32, the inverse does.
    TMatrix m = MakeScaleTranslationMatrix({1e-12f, 1e-12f, 1e-12f}, {0, 0, 0});
    InvertMatrix(m);
    EXPECT_FLOAT_EQ(m[0][0], 1e12f);
    EXPECT_FLOAT_EQ(m[2][2], 1e12f);
    EXPECT_FLOAT_EQ(m[3][3], 1);
}

TEST(MatrixInverseTest, RotationScaleInverseMatchesTheGeneralInverse)
{
    TMatrix m = Rotation(0.5f, 0.2f, -0.9f, {3, 4, 5});
    for (int i = 0; i < 3; ++i)
        ScaleVector(m[i], 2.5f);
    TMatrix general = m;
    InvertMatrix(general);
    ExpectMatrixNear(InvertRotationScaleMatrix(m), general, 1e-6f);
    ExpectMatrixEq(InvertRotationScaleMatrix(TMatrix{{{0, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {1, 2, 3, 1}}}),
                   IdentityMatrix);
}

TEST(MatrixTransposeTest, SwapsRowsAndColumns)
{
    TMatrix t = kA;
    TransposeMatrix(t);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_EQ(t[i][j], kA[j][i]);
    TMatrix s = kB;
    ScaleMatrix(s, -0.5f);
    EXPECT_EQ(s[1][1], -1.5f);
    EXPECT_EQ(s[3][2], -1.5f);
}

TEST(NormalizeMatrixTest, SkewedRowsBecomeOrthonormal)
{
    TMatrix m{{{2, 0.5f, 0, 7}, {0, 3, 0, 7}, {9, 9, 9, 9}, {4, 5, 6, 1}}};
    NormalizeMatrix(m);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(VectorXYZLength(m[i]), 1, 1e-6) << i;
        EXPECT_EQ(m[i].W, 0) << i;
        for (int j = i + 1; j < 3; ++j)
            EXPECT_NEAR(AffineDotProduct(m[i], m[j]), 0, 1e-6) << i << "," << j;
    }
    // row 1 keeps its direction, row 0 stays in the plane of the two, turned square
    EXPECT_TRUE(VectorEquals(m[1], TVector{0, 1, 0, 0}));
    EXPECT_NEAR(m[0].X, 1, 1e-6);
    EXPECT_NEAR(m[2].Z, 1, 1e-6);
    EXPECT_TRUE(VectorEquals(m[3], OriginPoint));
}

TEST(DecomposeMatrixTest, RecoversScaleRotationAndTranslation)
{
    struct Case {
        TAffineVector scale, angles, translation;
    } cases[] = {{{1, 1, 1}, {0, 0, 0}, {0, 0, 0}}, {{2, 3, 4}, {0, 0, 0}, {1, 2, 3}},
                 {{1, 1, 1}, {0.4f, -0.3f, 1.2f}, {-5, 0, 2}}, {{0.5f, 2, 7}, {-2.5f, 1.2f, 3.0f}, {0, 0, 0}},
                 // a mirrored system: all three scales negative
                 {{-2, -2, -2}, {0.1f, 0.2f, 0.3f}, {1, 1, 1}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        const TMatrix m = MultiplyMatrices(MakeScaleTranslationMatrix(c.scale, {0, 0, 0}),
                                           Rotation(c.angles.X, c.angles.Y, c.angles.Z, c.translation));
        TMatrixDecomposition d{};
        ASSERT_TRUE(DecomposeMatrix(m, d));
        EXPECT_NEAR(d.ScaleX, c.scale.X, 1e-5);
        EXPECT_NEAR(d.ScaleY, c.scale.Y, 1e-5);
        EXPECT_NEAR(d.ScaleZ, c.scale.Z, 1e-5);
        EXPECT_NEAR(d.ShearXY, 0, 1e-6);
        EXPECT_NEAR(d.ShearXZ, 0, 1e-6);
        EXPECT_NEAR(d.ShearYZ, 0, 1e-6);
        EXPECT_NEAR(d.RotateX, c.angles.X, 1e-5);
        EXPECT_NEAR(d.RotateY, c.angles.Y, 1e-5);
        EXPECT_NEAR(d.RotateZ, c.angles.Z, 1e-5);
        EXPECT_EQ(d.TranslateX, c.translation.X);
        EXPECT_EQ(d.TranslateY, c.translation.Y);
        EXPECT_EQ(d.TranslateZ, c.translation.Z);
        EXPECT_EQ(d.PerspectiveX, 0);
        EXPECT_EQ(d.PerspectiveW, 0);
    }
}

TEST(DecomposeMatrixTest, ShearIsRelativeToTheTrueScale)
{
    // row 1 leans over by half a unit of row 0 while both are 4 long
    const TMatrix m{{{4, 0, 0, 0}, {2, 4, 0, 0}, {0, 0, 4, 0}, {0, 0, 0, 1}}};
    TMatrixDecomposition d{};
    ASSERT_TRUE(DecomposeMatrix(m, d));
    EXPECT_FLOAT_EQ(d.ScaleX, 4);
    EXPECT_FLOAT_EQ(d.ScaleY, 4);
    EXPECT_FLOAT_EQ(d.ScaleZ, 4);
    EXPECT_FLOAT_EQ(d.ShearXY, 0.5f);
    EXPECT_EQ(d.ShearXZ, 0);
    EXPECT_EQ(d.RotateZ, 0);
}

TEST(DecomposeMatrixTest, HomogeneousScaleAndPerspective)
{
    // everything divided by m[3][3] first
    TMatrix m = MakeScaleTranslationMatrix({4, 4, 4}, {2, 4, 6});
    m[3][3] = 2;
    TMatrixDecomposition d{};
    ASSERT_TRUE(DecomposeMatrix(m, d));
    EXPECT_FLOAT_EQ(d.ScaleX, 2);
    EXPECT_FLOAT_EQ(d.TranslateZ, 3);

    TMatrix p = IdentityMatrix;
    p[0][3] = 0.5f;
    ASSERT_TRUE(DecomposeMatrix(p, d));
    EXPECT_FLOAT_EQ(d.PerspectiveX, 0.5f);
    EXPECT_EQ(d.PerspectiveY, 0);
    EXPECT_FLOAT_EQ(d.PerspectiveW, 1);
}

TEST(DecomposeMatrixTest, RefusesWhatCannotBeDecomposed)
{
    TMatrixDecomposition d{};
    TMatrix noW = IdentityMatrix;
    noW[3][3] = 0;
    EXPECT_FALSE(DecomposeMatrix(noW, d));
    EXPECT_FALSE(DecomposeMatrix(TMatrix{{{1, 2, 3, 0}, {2, 4, 6, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}, d));
    EXPECT_FALSE(DecomposeMatrix(ZeroMatrix, d));
}

TEST(DecomposeMatrixTest, GimbalRotationStaysFinite)
{
    const TMatrix m = Rotation(0.3f, 1.5707964f, 0.2f, {0, 0, 0});
    TMatrixDecomposition d{};
    ASSERT_TRUE(DecomposeMatrix(m, d));
    EXPECT_FALSE(std::isnan(d.RotateY));
    EXPECT_NEAR(d.RotateY, 1.5707964f, 1e-3);
}

} // namespace
