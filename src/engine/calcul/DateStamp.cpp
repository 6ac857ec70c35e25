#include "engine/calcul/DateStamp.h"

#include "platform/core/Exceptions.h"
#include "platform/core/text/StringUtils.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace calc {

namespace {

constexpr std::int64_t kMsPerDay = 86400000;

// Days from 1970-01-01 of a proleptic Gregorian date (any month and day numbers that
// are in range; the algorithm is exact for every year).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

const std::int64_t kEpoch = DaysFromCivil(1899, 12, 30);

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return kDays[m - 1] + (m == 2 && IsLeap(y) ? 1 : 0);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A clean integer: optional sign and digits only (blanks around allowed). Values too
// large for 32 bits are refused like any other bad text.
bool CleanInt(std::string_view s, long long& value)
{
    const std::string t = Trim(s);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    if (i >= t.size()) {
        return false;
    }
    long long v = 0;
    for (; i < t.size(); ++i) {
        if (!IsDigit(t[i]) || v > 1000000000LL) {
            return false;
        }
        v = v * 10 + (t[i] - '0');
    }
    value = negative ? -v : v;
    return true;
}

// Reads as far as the integer goes: "20x4" is 20, no digits at all is 0.
long long LeadingInt(std::string_view s)
{
    const std::string t = Trim(s);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    long long v = 0;
    for (; i < t.size() && IsDigit(t[i]); ++i) {
        if (v < 1000000000LL) {
            v = v * 10 + (t[i] - '0');
        }
    }
    return negative ? -v : v;
}

void ReplaceAll(std::string& s, std::string_view from, std::string_view to)
{
    std::string out;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t at = s.find(from, pos);
        if (at == std::string::npos) {
            break;
        }
        out.append(s, pos, at - pos).append(to);
        pos = at + from.size();
    }
    if (pos == 0) {
        return;
    }
    out.append(s, pos, std::string::npos);
    s.swap(out);
}

std::string Unquote(std::string_view text)
{
    std::string s = Trim(text);
    if (!s.empty() && s.front() == '"') {
        s.erase(0, 1);
    }
    if (!s.empty() && s.back() == '"') {
        s.pop_back();
    }
    return s;
}

long long FloorDiv(long long a, long long b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

} // namespace

double EncodeStampDate(int year, int month, int day)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
        throw EConvertError("Invalid argument to date encode");
    }
    return static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpoch);
}

TDateTimeParts DecodeStamp(double stamp)
{
    if (!std::isfinite(stamp) || stamp < kMinStamp - 1 || stamp > kMaxStamp + 1) {
        throw EConvertError("Invalid date stamp");
    }
    // Round the magnitude to the millisecond first, so that 0.99999999999 is the next
    // midnight rather than 24:00:00.000.
    const std::int64_t total = std::llround(std::fabs(stamp) * static_cast<double>(kMsPerDay));
    std::int64_t days = total / kMsPerDay;
    std::int64_t ms = total % kMsPerDay;
    if (stamp < 0) {
        days = -days;
    }
    if (days < static_cast<std::int64_t>(kMinStamp) || days > static_cast<std::int64_t>(kMaxStamp)) {
        throw EConvertError("Invalid date stamp");
    }
    TDateTimeParts p;
    CivilFromDays(days + kEpoch, p.Year, p.Month, p.Day);
    p.Hour = static_cast<int>(ms / 3600000);
    ms %= 3600000;
    p.Minute = static_cast<int>(ms / 60000);
    ms %= 60000;
    p.Second = static_cast<int>(ms / 1000);
    p.Millisecond = static_cast<int>(ms % 1000);
    // 1970-01-01 was a Thursday (4).
    const std::int64_t unixDays = days + kEpoch;
    p.DayOfWeek = static_cast<int>(((unixDays % 7) + 7 + 3) % 7) + 1;
    return p;
}

std::string StampToDateStr(double stamp)
{
    const TDateTimeParts p = DecodeStamp(stamp);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", p.Year, p.Month, p.Day);
    return buf;
}

std::string StampToTimeStr(double stamp)
{
    const TDateTimeParts p = DecodeStamp(stamp);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d.%03d", p.Hour, p.Minute, p.Second, p.Millisecond);
    return buf;
}

std::string StampToStr(double stamp) { return StampToDateStr(stamp) + " " + StampToTimeStr(stamp); }

double DateStrToStamp(std::string_view text)
{
    std::string s = Unquote(text);
    ReplaceAll(s, " /", "/");
    ReplaceAll(s, "/ ", "/");
    s = Trim(s);
    if (s.empty() || !IsDigit(s[0])) {
        return 0;
    }
    const std::size_t blank = s.find(' ');
    if (blank != std::string::npos) {
        s.resize(blank); // the time part
    }
    long long year = 1;
    long long month = 1;
    long long day = 1;
    const std::size_t slash = s.find('/', 1);
    if (slash != std::string::npos) {
        year = LeadingInt(std::string_view(s).substr(0, slash));
        std::string_view rest = std::string_view(s).substr(slash + 1);
        const std::size_t slash2 = rest.size() > 1 ? rest.find('/', 1) : std::string_view::npos;
        if (slash2 != std::string_view::npos) {
            long long m = 0;
            if (CleanInt(rest.substr(0, slash2), m)) {
                month = m;
            }
            rest = rest.substr(slash2 + 1);
        }
        day = LeadingInt(rest);
    } else {
        long long y = 0;
        if (CleanInt(s, y)) {
            year = y;
        }
    }
    const long long t = month - 1;
    year += FloorDiv(t, 12);
    month = t - FloorDiv(t, 12) * 12 + 1;
    if (year < 1) {
        year = 1;
        month = 1;
        day = 1;
    }
    // A year beyond the calendar raises here.
    const double first = EncodeStampDate(year > 9999 ? 10000 : static_cast<int>(year), static_cast<int>(month), 1);
    const double stamp = first + static_cast<double>(day - 1);
    return stamp < kMinStamp ? kMinStamp : stamp;
}

double TimeStrToStamp(std::string_view text)
{
    std::string s = Unquote(text);
    s = Trim(s);
    ReplaceAll(s, "  ", " ");
    ReplaceAll(s, " /", "/");
    ReplaceAll(s, "/ ", "/");
    ReplaceAll(s, " :", ":");
    ReplaceAll(s, ": ", ":");
    ReplaceAll(s, " .", ".");
    ReplaceAll(s, ". ", ".");
    const std::size_t blank = s.find(' ');
    if (blank != std::string::npos && blank > 0) {
        s = Trim(std::string_view(s).substr(blank + 1)); // the date part is dropped
    }
    if (s.empty() || !(s[0] == '-' || IsDigit(s[0]))) {
        return 0;
    }
    long long hours = 0;
    long long minutes = 0;
    long long seconds = 0;
    long long ms = 0;
    const std::size_t colon = s.find(':', 1);
    if (colon != std::string::npos) {
        hours = LeadingInt(std::string_view(s).substr(0, colon));
        const std::string_view rest = std::string_view(s).substr(colon + 1);
        const std::size_t colon2 = rest.size() > 1 ? rest.find(':', 1) : std::string_view::npos;
        if (colon2 != std::string_view::npos) {
            minutes = LeadingInt(rest.substr(0, colon2));
            const std::string_view secText = rest.substr(colon2 + 1);
            const std::size_t dot = secText.find('.');
            if (dot != std::string_view::npos) {
                seconds = LeadingInt(secText.substr(0, dot));
                ms = LeadingInt(secText.substr(dot + 1));
            } else {
                long long v = 0;
                if (CleanInt(secText, v)) {
                    seconds = v;
                }
            }
        } else {
            long long v = 0;
            if (CleanInt(rest, v)) {
                minutes = v;
            }
        }
    } else {
        long long v = 0;
        if (CleanInt(s, v)) {
            hours = v;
        }
    }
    // Carrying and borrowing between the fields is plain signed arithmetic on the
    // total; for non-negative fields it is the usual carry into the larger unit.
    const long long total = ((hours * 60 + minutes) * 60 + seconds) * 1000 + ms;
    return static_cast<double>(total) / static_cast<double>(kMsPerDay);
}

double StrToStamp(std::string_view text)
{
    const std::string s = Trim(text);
    const bool hasTime = s.find(':') != std::string::npos;
    if (s.find('/') != std::string::npos) {
        const double date = DateStrToStamp(s);
        if (!hasTime) {
            return date;
        }
        const double time = TimeStrToStamp(s);
        if (date >= 0 || time < 0) {
            return date + time;
        }
        // Before the epoch the fraction still counts forward from midnight.
        const double wholeDays = std::trunc(time);
        return wholeDays + date - (time - wholeDays);
    }
    return hasTime ? TimeStrToStamp(s) : DateStrToStamp(s);
}

int LastDayOfMonth(double stamp)
{
    const TDateTimeParts p = DecodeStamp(stamp);
    if (p.Year == 1 && p.Month == 1 && p.Day == 1) {
        return 0;
    }
    return DaysInMonth(p.Year, p.Month);
}

} // namespace calc
