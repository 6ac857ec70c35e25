#pragma once
// The numbers of the untitled pages in use ("Untitled1", "Untitled2", ...): a new page
// takes the lowest free number, a closed one gives its number back. The set grows 32
// numbers at a time.

#include <vector>

class TUntitledNumbers {
public:
    static constexpr int Growth = 32;

    // The lowest free number (from 1), now taken.
    int New();
    // Frees the number; numbers never handed out are ignored.
    void Release(int number);
    // How many numbers the set can hold before it grows.
    int Size() const { return static_cast<int>(FTaken.size()); }

private:
    std::vector<bool> FTaken;
};
