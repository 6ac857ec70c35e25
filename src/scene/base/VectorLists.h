#pragma once
// Lists of vectors whose items begin with X, Y, Z float32: affine vectors, homogeneous
// vectors and quaternions, with whole-list geometry (bounds, sums, translation,
// normalisation, interpolation). Whole-list operations look at X, Y, Z only.

#include "scene/base/BaseList.h"
#include "scene/base/VectorTypes.h"

class TBaseVectorList : public TBaseList {
    KP_CLASS(TBaseVectorList, TBaseList)
public:
    // min/max start at +inf/-inf; an empty list leaves the infinities.
    virtual void GetBounds(TAffineVector& min, TAffineVector& max) const;
    virtual TAffineVector Sum() const;
    virtual void Normalize();
    // Largest Manhattan distance between items of equal index; asserts equal counts.
    virtual float MaxItemDistance(const TBaseVectorList& other) const;
    virtual void Translate(const TAffineVector& delta);
    // item i += other's item i; asserts Count <= other's Count.
    virtual void AddListItems(const TBaseVectorList& other);
    virtual void SubtractListItems(const TBaseVectorList& other);
    // item i += other's item i * f; asserts equal counts.
    void AddScaledItems(const TBaseVectorList& other, float f);
    // item i += other's item i * f; asserts Count <= other's Count.
    virtual void CombineItems(const TBaseVectorList& other, float f);
    // Receives the interpolation of two lists of its own class (else does nothing).
    virtual void Lerp(const TBaseVectorList& list1, const TBaseVectorList& list2, float t) = 0;
    // Items as X, Y, Z rotation angles, interpolated through quaternions.
    void AngularLerp(const TBaseVectorList& list1, const TBaseVectorList& list2, float t);

protected:
    using TBaseList::TBaseList;
    // Version 0 of its own after the base stream form.
    void WriteTail(TVirtualWriter& writer) const override;
    void ReadTail(TVirtualReader& reader) override;
    float* XYZ(int i) { return static_cast<float*>(ItemAddress(i)); }
    const float* XYZ(int i) const { return static_cast<const float*>(ItemAddress(i)); }
};

class TAffineVectorList : public TBaseVectorList {
    KP_CLASS(TAffineVectorList, TBaseVectorList)
    KP_PERSISTENT_INSTANCE(TAffineVectorList)
public:
    TAffineVectorList() : TBaseVectorList(sizeof(TAffineVector)) {}

    TAffineVector* List() { return Items<TAffineVector>(); }
    const TAffineVector* List() const { return Items<TAffineVector>(); }
    // No range check.
    const TAffineVector& Get(int i) const { return List()[i]; }
    void Put(int i, const TAffineVector& v) { List()[i] = v; }
    TAffineVector& operator[](int i) { return List()[i]; }
    const TAffineVector& operator[](int i) const { return List()[i]; }

    int Add(const TAffineVector& v)
    {
        const int i = AddSlot();
        List()[i] = v;
        return i;
    }
    int Add(float x, float y, float z) { return Add(TAffineVector{x, y, z}); }
    void AddTriangle(const TAffineVector& a, const TAffineVector& b, const TAffineVector& c);
    void AddList(const TAffineVectorList* other);
    // First item bit-equal on X, Y, Z, else -1.
    int IndexOf(const TAffineVector& v) const;
    int IndexOfOrAdd(const TAffineVector& v);
    void TransformPoints(const TMatrix& m);
    void Scale(float f);
    void ScaleVector(const TAffineVector& v);

    void Translate(const TAffineVector& delta) override;
    void Normalize() override;
    void Lerp(const TBaseVectorList& list1, const TBaseVectorList& list2, float t) override;

protected:
    bool AcceptsItemSize(int size) const override { return size == sizeof(TAffineVector); }
};

class TVectorList : public TBaseVectorList {
    KP_CLASS(TVectorList, TBaseVectorList)
    KP_PERSISTENT_INSTANCE(TVectorList)
public:
    TVectorList() : TBaseVectorList(sizeof(TVector)) {}

    TVector* List() { return Items<TVector>(); }
    const TVector* List() const { return Items<TVector>(); }
    const TVector& Get(int i) const { return List()[i]; }
    void Put(int i, const TVector& v) { List()[i] = v; }
    TVector& operator[](int i) { return List()[i]; }
    const TVector& operator[](int i) const { return List()[i]; }

    int Add(const TVector& v)
    {
        const int i = AddSlot();
        List()[i] = v;
        return i;
    }
    int AddAffine(const TAffineVector& v, float w) { return Add(TVector{v.X, v.Y, v.Z, w}); }
    int AddPoint(const TAffineVector& v) { return Add(TVector{v.X, v.Y, v.Z, 1}); }
    int AddPointXYZ(float x, float y, float z) { return Add(TVector{x, y, z, 1}); }

    void Lerp(const TBaseVectorList& list1, const TBaseVectorList& list2, float t) override;

protected:
    bool AcceptsItemSize(int size) const override { return size == sizeof(TVector); }
};

class TQuaternionList : public TBaseVectorList {
    KP_CLASS(TQuaternionList, TBaseVectorList)
    KP_PERSISTENT_INSTANCE(TQuaternionList)
public:
    TQuaternionList() : TBaseVectorList(sizeof(TQuaternion)) {}

    TQuaternion* List() { return Items<TQuaternion>(); }
    const TQuaternion* List() const { return Items<TQuaternion>(); }
    const TQuaternion& Get(int i) const { return List()[i]; }
    void Put(int i, const TQuaternion& q) { List()[i] = q; }

    int Add(const TQuaternion& q)
    {
        const int i = AddSlot();
        List()[i] = q;
        return i;
    }

    // Slerp of item pairs.
    void Lerp(const TBaseVectorList& list1, const TBaseVectorList& list2, float t) override;
    // With another quaternion list: item i := item i * slerp(identity, other's item i, f).
    void CombineItems(const TBaseVectorList& other, float f) override;
    void CombineItem(int index, const TQuaternion& q, float f);

protected:
    bool AcceptsItemSize(int size) const override { return size == sizeof(TQuaternion); }
};
