#include "scene/objects/meshes/MeshStrips.h"

int AppendUnfilled(TAffineVectorList& list, int n)
{
    const int first = list.Count();
    const bool zero = list.ZeroNewItems();
    list.SetZeroNewItems(false);
    list.SetCount(first + n);
    list.SetZeroNewItems(zero);
    return first;
}

namespace {

// Strip position i of n >= 3 points becomes triangle i of the list; `at` yields point k.
template <class At>
void AppendStrip(int n, TAffineVectorList& list, At at)
{
    if (n < 3) {
        return;
    }
    const int first = AppendUnfilled(list, (n - 2) * 3);
    TAffineVector* out = list.List() + first;
    for (int i = 0; i + 2 < n; ++i, out += 3) {
        if ((i & 1) == 0) {
            out[0] = at(i);
            out[1] = at(i + 1);
            out[2] = at(i + 2);
        } else {
            out[0] = at(i + 2);
            out[1] = at(i + 1);
            out[2] = at(i);
        }
    }
}

} // namespace

void ConvertStripToList(const TAffineVectorList& strip, TAffineVectorList& list)
{
    const TAffineVector* points = strip.List();
    AppendStrip(strip.Count(), list, [points](int k) { return points[k]; });
}

void ConvertIndexedStripToList(const TAffineVectorList& vertices, const TIntegerList& indices,
                               TAffineVectorList& list)
{
    const TAffineVector* points = vertices.List();
    const std::int32_t* index = indices.List();
    AppendStrip(indices.Count(), list, [points, index](int k) { return points[index[k]]; });
}
