#include "platform/core/Exceptions.h"
#include "platform/core/text/NumberFormat.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

TEST(NumberFormat, GeneralFormUsesFifteenDigitsAndSwitchesToExponents)
{
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {0.0, "0"},          {-0.0, "0"},          {1.0, "1"},
        {-2.5, "-2.5"},      {0.1, "0.1"},         {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},          {123456789012345.0, "123456789012345"},
        {1234567890123456.0, "1.23456789012346E15"}, {1e20, "1E20"},
        {0.00001, "0.00001"}, {0.000001, "1E-6"},   {1.5e-7, "1.5E-7"},
        {999999999999999.4, "999999999999999"},    {9999999999999999.0, "1E16"},
        {100.0, "100"},      {0.05, "0.05"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FloatToStr(c.value), c.text) << c.value;
    }
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::quiet_NaN()), "NAN");
    EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::infinity()), "-INF");
}

TEST(NumberFormat, FixedFormRoundsTiesAwayFromZero)
{
    EXPECT_EQ(FloatToStrFixed(0.015625, 5), "0.01563");   // an exact binary tie
    EXPECT_EQ(FloatToStrFixed(-0.015625, 5), "-0.01563");
    EXPECT_EQ(FloatToStrFixed(2.5, 0), "3");
    EXPECT_EQ(FloatToStrFixed(9.996, 2), "10.00");
    EXPECT_EQ(FloatToStrFixed(-0.000001, 5), "0.00000");  // no "-0.00000"
    EXPECT_EQ(FloatToStrFixed(1.0, 5), "1.00000");
    EXPECT_EQ(FloatToStrFixed(0.1, 3), "0.100");
    EXPECT_EQ(FloatToStrFixed(123.456, 1), "123.5");
}

TEST(NumberFormat, OutputIgnoresTheLocale)
{
    const char* old = std::setlocale(LC_ALL, nullptr);
    std::string saved = old ? old : "C";
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "fr_FR.UTF-8")) {
        EXPECT_EQ(FloatToStr(1.5), "1.5");
        EXPECT_EQ(FloatToStrFixed(1.5, 2), "1.50");
        EXPECT_DOUBLE_EQ(StrToFloat("1.5"), 1.5);
    }
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(NumberFormat, StrictConversionsRaiseWithTheTextQuoted)
{
    EXPECT_DOUBLE_EQ(StrToFloat(" -1.25e2 "), -125.0);
    EXPECT_DOUBLE_EQ(StrToFloat("+.5"), 0.5);
    EXPECT_DOUBLE_EQ(StrToFloat("3."), 3.0);
    for (const char* bad : {"", "abc", "1,5", "1.2.3", "e5", "1e", "inf", "nan", ".", "1 2", "1e999"}) {
        EXPECT_THROW(StrToFloat(bad), EConvertError) << bad;
    }
    try {
        StrToFloat("x1");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'x1' is not a valid floating point value");
    }
    EXPECT_EQ(StrToFloat("1e-400"), 0.0);
    // Too large or too small by where the first significant digit stands, not by the
    // exponent's sign.
    EXPECT_THROW(StrToFloat("1" + std::string(400, '0') + "e-5"), EConvertError);
    EXPECT_EQ(StrToFloat("0." + std::string(400, '0') + "1"), 0.0);
    EXPECT_EQ(StrToFloat("-0.000001e-400"), 0.0);
    constexpr double inf = std::numeric_limits<double>::infinity();
    const struct {
        std::string Text;
        double Value;
    } beyond[] = {{"1e400", inf}, {"-1e400", -inf}, {" 1" + std::string(400, '0') + "e-5 ", inf},
                  {"0.001e309", 1e306}, {"-1e-400", 0.0}, {"0e99999999999999999999", 0.0}};
    for (const auto& [text, value] : beyond) {
        double read = 42;
        EXPECT_TRUE(TryStrToFloatOrInfinity(text, read)) << text.substr(0, 20);
        EXPECT_EQ(read, value) << text.substr(0, 20);
        EXPECT_EQ(TryStrToFloat(text, read), std::isfinite(value)) << text.substr(0, 20);
    }
    double untouched = 42;
    EXPECT_FALSE(TryStrToFloatOrInfinity("inf", untouched));
    EXPECT_EQ(untouched, 42);

    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483648LL);
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_EQ(StrToInt("0x10"), 16);
    for (const char* bad : {"", "1.0", "2147483648", "12a", "-", "$"}) {
        EXPECT_THROW(StrToInt(bad), EConvertError) << bad;
    }
    try {
        StrToInt("seven");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'seven' is not a valid integer value");
    }
}

TEST(NumberFormat, TolerantConversionsFallBack)
{
    EXPECT_EQ(StrToIntDef("x", 7), 7);
    EXPECT_EQ(StrToIntDef("8", 7), 8);
    EXPECT_DOUBLE_EQ(StrToFloatDef("", 0.25), 0.25);
    EXPECT_DOUBLE_EQ(StrToFloatDef("2.5", 0.25), 2.5);
    long double ld = 0;
    EXPECT_TRUE(TryStrToExtended("0.1", ld));
    EXPECT_EQ(ld, 0.1L);
}
