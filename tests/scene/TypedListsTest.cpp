#include "../support/ByteText.h"
#include "ErrorTextTestSupport.h"
#include "platform/core/objects/ClassRegistry.h"
#include "scene/base/PersistentObjectList.h"
#include "scene/base/ScalarLists.h"
#include "scene/base/VectorLists.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

namespace {

std::string FloatBytes(std::initializer_list<float> values)
{
    std::string out;
    for (float f : values) {
        char b[4];
        std::memcpy(b, &f, 4);
        out.append(b, 4);
    }
    return out;
}

} // namespace

TEST(TypedLists, SingleAddsGrowByTheGrowthDelta)
{
    struct Case {
        int adds;
        int capacity;
    } cases[] = {{0, 0}, {1, 16}, {16, 16}, {17, 32}, {32, 32}, {33, 48}};
    for (const Case& c : cases) {
        TIntegerList list;
        for (int i = 0; i < c.adds; ++i) {
            EXPECT_EQ(list.Add(i * 3), i);
        }
        EXPECT_EQ(list.Count(), c.adds) << c.adds << " adds";
        EXPECT_EQ(list.Capacity(), c.capacity) << c.adds << " adds";
        for (int i = 0; i < c.adds; ++i) {
            ASSERT_EQ(list[i], i * 3);
        }
    }
}

TEST(TypedLists, MultiItemAddsRaiseCountFirstThenGrowInSteps)
{
    TAffineVectorList list;
    list.SetCapacity(16);
    list.SetCount(15);
    list.AddTriangle({1, 2, 3}, {4, 5, 6}, {7, 8, 9});
    EXPECT_EQ(list.Count(), 18);
    EXPECT_EQ(list.Capacity(), 32);
    EXPECT_EQ(list[17].Z, 9);
    EXPECT_EQ(list[15].X, 1);

    TIntegerList ints;
    ints.SetGrowthDelta(2);
    ints.AddTriple(1, 2, 3);
    EXPECT_EQ(ints.Capacity(), 4) << "two steps of two";
    ints.AddPair(4, 5);
    EXPECT_EQ(ints.Capacity(), 6);
    EXPECT_EQ(ints[4], 5);
}

TEST(TypedLists, BlockAppendsAndZeroItemsGrowExactly)
{
    TIntegerList list;
    const std::int32_t values[] = {5, 6, 7, 8, 9};
    list.AppendIntegers(values, 0);
    EXPECT_EQ(list.Capacity(), 0);
    list.AppendIntegers(values, 5);
    EXPECT_EQ(list.Capacity(), 5);
    list.AppendIntegerArray(values);
    EXPECT_EQ(list.Count(), 10);
    EXPECT_EQ(list.Capacity(), 10);
    list.AddZeroItems(3);
    EXPECT_EQ(list.Capacity(), 13);
    EXPECT_EQ(list[12], 0);

    TAffineVectorList a, b;
    b.Add(1, 1, 1);
    b.Add(2, 2, 2);
    a.AddList(nullptr);
    a.AddList(&b);
    EXPECT_EQ(a.Capacity(), 2);
    EXPECT_EQ(a[1].Y, 2);
}

TEST(TypedLists, SetCountZeroFillsAndSetCapacityClampsCount)
{
    TSingleList list;
    list.SetCount(5);
    EXPECT_EQ(list.Capacity(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(list[i], 0.0f);
    }
    list.Put(4, 9);
    list.SetCount(2);
    list.SetCount(5);
    EXPECT_EQ(list[4], 0.0f) << "regrown items are zeroed again";
    list.SetCapacity(3);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_THROW(list.SetCount(-1), EAssertionFailed);
    list.Flush();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Capacity(), 3);
    list.Clear();
    EXPECT_EQ(list.Capacity(), 0);
}

TEST(TypedLists, ExchangeAndReverseForSmallAndLargeItems)
{
    TIntegerList ints;
    ints.AppendIntegerArray(std::initializer_list<std::int32_t>{1, 2, 3, 4, 5});
    ints.Reverse();
    EXPECT_EQ(ints[0], 5);
    EXPECT_EQ(ints[4], 1);
    TVectorList vectors;
    vectors.Add({1, 2, 3, 4});
    vectors.Add({5, 6, 7, 8});
    vectors.Add({9, 10, 11, 12});
    vectors.Exchange(0, 2);
    EXPECT_EQ(vectors[0].W, 12);
    EXPECT_EQ(vectors[2].X, 1);
    vectors.Reverse();
    EXPECT_EQ(vectors[0].X, 1);
    TByteList bytes;
    bytes.Add(1);
    bytes.Add(2);
    bytes.Exchange(0, 1);
    EXPECT_EQ(bytes[0], 2);
}

TEST(TypedLists, AssignCopiesSameClassAndZeroesOtherwise)
{
    TAffineVectorList src;
    src.SetGrowthDelta(4);
    src.Add(1, 2, 3);
    src.Add(4, 5, 6);
    TAffineVectorList dst;
    dst.Add(9, 9, 9);
    dst.Assign(&src);
    EXPECT_EQ(dst.Count(), 2);
    EXPECT_EQ(dst.Capacity(), 2);
    EXPECT_EQ(dst.GrowthDelta(), 4);
    EXPECT_EQ(dst[1].Z, 6);

    TVectorList other;
    for (int i = 0; i < 40; ++i) {
        other.Add({7, 7, 7, 7});
    }
    other.Clear();
    other.Assign(&src);
    ASSERT_EQ(other.Count(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(other[i].X, 0);
        EXPECT_EQ(other[i].W, 0);
    }
    dst.Assign(nullptr);
    EXPECT_EQ(dst.Count(), 0);
    TPersistentObjectList notAList;
    EXPECT_THROW(dst.Assign(&notAList), EConvertError);
}

TEST(TypedLists, ExternalDataIsUsedInPlaceAndCopiedWhenResized)
{
    std::int32_t outside[3] = {10, 20, 30};
    {
        TIntegerList list;
        list.UseExternalData(outside, 3);
        EXPECT_TRUE(list.HasExternalData());
        EXPECT_EQ(list[1], 20);
        list.Put(1, 21);
        EXPECT_EQ(outside[1], 21);
        list.Add(40); // grows: the list now works on its own copy
        EXPECT_FALSE(list.HasExternalData());
        EXPECT_EQ(list.Count(), 4);
        EXPECT_EQ(list[0], 10);
        EXPECT_EQ(list[3], 40);
        list.Put(0, 11);
        EXPECT_EQ(outside[0], 10);
    }
    EXPECT_EQ(outside[2], 30) << "the list never frees or overwrites the caller's memory";
    TIntegerList triple;
    triple.UseExternalData(outside, 3);
    triple.AddTriple(1, 2, 3);
    EXPECT_EQ(triple.Count(), 6);
    EXPECT_EQ(triple[2], 30);
}

TEST(TypedLists, StreamFormIsVersionCountSizeAndRawBlock)
{
    TAffineVectorList list;
    list.Add(1, 2, 3);
    EXPECT_EQ(list.SaveToString(), Bytes({2, 0, 2, 1, 2, 12}) + FloatBytes({1, 2, 3}) + Bytes({2, 0}));
    TIntegerList empty;
    EXPECT_EQ(empty.SaveToString(), Bytes({2, 0, 2, 0, 2, 4}));

    TAffineVectorList back;
    back.Add(5, 5, 5);
    back.LoadFromString(list.SaveToString());
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(back.Capacity(), 1);
    EXPECT_EQ(back[0].Y, 2);

    TByteList bytes;
    bytes.LoadFromString(Bytes({2, 0, 2, 3, 2, 1, 7, 8, 9}));
    EXPECT_EQ(bytes.Count(), 3);
    EXPECT_EQ(bytes[2], 9);
}

TEST(TypedLists, DamagedArchivesAreRefusedAndLeaveTheListAlone)
{
    struct Case {
        const char* what;
        std::string data;
    } cases[] = {
        {"version", Bytes({2, 1, 2, 0, 2, 4})},
        {"negative count", Bytes({2, 0, 2, 0xFF, 2, 4})},
        {"item size of another type", Bytes({2, 0, 2, 1, 2, 8, 1, 2, 3, 4, 5, 6, 7, 8})},
        {"zero item size", Bytes({2, 0, 2, 1, 2, 0})},
        {"count beyond the data", Bytes({2, 0, 4, 0, 0, 0, 0x40, 2, 4, 1, 2, 3, 4})},
        {"block cut short", Bytes({2, 0, 2, 2, 2, 4, 1, 2, 3, 4, 5})},
    };
    for (const Case& c : cases) {
        TIntegerList list;
        list.Add(42);
        EXPECT_ANY_THROW(list.LoadFromString(c.data)) << c.what;
        ASSERT_EQ(list.Count(), 1) << c.what;
        EXPECT_EQ(list[0], 42) << c.what;
        EXPECT_EQ(list.ItemSize(), 4) << c.what;
    }
    TIntegerList list;
    EXPECT_EQ(ErrorText<EFilerException>([&] { list.LoadFromString(cases[0].data); }),
              "TIntegerList : unknown archive version 1");
    TVectorList vectors;
    vectors.Add({1, 2, 3, 4});
    EXPECT_EQ(ErrorText<EFilerException>([&] { vectors.LoadFromString(Bytes({2, 0, 2, 0, 2, 16, 2, 5})); }),
              "TVectorList : unknown archive version 5");
    EXPECT_EQ(vectors.Count(), 1) << "a bad trailing version leaves the list alone too";
    EXPECT_ANY_THROW(vectors.LoadFromString(Bytes({2, 0, 2, 0, 2, 16})));
    EXPECT_EQ(vectors.Count(), 1);
}

TEST(TypedLists, RegisteredListsTravelInsideObjectLists)
{
    EXPECT_NE(GetClass("TAffineVectorList"), nullptr);
    EXPECT_NE(GetClass("TVectorList"), nullptr);
    EXPECT_NE(GetClass("TTexPointList"), nullptr);
    EXPECT_NE(GetClass("TSingleList"), nullptr);
    TPersistentObjectList objects;
    auto* singles = new TSingleList();
    singles->Add(2.5f);
    objects.Add(singles);
    TPersistentObjectList back;
    back.LoadFromString(objects.SaveToString());
    auto* read = ObjectCast<TSingleList>(back[0]);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ((*read)[0], 2.5f);
    back.FreeAndClear();
    objects.FreeAndClear();
    std::unique_ptr<TPersistentObject> clone(TByteList().Clone());
    EXPECT_TRUE(clone->Is<TByteList>()) << "unregistered lists still clone";
}

TEST(TypedLists, IntegerSortAndSortUnique)
{
    struct Case {
        std::vector<std::int32_t> input;
        std::vector<std::int32_t> unique;
    } cases[] = {
        {{3, 1, 3, 2, 1}, {1, 2, 3}},
        {{}, {}},
        {{7}, {7}},
        {{2, 1}, {1, 2}},
        {{5, 5, 5, 5}, {5}},
        {{-1, 2147483647, -2147483647 - 1, 0}, {-2147483647 - 1, -1, 0, 2147483647}},
    };
    for (const Case& c : cases) {
        TIntegerList list;
        list.AppendIntegerArray(c.input);
        list.SortUnique();
        ASSERT_EQ(list.Count(), static_cast<int>(c.unique.size())) << c.input.size() << " items";
        for (int i = 0; i < list.Count(); ++i) {
            EXPECT_EQ(list[i], c.unique[static_cast<std::size_t>(i)]) << c.input.size() << " items, at " << i;
        }
    }
    TIntegerList partial;
    partial.AppendIntegerArray(std::initializer_list<std::int32_t>{9, 8, 7, 6, 5});
    partial.Sort(1, 3);
    EXPECT_EQ(partial[0], 9);
    EXPECT_EQ(partial[1], 6);
    EXPECT_EQ(partial[3], 8);
    EXPECT_EQ(partial[4], 5);
}

TEST(TypedLists, LargeSortsAreOrdered)
{
    TIntegerList list;
    std::uint32_t seed = 12345;
    for (int i = 0; i < 100000; ++i) {
        seed = seed * 1664525u + 1013904223u;
        list.Add(static_cast<std::int32_t>(seed % 1000));
    }
    list.Sort(0, list.Count() - 1);
    for (int i = 1; i < list.Count(); ++i) {
        ASSERT_LE(list[i - 1], list[i]);
    }
}

TEST(TypedLists, SortByKeysMovesObjectsWithTheirKeys)
{
    TSingleList keys;
    TPersistentObjectList objects;
    TSingleList a, b, c, d;
    const float k[] = {-1.5f, -3.0f, 2.0f, 0.5f};
    TObject* o[] = {&a, &b, &c, &d};
    for (int i = 0; i < 4; ++i) {
        keys.Add(k[i]);
        objects.Add(o[i]);
    }
    SortByKeys(0, 2, keys, objects);
    EXPECT_EQ(keys[0], -3.0f);
    EXPECT_EQ(keys[1], -1.5f);
    EXPECT_EQ(keys[2], 2.0f);
    EXPECT_EQ(objects[0], &b);
    EXPECT_EQ(objects[1], &a);
    EXPECT_EQ(objects[2], &c);
    EXPECT_EQ(objects[3], &d) << "outside the range";
    SortByKeys(0, 3, keys, objects);
    EXPECT_EQ(objects[2], &d);
    EXPECT_EQ(objects[3], &c);
    SortByKeys(3, 3, keys, objects);
}

TEST(VectorLists, BoundsSumAndDistance)
{
    TAffineVectorList list;
    TAffineVector min, max;
    list.GetBounds(min, max);
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(min.X, inf);
    EXPECT_EQ(max.Z, -inf);
    list.Add(1, -2, 3);
    list.Add(-4, 5, 0);
    list.GetBounds(min, max);
    EXPECT_EQ(min.X, -4);
    EXPECT_EQ(min.Y, -2);
    EXPECT_EQ(min.Z, 0);
    EXPECT_EQ(max.X, 1);
    EXPECT_EQ(max.Y, 5);
    const TAffineVector sum = list.Sum();
    EXPECT_EQ(sum.X, -3);
    EXPECT_EQ(sum.Y, 3);
    TAffineVectorList other;
    other.Add(1, -2, 4);
    other.Add(-4, 7, 1);
    EXPECT_EQ(list.MaxItemDistance(other), 3);
    TAffineVectorList empty1, empty2;
    EXPECT_EQ(empty1.MaxItemDistance(empty2), 0);
    EXPECT_THROW(list.MaxItemDistance(empty1), EAssertionFailed);
}

TEST(VectorLists, ItemwiseArithmetic)
{
    TVectorList v;
    v.AddPointXYZ(1, 1, 1);
    v.AddAffine({2, 0, 0}, 0);
    TVectorList d;
    d.Add({1, 2, 3, 9});
    d.Add({1, 1, 1, 9});
    d.Add({5, 5, 5, 5});
    v.AddListItems(d);
    EXPECT_EQ(v[0].Z, 4);
    EXPECT_EQ(v[0].W, 1) << "W is not touched";
    v.SubtractListItems(d);
    EXPECT_EQ(v[1].X, 2);
    v.CombineItems(d, 2);
    EXPECT_EQ(v[1].Y, 2);
    EXPECT_THROW(d.AddListItems(v), EAssertionFailed);
    EXPECT_THROW(v.AddScaledItems(d, 1), EAssertionFailed);
    v.Translate({1, 0, 0});
    EXPECT_EQ(v[1].X, 5);
    v.Normalize();
    EXPECT_NEAR(v[1].X * v[1].X + v[1].Y * v[1].Y + v[1].Z * v[1].Z, 1.0, 1e-6);
    EXPECT_EQ(v[0].W, 1) << "normalising keeps W";
}

TEST(VectorLists, AffineListTransformsScalesAndIndexes)
{
    TAffineVectorList list;
    list.Add(1, 2, 3);
    EXPECT_EQ(list.IndexOf({1, 2, 3}), 0);
    EXPECT_EQ(list.IndexOf({1, 2, 4}), -1);
    EXPECT_EQ(list.IndexOf({-0.0f, 0, 0}), -1);
    EXPECT_EQ(list.IndexOfOrAdd({0, 0, 0}), 1);
    EXPECT_EQ(list.IndexOf({-0.0f, 0, 0}), -1) << "bit-equal, so -0 is not 0";
    EXPECT_EQ(list.IndexOfOrAdd({1, 2, 3}), 0);
    EXPECT_EQ(list.Count(), 2);
    list.Scale(2);
    EXPECT_EQ(list[0].Z, 6);
    list.ScaleVector({1, 0.5f, -1});
    EXPECT_EQ(list[0].Y, 2);
    EXPECT_EQ(list[0].Z, -6);
    TMatrix translate = IdentityMatrix;
    translate[3] = {10, 20, 30, 1};
    list.TransformPoints(translate);
    EXPECT_EQ(list[0].X, 12);
    EXPECT_EQ(list[1].Z, 30);
    list.Translate({-10, -20, -30});
    EXPECT_EQ(list[1].X, 0);
}

TEST(VectorLists, LerpsNeedListsOfTheReceiversClass)
{
    TAffineVectorList a, b, r;
    a.Add(0, 0, 0);
    b.Add(2, 4, 6);
    r.Lerp(a, b, 0.5f);
    ASSERT_EQ(r.Count(), 1);
    EXPECT_EQ(r[0].Y, 2);
    TVectorList va, vb, vr;
    va.Add({0, 0, 0, 0});
    vb.Add({2, 2, 2, 2});
    vr.Lerp(va, vb, 0.25f);
    EXPECT_EQ(vr[0].W, 0.5f);
    TAffineVectorList untouched;
    untouched.Lerp(va, vb, 0.5f);
    EXPECT_EQ(untouched.Count(), 0);
    b.Add(1, 1, 1);
    EXPECT_THROW(r.Lerp(a, b, 0.5f), EAssertionFailed);
}

TEST(VectorLists, AngularLerpEndpointsCopy)
{
    TAffineVectorList a, b, r;
    a.Add(0.1f, 0.2f, 0.3f);
    b.Add(0.4f, 0.5f, 0.6f);
    r.AngularLerp(a, b, 0);
    EXPECT_EQ(r[0].Y, 0.2f);
    r.AngularLerp(a, b, 1);
    EXPECT_EQ(r[0].Y, 0.5f);
    r.AngularLerp(a, a, 0.5f);
    EXPECT_EQ(r[0].Z, 0.3f);
    r.AngularLerp(a, b, 0.5f);
    ASSERT_EQ(r.Count(), 1);
    EXPECT_GT(r[0].X, 0.1f);
    EXPECT_LT(r[0].X, 0.4f);
}

TEST(VectorLists, QuaternionCombineWithZeroFactorKeepsItems)
{
    TQuaternionList q;
    q.Add({0, 0, std::sin(0.3f), std::cos(0.3f)});
    q.Add({std::sin(0.1f), 0, 0, std::cos(0.1f)});
    TQuaternionList other;
    other.Add({0, std::sin(0.5f), 0, std::cos(0.5f)});
    other.Add({0, 0, std::sin(0.7f), std::cos(0.7f)});
    const TQuaternion before0 = q.Get(0);
    const TQuaternion before1 = q.Get(1);
    q.CombineItems(other, 0);
    EXPECT_FLOAT_EQ(q.Get(0).Z, before0.Z);
    EXPECT_FLOAT_EQ(q.Get(0).W, before0.W);
    EXPECT_FLOAT_EQ(q.Get(1).X, before1.X);
    // A full factor composes the rotations: two quarter turns about Z make a half turn.
    TQuaternionList z;
    z.Add({0, 0, std::sin(0.7853982f), std::cos(0.7853982f)});
    TQuaternionList z2;
    z2.Add({0, 0, std::sin(0.7853982f), std::cos(0.7853982f)});
    z.CombineItems(z2, 1);
    EXPECT_NEAR(z.Get(0).Z, 1, 1e-6);
    EXPECT_NEAR(z.Get(0).W, 0, 1e-6);
    TQuaternionList s;
    s.Lerp(z2, z2, 0.5f);
    EXPECT_NEAR(s.Get(0).Z, std::sin(0.7853982f), 1e-6);
}
