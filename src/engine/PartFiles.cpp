#include "engine/PartFiles.h"

namespace {
constexpr std::size_t HistoryGrowth = 10000;
}

TPartFiles::TPartFiles()
{
    Reset();
}

TFP TPartFiles::MainLevel()
{
    TFP level;
    level.Scale = TVector{1.0f, 1.0f, 1.0f, 0.0f};
    level.Arg5 = 1;
    return level;
}

void TPartFiles::Reset()
{
    FLevels.assign(1, MainLevel());
    FHistory.clear();
    FHistory.reserve(HistoryGrowth);
}

void TPartFiles::PopLevel()
{
    if (FLevels.size() > 1) {
        FLevels.pop_back();
    }
}

const std::string& TPartFiles::CurrentFileName() const
{
    const std::string& name = FLevels.back().FileName;
    return name.empty() ? FMainFileName : name;
}

int TPartFiles::GetPrevLineNumForStepBack()
{
    if (FHistory.empty()) {
        return -1;
    }
    const int index = FHistory.back();
    FHistory.pop_back();
    return index;
}
