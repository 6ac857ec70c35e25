#pragma once
// Puts every argument of a multi-argument call in its own parentheses, so that the
// parser sees one parenthesised list joined by "," operators:
//   f(a,b,c) -> f((a),(b),(c)),  f(a,g(b,c)) -> f((a),(g((b),(c)))).
// Texts inside double quotes are left alone. A comma that belongs to no call produces
// unbalanced parentheses, which the parser then reports.

#include <string>
#include <string_view>

namespace calc {

// The deepest nesting of multi-argument calls the rewrite follows.
constexpr int kMaxCallNesting = 100;

// Writes the rewritten text to `out` (a text without "," is copied unchanged). False
// when calls nest deeper than kMaxCallNesting; `out` is then unspecified.
bool WrapFunctionArgs(std::string_view text, std::string& out);

} // namespace calc
