#include "scene/base/VectorLists.h"

#include "platform/core/Assert.h"
#include "platform/core/objects/ClassRegistry.h"
#include "scene/base/MatrixMath.h"
#include "scene/base/Quaternions.h"
#include "scene/base/VectorGeometry.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {
const bool registered = (RegisterClass<TAffineVectorList>(), RegisterClass<TVectorList>(), true);
}

// ---- TBaseVectorList ----

void TBaseVectorList::WriteTail(TVirtualWriter& writer) const { writer.WriteInteger(0); }

void TBaseVectorList::ReadTail(TVirtualReader& reader)
{
    const int version = reader.ReadInteger();
    if (version != 0) {
        RaiseFilerException(version);
    }
}

void TBaseVectorList::GetBounds(TAffineVector& min, TAffineVector& max) const
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    min = {inf, inf, inf};
    max = {-inf, -inf, -inf};
    for (int i = 0; i < Count(); ++i) {
        const float* v = XYZ(i);
        for (int k = 0; k < 3; ++k) {
            if (v[k] < min[k]) {
                min[k] = v[k];
            }
            if (v[k] > max[k]) {
                max[k] = v[k];
            }
        }
    }
}

TAffineVector TBaseVectorList::Sum() const
{
    TAffineVector sum{0, 0, 0};
    for (int i = 0; i < Count(); ++i) {
        const float* v = XYZ(i);
        sum.X += v[0];
        sum.Y += v[1];
        sum.Z += v[2];
    }
    return sum;
}

void TBaseVectorList::Normalize()
{
    for (int i = 0; i < Count(); ++i) {
        float* v = XYZ(i);
        TAffineVector a{v[0], v[1], v[2]};
        NormalizeAffineVector(a);
        v[0] = a.X;
        v[1] = a.Y;
        v[2] = a.Z;
    }
}

float TBaseVectorList::MaxItemDistance(const TBaseVectorList& other) const
{
    KP_ASSERT(Count() == other.Count());
    float result = 0;
    for (int i = 0; i < Count(); ++i) {
        const float* a = XYZ(i);
        const float* b = other.XYZ(i);
        const auto d = static_cast<float>(
            ManhattanDistance(TAffineVector{a[0], a[1], a[2]}, TAffineVector{b[0], b[1], b[2]}));
        if (d > result) {
            result = d;
        }
    }
    return result;
}

void TBaseVectorList::Translate(const TAffineVector& delta)
{
    for (int i = 0; i < Count(); ++i) {
        float* v = XYZ(i);
        v[0] += delta.X;
        v[1] += delta.Y;
        v[2] += delta.Z;
    }
}

void TBaseVectorList::AddListItems(const TBaseVectorList& other)
{
    KP_ASSERT(Count() <= other.Count());
    for (int i = 0; i < Count(); ++i) {
        float* v = XYZ(i);
        const float* o = other.XYZ(i);
        v[0] += o[0];
        v[1] += o[1];
        v[2] += o[2];
    }
}

void TBaseVectorList::SubtractListItems(const TBaseVectorList& other)
{
    KP_ASSERT(Count() <= other.Count());
    for (int i = 0; i < Count(); ++i) {
        float* v = XYZ(i);
        const float* o = other.XYZ(i);
        v[0] -= o[0];
        v[1] -= o[1];
        v[2] -= o[2];
    }
}

void TBaseVectorList::AddScaledItems(const TBaseVectorList& other, float f)
{
    KP_ASSERT(Count() == other.Count());
    for (int i = 0; i < Count(); ++i) {
        float* v = XYZ(i);
        const float* o = other.XYZ(i);
        const TAffineVector r =
            AffineVectorPlusScaled(TAffineVector{v[0], v[1], v[2]}, TAffineVector{o[0], o[1], o[2]}, f);
        v[0] = r.X;
        v[1] = r.Y;
        v[2] = r.Z;
    }
}

void TBaseVectorList::CombineItems(const TBaseVectorList& other, float f)
{
    KP_ASSERT(Count() <= other.Count());
    for (int i = 0; i < Count(); ++i) {
        float* v = XYZ(i);
        const float* o = other.XYZ(i);
        v[0] += o[0] * f;
        v[1] += o[1] * f;
        v[2] += o[2] * f;
    }
}

void TBaseVectorList::AngularLerp(const TBaseVectorList& list1, const TBaseVectorList& list2, float t)
{
    KP_ASSERT(list1.Count() == list2.Count());
    if (&list1 == &list2 || t == 0) {
        Assign(&list1);
        return;
    }
    if (t == 1) {
        Assign(&list2);
        return;
    }
    KP_ASSERT(list1.ItemSize() == ItemSize() && list2.ItemSize() == ItemSize());
    SetCount(list1.Count());
    for (int i = 0; i < Count(); ++i) {
        const float* a = list1.XYZ(i);
        const float* b = list2.XYZ(i);
        const TAffineVector r = LerpEulerAngles(TAffineVector{a[0], a[1], a[2]}, TAffineVector{b[0], b[1], b[2]}, t);
        float* v = XYZ(i);
        v[0] = r.X;
        v[1] = r.Y;
        v[2] = r.Z;
    }
}

// ---- TAffineVectorList ----

void TAffineVectorList::AddTriangle(const TAffineVector& a, const TAffineVector& b, const TAffineVector& c)
{
    const int i = AddSlots(3);
    TAffineVector* v = List() + i;
    v[0] = a;
    v[1] = b;
    v[2] = c;
}

void TAffineVectorList::AddList(const TAffineVectorList* other)
{
    if (other && other->Count() > 0) {
        AppendBlock(other->List(), other->Count());
    }
}

int TAffineVectorList::IndexOf(const TAffineVector& v) const
{
    const TAffineVector* items = List();
    for (int i = 0; i < Count(); ++i) {
        if (std::memcmp(&items[i], &v, sizeof(TAffineVector)) == 0) {
            return i;
        }
    }
    return -1;
}

int TAffineVectorList::IndexOfOrAdd(const TAffineVector& v)
{
    const int i = IndexOf(v);
    return i >= 0 ? i : Add(v);
}

void TAffineVectorList::TransformPoints(const TMatrix& m)
{
    TAffineVector* items = List();
    for (int i = 0; i < Count(); ++i) {
        items[i] = TransformAffinePoint(items[i], m);
    }
}

void TAffineVectorList::Scale(float f)
{
    if (Count() > 0 && f != 1) {
        ScaleFloats(reinterpret_cast<float*>(List()), Count() * 3, f);
    }
}

void TAffineVectorList::ScaleVector(const TAffineVector& v)
{
    TAffineVector* items = List();
    for (int i = 0; i < Count(); ++i) {
        MultiplyAffineVectors(items[i], v);
    }
}

void TAffineVectorList::Translate(const TAffineVector& delta) { AddVectorToAffineArray(List(), delta, Count(), List()); }

void TAffineVectorList::Normalize() { NormalizeAffineVectorArray(List(), Count()); }

void TAffineVectorList::Lerp(const TBaseVectorList& list1, const TBaseVectorList& list2, float t)
{
    const auto* a = ObjectCast<TAffineVectorList>(&list1);
    const auto* b = ObjectCast<TAffineVectorList>(&list2);
    if (!a || !b) {
        return;
    }
    KP_ASSERT(a->Count() == b->Count());
    SetCapacity(a->Count());
    SetCount(a->Count());
    LerpAffineVectorArrays(a->List(), b->List(), Count(), List(), t);
}

// ---- TVectorList ----

void TVectorList::Lerp(const TBaseVectorList& list1, const TBaseVectorList& list2, float t)
{
    const auto* a = ObjectCast<TVectorList>(&list1);
    const auto* b = ObjectCast<TVectorList>(&list2);
    if (!a || !b) {
        return;
    }
    KP_ASSERT(a->Count() == b->Count());
    SetCapacity(a->Count());
    SetCount(a->Count());
    LerpVectorArrays(a->List(), b->List(), Count(), List(), t);
}

// ---- TQuaternionList ----

void TQuaternionList::Lerp(const TBaseVectorList& list1, const TBaseVectorList& list2, float t)
{
    const auto* a = ObjectCast<TQuaternionList>(&list1);
    const auto* b = ObjectCast<TQuaternionList>(&list2);
    if (!a || !b) {
        return;
    }
    KP_ASSERT(a->Count() == b->Count());
    SetCapacity(a->Count());
    SetCount(a->Count());
    for (int i = 0; i < Count(); ++i) {
        List()[i] = SlerpQuaternions(a->Get(i), b->Get(i), t);
    }
}

void TQuaternionList::CombineItem(int index, const TQuaternion& q, float f)
{
    List()[index] = QuaternionMultiply(List()[index], SlerpQuaternions(IdentityQuaternion, q, f));
}

void TQuaternionList::CombineItems(const TBaseVectorList& other, float f)
{
    const auto* quaternions = ObjectCast<TQuaternionList>(&other);
    if (!quaternions) {
        TBaseVectorList::CombineItems(other, f);
        return;
    }
    KP_ASSERT(Count() <= other.Count());
    for (int i = 0; i < Count(); ++i) {
        CombineItem(i, quaternions->Get(i), f);
    }
}
