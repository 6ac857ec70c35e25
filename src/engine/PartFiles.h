#pragma once
// The stack of part files called with FP (each level with the offset and scale that
// apply while it runs) and the history of executed lines that step back pops. Each
// level owns the part of the history its file added: step back inside a sub-file
// stops at its first line, and when the call returns its lines leave the history, so
// the caller's next step back takes the caller's line, not a sub-file's line number.

#include "engine/SubFileNames.h"
#include "scene/base/VectorTypes.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TFP {
    std::string FileName;
    TVector Offset{0.0f, 0.0f, 0.0f, 0.0f};
    TVector Scale{0.0f, 0.0f, 0.0f, 0.0f};
    int Arg5 = 0;
    int Arg8 = 0;
    float Arg7 = 0.0f;
    int Arg9 = 0;
};

class TPartFiles {
public:
    TPartFiles();

    // One main-file level (scale 1, offset 0) and an empty history.
    void Reset();
    // How often the history was reset: what was kept for its lines goes with it.
    std::uint64_t Resets() const { return FResets; }

    int Depth() const { return static_cast<int>(FLevels.size()); }
    TFP GetCurrent() const { return FLevels.back(); }
    const TFP& Current() const { return FLevels.back(); }
    // The new level's part of the history starts at its current end.
    void PushLevel(const TFP& level);
    // Cuts the history back to where the level began. The main-file level is never
    // popped.
    void PopLevel();

    void SetMainFileName(const std::string& name) { FMainFileName = name; }
    const std::string& MainFileName() const { return FMainFileName; }
    // The file an FP argument names (see SubFileNames.h), relative to the main file.
    std::string ResolveFileName(std::string_view text) const { return ResolveSubFileName(text, FMainFileName); }
    // The file name of the innermost level, or the main file's name at the top level.
    const std::string& CurrentFileName() const;

    void AddToLinesAndNodesArray(int index) { FHistory.push_back(index); }
    // Step back never takes the history below as many entries as `floor` answers at
    // the time (what it would need to undo them was not kept).
    void SetStepBackFloor(std::function<std::size_t()> floor) { FStepBackFloor = std::move(floor); }
    // Removes and returns the most recent entry of the current level's file; -1 when
    // it has none, or none that may be stepped back.
    int GetPrevLineNumForStepBack();
    int PopLine() { return GetPrevLineNumForStepBack(); }
    int HistoryCount() const { return static_cast<int>(FHistory.size()); }
    // Where the current level's part of the history begins.
    std::size_t LevelFloor() const { return FHistoryFloors.back(); }
    // The line the current level's file ran last, as the history holds it; -1 when its
    // part of the history is empty.
    int LastLine() const { return FHistory.size() > FHistoryFloors.back() ? FHistory.back() : -1; }
    const std::vector<int>& History() const { return FHistory; }

private:
    static TFP MainLevel();

    std::vector<TFP> FLevels;
    // Per level: the history's size when the level was pushed.
    std::vector<std::size_t> FHistoryFloors;
    std::string FMainFileName;
    std::vector<int> FHistory;
    std::function<std::size_t()> FStepBackFloor;
    std::uint64_t FResets = 0;
};
