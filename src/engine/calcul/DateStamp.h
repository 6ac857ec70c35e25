#pragma once
// Time stamps of the evaluator's date functions: whole days since 1899-12-30, the
// fraction being the time of day (for a negative stamp the fraction still counts
// forward from midnight of its day: -1.25 is 1899-12-29 06:00).
//
// The calendar runs from 0001-01-01 to 9999-12-31; a stamp outside it cannot be
// decoded and raises EConvertError, which fails the calculation.

#include <string>
#include <string_view>

namespace calc {

struct TDateTimeParts {
    int Year = 1899;
    int Month = 12;
    int Day = 30;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
    int DayOfWeek = 6; // Monday 1 ... Sunday 7
};

// The stamp of midnight of a calendar date; raises EConvertError outside the calendar.
double EncodeStampDate(int year, int month, int day);
// The stamp rounded to the millisecond and split into its fields.
TDateTimeParts DecodeStamp(double stamp);

constexpr double kMinStamp = -693593; // 0001-01-01
constexpr double kMaxStamp = 2958465; // 9999-12-31

std::string StampToDateStr(double stamp); // 2004/03/07
std::string StampToTimeStr(double stamp); // 09:05:03.042
std::string StampToStr(double stamp);     // 2004/03/07 09:05:03.042

// year/month/day: a month beyond 1..12 moves into the year, a day beyond the month
// runs into the neighbouring months, never below 0001-01-01; a text that does not
// start with a digit is 0.
double DateStrToStamp(std::string_view text);
// hours:minutes:seconds.milliseconds; fields carry into the larger units, negative
// fields borrow from them (the stamp is the signed total).
double TimeStrToStamp(std::string_view text);
// A date, a time, or a date and a time separated by a blank.
double StrToStamp(std::string_view text);

// Days of the month of the stamp; 0 for a stamp on 0001-01-01.
int LastDayOfMonth(double stamp);

} // namespace calc
