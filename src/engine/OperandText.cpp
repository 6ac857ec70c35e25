#include "engine/OperandText.h"

#include "engine/ArgumentNumbers.h"
#include "engine/LineText.h"
#include "platform/core/text/StringUtils.h"

bool IsArithmeticOperator(std::string_view text)
{
    return HasOperatorChar(text, ocArithmetic);
}

std::string QuoteOperand(std::string_view text)
{
    double number = 0.0;
    if (ReadArgumentNumber(text, number) || HasOperatorChar(text, ocArithmetic | ocComparison)) {
        return UpperCase(text);
    }
    std::string quoted;
    quoted.reserve(text.size() + 2);
    if (text.size() <= 1) {
        quoted += '"';
        quoted += UpperCase(text);
        quoted += '"';
        return quoted;
    }
    if (text.front() != '"') {
        quoted += '"';
    }
    quoted += UpperCase(text);
    if (text.back() != '"') {
        quoted += '"';
    }
    return quoted;
}

std::string NormalizeAssignment(std::string_view text)
{
    const std::size_t eq = text.find('=');
    const std::string_view head = eq == std::string_view::npos ? std::string_view() : text.substr(0, eq + 1);
    const std::string_view value = TrimView(eq == std::string_view::npos ? text : text.substr(eq + 1));
    std::string result(head);
    if (value.empty()) {
        return result;
    }
    if (value.size() >= 2 && value.front() == '&') {
        result.append(value.substr(1));
    } else {
        result += QuoteOperand(value);
    }
    return result;
}
