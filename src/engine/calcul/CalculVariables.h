#pragma once
// The evaluator's user variables: an ordered list of "name=value" lines, shown as they
// are in the variables window. Names are matched without regard to ASCII case, and
// the first line of a name wins, like a string list's name lookup.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TCalculVariables {
public:
    int Count() const { return static_cast<int>(FLines.size()); }
    bool Empty() const { return FLines.empty(); }
    // Index must lie in 0..Count()-1 (raises EListError otherwise).
    const std::string& Strings(int index) const;
    void SetStrings(int index, std::string line);
    const std::string& operator[](int index) const { return Strings(index); }

    int Add(std::string line);
    void Insert(int index, std::string line);
    void Delete(int index);
    void Clear()
    {
        FLines.clear();
        FKeys.clear();
    }

    // Index of the first line whose text before its first "=" equals `name` ignoring
    // case; -1 when there is none.
    int IndexOfName(std::string_view name) const;
    // The text before the first "=" (the whole line when it has none).
    std::string_view Names(int index) const;
    // The text after the first "=" (empty when the line has none).
    std::string_view ValueFromIndex(int index) const;
    // The value of the first line named `name`, empty when there is none.
    std::string Values(std::string_view name) const;
    // Replaces the value of the first line named `name`, or adds "name=value".
    void SetValue(std::string_view name, std::string_view value);

    // Every line ended by CR LF.
    std::string Text() const;
    // Replaces the list by the lines of `text` (split at CR LF, LF or CR; a final line
    // break adds no empty line).
    void SetText(std::string_view text);

private:
    void CheckIndex(int index) const;
    // Name length and case-folded first letter of a name, so that a lookup compares
    // whole names only for the few lines that can match.
    static std::uint32_t NameKey(std::string_view name);
    static std::uint32_t LineKey(std::string_view line);
    std::vector<std::string> FLines;
    std::vector<std::uint32_t> FKeys; // LineKey of each line
};
