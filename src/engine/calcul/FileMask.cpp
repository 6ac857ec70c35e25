#include "engine/calcul/FileMask.h"

#include "engine/calcul/CalculText.h"

#include <cstdint>
#include <vector>

namespace calc {

namespace {

enum class ElementType { Literal, AnyChar, AnyRun, Set };

struct Range {
    char32_t low;
    char32_t high;
};

struct Element {
    ElementType type;
    char32_t ch = 0;          // Literal, upper-cased
    bool negated = false;     // Set
    std::size_t firstRange = 0;
    std::size_t rangeCount = 0;
};

struct CompiledMask {
    std::vector<Element> elements;
    std::vector<Range> ranges;
};

CompiledMask Compile(std::string_view mask)
{
    CompiledMask out;
    std::size_t pos = 0;
    while (pos < mask.size()) {
        const std::size_t start = pos;
        const char32_t c = DecodeChar(mask, pos);
        if (c == '*') {
            if (out.elements.empty() || out.elements.back().type != ElementType::AnyRun) {
                out.elements.push_back({ElementType::AnyRun});
            }
            continue;
        }
        if (c == '?') {
            out.elements.push_back({ElementType::AnyChar});
            continue;
        }
        if (c == '[') {
            const std::size_t close = mask.find(']', pos);
            if (close != std::string_view::npos) {
                Element set{ElementType::Set};
                set.firstRange = out.ranges.size();
                std::size_t p = pos;
                if (p < close && mask[p] == '!') {
                    set.negated = true;
                    ++p;
                }
                while (p < close) {
                    const char32_t low = UpperChar(DecodeChar(mask, p));
                    char32_t high = low;
                    if (p + 1 < close && mask[p] == '-') {
                        ++p;
                        high = UpperChar(DecodeChar(mask, p));
                    }
                    out.ranges.push_back({low, high});
                }
                set.rangeCount = out.ranges.size() - set.firstRange;
                out.elements.push_back(set);
                pos = close + 1;
                continue;
            }
            pos = start + 1; // unclosed: a plain "["
        }
        Element literal{ElementType::Literal};
        literal.ch = UpperChar(c);
        out.elements.push_back(literal);
    }
    return out;
}

bool ElementMatches(const CompiledMask& mask, const Element& e, char32_t upper)
{
    switch (e.type) {
    case ElementType::Literal: return e.ch == upper;
    case ElementType::AnyChar: return true;
    case ElementType::Set: {
        bool inSet = false;
        for (std::size_t k = 0; k < e.rangeCount && !inSet; ++k) {
            const Range& r = mask.ranges[e.firstRange + k];
            inSet = upper >= r.low && upper <= r.high;
        }
        return inSet != e.negated;
    }
    case ElementType::AnyRun: break;
    }
    return false;
}

} // namespace

bool MatchesMask(std::string_view text, std::string_view mask)
{
    const CompiledMask compiled = Compile(mask);
    std::vector<char32_t> chars;
    chars.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        chars.push_back(UpperChar(DecodeChar(text, pos)));
    }
    const auto& elements = compiled.elements;
    // Greedy matching that backtracks only to the last "*": each "*" retried with one
    // more character swallowed. Earlier stars never need revisiting.
    std::size_t t = 0;
    std::size_t m = 0;
    std::size_t starElement = SIZE_MAX;
    std::size_t starText = 0;
    while (t < chars.size()) {
        if (m < elements.size() && elements[m].type == ElementType::AnyRun) {
            starElement = m++;
            starText = t;
            continue;
        }
        if (m < elements.size() && ElementMatches(compiled, elements[m], chars[t])) {
            ++m;
            ++t;
            continue;
        }
        if (starElement == SIZE_MAX) {
            return false;
        }
        m = starElement + 1;
        t = ++starText;
    }
    while (m < elements.size() && elements[m].type == ElementType::AnyRun) {
        ++m;
    }
    return m == elements.size();
}

} // namespace calc
