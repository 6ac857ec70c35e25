#include "engine/PartFiles.h"

#include <algorithm>

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
    FHistoryFloors.assign(1, 0);
    FHistory.clear();
    FHistory.reserve(HistoryGrowth);
    ++FResets;
}

void TPartFiles::PushLevel(const TFP& level)
{
    FHistoryFloors.push_back(FHistory.size());
    try {
        FLevels.push_back(level);
    } catch (...) {
        FHistoryFloors.pop_back();
        throw;
    }
}

void TPartFiles::PopLevel()
{
    if (FLevels.size() > 1) {
        FHistory.resize(std::min(FHistory.size(), FHistoryFloors.back()));
        FLevels.pop_back();
        FHistoryFloors.pop_back();
    }
}

const std::string& TPartFiles::CurrentFileName() const
{
    const std::string& name = FLevels.back().FileName;
    return name.empty() ? FMainFileName : name;
}

int TPartFiles::GetPrevLineNumForStepBack()
{
    if (FHistory.size() <= std::max(FHistoryFloors.back(), FStepBackFloor ? FStepBackFloor() : 0)) {
        return -1;
    }
    const int index = FHistory.back();
    FHistory.pop_back();
    return index;
}
