#pragma once
// The function names of the expression language, written with their "(" as the
// tokenizer sees them, and the kind of value each operation gives.

#include "engine/calcul/CalculTokens.h"

#include <string_view>

namespace calc {

// The code of a lower-case function token such as "sin(", or 0 when there is none.
int FunctionCode(std::string_view lowerNameWithParen);

// The kind an operation stamps on its node, or kindUnset for operations that leave the
// node's kind as it is (literals, variables, ",", ";", "like", "wildcard", "eval(",
// "delete(").
Kind OperationKind(int op);

} // namespace calc
