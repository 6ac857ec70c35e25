#pragma once
// How many lines the buffer holds of each length, and the longest of them, kept as lines
// come and go. Lengths up to a few thousand are counted in a table; longer ones, rare
// and possibly millions of columns long, in a sorted map, so a line of ten million
// characters costs one entry rather than a table of that size.

#include <map>
#include <vector>

class TLineLengthCounts {
public:
    void Add(int length);
    // False when no line of that length was counted.
    bool Remove(int length);
    int Longest() const { return longest_; }
    void Clear();

private:
    static constexpr int TableLengths = 4096;
    std::vector<int> table_;
    std::map<int, int> longLines_;
    int longest_ = 0;
};
