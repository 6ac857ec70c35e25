#pragma once
// Finds the line of a label for GOTO and GOSUB. The index is built once per program
// text and re-checked on every hit, so a jump in a long program does not rescan it,
// and a program edited between runs is never trusted blindly.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

using TProgramLines = std::vector<std::string>;

class TLabelIndex {
public:
    // 0-based index of the first line that is the label `name` (compared ignoring
    // case); -1 when the program has no such label.
    int Find(const TProgramLines& lines, std::string_view name);

private:
    void Build(const TProgramLines& lines);
    static bool LineIsLabel(const std::string& line, std::string_view lowerName);

    const TProgramLines* FLines = nullptr;
    std::size_t FCount = 0;
    std::unordered_map<std::string, int> FIndex;
};
