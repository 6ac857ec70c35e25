#include "engine/calcul/CalculWrapArgs.h"

#include <gtest/gtest.h>

namespace {

TEST(CalculWrapArgs, EachArgumentInItsOwnParentheses)
{
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"sin(1)", "sin(1)"},
        {"f(a,b,c)", "f((a),(b),(c))"},
        {"f(a,g(b,c))", "f((a),(g((b),(c))))"},
        {"f(g(a,b),c)", "f((g((a),(b))),(c))"},
        {"f(a,g(b,h(c,d)))", "f((a),(g((b),(h((c),(d))))))"},
        {"f(a,(b+g(c,d)))", "f((a),((b+g((c),(d)))))"},
        {"f(\"a,b\",c)", "f((\"a,b\"),(c))"},
        {"f((1+2),3)", "f(((1+2)),(3))"},
        {"a,b", "a),(b"},
    };
    for (const auto& c : cases) {
        std::string out;
        EXPECT_TRUE(calc::WrapFunctionArgs(c.in, out)) << c.in;
        EXPECT_EQ(out, c.out) << c.in;
    }
}

TEST(CalculWrapArgs, RefusesNestingBeyondTheLimit)
{
    auto nested = [](int levels) {
        std::string f;
        for (int i = 0; i < levels; ++i) {
            f += "g(1,";
        }
        return f + "2" + std::string(static_cast<std::size_t>(levels), ')');
    };
    std::string out;
    EXPECT_TRUE(calc::WrapFunctionArgs(nested(calc::kMaxCallNesting), out));
    EXPECT_FALSE(calc::WrapFunctionArgs(nested(calc::kMaxCallNesting + 1), out));
}

} // namespace
