#include "scene/base/VectorGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

void ExpectVector(const TVector& actual, float x, float y, float z, float w)
{
    EXPECT_FLOAT_EQ(actual.X, x);
    EXPECT_FLOAT_EQ(actual.Y, y);
    EXPECT_FLOAT_EQ(actual.Z, z);
    EXPECT_FLOAT_EQ(actual.W, w);
}

void ExpectAffine(const TAffineVector& actual, float x, float y, float z)
{
    EXPECT_FLOAT_EQ(actual.X, x);
    EXPECT_FLOAT_EQ(actual.Y, y);
    EXPECT_FLOAT_EQ(actual.Z, z);
}

TEST(VectorConstructionTest, PointsCarryW1AndDirectionsW0)
{
    const TAffineVector a{1, 2, 3};
    ExpectVector(MakePoint(1, 2, 3), 1, 2, 3, 1);
    ExpectVector(MakePointFromAffine(a), 1, 2, 3, 1);
    ExpectVector(MakeVectorFromAffine(a, 7), 1, 2, 3, 7);

    TVector v{9, 9, 9, 9};
    SetPointFromVector(v, TVector{4, 5, 6, 0});
    ExpectVector(v, 4, 5, 6, 1);
    SetDirectionFromVector(v, TVector{4, 5, 6, 1});
    ExpectVector(v, 4, 5, 6, 0);
    SetDirectionFromVector(v, a);
    ExpectVector(v, 1, 2, 3, 0);
    SetPointFromAffine(v, a);
    ExpectVector(v, 1, 2, 3, 1);
    SetVectorFromAffine(v, a, 5);
    ExpectVector(v, 1, 2, 3, 5);
    SetVectorXYZ(v, 7, 8, 9);
    ExpectVector(v, 7, 8, 9, 5);  // W untouched

    TAffineVector c{};
    CopyAffineVector(c, TVector{3, 2, 1, 0});
    ExpectAffine(c, 3, 2, 1);

    double d[3] = {};
    AffineVectorToDoubles(d, TAffineVector{0.1f, 2, 3});
    EXPECT_EQ(d[0], static_cast<double>(0.1f));
    EXPECT_EQ(d[2], 3.0);
}

TEST(VectorArithmeticTest, SubtractionFormsDifferOnlyInW)
{
    const TVector a{5, 6, 7, 1}, b{1, 2, 3, 1};
    ExpectVector(SubtractVectors(a, b), 4, 4, 4, 0);
    ExpectVector(VectorDifference(a, TVector{1, 2, 3, 0.5f}), 4, 4, 4, 0.5f);
    ExpectVector(SubtractToDirection(TVector{5, 6, 7, 3}, b), 4, 4, 4, 0);
    ExpectVector(SubtractVectorsXYZ(TVector{5, 6, 7, 3}, b), 4, 4, 4, 3);
    ExpectVector(AddScalarToVector(a, 1), 6, 7, 8, 2);

    TVector v = a;
    SubtractFromVector(v, b);
    ExpectVector(v, 4, 4, 4, 0);
    TAffineVector p{1, 1, 1};
    AddToAffineVector(p, TAffineVector{1, 2, 3});
    ExpectAffine(p, 2, 3, 4);
    SubtractFromAffineVector(p, TAffineVector{2, 2, 2});
    ExpectAffine(p, 0, 1, 2);
    TAffineVector r{};
    SubtractAffineVectors(TAffineVector{3, 3, 3}, TAffineVector{1, 2, 3}, r);
    ExpectAffine(r, 2, 1, 0);
}

TEST(VectorArithmeticTest, ScaledAndCombinedForms)
{
    const TVector a{1, 2, 3, 4}, b{10, 20, 30, 40};
    ExpectVector(VectorPlusScaled(a, b, 0.5f), 6, 12, 18, 24);
    ExpectVector(CombineVectors(a, b, 2, 0.1f), 3, 6, 9, 12);
    ExpectVector(LerpVectors(a, b, 0), 1, 2, 3, 4);
    ExpectVector(LerpVectors(a, b, 1), 10, 20, 30, 40);
    ExpectVector(LerpVectors(a, b, 0.5f), 5.5f, 11, 16.5f, 22);
    ExpectVector(LerpVectors(a, b, 2), 19, 38, 57, 76);  // extrapolates

    TVector v = a;
    AddScaledVector(v, TVector{2, 4, 6, 8}, -0.5f);
    ExpectVector(v, 0, 0, 0, 0);
    v = a;
    ScaleVector(v, 3);
    ExpectVector(v, 3, 6, 9, 12);
    ExpectVector(ScaledVector(a, -1), -1, -2, -3, -4);
    ExpectVector(NegatedVector(a), -1, -2, -3, -4);

    const TAffineVector p{1, 2, 3}, q{3, 2, 1};
    ExpectAffine(AffineVectorPlusScaled(p, q, 2), 7, 6, 5);
    ExpectAffine(CombineAffineVectors(p, q, 1, -1), -2, 0, 2);
    ExpectAffine(LerpAffineVectors(p, q, 0.25f), 1.5f, 2, 2.5f);
    TAffineVector s = p;
    AddScaledAffineVector(s, q, 1);
    ExpectAffine(s, 4, 4, 4);
    ScaleAffineVector(s, 0.5f);
    ExpectAffine(s, 2, 2, 2);
    ExpectAffine(ScaledAffineVector(p, 2), 2, 4, 6);
    NegateAffineVector(s);
    ExpectAffine(s, -2, -2, -2);
    ExpectAffine(NegatedAffineVector(p), -1, -2, -3);
    MultiplyAffineVectors(s, p);
    ExpectAffine(s, -2, -4, -6);
}

TEST(VectorArithmeticTest, CombinedFormsRoundOnceFromWiderPrecision)
{
    // 1 + 2^-24 * 1 is a tie in float32; done in float32 step by step the scaled
    // term alone would already be rounded; here only the final store rounds.
    const float tiny = std::ldexp(1.0f, -24);
    const float justAbove = std::nextafter(tiny, 1.0f);
    EXPECT_EQ(VectorPlusScaled(TVector{1, 0, 0, 0}, TVector{justAbove, 0, 0, 0}, 1).X,
              std::nextafter(1.0f, 2.0f));
    // f1*a + f2*b with cancellation: 0.1f*3 - 0.3f is computed exactly in double.
    const float expected = static_cast<float>(3.0 * 0.1f - 0.3f);
    EXPECT_EQ(CombineAffineVectors(TAffineVector{3, 0, 0}, TAffineVector{0.3f, 0, 0}, 0.1f, -1).X, expected);
}

TEST(VectorArithmeticTest, ComponentWiseOperations)
{
    TVector v{1, -2, 3, -4};
    MultiplyVectors(v, TVector{2, 2, 2, 2});
    ExpectVector(v, 2, -4, 6, -8);
    DivideVectors(v, TVector{2, 4, 3, -8});
    ExpectVector(v, 1, -1, 2, 1);
    ExpectVector(AbsVector(TVector{-1, 2, -0.5f, -0.0f}), 1, 2, 0.5f, 0);
    TVector a{-1, -2, 3, -4};
    AbsVectorInPlace(a);
    ExpectVector(a, 1, 2, 3, 4);
}

TEST(VectorArithmeticTest, ComponentMaxKeepsVOnTiesAndNaN)
{
    TVector v{1, 5, 2, 0};
    ComponentMax(v, TVector{3, 4, 2, -1});
    ExpectVector(v, 3, 5, 2, 0);

    TVector z{0.0f, 1, 1, 1};
    ComponentMax(z, TVector{-0.0f, kNaN, 1, 1});
    EXPECT_FALSE(std::signbit(z.X));  // the tie keeps v's +0
    EXPECT_EQ(z.Y, 1);
}

TEST(VectorEqualsTest, BitwiseEqualityAgainstFloatingNullTest)
{
    struct Case {
        TVector a, b;
        bool bitEqual, nullA;
    } cases[] = {{{0, 0, 0, 0}, {-0.0f, 0, 0, 0}, false, true}, {{-0.0f, 0, 0, 0}, {-0.0f, 0, 0, 0}, true, true},
                 {{kNaN, 0, 0, 0}, {kNaN, 0, 0, 0}, true, false},
                 {{0, 0, 0, 1}, {0, 0, 0, 2}, false, true},  // null ignores W
                 {{1, 2, 3, 4}, {1, 2, 3, 4}, true, false}, {{0, 0, 1e-45f, 0}, {0, 0, 0, 0}, false, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(VectorEquals(c.a, c.b), c.bitEqual) << c.a.X << "," << c.a.Z << "," << c.a.W;
        EXPECT_EQ(IsNullVector(c.a), c.nullA) << c.a.X << "," << c.a.Z << "," << c.a.W;
        EXPECT_EQ(IsNullVector(TAffineVector{c.a.X, c.a.Y, c.a.Z}), c.nullA) << c.a.X << "," << c.a.Z;
    }
    // the affine forms ignore W
    EXPECT_TRUE(AffineVectorEquals(TVector{1, 2, 3, 0}, TVector{1, 2, 3, 1}));
    EXPECT_FALSE(AffineVectorEquals(TVector{1, 2, -0.0f, 0}, TVector{1, 2, 0, 0}));
    EXPECT_TRUE(AffineVectorEquals(TAffineVector{1, 2, 3}, TAffineVector{1, 2, 3}));
    EXPECT_FALSE(AffineVectorEquals(TAffineVector{1, 2, 3}, TAffineVector{1, 2, 3.0000002f}));
}

TEST(IsWithinExtentsTest, InclusiveOnEveryAxis)
{
    const std::pair<TAffineVector, bool> cases[] = {{{0, 0, 0}, true}, {{1, 2, 3}, true}, {{-1, -2, -3}, true},
                                                    {{1.0001f, 0, 0}, false}, {{0, -2.0001f, 0}, false},
                                                    {{0, 0, 3.0001f}, false}};
    for (const auto& [p, inside] : cases)
        EXPECT_EQ(IsWithinExtents(p, TAffineVector{1, 2, 3}), inside) << p.X << "," << p.Y << "," << p.Z;
}

TEST(VectorProductTest, DotAndCross)
{
    const TAffineVector x = XVector, y = YVector;
    ExpectAffine(AffineCrossProduct(x, y), 0, 0, 1);
    ExpectAffine(AffineCrossProduct(y, x), 0, 0, -1);
    ExpectAffine(AffineCrossProduct(TAffineVector{1, 2, 3}, TAffineVector{4, 5, 6}), -3, 6, -3);
    TAffineVector r{};
    AffineCrossProduct(ZVector, x, r);
    ExpectAffine(r, 0, 1, 0);
    ExpectAffine(AffineCrossProduct(TVector{1, 2, 3, 9}, TVector{4, 5, 6, 9}), -3, 6, -3);
    ExpectVector(VectorCrossProduct(TVector{1, 2, 3, 1}, TVector{4, 5, 6, 1}), -3, 6, -3, 0);
    TVector rv{};
    VectorCrossProduct(XHmgVector, YHmgVector, rv);
    ExpectVector(rv, 0, 0, 1, 0);

    EXPECT_EQ(AffineDotProduct(TAffineVector{1, 2, 3}, TAffineVector{4, 5, 6}), 32);
    EXPECT_EQ(AffineDotProduct(TVector{1, 2, 3, 10}, TVector{4, 5, 6, 10}), 32);  // W ignored
    EXPECT_EQ(VectorDotProduct(TVector{1, 2, 3, 10}, TVector{4, 5, 6, 10}), 132);
    EXPECT_EQ(DistanceAlongNormal(TAffineVector{5, 5, 5}, TAffineVector{1, 1, 1}, ZVector), 4);
    EXPECT_EQ(DistanceAlongNormal(TVector{5, 5, 5, 1}, TVector{1, 1, 9, 1}, ZHmgVector), -4);
    // The dot product is returned wide: 2^24 + 1 is not a float32; a float32 dot product would lose the 1.
    const float big = 16777216.0f;
    EXPECT_EQ(AffineDotProduct(TAffineVector{big, 1, 0}, TAffineVector{1, 1, 0}), 16777217.0);
}

TEST(VectorLengthTest, LengthsAndDistances)
{
    EXPECT_EQ(AffineVectorLength(TAffineVector{3, 4, 12}), 13);
    EXPECT_EQ(VectorXYZLength(TVector{3, 4, 12, 100}), 13);
    EXPECT_EQ(AffineVectorSquaredLength(TAffineVector{1, 2, 2}), 9);
    EXPECT_EQ(AffineVectorSquaredLength(TVector{1, 2, 2, 5}), 9);
    EXPECT_EQ(Hypot2(3, 4), 5);
    EXPECT_EQ(SquaredHypot(3, 4), 25);
    EXPECT_EQ(AffineDistance(TAffineVector{1, 1, 1}, TAffineVector{4, 5, 1}), 5);
    EXPECT_EQ(SquaredAffineDistance(TAffineVector{1, 1, 1}, TAffineVector{4, 5, 1}), 25);
    EXPECT_EQ(ManhattanDistance(TAffineVector{1, -1, 0}, TAffineVector{-1, 1, 3}), 7);
    ExpectAffine(SubtractProjection(TAffineVector{3, 4, 5}, ZVector), 3, 4, 0);
    EXPECT_EQ(LargestAbsComponent(TAffineVector{1, -7, 3}), 7);
    EXPECT_EQ(LargestAbsComponent(TVector{1, -7, 8, 100}), 8);
    EXPECT_EQ(MaxXYZComponent(TAffineVector{1, -7, 3}), 3);
    EXPECT_EQ(MinXYZComponent(TAffineVector{1, -7, 3}), -7);
    EXPECT_EQ(MaxXYZComponent(TVector{1, -7, 3, 99}), 3);
    EXPECT_EQ(MinXYZComponent(TVector{1, -7, 3, -99}), -7);
}

TEST(NormalizeVectorTest, UnitLengthAndWZero)
{
    const std::pair<TVector, TVector> cases[] = {
        {{3, 0, 4, 1}, {0.6f, 0, 0.8f, 0}}, {{0, -5, 0, 7}, {0, -1, 0, 0}},
        {{1, 1, 1, 0}, {0.57735026f, 0.57735026f, 0.57735026f, 0}},
        // zero length gives the zero vector, not NaN
        {{0, 0, 0, 1}, {0, 0, 0, 0}}, {{-0.0f, 0, 0, 0}, {0, 0, 0, 0}},
        // squares of these would underflow in float32
        {{1e-30f, 0, 0, 0}, {1, 0, 0, 0}}, {{0, 0, -1e-45f, 0}, {0, 0, -1, 0}},
        // and overflow here
        {{1.8e38f, 0, 2.4e38f, 0}, {0.6f, 0, 0.8f, 0}}};
    for (const auto& [in, out] : cases) {
        SCOPED_TRACE(::testing::Message() << in.X << "," << in.Y << "," << in.Z << "," << in.W);
        ExpectVector(NormalizedVector(in), out.X, out.Y, out.Z, out.W);
        TVector v = in;
        NormalizeVector(v);
        ExpectVector(v, out.X, out.Y, out.Z, out.W);
        TAffineVector a{in.X, in.Y, in.Z};
        NormalizeAffineVector(a);
        ExpectAffine(a, out.X, out.Y, out.Z);
        ExpectAffine(NormalizedAffineVector(TAffineVector{in.X, in.Y, in.Z}), out.X, out.Y, out.Z);
    }
}

TEST(VectorArraysTest, ArrayKernelsMatchTheSingleRoutines)
{
    std::vector<TAffineVector> a, b;
    for (int i = 0; i < 7; ++i) {
        a.push_back(TAffineVector{float(i), float(2 * i), float(-i)});
        b.push_back(TAffineVector{float(10 - i), 0.5f, float(i * i)});
    }
    std::vector<TAffineVector> out(7);
    LerpAffineVectorArrays(a.data(), b.data(), 7, out.data(), 0.3f);
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(AffineVectorEquals(out[i], LerpAffineVectors(a[i], b[i], 0.3f))) << i;

    AddVectorToAffineArray(a.data(), TAffineVector{1, 2, 3}, 7, out.data());
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(AffineVectorEquals(out[i], AddAffineVectors(a[i], TAffineVector{1, 2, 3}))) << i;

    // in place, with the delta inside the array it changes
    out = a;
    AddVectorToAffineArray(out.data(), out[3], 7, out.data());
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(AffineVectorEquals(out[i], AddAffineVectors(a[i], a[3]))) << i;

    std::vector<TVector> va{{1, 2, 3, 4}, {5, 6, 7, 8}, {-1, 0, 1, 0}};
    std::vector<TVector> vb{{2, 2, 2, 2}, {0, 0, 0, 0}, {1, 1, 1, 1}};
    std::vector<TVector> vo(3);
    LerpVectorArrays(va.data(), vb.data(), 3, vo.data(), 0.75f);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(VectorEquals(vo[i], LerpVectors(va[i], vb[i], 0.75f))) << i;

    std::vector<TAffineVector> n{{3, 0, 4}, {0, 0, 0}, {0, 2, 0}};
    NormalizeAffineVectorArray(n.data(), 3);
    ExpectAffine(n[0], 0.6f, 0, 0.8f);
    ExpectAffine(n[1], 0, 0, 0);
    ExpectAffine(n[2], 0, 1, 0);

    float floats[5] = {1, 2, 3, 4, 5};
    ScaleFloats(floats, 5, 2);
    EXPECT_EQ(floats[0], 2);
    EXPECT_EQ(floats[4], 10);
}

TEST(VectorArraysTest, ZeroCountTouchesNothing)
{
    TAffineVector guard{7, 8, 9};
    AddVectorToAffineArray(&guard, TAffineVector{1, 1, 1}, 0, &guard);
    LerpAffineVectorArrays(&guard, &guard, 0, &guard, 0.5f);
    NormalizeAffineVectorArray(&guard, 0);
    ScaleFloats(&guard.X, 0, 0);
    ExpectAffine(guard, 7, 8, 9);
}

TEST(VectorConstantsTest, Epsilons)
{
    EXPECT_EQ(std::bit_cast<std::uint32_t>(Epsilon2), 0x000116C2u);
    EXPECT_FLOAT_EQ(Epsilon2, 9.99994610111476e-41f);
    EXPECT_EQ(Epsilon, 1e-30f);
}

} // namespace
