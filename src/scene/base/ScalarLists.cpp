#include "scene/base/ScalarLists.h"

#include "platform/core/Assert.h"
#include "platform/core/objects/ClassRegistry.h"
#include "scene/base/PersistentObjectList.h"

#include <utility>

namespace {

const bool registered = (RegisterClass<TTexPointList>(), RegisterClass<TSingleList>(), true);

// Hoare-partition quicksort. The smaller part recurses and the larger one loops, so a
// million equal-ish keys cannot exhaust the stack. swapAt(i, j) exchanges positions.
template <class Key, class SwapAt>
void QuickSort(Key* keys, int lo, int hi, SwapAt&& swapAt)
{
    while (hi - lo >= 2) {
        int i = lo;
        int j = hi;
        const Key pivot = keys[(lo + hi) / 2];
        do {
            while (keys[i] < pivot) {
                ++i;
            }
            while (keys[j] > pivot) {
                --j;
            }
            if (i <= j) {
                swapAt(i, j);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - lo < hi - i) {
            if (j > lo) {
                QuickSort(keys, lo, j, swapAt);
            }
            lo = i;
        } else {
            if (i < hi) {
                QuickSort(keys, i, hi, swapAt);
            }
            hi = j;
        }
    }
    if (hi - lo == 1 && keys[lo] > keys[hi]) {
        swapAt(lo, hi);
    }
}

} // namespace

void TIntegerList::AddPair(std::int32_t a, std::int32_t b)
{
    const int first = AddSlots(2); // before List(): growing moves the block
    std::int32_t* v = List() + first;
    v[0] = a;
    v[1] = b;
}

void TIntegerList::AddTriple(std::int32_t a, std::int32_t b, std::int32_t c)
{
    const int first = AddSlots(3);
    std::int32_t* v = List() + first;
    v[0] = a;
    v[1] = b;
    v[2] = c;
}

void TIntegerList::AppendIntegers(const std::int32_t* buffer, int n)
{
    if (n >= 1) {
        AppendBlock(buffer, n);
    }
}

void TIntegerList::AppendIntegerArray(std::span<const std::int32_t> values)
{
    AppendIntegers(values.data(), static_cast<int>(values.size()));
}

int TIntegerList::IndexOf(std::int32_t v) const
{
    const std::int32_t* items = List();
    for (int i = 0; i < Count(); ++i) {
        if (items[i] == v) {
            return i;
        }
    }
    return -1;
}

void TIntegerList::Sort(int first, int last)
{
    if (Count() == 0 || first >= last) {
        return;
    }
    KP_ASSERT(first >= 0 && last < Count());
    std::int32_t* items = List();
    QuickSort(items, first, last, [items](int i, int j) { std::swap(items[i], items[j]); });
}

void TIntegerList::SortUnique()
{
    if (Count() < 2) {
        return;
    }
    Sort(0, Count() - 1);
    std::int32_t* items = List();
    int kept = 1;
    for (int i = 1; i < Count(); ++i) {
        if (items[i] != items[kept - 1]) {
            items[kept++] = items[i];
        }
    }
    SetCount(kept);
}

void SortByKeys(int first, int last, TSingleList& keys, TPersistentObjectList& objects)
{
    if (first >= last) {
        return;
    }
    KP_ASSERT(first >= 0 && last < keys.Count() && last < objects.Count());
    float* k = keys.List();
    QuickSort(k, first, last, [k, &objects](int i, int j) {
        std::swap(k[i], k[j]);
        TObject* a = objects.GetItems(i);
        objects.SetItems(i, objects.GetItems(j));
        objects.SetItems(j, a);
    });
}
