#pragma once

#include <cstdint>

namespace pagora {

// The date services an album's helper library offered, built in. dateTime counts days since
// 1899-12-30; its fraction (taken as absolute value for negative dates) is the time of day.
// Both write zero-terminated text into a buffer of kDateTextBufferSize bytes and return 1, or
// return 0 and leave the buffer alone when the value is not a time in years 1..9999.
inline constexpr int kDateTextBufferSize = 255;

// GBK bytes, as the album's own texts: "2004年10月28 星期四 晚上 8:00".
int32_t DateTimeToChineseDateTime(double dateTime, char* buffer);
// "Thursday, October 28, 2004 8:00 PM".
int32_t DateTimeToEnglishDateTime(double dateTime, char* buffer);

// The day count of a proleptic Gregorian date and time of day, the inverse of the two above.
// Fields are not checked; callers pass a valid date.
double DateTimeValue(int year, int month, int day, int hour, int minute, int second);

}  // namespace pagora
