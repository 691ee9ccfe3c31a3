#include "text/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <random>
#include <string>

namespace zuzar {
namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kSecond = 1.0 / 86400.0;

std::string Str(const Text& text) {
  EXPECT_FALSE(text.IsNull());
  return std::string(text.view());
}

TEST(EncodeDateTime, CountsDaysFrom18991230WithTheTimeAsFraction) {
  EXPECT_NEAR(EncodeDateTime(2014, 8, 29, 9, 5, 3), 41880.37850694444, 1e-10);
  EXPECT_EQ(EncodeDateTime(1899, 12, 30, 0, 0, 0), 0.0);
  EXPECT_EQ(EncodeDateTime(1899, 12, 30, 12, 0, 0), 0.5);
  EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0), -1.25);
  EXPECT_EQ(EncodeDateTime(100, 1, 1, 0, 0, 0), -657434.0);
  EXPECT_EQ(EncodeDateTime(9999, 12, 31, 0, 0, 0), 2958465.0);
  EXPECT_EQ(EncodeDateTime(2014, 13, 1, 0, 0, 0), EncodeDateTime(2015, 1, 1, 0, 0, 0));
  EXPECT_EQ(EncodeDateTime(2014, 8, 29, 24, 0, 0), EncodeDateTime(2014, 8, 30, 0, 0, 0));
  EXPECT_EQ(EncodeDateTime(2000, 3, 0, 0, 0, 0), EncodeDateTime(2000, 2, 29, 0, 0, 0));
}

TEST(GetNow, IsTheLocalClockInWholeSeconds) {
  const auto localNow = [] {
    const std::time_t now = std::time(nullptr);
    const std::tm local = *std::localtime(&now);
    return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                          local.tm_min, local.tm_sec);
  };
  const DateTime before = localNow();
  const DateTime now = GetNow();
  const DateTime after = localNow();
  EXPECT_GE(now, before);
  EXPECT_LE(now, after);
  const double seconds = (now - std::floor(now)) * 86400;
  EXPECT_NEAR(seconds, std::round(seconds), 1e-4);
}

struct TimeCase {
  DateTime value;
  std::optional<int32_t> part;
  const char* expected;
};

TEST(TimeToText, WritesDateAndShortestTime) {
  const DateTime day = EncodeDateTime(2014, 8, 29, 0, 0, 0);
  const DateTime stamp = 41880.37850694444;  // 2014-08-29 09:05:03
  const TimeCase cases[] = {
      {stamp, std::nullopt, "2014年8月29日9时5分3秒"},
      {stamp, 1, "2014年8月29日9时5分3秒"},
      {stamp, 2, "2014年8月29日"},
      {stamp, 3, "9时5分3秒"},
      {stamp, 0, "2014年8月29日9时5分3秒"},
      {stamp, -5, "2014年8月29日9时5分3秒"},
      {stamp, INT32_MIN, "2014年8月29日9时5分3秒"},
      {stamp, 9, "9时5分3秒"},
      {day + (9 * 3600 + 5 * 60) * kSecond, std::nullopt, "2014年8月29日9时5分"},
      {day + 9 * 3600 * kSecond, std::nullopt, "2014年8月29日9时"},
      {day + 7 * 60 * kSecond, std::nullopt, "2014年8月29日0时7分"},
      {day + 7 * kSecond, std::nullopt, "2014年8月29日0时0分7秒"},
      {day, std::nullopt, "2014年8月29日"},
      {day, 3, "0时0分0秒"},
      {day + (9 * 3600 + 5 * 60 + 2.6) * kSecond, std::nullopt, "2014年8月29日9时5分3秒"},
      {day + (9 * 3600 + 5 * 60 + 2.4) * kSecond, std::nullopt, "2014年8月29日9时5分2秒"},
      {day + (86399 + 0.7) * kSecond, std::nullopt, "2014年8月30日"},
      {0.0, std::nullopt, "1899年12月30日"},
      {0.5, std::nullopt, "1899年12月30日12时"},
      {-0.5, std::nullopt, "1899年12月30日12时"},
      {-1.25, std::nullopt, "1899年12月29日6时"},
      {-1.25, 3, "6时0分0秒"},
      {3000000.0, std::nullopt, "9999年12月31日"},
      {2958465.0, std::nullopt, "9999年12月31日"},
      {2958465.4, 3, "0时0分0秒"},
      {-700000.0, std::nullopt, "100年1月1日"},
      {-657434.5, std::nullopt, "100年1月1日"},
      {kInfinity, std::nullopt, "9999年12月31日"},
      {-kInfinity, std::nullopt, "100年1月1日"},
      {kNan, std::nullopt, "1899年12月30日"},
      {EncodeDateTime(2000, 2, 29, 23, 59, 59), std::nullopt, "2000年2月29日23时59分59秒"},
      {EncodeDateTime(1900, 3, 1, 0, 0, 0), 2, "1900年3月1日"},
  };
  for (const TimeCase& c : cases) {
    EXPECT_EQ(Str(TimeToText(c.value, c.part)), c.expected)
        << "value " << c.value << " part " << c.part.value_or(-999);
  }
}

// Howard Hinnant's civil_from_days: a calendar written independently of the one under test.
struct CivilDate {
  int64_t year;
  unsigned month, day;
};

CivilDate CivilFromDays(int64_t daysSince1970) {
  const int64_t z = daysSince1970 + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned day = doy - (153 * mp + 2) / 5 + 1;
  const unsigned month = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int64_t>(yoe) + era * 400 + (month <= 2), month, day};
}

constexpr int64_t kDay0Since1970 = -25569;  // 1899-12-30

std::string ExpectedDate(int64_t dayNumber) {
  const CivilDate date = CivilFromDays(dayNumber + kDay0Since1970);
  return std::to_string(date.year) + "年" + std::to_string(date.month) + "月" +
         std::to_string(date.day) + "日";
}

std::string ExpectedTime(int32_t seconds, bool shortest) {
  const int32_t hour = seconds / 3600, minute = seconds / 60 % 60, second = seconds % 60;
  std::string text = std::to_string(hour) + "时";
  if (shortest && second == 0) {
    if (minute == 0) return hour == 0 ? "" : text;
    return text + std::to_string(minute) + "分";
  }
  return text + std::to_string(minute) + "分" + std::to_string(second) + "秒";
}

void ExpectTimeTexts(DateTime value, int64_t dayNumber, int32_t seconds) {
  const std::string date = ExpectedDate(dayNumber);
  ASSERT_EQ(Str(TimeToText(value)), date + ExpectedTime(seconds, true)) << value;
  ASSERT_EQ(Str(TimeToText(value, 2)), date) << value;
  ASSERT_EQ(Str(TimeToText(value, 3)), ExpectedTime(seconds, false)) << value;
}

TEST(TimeToTextProperty, AgreesWithAnIndependentCalendarOverTheWholeRange) {
  std::mt19937_64 random(20140829);
  std::uniform_int_distribution<int64_t> days(-657433, 2958464);
  std::uniform_int_distribution<int32_t> seconds(0, 86399);
  std::uniform_real_distribution<double> jitter(-0.45, 0.45);  // rounds back to the same second
  std::bernoulli_distribution coin;
  for (int i = 0; i < 20000; ++i) {
    const int64_t dayNumber = i % 100 == 0 ? 0 : days(random);
    const int32_t second = seconds(random);
    const double offset = second == 0 ? std::fabs(jitter(random)) : jitter(random);
    // Before day 0 the time of day counts away from zero; day 0 reads the same either way.
    const double magnitude = std::abs(static_cast<double>(dayNumber)) + (second + offset) * kSecond;
    const bool negative = dayNumber < 0 || (dayNumber == 0 && coin(random));
    ExpectTimeTexts(negative ? -magnitude : magnitude, dayNumber, second);
    if (HasFailure()) return;
  }
}

TEST(TimeToTextProperty, EveryDayOfAFourHundredYearCycleHasItsCalendarDate) {
  // 1600-01-01 to 2001-01-01: every leap rule, and the last days of the 4-, 100- and 400-year
  // cycles, once each.
  for (int64_t dayNumber = -109571; dayNumber <= 36892; ++dayNumber) {
    ASSERT_EQ(Str(TimeToText(static_cast<double>(dayNumber), 2)), ExpectedDate(dayNumber));
  }
}

TEST(TimeToTextProperty, ValuesOutsideTheRangeShowItsEnds) {
  std::mt19937_64 random(99991231);
  std::uniform_real_distribution<double> below(-1e12, -657434.0);
  std::uniform_real_distribution<double> above(2958465.0, 1e12);
  for (int i = 0; i < 2000; ++i) {
    ExpectTimeTexts(std::nextafter(below(random), -kInfinity), -657434, 0);
    ExpectTimeTexts(std::nextafter(above(random), kInfinity), 2958465, 0);
    if (HasFailure()) return;
  }
}

struct NumberCase {
  double value;
  std::optional<int32_t> places;
  bool group;
  const char* expected;
};

void ExpectNumberTexts(const NumberCase* begin, const NumberCase* end) {
  for (const NumberCase* c = begin; c != end; ++c) {
    EXPECT_EQ(Str(FormatNumber(c->value, c->places, c->group)), c->expected)
        << "value " << c->value << " places " << c->places.value_or(-999) << " group " << c->group;
  }
}

TEST(FormatNumber, WritesThirteenDigitsAndGroupsPlainNumbers) {
  const NumberCase cases[] = {
      {0, std::nullopt, true, "0"},
      {999, std::nullopt, true, "999"},
      {1000, std::nullopt, true, "1,000"},
      {1234567, std::nullopt, true, "1,234,567"},
      {2147483647, std::nullopt, true, "2,147,483,647"},
      {4294967296, std::nullopt, true, "4,294,967,296"},
      {-1234567, std::nullopt, true, "-1,234,567"},
      {-123, std::nullopt, true, "-123"},
      {9999999999999, std::nullopt, true, "9,999,999,999,999"},
      {10000000000000, std::nullopt, true, "1e+013"},
      {12345678901234, std::nullopt, true, "1.234567890123e+013"},
      {9999999999999.7, std::nullopt, true, "1e+013"},
      {12345678901245, std::nullopt, false, "1.234567890124e+013"},  // a tie: to even
      {123456789012.25, std::nullopt, false, "123456789012.2"},
      {1234.5, std::nullopt, true, "1,234.5"},
      {1234.56789, std::nullopt, true, "1,234.56789"},
      {0.000012, std::nullopt, true, "1.2e-005"},
      {0.0001, std::nullopt, true, "0.0001"},
      {0.1 + 0.2, std::nullopt, false, "0.3"},
      {1e100, std::nullopt, true, "1e+100"},
      {-1e-300, std::nullopt, true, "-1e-300"},
      {1.7976931348623157e308, std::nullopt, false, "1.797693134862e+308"},
      {4.9406564584124654e-324, std::nullopt, false, "4.940656458412e-324"},
      {1234567, std::nullopt, false, "1234567"},
      {-0.0, std::nullopt, false, "0"},
      {kInfinity, std::nullopt, true, "inf"},
      {-kInfinity, 2, true, "-inf"},
      {kNan, 2, true, "nan"},
  };
  ExpectNumberTexts(std::begin(cases), std::end(cases));
}

TEST(FormatNumber, RoundsHalvesAwayFromZeroAndPads) {
  const NumberCase cases[] = {
      {1234.5, 2, true, "1,234.50"},
      {1234, 2, true, "1,234.00"},
      {2.675, 2, false, "2.68"},
      {1.005, 2, false, "1.01"},
      {-2.5, 0, false, "-3"},
      {0.5, 0, false, "1"},
      {0.49, 0, false, "0"},
      {-0.4, 0, false, "0"},
      {0, 2, false, "0.00"},
      {1234567, -3, true, "1,235,000"},
      {-1234567, -3, true, "-1,235,000"},
      {1499, -3, false, "1000"},
      {0.125, 1, false, "0.1"},
      {1.23456, 3, false, "1.235"},
      {1.5, 0, true, "2"},
      {12.3456, 10, false, "12.3456000000"},
      {123456789.987, 2, true, "123,456,789.99"},
      {1e13, 2, true, "1e+013"},
      {0.00001, 10, false, "1e-005"},
      {0.00001, 4, false, "0.0000"},
      {1.79e308, -308, false, "inf"},
      {1e300, 100, false, "1e+300"},
      {5, INT32_MIN, false, "0"},
      {-5, -400, false, "0"},
  };
  ExpectNumberTexts(std::begin(cases), std::end(cases));
}

TEST(FormatNumber, PaddingStopsWhereTheWorkingAreaEnds) {
  const std::string zeros(179, '0');
  EXPECT_EQ(Str(FormatNumber(1.5, INT32_MAX, false)), "1.5" + zeros);
  EXPECT_EQ(Str(FormatNumber(-123456789012.5, 1000, true)), "-123,456,789,012.5" + zeros);
  // The longest text: sign, 13 digits with 4 commas, ".", 180 places and the NUL fill 200 bytes.
  EXPECT_EQ(Str(FormatNumber(-1234567890123, 1000, true)), "-1,234,567,890,123." + zeros + "0");
  EXPECT_EQ(Str(FormatNumber(7, 180, false)), "7." + zeros + "0");
}

// The C library's "%.13g" with the exponent widened to three digits, built independently.
std::string ReferenceG13(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.13g", value);
  char* e = std::strchr(text, 'e');
  if (!e) return text;
  const long exponent = std::strtol(e + 1, nullptr, 10);
  char tail[32];
  std::snprintf(tail, sizeof tail, "e%c%03ld", exponent < 0 ? '-' : '+', std::labs(exponent));
  return std::string(text, e) + tail;
}

// Commas counted from the right of the integer digits.
std::string ReferenceGrouped(const std::string& text) {
  if (text.find_first_not_of("-0123456789.") != std::string::npos) return text;
  const size_t dot = std::min(text.find('.'), text.size());
  const size_t first = text[0] == '-' ? 1 : 0;
  std::string grouped = text.substr(dot);
  for (size_t i = dot, digits = 0; i > first; --i, ++digits) {
    if (digits > 0 && digits % 3 == 0) grouped.insert(0, 1, ',');
    grouped.insert(0, 1, text[i - 1]);
  }
  return text.substr(0, first) + grouped;
}

double RandomDouble(std::mt19937_64& random, int kind) {
  switch (kind) {
    case 0: {  // any finite bit pattern: every exponent, subnormals included
      double value = kNan;
      while (!std::isfinite(value) || value == 0) {
        const uint64_t bits = random();
        std::memcpy(&value, &bits, sizeof value);
      }
      return value;
    }
    case 1:  // whole numbers around the 13-digit limit, where grouping matters
      return static_cast<double>(static_cast<int64_t>(random() % 100000000000000ull)) *
             (random() % 2 ? 1 : -1);
    default: {  // short decimals near the plain/exponent boundaries
      std::uniform_real_distribution<double> mantissa(-10, 10);
      std::uniform_int_distribution<int> exponent(-7, 15);
      return std::round(mantissa(random) * 1e6) / 1e6 * std::pow(10.0, exponent(random));
    }
  }
}

TEST(FormatNumberProperty, MatchesPrintfWithAThreeDigitExponentAndGroupsOnlyPlainNumbers) {
  std::mt19937_64 random(1234567);
  for (int i = 0; i < 30000; ++i) {
    const double value = RandomDouble(random, i % 3);
    if (value == 0) continue;  // "-0" is written "0"; covered by the table
    const std::string reference = ReferenceG13(value);
    ASSERT_EQ(Str(FormatNumber(value, std::nullopt, false)), reference) << value;
    ASSERT_EQ(Str(FormatNumber(value, std::nullopt, true)), ReferenceGrouped(reference)) << value;
  }
}

}  // namespace
}  // namespace zuzar
