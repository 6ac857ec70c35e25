#pragma once
// Scanning helpers for program lines: comments, labels, statement words and plain
// numbers. All work on views, without allocating, because every line of a run passes
// through them.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

inline bool IsNameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// The operator characters: those that make an argument an expression (+ - ^ * / &)
// and those that compare (< > =). One table lookup a character: values of millions of
// characters pass through the scans below.
enum : unsigned char { ocArithmetic = 1, ocComparison = 2 };
inline constexpr std::array<unsigned char, 256> OperatorChars = [] {
    std::array<unsigned char, 256> table{};
    for (unsigned char c : std::string_view("+-^*/&")) {
        table[c] = ocArithmetic;
    }
    for (unsigned char c : std::string_view("<>=")) {
        table[c] = ocComparison;
    }
    return table;
}();

// True for the characters that make an argument an expression: + - ^ * / &.
inline bool IsArithmeticChar(char c)
{
    return OperatorChars[static_cast<unsigned char>(c)] == ocArithmetic;
}

// Whether `text` holds a character of the classes in `classes`.
inline bool HasOperatorChar(std::string_view text, unsigned char classes)
{
    for (char c : text) {
        if (OperatorChars[static_cast<unsigned char>(c)] & classes) {
            return true;
        }
    }
    return false;
}

inline bool HasArithmeticChar(std::string_view text)
{
    return HasOperatorChar(text, ocArithmetic);
}

// Where the comment of a line starts: the first "'" outside double-quoted text, or the
// first "REM" that stands as a word of its own outside quoted text. npos when none.
std::size_t FindCommentStart(std::string_view line);
std::string_view CutComment(std::string_view line);

inline std::string_view TrimView(std::string_view text)
{
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ') {
        ++b;
    }
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') {
        --e;
    }
    return text.substr(b, e - b);
}

// True when `text` begins with `upperWord` (compared ignoring case) as a whole word:
// the word is not followed by a letter, digit, "_" or ":". "ENDX" and "end:" do not
// begin with the word END.
bool StartsWithWord(std::string_view text, std::string_view upperWord);

// A label line is "name:" alone (trailing comment allowed); `name` receives the name
// without the colon.
bool IsLabelLine(std::string_view line, std::string_view* name = nullptr);

// Position of the first "then" standing as a word of its own outside quoted text,
// ignoring case; npos when none.
std::size_t FindThenWord(std::string_view text);

// Case-insensitive search; npos when absent.
std::size_t FindNoCase(std::string_view text, std::string_view upperWord, std::size_t from = 0);

// A plain decimal number as the evaluator reads it: optional sign, digits, optionally
// "." and digits, optionally an exponent.
bool IsPlainNumber(std::string_view text);

// A sign and a plain number without exponent ("-1.50", "+007") rewritten in place
// exactly as the evaluator returns it for the same formula: a "-" stays with the
// digits as written, a "+" goes. False (text unchanged) for anything else.
bool SignedNumberAsEvaluated(std::string& text);
