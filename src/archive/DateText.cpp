#include "archive/DateText.h"

#include <cmath>
#include <cstdio>

namespace pagora {
namespace {

// Day numbers of 0001-01-01 and 9999-12-31 counted from 1899-12-30.
constexpr int64_t kFirstDay = -693593;
constexpr int64_t kLastDay = 2958465;
constexpr int64_t kMillisecondsPerDay = 86400000;

struct CivilTime {
    int year, month, day;
    int weekday;  // 0 = Sunday
    int hour, minute;
};

// Proleptic Gregorian calendar from a day count, in 400-year eras so that it holds for every
// day without tables.
void CivilFromDays(int64_t days, CivilTime& t) {
    int64_t z = days + 693899;  // days since 0000-03-01
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t dayOfEra = z - era * 146097;
    int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;  // 0 = March
    t.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    t.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    t.year = static_cast<int>(yearOfEra + era * 400 + (t.month <= 2 ? 1 : 0));
    t.weekday = static_cast<int>(((days + 6) % 7 + 7) % 7);  // 1899-12-30 was a Saturday
}

bool Decode(double dateTime, CivilTime& t) {
    // Checked on the double first so that the conversions below are always defined.
    if (!std::isfinite(dateTime) || dateTime <= kFirstDay - 1 || dateTime >= kLastDay + 1)
        return false;
    double whole = std::trunc(dateTime);
    int64_t days = static_cast<int64_t>(whole);
    int64_t ms = std::llround(std::fabs(dateTime - whole) * kMillisecondsPerDay);
    if (ms >= kMillisecondsPerDay) {
        ms -= kMillisecondsPerDay;
        ++days;
    }
    if (days < kFirstDay || days > kLastDay)
        return false;
    CivilFromDays(days, t);
    t.hour = static_cast<int>(ms / 3600000);
    t.minute = static_cast<int>(ms / 60000 % 60);
    return true;
}

// GBK bytes, kept as escapes so the source stays plain ASCII.
constexpr const char* kYear = "\xC4\xEA";
constexpr const char* kMonth = "\xD4\xC2";
constexpr const char* kChineseWeekdays[] = {
    "\xD0\xC7\xC6\xDA\xC8\xD5", "\xD0\xC7\xC6\xDA\xD2\xBB", "\xD0\xC7\xC6\xDA\xB6\xFE",
    "\xD0\xC7\xC6\xDA\xC8\xFD", "\xD0\xC7\xC6\xDA\xCB\xC4", "\xD0\xC7\xC6\xDA\xCE\xE5",
    "\xD0\xC7\xC6\xDA\xC1\xF9",
};

const char* ChinesePeriod(int hour) {
    if (hour < 5)
        return "\xC1\xE8\xB3\xBF";  // small hours
    if (hour < 8)
        return "\xD4\xE7\xC9\xCF";  // early morning
    if (hour < 11)
        return "\xC9\xCF\xCE\xE7";  // morning
    if (hour < 13)
        return "\xD6\xD0\xCE\xE7";  // midday
    if (hour < 18)
        return "\xCF\xC2\xCE\xE7";  // afternoon
    return "\xCD\xED\xC9\xCF";      // evening
}

constexpr const char* kEnglishWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
constexpr const char* kEnglishMonths[] = {"January",   "February", "March",    "April",
                                          "May",       "June",     "July",     "August",
                                          "September", "October",  "November", "December"};

int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2 ? 1 : 0;
    int64_t era = (year >= 0 ? year : year - 399) / 400;
    int64_t yearOfEra = year - era * 400;
    int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 693899;
}

}  // namespace

double DateTimeValue(int year, int month, int day, int hour, int minute, int second) {
    int64_t days = DaysFromCivil(year, month, day);
    double fraction = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    // Before 1899-12-30 the fraction still counts forward from midnight.
    return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

int32_t DateTimeToChineseDateTime(double dateTime, char* buffer) {
    CivilTime t;
    if (!Decode(dateTime, t))
        return 0;
    // The period word says which half of the day it is, so the hour needs no AM/PM; midday
    // keeps 12.
    int hour = t.hour > 12 ? t.hour - 12 : t.hour;
    std::snprintf(buffer, kDateTextBufferSize, "%d%s%d%s%d %s %s %d:%02d", t.year, kYear, t.month,
                  kMonth, t.day, kChineseWeekdays[t.weekday], ChinesePeriod(t.hour), hour,
                  t.minute);
    return 1;
}

int32_t DateTimeToEnglishDateTime(double dateTime, char* buffer) {
    CivilTime t;
    if (!Decode(dateTime, t))
        return 0;
    int hour = t.hour % 12 == 0 ? 12 : t.hour % 12;
    std::snprintf(buffer, kDateTextBufferSize, "%s, %s %d, %d %d:%02d %s",
                  kEnglishWeekdays[t.weekday], kEnglishMonths[t.month - 1], t.day, t.year, hour,
                  t.minute, t.hour < 12 ? "AM" : "PM");
    return 1;
}

}  // namespace pagora
