#pragma once
// How values are written into the evaluator's variables list and into conditions:
// numbers and expressions stay as they are, anything else becomes a quoted,
// upper-cased string.

#include <string>
#include <string_view>

// True when the text holds any of "+", "-", "^", "*", "/", "&".
bool IsArithmeticOperator(std::string_view text);

// The text upper-cased; unless it is a number or holds an operator, wrapped in double
// quotes (a quote already at either end is kept, not doubled).
std::string QuoteOperand(std::string_view text);

// "name=value" with the value ready for the evaluator: a value beginning with "&" is a
// variable and loses that "&"; any other value is trimmed and passed through
// QuoteOperand. A text without "=" is all value.
std::string NormalizeAssignment(std::string_view text);
