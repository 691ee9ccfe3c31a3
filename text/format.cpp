// MinGW's C++ headers already route printf to MinGW's own conforming implementation; say so here
// too, so that "%.13g" never falls back to msvcrt's rounding.
#ifndef __USE_MINGW_ANSI_STDIO
#define __USE_MINGW_ANSI_STDIO 1
#endif

#include "text/format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string_view>

namespace zuzar {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
// Day 0 of DateTime, 1899-12-30, counted from 0001-01-01.
constexpr int64_t kDaysFromYearOneToDayZero = 693593;
constexpr int32_t kDaysPer400Years = 146097;
constexpr int32_t kDaysPer100Years = 36524;
constexpr int32_t kDaysPer4Years = 1461;
constexpr int32_t kDaysPerYear = 365;
constexpr int32_t kDaysBeforeMonth[2][13] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366}};

// The texts cover 0100-01-01 to 9999-12-31 00:00:00.
constexpr double kFirstDateTime = -657434.0;
constexpr double kLastDateTime = 2958465.0;

struct CalendarTime {
  int32_t year, month, day, hour, minute, second;
};

int64_t FloorDiv(int64_t value, int64_t divisor) {
  return value / divisor - ((value % divisor != 0) && ((value < 0) != (divisor < 0)) ? 1 : 0);
}

bool IsLeapYear(int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Days from 0001-01-01 to the first of the given month.
int64_t DaysToMonthStart(int64_t year, int64_t month) {
  year += FloorDiv(month - 1, 12);
  month -= FloorDiv(month - 1, 12) * 12;
  const int64_t yearsBefore = year - 1;
  return yearsBefore * kDaysPerYear + FloorDiv(yearsBefore, 4) - FloorDiv(yearsBefore, 100) +
         FloorDiv(yearsBefore, 400) + kDaysBeforeMonth[IsLeapYear(year)][month - 1];
}

// Year, month and day of a day number, which must lie within the text range.
CalendarTime DateOfDayNumber(int32_t dayNumber) {
  int32_t days = static_cast<int32_t>(dayNumber + kDaysFromYearOneToDayZero);
  const int32_t cycles400 = days / kDaysPer400Years;
  days -= cycles400 * kDaysPer400Years;
  const int32_t cycles100 = std::min(days / kDaysPer100Years, 3);  // the 400th year's leap day
  days -= cycles100 * kDaysPer100Years;
  const int32_t cycles4 = days / kDaysPer4Years;
  days -= cycles4 * kDaysPer4Years;
  const int32_t years = std::min(days / kDaysPerYear, 3);  // the 4th year's leap day
  days -= years * kDaysPerYear;

  CalendarTime date{};
  date.year = cycles400 * 400 + cycles100 * 100 + cycles4 * 4 + years + 1;
  const int32_t* before = kDaysBeforeMonth[IsLeapYear(date.year)];
  date.month = 1;
  while (days >= before[date.month]) ++date.month;
  date.day = days - before[date.month - 1] + 1;
  return date;
}

double ClampToTextRange(DateTime value) {
  if (std::isnan(value)) return 0.0;
  return std::clamp(value, kFirstDateTime, kLastDateTime);
}

// Splits a value of the text range into calendar fields, rounded to the nearest second with halves
// away from zero.
CalendarTime SplitDateTime(DateTime value) {
  constexpr double kHalfSecond = 1.0 / 172800.0;
  const double rounded = value > 0 ? value + kHalfSecond : value - kHalfSecond;
  const auto dayNumber = static_cast<int32_t>(rounded);
  const double magnitude = std::fabs(rounded);
  const auto seconds = std::min(
      static_cast<int32_t>((magnitude - std::floor(magnitude)) * kSecondsPerDay), 86399);

  CalendarTime time = DateOfDayNumber(dayNumber);
  time.hour = seconds / 3600;
  time.minute = seconds / 60 % 60;
  time.second = seconds % 60;
  return time;
}

// The writers below return the bytes written (snprintf truncates; the area is large enough).
size_t Written(int result, size_t room) {
  if (result < 0) return 0;
  return std::min(static_cast<size_t>(result), room > 0 ? room - 1 : 0);
}

size_t WriteDate(char* out, size_t room, const CalendarTime& time) {
  return Written(std::snprintf(out, room, "%d年%d月%d日", static_cast<int>(time.year),
                               static_cast<int>(time.month), static_cast<int>(time.day)),
                 room);
}

size_t WriteFullTime(char* out, size_t room, const CalendarTime& time) {
  return Written(std::snprintf(out, room, "%d时%d分%d秒", static_cast<int>(time.hour),
                               static_cast<int>(time.minute), static_cast<int>(time.second)),
                 room);
}

// The time without its trailing zero fields; midnight writes nothing.
size_t WriteShortestTime(char* out, size_t room, const CalendarTime& time) {
  if (time.second != 0) return WriteFullTime(out, room, time);
  if (time.minute != 0) {
    return Written(std::snprintf(out, room, "%d时%d分", static_cast<int>(time.hour),
                                 static_cast<int>(time.minute)),
                   room);
  }
  if (time.hour != 0) {
    return Written(std::snprintf(out, room, "%d时", static_cast<int>(time.hour)), room);
  }
  return 0;
}

// The text is built in a fixed area. A plain decimal holds at most a sign, 13 integer digits with
// 4 commas and a "."; padding is capped so that the fraction always fits beside them.
constexpr size_t kNumberAreaSize = 200;
constexpr int32_t kMaxPaddedPlaces = static_cast<int32_t>(kNumberAreaSize) - 1 - 19;

class NumberArea {
 public:
  std::string_view view() const { return {bytes_, length_}; }
  size_t find(char c) const { return view().find(c); }
  size_t length() const { return length_; }

  void Print(double value) {
    length_ = Written(std::snprintf(bytes_, kNumberAreaSize, "%.13g", value), kNumberAreaSize);
  }
  void Assign(std::string_view text) {
    length_ = std::min(text.size(), kNumberAreaSize - 1);
    std::memcpy(bytes_, text.data(), length_);
  }
  void Append(char c) { Insert(length_, c); }
  void Insert(size_t at, char c) {
    if (length_ + 1 >= kNumberAreaSize || at > length_) return;
    std::memmove(bytes_ + at + 1, bytes_ + at, length_ - at);
    bytes_[at] = c;
    ++length_;
  }

 private:
  char bytes_[kNumberAreaSize] = {};
  size_t length_ = 0;
};

// 10^exponent for exponent >= 0, by multiplication: exact up to 10^22 on every platform (a pow
// from another C runtime might not be), infinity past the double range.
double PowerOfTen(int64_t exponent) {
  double power = 1.0;
  for (int64_t i = 0; i < std::min<int64_t>(exponent, 309); ++i) power *= 10.0;
  return power;
}

// Rounds to `places` decimal places (negative: to tens, hundreds, ...), halves away from zero.
// The 1e-12 lets a product that lands a hair below a half (2.675 * 100) round up.
double RoundToPlaces(double value, int32_t places) {
  if (value == 0 || !std::isfinite(value)) return value;
  const double magnitude = std::fabs(value);
  const double scale = PowerOfTen(std::abs(int64_t{places}));
  const double scaled = places > 0 ? magnitude * scale : magnitude / scale;
  // So many places that the scaled value overflows: there is no digit left to round.
  if (!std::isfinite(scaled)) return value;

  double whole = 0;
  const double fraction = std::modf(scaled + 1e-12, &whole);
  const double count = fraction >= 0.5 ? whole + 1 : whole;
  // Rounding to nothing gives 0, not a negative zero.
  if (count == 0) return 0.0;
  const double rounded = places > 0 ? count / scale : count * scale;
  return value < 0 ? -rounded : rounded;
}

// Every runtime agrees on the digits of "%.13g" but not on the exponent width (glibc and MinGW's
// own printf write two digits, msvcrt three); the log always shows at least three.
void WidenExponent(NumberArea& area) {
  const size_t e = area.find('e');
  if (e == std::string_view::npos) return;
  const size_t digitsAt = e + 2;  // after "e+" or "e-"
  for (size_t digits = area.length() - digitsAt; digits < 3; ++digits) area.Insert(digitsAt, '0');
}

void WriteG13(NumberArea& area, double value) {
  if (std::isnan(value)) return area.Assign("nan");
  if (std::isinf(value)) return area.Assign(value < 0 ? "-inf" : "inf");
  area.Print(value == 0 ? 0.0 : value);  // no "-0"
  WidenExponent(area);
}

// Digits and at most a "." after an optional "-": the texts that may be padded and grouped.
bool IsPlainDecimal(std::string_view text) {
  if (!text.empty() && text.front() == '-') text.remove_prefix(1);
  if (text.empty()) return false;
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

void PadFraction(NumberArea& area, int32_t places) {
  const auto wanted = static_cast<size_t>(std::min(places, kMaxPaddedPlaces));
  if (area.find('.') == std::string_view::npos) area.Append('.');
  const size_t dot = area.find('.');
  for (size_t present = area.length() - dot - 1; present < wanted; ++present) area.Append('0');
}

void GroupThousands(NumberArea& area) {
  const size_t firstDigit = area.view().front() == '-' ? 1 : 0;
  const size_t integerEnd = std::min(area.find('.'), area.length());
  for (size_t at = integerEnd; at > firstDigit + 3; at -= 3) area.Insert(at - 3, ',');
}

}  // namespace

DateTime GetNow() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = now == static_cast<std::time_t>(-1) ? nullptr : std::localtime(&now);
  if (!local) return 0.0;
  return EncodeDateTime(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_hour,
                        local->tm_min, local->tm_sec);
}

DateTime EncodeDateTime(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                        int32_t second) {
  const int64_t seconds = int64_t{hour} * 3600 + int64_t{minute} * 60 + second;
  const int64_t dayNumber = DaysToMonthStart(year, month) + (day - 1) - kDaysFromYearOneToDayZero +
                            FloorDiv(seconds, kSecondsPerDay);
  const double timeOfDay =
      static_cast<double>(seconds - FloorDiv(seconds, kSecondsPerDay) * kSecondsPerDay) *
      (1.0 / 86400.0);
  // Before day 0 the time of day counts toward more negative values.
  const auto days = static_cast<double>(dayNumber);
  return dayNumber >= 0 ? days + timeOfDay : days - timeOfDay;
}

Text TimeToText(DateTime value, std::optional<int32_t> part) {
  const int32_t shown = std::clamp(part.value_or(1), 1, 3);
  const CalendarTime time = SplitDateTime(ClampToTextRange(value));
  char area[100];
  size_t used = 0;
  if (shown <= 2) used += WriteDate(area, sizeof area, time);
  if (shown == 1) used += WriteShortestTime(area + used, sizeof area - used, time);
  if (shown == 3) used += WriteFullTime(area, sizeof area, time);
  return Text::Copy(std::string_view(area, used));
}

Text FormatNumber(double value, std::optional<int32_t> places, bool group) {
  NumberArea area;
  WriteG13(area, places ? RoundToPlaces(value, *places) : value);
  // Exponent forms, infinities and NaN are never padded or grouped: "1e+013.00" is no number.
  const bool plain = IsPlainDecimal(area.view());
  if (places && *places > 0 && plain) PadFraction(area, *places);
  if (group && plain) GroupThousands(area);
  return Text::Copy(area.view());
}

}  // namespace zuzar
