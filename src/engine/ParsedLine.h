#pragma once
// One parsed program line: element 0 the upper-cased command word, elements 1 to 14
// its argument texts. An argument whose expression could not be evaluated keeps its
// own text and is marked failed, so a handler that reads it can stop the run instead
// of silently using a wrong value.

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class TArrayofCmds {
public:
    static constexpr int Count = 15;

    std::string& operator[](int i) { return FItems[static_cast<std::size_t>(i)]; }
    const std::string& operator[](int i) const { return FItems[static_cast<std::size_t>(i)]; }

    bool Failed(int i) const { return (FFailed >> i) & 1u; }
    void MarkFailed(int i, const std::string& errorText)
    {
        FFailed |= static_cast<std::uint16_t>(1u << i);
        FErrors.emplace_back(i, errorText);
    }
    bool AnyFailed() const { return FFailed != 0; }
    // The evaluator's message for element i; empty when it did not fail.
    const std::string& ErrorOf(int i) const
    {
        static const std::string none;
        for (const auto& [index, text] : FErrors) {
            if (index == i) {
                return text;
            }
        }
        return none;
    }

    // Empties every element, keeping their storage for the next line.
    void Clear()
    {
        for (auto& item : FItems) {
            item.clear();
        }
        FFailed = 0;
        FErrors.clear();
    }

private:
    std::array<std::string, Count> FItems;
    std::uint16_t FFailed = 0;
    std::vector<std::pair<int, std::string>> FErrors; // only failed elements
};
