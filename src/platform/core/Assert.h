#pragma once
// Assertions that stay on in every build and report the unit and line, as
// "Assertion failure (Unit.cpp, line 42)" or "<message> (Unit.cpp, line 42)".

#include "platform/core/Exceptions.h"

namespace kerfpad_detail {
[[noreturn]] void FailAssertion(const char* message, const char* file, int line);
}

#define KP_ASSERT(cond) \
    do { if (!(cond)) ::kerfpad_detail::FailAssertion("Assertion failure", __FILE__, __LINE__); } while (0)

#define KP_ASSERT_MSG(cond, msg) \
    do { if (!(cond)) ::kerfpad_detail::FailAssertion((msg), __FILE__, __LINE__); } while (0)
