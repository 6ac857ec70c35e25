#include "engine/calcul/DateStamp.h"

#include "CalculTestSupport.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

namespace {

using namespace calc;

TEST(DateStamp, StampsCountDaysFromTheEpoch)
{
    EXPECT_EQ(EncodeStampDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeStampDate(1900, 1, 1), 2);
    EXPECT_EQ(EncodeStampDate(2000, 1, 1), 36526);
    EXPECT_EQ(EncodeStampDate(1, 1, 1), kMinStamp);
    EXPECT_EQ(EncodeStampDate(9999, 12, 31), kMaxStamp);
    EXPECT_THROW(EncodeStampDate(10000, 1, 1), EConvertError);
    EXPECT_THROW(EncodeStampDate(2001, 2, 29), EConvertError);
}

TEST(DateStamp, WritesDatesAndTimes)
{
    struct Case {
        double stamp;
        const char* text;
    } cases[] = {
        {0, "1899/12/30 00:00:00.000"},
        {38053.37850743056, "2004/03/07 09:05:03.042"},
        {36526.5, "2000/01/01 12:00:00.000"},
        {-1.25, "1899/12/29 06:00:00.000"}, // before the epoch the fraction still counts forward
        {0.99999999999, "1899/12/31 00:00:00.000"}, // rounds to the next midnight
        {kMinStamp, "0001/01/01 00:00:00.000"},
        {kMaxStamp + 0.5, "9999/12/31 12:00:00.000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StampToStr(c.stamp), c.text) << c.stamp;
    }
    EXPECT_EQ(StampToDateStr(38053.5), "2004/03/07");
    EXPECT_EQ(StampToTimeStr(38053.5), "12:00:00.000");
    EXPECT_THROW(StampToStr(kMaxStamp + 1), EConvertError);
    EXPECT_THROW(StampToStr(kMinStamp - 1), EConvertError);
    EXPECT_THROW(StampToStr(std::numeric_limits<double>::quiet_NaN()), EConvertError);
}

TEST(DateStamp, ReadsDates)
{
    const double mar7 = EncodeStampDate(2004, 3, 7);
    struct Case {
        const char* text;
        double stamp;
    } cases[] = {
        {"2004/03/07", mar7},
        {"\"2004/03/07\"", mar7},
        {" 2004 / 3 / 7 ", mar7},
        {"2004/03/07 12:00", mar7},             // the time part is dropped
        {"2004/13/01", EncodeStampDate(2005, 1, 1)},
        {"2004/24/01", EncodeStampDate(2005, 12, 1)},
        {"2004/0/01", EncodeStampDate(2003, 12, 1)},
        {"2004/-1/01", EncodeStampDate(2003, 11, 1)},
        {"2004/-12/01", EncodeStampDate(2002, 12, 1)},
        {"2004/02/30", EncodeStampDate(2004, 3, 1)},  // days run into the next month
        {"2004/03/00", EncodeStampDate(2004, 2, 29)}, // and back into the previous one
        {"2004/x/07", mar7 - 31 - 29},                // a month that is no clean integer stays 1
        {"2004", EncodeStampDate(2004, 1, 1)},
        {"2004/15", EncodeStampDate(2004, 1, 15)},
        {"0/05/05", kMinStamp},                       // years below 1 give 0001/01/01
        {"1/01/-40", kMinStamp},                      // never below it
        {"", 0},
        {"abc", 0},
        {"-5/1/1", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DateStrToStamp(c.text), c.stamp) << c.text;
    }
    EXPECT_THROW(DateStrToStamp("10000/01/01"), EConvertError);
}

TEST(DateStamp, ReadsTimes)
{
    constexpr double hour = 1.0 / 24;
    struct Case {
        const char* text;
        double stamp;
    } cases[] = {
        {"12:00", 0.5},
        {"06:30:00", 6.5 * hour},
        {"00:00:01.500", 1.5 / 86400},
        {"\" 06 : 30 \"", 6.5 * hour},
        {"2004/03/07 18:00", 0.75},       // the date part is dropped
        {"25:00", 25 * hour},              // hours carry into days
        {"00:90", 1.5 * hour},             // minutes into hours
        {"00:00:3600", hour},
        {"00:00:00.86400000", 1},
        {"6", 6 * hour},
        {"-1:30", -0.5 * hour},            // negative fields borrow
        {"x", 0},
        {"", 0},
        {"12:3x", 12 * hour},              // minutes that are no clean integer are dropped
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(TimeStrToStamp(c.text), c.stamp, 1e-12) << c.text;
    }
}

TEST(DateStamp, ReadsDateAndTimeTogether)
{
    const double mar7 = EncodeStampDate(2004, 3, 7);
    EXPECT_NEAR(StrToStamp("2004/03/07 09:05:03.042"), 38053.37850743056, 1e-9);
    EXPECT_EQ(StrToStamp("2004/03/07"), mar7);
    EXPECT_EQ(StrToStamp("18:00"), 0.75);
    EXPECT_EQ(StrToStamp("2004"), EncodeStampDate(2004, 1, 1));
    // Before the epoch the time of day is taken off the whole days.
    const double dec1 = EncodeStampDate(1899, 12, 1);
    EXPECT_NEAR(StrToStamp("1899/12/01 06:00"), dec1 - 0.25, 1e-12);
    EXPECT_EQ(StampToStr(StrToStamp("1899/12/01 06:00")), "1899/12/01 06:00:00.000");
}

TEST(DateStamp, LastDayOfMonth)
{
    struct Case {
        int y, m, d;
        int last;
    } cases[] = {
        {2004, 2, 10, 29}, {2003, 2, 1, 28}, {1900, 2, 1, 28}, {2000, 2, 1, 29},
        {2004, 1, 31, 31}, {2004, 4, 30, 30}, {2004, 12, 1, 31}, {1, 1, 1, 0},
        {1, 1, 2, 31},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LastDayOfMonth(EncodeStampDate(c.y, c.m, c.d)), c.last) << c.y << "/" << c.m << "/" << c.d;
    }
}

TEST(DateStamp, DateFunctionsOfTheEvaluator)
{
    ExpectResults({
        {"weekday(\"2004/03/07\")", "7"}, // a Sunday
        {"weekday(\"2004/03/08\")", "1"},
        {"weekday(\"1899/12/30\")", "6"},
        {"year(\"2004/03/07 09:05:03\")", "2004"},
        {"month(\"2004/03/07\")", "3"},
        {"day(\"2004/03/07\")", "7"},
        {"hour(\"2004/03/07 09:05:03\")", "9"},
        {"minute(\"2004/03/07 09:05:03\")", "5"},
        {"sec(\"2004/03/07 09:05:03\")", "3"},
        {"strtostamp(\"2004/03/07 12:00\")", "38053.5"},
        {"strtostamp(\"1899/12/30\")", "0"},
        {"stamptostr(0)", "\"1899/12/30 00:00:00.000\""},
        {"stamptodatestr(38053)", "\"2004/03/07\""},
        {"stamptotimestr(0.25)", "\"06:00:00.000\""},
        {"lastday(38037)", "29"}, // 2004/02/20
        {"lastday(-693593)", "0"},
    });
}

TEST(DateStamp, BeyondTheCalendarFailsTheCalculation)
{
    ExpectErrors({{"stamptostr(3000000)", "invalid formule"}, {"lastday(-700000)", "invalid formule"},
                  {"year(\"10000/1/1\")", "invalid formule"}, {"stamptodatestr(1e300)", "invalid formule"}});
}

} // namespace
