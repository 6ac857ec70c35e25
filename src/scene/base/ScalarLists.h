#pragma once
// Typed lists of texture points, 32-bit integers, floats and bytes.

#include "scene/base/BaseList.h"
#include "scene/base/VectorTypes.h"

#include <cstdint>
#include <span>

class TTexPointList : public TBaseList {
    KP_CLASS(TTexPointList, TBaseList)
    KP_PERSISTENT_INSTANCE(TTexPointList)
public:
    TTexPointList() : TBaseList(sizeof(TTexPoint)) {}

    TTexPoint* List() { return Items<TTexPoint>(); }
    const TTexPoint* List() const { return Items<TTexPoint>(); }
    const TTexPoint& Get(int i) const { return List()[i]; }
    void Put(int i, const TTexPoint& p) { List()[i] = p; }
    int Add(const TTexPoint& p)
    {
        const int i = AddSlot();
        List()[i] = p;
        return i;
    }

protected:
    bool AcceptsItemSize(int size) const override { return size == sizeof(TTexPoint); }
};

class TIntegerList : public TBaseList {
    KP_CLASS(TIntegerList, TBaseList)
    KP_PERSISTENT_INSTANCE(TIntegerList)
public:
    TIntegerList() : TBaseList(sizeof(std::int32_t)) {}

    std::int32_t* List() { return Items<std::int32_t>(); }
    const std::int32_t* List() const { return Items<std::int32_t>(); }
    // No range check.
    std::int32_t Get(int i) const { return List()[i]; }
    void Put(int i, std::int32_t v) { List()[i] = v; }
    std::int32_t operator[](int i) const { return List()[i]; }

    int Add(std::int32_t v)
    {
        const int i = AddSlot();
        List()[i] = v;
        return i;
    }
    void AddPair(std::int32_t a, std::int32_t b);
    void AddTriple(std::int32_t a, std::int32_t b, std::int32_t c);
    // Nothing for n < 1.
    void AppendIntegers(const std::int32_t* buffer, int n);
    void AppendIntegerArray(std::span<const std::int32_t> values);
    int IndexOf(std::int32_t v) const;
    // Ascending, between two indices inclusive.
    void Sort(int first, int last);
    // Sorted, keeping the first of each run of equal values.
    void SortUnique();

protected:
    bool AcceptsItemSize(int size) const override { return size == sizeof(std::int32_t); }
};

class TSingleList : public TBaseList {
    KP_CLASS(TSingleList, TBaseList)
    KP_PERSISTENT_INSTANCE(TSingleList)
public:
    TSingleList() : TBaseList(sizeof(float)) {}

    float* List() { return Items<float>(); }
    const float* List() const { return Items<float>(); }
    float Get(int i) const { return List()[i]; }
    void Put(int i, float v) { List()[i] = v; }
    float operator[](int i) const { return List()[i]; }
    int Add(float v)
    {
        const int i = AddSlot();
        List()[i] = v;
        return i;
    }

protected:
    bool AcceptsItemSize(int size) const override { return size == sizeof(float); }
};

class TByteList : public TBaseList {
    KP_CLASS(TByteList, TBaseList)
    KP_PERSISTENT_INSTANCE(TByteList)
public:
    TByteList() : TBaseList(1) {}

    std::uint8_t* List() { return Items<std::uint8_t>(); }
    const std::uint8_t* List() const { return Items<std::uint8_t>(); }
    std::uint8_t Get(int i) const { return List()[i]; }
    void Put(int i, std::uint8_t v) { List()[i] = v; }
    std::uint8_t operator[](int i) const { return List()[i]; }
    int Add(std::uint8_t v)
    {
        const int i = AddSlot();
        List()[i] = v;
        return i;
    }

protected:
    bool AcceptsItemSize(int size) const override { return size == 1; }
};

class TPersistentObjectList;

// Sorts keys[first..last] ascending and applies every swap to the same positions of
// the objects, so each object follows its key. Equal keys have no defined order.
void SortByKeys(int first, int last, TSingleList& keys, TPersistentObjectList& objects);
