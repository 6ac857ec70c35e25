#include "scene/materials/SystemColorVectors.h"

#include "platform/core/Assert.h"
#include "scene/materials/Color.h"

#include <array>

namespace {

std::array<TVector, SystemColorVectorCount>& Table()
{
    static std::array<TVector, SystemColorVectorCount> table = [] {
        std::array<TVector, SystemColorVectorCount> colors{};
        for (int i = 0; i < SystemColorVectorCount; ++i) {
            colors[std::size_t(i)] = ColorToVector(clSystemColor | i, 1);
        }
        return colors;
    }();
    return table;
}

} // namespace

void InitSystemColors()
{
    auto& table = Table();
    for (int i = 0; i < SystemColorVectorCount; ++i) {
        table[std::size_t(i)] = ColorToVector(clSystemColor | i, 1);
    }
}

const TVector& SystemColorVector(int index)
{
    KP_ASSERT(index >= 0 && index < SystemColorVectorCount);
    return Table()[std::size_t(index)];
}
