#include "editor/document/CodeLineLengthCounts.h"

#include <algorithm>
#include <cstddef>

void TLineLengthCounts::Add(int length)
{
    if (length >= TableLengths) {
        ++longLines_[length];
    } else {
        const auto at = static_cast<std::size_t>(length);
        if (at >= table_.size()) {
            table_.resize(at + 1);
        }
        ++table_[at];
    }
    longest_ = std::max(longest_, length);
}

bool TLineLengthCounts::Remove(int length)
{
    bool lastOfItsLength = false;
    if (length >= TableLengths) {
        const auto found = longLines_.find(length);
        if (found == longLines_.end()) {
            return false;
        }
        lastOfItsLength = --found->second == 0;
        if (lastOfItsLength) {
            longLines_.erase(found);
        }
    } else {
        const auto at = static_cast<std::size_t>(length);
        if (length < 0 || at >= table_.size() || table_[at] == 0) {
            return false;
        }
        lastOfItsLength = --table_[at] == 0;
    }
    if (lastOfItsLength && length == longest_) {
        if (!longLines_.empty()) {
            longest_ = longLines_.rbegin()->first;
        } else {
            // The table's walk down is at most its few thousand entries.
            longest_ = std::min(longest_, static_cast<int>(table_.size()) - 1);
            while (longest_ > 0 && table_[static_cast<std::size_t>(longest_)] == 0) {
                --longest_;
            }
            longest_ = std::max(longest_, 0);
        }
    }
    return true;
}

void TLineLengthCounts::Clear()
{
    std::vector<int>().swap(table_);
    longLines_.clear();
    longest_ = 0;
}
