#include "engine/Keywords.h"

#include "platform/core/text/StringUtils.h"

#include <algorithm>
#include <string>
#include <vector>

const std::array<std::string_view, KeywordCount> CommandKeywords = {
    "For", "Next", "Goto", "Gosub", "Return", "Pause", "End", "Exit Shopbot", "Print", "Open",
    "Close", "Write", "Output", "As", "Shell", "SA", "SR", "SP", "SM", "SK",
    "SL", "SO", "SW", "SC", "ST", "SF", "SV", "Warning Off", "If", "Then",
    "On", "Input", "FP", "FE", "FN", "FG", "FC", "FS", "MX", "MY",
    "MZ", "M2", "M3", "MH", "MA", "MB", "M4", "M5", "MO", "M0",
    "MS", "JX", "JY", "JZ", "J2", "J3", "JH", "JA", "JB", "J4",
    "J5", "JS", "CC", "CP", "CA", "CG", "CR", "CS", "ZX", "ZY",
    "ZZ", "ZA", "ZB", "Z2", "Z3", "Z4", "Z5", "ZT", "ABS", "AND",
    "ARCCOS", "ARCCOSH", "ARCCOT", "ARCCOTH", "ARCCSC", "ARCCSCH", "ARCTANH", "ARCSEC", "ARCSECH", "ARCSIN",
    "ARCSINH", "ATN", "CLG", "COS", "COT", "COTH", "CSC", "CSCH", "EXP", "LOG",
    "NOT", "OR", "SINH", "SECH", "SEC", "SIN", "SQR", "TAN", "TANH", "VC",
    "VP", "VV", "VS", "VR", "VB", "VA", "VU", "VD", "VL", "VI",
    "VN", "VH", "VT", "VE", "VK", "RR", "RP", "RS", "RA", "RI",
    "RZ", "UN", "UU", "UL", "UV", "UR", "US", "UD", "UI", "UC",
};

namespace {
// Upper-cased and sorted once, so a lookup is a binary search without allocation.
const std::vector<std::string>& SortedKeywords()
{
    static const std::vector<std::string> sorted = [] {
        std::vector<std::string> words;
        words.reserve(KeywordCount + 1);
        for (auto word : CommandKeywords) {
            words.push_back(UpperCase(word));
        }
        words.emplace_back(ClampKeyword);
        std::sort(words.begin(), words.end());
        return words;
    }();
    return sorted;
}

int CompareUpper(std::string_view upperKey, std::string_view word)
{
    const std::size_t n = std::min(upperKey.size(), word.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char a = upperKey[i];
        const char b = UpCaseChar(word[i]);
        if (a != b) {
            return static_cast<unsigned char>(a) < static_cast<unsigned char>(b) ? -1 : 1;
        }
    }
    if (upperKey.size() == word.size()) {
        return 0;
    }
    return upperKey.size() < word.size() ? -1 : 1;
}
} // namespace

bool IsCommandKeyword(std::string_view word)
{
    const auto& words = SortedKeywords();
    auto it = std::lower_bound(words.begin(), words.end(), word,
                               [](const std::string& key, std::string_view w) { return CompareUpper(key, w) < 0; });
    return it != words.end() && CompareUpper(*it, word) == 0;
}
