#pragma once
// The date-time value and the number and date-time texts of the log.

#include <cstdint>
#include <optional>

#include "text/text.h"

namespace zuzar {

// Days since 1899-12-30 in the integer part; the magnitude of the fraction is the time of day.
using DateTime = double;

// The current local date and time, whole seconds (time + localtime).
DateTime GetNow();

// The value of a proleptic Gregorian date and a time of day. A month outside 1..12 carries into
// the year; day, hour, minute and second simply add on, so out-of-range fields roll over.
DateTime EncodeDateTime(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                        int32_t second);

// part: omitted or < 1 -> 1 (date and time), 2 date only, > 3 -> 3 (time only).
// "2015年3月7日9时5分7秒"; the time is written in its shortest form for part 1. Values outside
// 0100-01-01 .. 9999-12-31 00:00 show the nearer end; NaN shows day 0 (1899-12-30).
Text TimeToText(DateTime value, std::optional<int32_t> part = std::nullopt);

// "%.13g" with a three-digit exponent, optionally rounded to `places` (halves away from zero) and
// padded, optionally grouped with "," ("1,234,567"). Only plain decimals are padded and grouped:
// exponent forms, "inf", "-inf" and "nan" stay as written. Padding stops at 180 places, where the
// 200-byte working area ends. Rounding never gives "-0".
Text FormatNumber(double value, std::optional<int32_t> places, bool group);

}  // namespace zuzar
