#include "engine/LineText.h"

#include "platform/core/text/StringUtils.h"

namespace {
bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}
} // namespace

std::size_t FindCommentStart(std::string_view line)
{
    bool quoted = false;
    const std::size_t n = line.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = line[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (c == '\'') {
            return i;
        } else if (c == 'R' && i + 2 < n && line[i + 1] == 'E' && line[i + 2] == 'M'
                   && (i == 0 || !IsNameChar(line[i - 1])) && (i + 3 == n || !IsNameChar(line[i + 3]))) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::string_view CutComment(std::string_view line)
{
    const std::size_t p = FindCommentStart(line);
    return p == std::string_view::npos ? line : line.substr(0, p);
}

bool StartsWithWord(std::string_view text, std::string_view upperWord)
{
    if (text.size() < upperWord.size()) {
        return false;
    }
    for (std::size_t i = 0; i < upperWord.size(); ++i) {
        if (UpCaseChar(text[i]) != upperWord[i]) {
            return false;
        }
    }
    if (text.size() == upperWord.size()) {
        return true;
    }
    const char next = text[upperWord.size()];
    return !IsNameChar(next) && next != ':';
}

bool IsLabelLine(std::string_view line, std::string_view* name)
{
    const std::string_view text = TrimView(CutComment(line));
    if (text.size() < 2 || text.back() != ':') {
        return false;
    }
    const std::string_view label = text.substr(0, text.size() - 1);
    for (char c : label) {
        if (IsBlank(c) || c == ',' || c == '"' || c == '=' || c == ':' || c == '&' || c == '%') {
            return false;
        }
    }
    if (name != nullptr) {
        *name = label;
    }
    return true;
}

std::size_t FindNoCase(std::string_view text, std::string_view upperWord, std::size_t from)
{
    if (upperWord.empty() || text.size() < upperWord.size()) {
        return std::string_view::npos;
    }
    for (std::size_t i = from; i + upperWord.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < upperWord.size() && UpCaseChar(text[i + k]) == upperWord[k]) {
            ++k;
        }
        if (k == upperWord.size()) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::size_t FindThenWord(std::string_view text)
{
    bool quoted = false;
    for (std::size_t i = 0; i + 4 <= text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (quoted || (i > 0 && IsNameChar(text[i - 1]))) {
            continue;
        }
        if (UpCaseChar(c) == 'T' && UpCaseChar(text[i + 1]) == 'H' && UpCaseChar(text[i + 2]) == 'E'
            && UpCaseChar(text[i + 3]) == 'N' && (i + 4 == text.size() || !IsNameChar(text[i + 4]))) {
            return i;
        }
    }
    return std::string_view::npos;
}

namespace {
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Lengths of the parts of a plain number; false when `text` is not one.
bool ScanPlainNumber(std::string_view text, std::size_t& intBegin, std::size_t& intEnd, std::size_t& fracEnd,
                     bool& hasExponent)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && (text[i] == '-' || text[i] == '+')) {
        ++i;
    }
    intBegin = i;
    while (i < n && IsDigit(text[i])) {
        ++i;
    }
    intEnd = i;
    if (intEnd == intBegin) {
        return false;
    }
    fracEnd = i;
    if (i < n && text[i] == '.') {
        ++i;
        const std::size_t fracBegin = i;
        while (i < n && IsDigit(text[i])) {
            ++i;
        }
        if (i == fracBegin) {
            return false;
        }
        fracEnd = i;
    }
    hasExponent = false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '-' || text[i] == '+')) {
            ++i;
        }
        const std::size_t expBegin = i;
        while (i < n && IsDigit(text[i])) {
            ++i;
        }
        if (i == expBegin) {
            return false;
        }
        hasExponent = true;
    }
    return i == n;
}
} // namespace

bool IsPlainNumber(std::string_view text)
{
    std::size_t a = 0, b = 0, c = 0;
    bool e = false;
    return ScanPlainNumber(text, a, b, c, e);
}

bool SignedNumberAsEvaluated(std::string& text)
{
    std::size_t intBegin = 0, intEnd = 0, fracEnd = 0;
    bool hasExponent = false;
    if (text.size() < 2 || (text[0] != '-' && text[0] != '+') || !IsDigit(text[1]) ||
        !ScanPlainNumber(text, intBegin, intEnd, fracEnd, hasExponent) || hasExponent) {
        return false;
    }
    // The evaluator reads "-" and the digits as one number and gives back its text;
    // a "+" is an operator it applies to the number.
    if (text[0] == '+') {
        text.erase(0, 1);
    }
    return true;
}
