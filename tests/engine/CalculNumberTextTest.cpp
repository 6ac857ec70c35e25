#include "engine/calcul/Calcul.h"
#include "engine/calcul/CalculNumberText.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>

namespace {

TEST(CalculNumberText, WritesTwelveDecimalsWithoutTrailingZeros)
{
    struct Case {
        long double value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {-0.0L, "0"},
        {3, "3"},
        {2.5L, "2.5"},
        {-0.125L, "-0.125"},
        {1.0L / 3, "0.333333333333"},
        {2.0L / 3, "0.666666666667"},
        {-2.0L / 3, "-0.666666666667"},
        {1e-12L, "0.000000000001"},
        {4e-13L, "0"},
        {-4e-13L, "0"},      // no "-0"
        {5e-13L, "0.000000000001"},
        {123456.789L, "123456.789"},
        {1e15L, "1000000000000000"},
        {1234567.5L, "1234567.5"},      // beyond the fast path
        {1e20L, "100000000000000000000"},
        {0.1L, "0.1"},
        {100, "100"},
        {-7, "-7"},
        {std::numeric_limits<long double>::quiet_NaN(), "Nan"},
        {std::numeric_limits<long double>::infinity(), "+Inf"},
        {-std::numeric_limits<long double>::infinity(), "-Inf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CalcNumberToText(c.value), c.text) << static_cast<double>(c.value);
    }
}

// The reference: the library's exact fixed conversion, then the stripping rules.
std::string Reference(long double v)
{
    char buf[128];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 12);
    std::string s(buf, res.ptr);
    while (s.back() == '0' && s[s.size() - 2] != '.') {
        s.pop_back();
    }
    if (s.size() >= 2 && s.compare(s.size() - 2, 2, ".0") == 0) {
        s.resize(s.size() - 2);
    }
    return s == "-0" ? "0" : s;
}

TEST(CalculNumberText, FastWriterAgreesWithExactConversion)
{
    std::mt19937_64 rng(12345);
    std::uniform_real_distribution<double> mantissa(-1, 1);
    std::uniform_int_distribution<int> exponent(-14, 7);
    for (int i = 0; i < 200000; ++i) {
        const long double v = static_cast<long double>(mantissa(rng)) * std::pow(10.0L, exponent(rng));
        ASSERT_EQ(CalcNumberToText(v), Reference(v)) << static_cast<double>(v);
    }
    // Decimal texts with a 5 in the thirteenth place: the nearest long double lies just
    // above or below the half, and the written text must follow that exact value.
    std::uniform_int_distribution<long long> whole(0, 999999);
    std::uniform_int_distribution<long long> twelve(0, 999999999999LL);
    for (int i = 0; i < 100000; ++i) {
        std::string digits = std::to_string(twelve(rng));
        digits.insert(0, 12 - digits.size(), '0');
        const std::string text = (i % 2 ? "-" : "") + std::to_string(whole(rng)) + "." + digits + "5";
        long double v = 0;
        ASSERT_TRUE(ReadCalcNumber(text, v));
        ASSERT_EQ(CalcNumberToText(v), Reference(v)) << text;
    }
    // Values built from decimal texts, as the evaluator sees them.
    for (int i = 0; i < 100000; ++i) {
        const std::string text = std::to_string(i) + "." + std::to_string(i * 7919 % 100000) + "5e-9";
        long double v = 0;
        ASSERT_TRUE(ReadCalcNumber(text, v));
        ASSERT_EQ(CalcNumberToText(v), Reference(v)) << text;
    }
}

TEST(CalculNumberText, ReadsCompleteNumbersOnly)
{
    struct Case {
        const char* text;
        bool ok;
        long double value;
    } cases[] = {
        {"3,5", true, 3.5L},
        {" 12 ", true, 12},
        {"-4.25", true, -4.25L},
        {"+1", true, 1},
        {"1e3", true, 1000},
        {"1E-2", true, 0.01L},
        {".5", true, 0.5L},
        {"5.", true, 5},
        {"0.000123", true, 0.000123L},
        {"12345678901234567890123", true, 12345678901234567890123.0L},
        {"1e99999", true, std::numeric_limits<long double>::infinity()},
        {"1e-99999", true, 0},
        {"", false, 0},
        {"   ", false, 0},
        {"abc", false, 0},
        {"1,2,3", false, 0},
        {"1e", false, 0},
        {"--1", false, 0},
        {"1 2", false, 0},
        {"Nan", false, 0},
        {"inf", false, 0},
        {"0x10", false, 0},
        {".", false, 0},
    };
    for (const auto& c : cases) {
        long double v = -1;
        EXPECT_EQ(ReadCalcNumber(c.text, v), c.ok) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
}

TEST(CalculNumberText, ShortDecimalsReadExactlyRounded)
{
    // The fast path must agree with a correctly rounded conversion.
    long double v = 0;
    ASSERT_TRUE(ReadCalcNumber("12345.1", v));
    EXPECT_EQ(v, 12345.1L);
    ASSERT_TRUE(ReadCalcNumber("0.2", v));
    EXPECT_EQ(v, 0.2L);
    ASSERT_TRUE(ReadCalcNumber("1.2345678901234567e-5", v));
    EXPECT_EQ(v, 1.2345678901234567e-5L);

    std::mt19937_64 rng(7);
    std::uniform_int_distribution<int> digitCount(1, 22);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> exponent(-30, 30);
    for (int i = 0; i < 100000; ++i) {
        std::string text;
        const int n = digitCount(rng);
        const int point = std::uniform_int_distribution<int>(0, n)(rng);
        for (int k = 0; k < n; ++k) {
            if (k == point && k > 0) {
                text += '.';
            }
            text += static_cast<char>('0' + digit(rng));
        }
        text += "e" + std::to_string(exponent(rng));
        long double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        ASSERT_TRUE(ReadCalcNumber(text, v)) << text;
        ASSERT_EQ(v, expected) << text;
    }
}

TEST(CalculNumberText, ConversionsOfTheEvaluator)
{
    TCalcul calc;
    struct IntCase {
        const char* text;
        int value;
    } ints[] = {
        {"2.9999999", 3}, {"-1.5", -1}, {"0.99999995", 1}, {"0.9999998", 0}, {"-2.9999999", -3},
        {"7", 7},         {"0", 0},     {"1e10", -2147483647 - 1},
    };
    for (const auto& c : ints) {
        EXPECT_EQ(calc.NumberToInt(c.text), c.value) << c.text;
        EXPECT_FALSE(calc.Error());
    }
    EXPECT_EQ(calc.TextToNumber("x1"), 0);
    EXPECT_TRUE(calc.Error());
    EXPECT_EQ(calc.ErrorText(), "Error, convert to numeric value:x1");
    // With an error recorded NumberToInt does not convert at all.
    EXPECT_EQ(calc.NumberToInt("5"), 0);
    EXPECT_EQ(calc.ErrorText(), "Error, convert to numeric value:x1");
    EXPECT_EQ(TCalcul::NumberToText(2.5L), "2.5");
    TCalcul untrimmed;
    untrimmed.TextToNumber(" a ");
    EXPECT_EQ(untrimmed.ErrorText(), "Error, convert to numeric value: a ");
}

} // namespace
