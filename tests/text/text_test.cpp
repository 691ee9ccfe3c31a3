#include "text/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

namespace zuzar {
namespace {

std::string Hex(std::string_view bytes) {
  std::string hex;
  for (const char c : bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(c);
    if (!hex.empty()) hex += ' ';
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex;
}

TEST(GbkLiterals, ChineseTextsCompileToCodePage936Bytes) {
  EXPECT_EQ(Hex("文件名："), "CE C4 BC FE C3 FB A3 BA");
  const std::string_view rule = "———————————————————";
  ASSERT_EQ(rule.size(), 38u);
  for (size_t i = 0; i < rule.size(); i += 2) EXPECT_EQ(Hex(rule.substr(i, 2)), "A1 AA") << i;
}

TEST(Text, NullAndAllocatedEmptyAreDifferentButReadAlike) {
  const Text null;
  EXPECT_TRUE(null.IsNull());
  EXPECT_STREQ(null.c_str(), "");
  EXPECT_EQ(null.size(), 0);

  const Text empty = Text::Copy("");
  EXPECT_FALSE(empty.IsNull());
  EXPECT_EQ(empty.view(), "");

  const Text cut = Text::Copy(std::string_view("ab\0cd", 5));
  EXPECT_EQ(cut.size(), 2);
  EXPECT_EQ(cut.view(), "ab");
  EXPECT_EQ(cut.c_str()[2], '\0');
}

TEST(TextLength, CountsBytesUpToTheFirstNul) {
  EXPECT_EQ(TextLength(""), 0);
  EXPECT_EQ(TextLength(std::string_view()), 0);
  EXPECT_EQ(TextLength("文件"), 4);
  EXPECT_EQ(TextLength(std::string_view("ab\0cd", 5)), 2);
}

template <typename Case>
std::string CaseName(const testing::TestParamInfo<Case>& tested) {
  return tested.param.name;
}

struct CutCase {
  const char* name;
  std::string_view text;
  int32_t count;
  bool fromRight;
  const char* expected;  // nullptr: the null text
};

class Cut : public testing::TestWithParam<CutCase> {};

TEST_P(Cut, TakesRawBytesAndGivesNullWhenEmpty) {
  const CutCase& c = GetParam();
  const Text result = c.fromRight ? TextRight(c.text, c.count) : TextLeft(c.text, c.count);
  if (!c.expected) {
    EXPECT_TRUE(result.IsNull()) << Hex(result.view());
    return;
  }
  ASSERT_FALSE(result.IsNull());
  EXPECT_EQ(Hex(result.view()), Hex(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    TextLeftAndRight, Cut,
    testing::Values(CutCase{"LeftZero", "abc", 0, false, nullptr},
                    CutCase{"LeftNegative", "abc", -2, false, nullptr},
                    CutCase{"LeftMinimum", "abc", INT32_MIN, false, nullptr},
                    CutCase{"LeftPastEnd", "abc", 5, false, "abc"},
                    CutCase{"LeftOne", "abc", 1, false, "a"},
                    CutCase{"LeftOfEmpty", "", 3, false, nullptr},
                    CutCase{"LeftSplitsCharacter", "文件", 3, false, "\xCE\xC4\xBC"},
                    CutCase{"RightTwo", "abc", 2, true, "bc"},
                    CutCase{"RightZero", "abc", 0, true, nullptr},
                    CutCase{"RightNegative", "abc", -1, true, nullptr},
                    CutCase{"RightPastEnd", "abc", INT32_MAX, true, "abc"},
                    CutCase{"RightOfEmpty", "", 1, true, nullptr},
                    CutCase{"RightSplitsCharacter", "文件", 3, true, "\xC4\xBC\xFE"},
                    CutCase{"RightStopsAtNul", std::string_view("ab\0cd", 5), 1, true, "b"}),
    CaseName<CutCase>);

struct SearchCase {
  const char* name;
  std::string_view text;
  std::string_view sought;
  std::optional<int32_t> start;
  bool ignoreCase;
  int32_t expected;
};

class Search : public testing::TestWithParam<SearchCase> {};

TEST_P(Search, FindsTheLastOccurrenceOnCharacterBoundaries) {
  const SearchCase& c = GetParam();
  EXPECT_EQ(FindTextReverse(c.text, c.sought, c.start, c.ignoreCase), c.expected);
}

// A path whose file name holds the GBK character BB 5C: its trail byte is a backslash.
constexpr std::string_view kTrailBackslashPath = "C:\\dir\\\xBB\x5C.txt";

INSTANTIATE_TEST_SUITE_P(
    FindTextReverse, Search,
    testing::Values(
        SearchCase{"LastBackslash", "C:\\dir\\name.txt", "\\", std::nullopt, true, 7},
        SearchCase{"NoBackslash", "name.txt", "\\", std::nullopt, true, -1},
        SearchCase{"TrailByteIsNoSeparator", kTrailBackslashPath, "\\", std::nullopt, true, 7},
        SearchCase{"TrailByteNeverStartsMatch", "\xB0" "A", "A", std::nullopt, false, -1},
        SearchCase{"WholeCharacterMatches", "a\xB0" "Ab", "\xB0" "A", std::nullopt, false, 2},
        SearchCase{"Omitted", "abcabc", "abc", std::nullopt, false, 4},
        SearchCase{"StartAfterEnd", "abcabc", "abc", 7, false, 4},
        SearchCase{"StartCutsLastOccurrence", "abcabc", "abc", 6, false, 1},
        SearchCase{"StartOne", "abcabc", "abc", 1, false, -1},
        SearchCase{"StartZero", "abcabc", "abc", 0, false, -1},
        SearchCase{"StartNegative", "abcabc", "abc", -4, false, -1},
        SearchCase{"StartMinimum", "abcabc", "abc", INT32_MIN, false, -1},
        SearchCase{"StartFarPastEnd", "abcabc", "abc", 100, false, 4},
        SearchCase{"StartMaximum", "abcabc", "abc", INT32_MAX, false, 4},
        SearchCase{"IgnoreCase", "ABCxyz", "abc", std::nullopt, true, 1},
        SearchCase{"MatchCase", "ABCxyz", "abc", std::nullopt, false, -1},
        SearchCase{"FoldsTrailBytes", "\xB0" "A", "\xB0" "a", std::nullopt, true, 1},
        SearchCase{"FoldsOnlyAsciiLetters", "\xC1", "\xE1", std::nullopt, true, -1},
        SearchCase{"FoldsNoPunctuation", "[", "{", std::nullopt, true, -1},
        SearchCase{"EmptySought", "abc", "", std::nullopt, false, 1},
        SearchCase{"EmptySoughtEmptyText", "", "", std::nullopt, false, -1},
        SearchCase{"EmptySoughtEmptyRegion", "abc", "", 1, false, -1},
        SearchCase{"SoughtLongerThanText", "ab", "abc", std::nullopt, false, -1},
        SearchCase{"LeadByteCutAtEnd", "ab\xB0", "b", std::nullopt, false, 2},
        SearchCase{"LoneLeadByteAtEndMatches", "ab\xB0", "\xB0", std::nullopt, false, 3},
        SearchCase{"StopsAtNul", std::string_view("ab\0ab", 5), "ab", std::nullopt, false, 1}),
    CaseName<SearchCase>);

// How the selection handler splits the chosen path into file name and directory.
struct SplitPath {
  Text name;
  Text directory;
};

SplitPath Split(std::string_view path) {
  const int32_t length = TextLength(path);
  const int32_t slash = FindTextReverse(path, "\\", std::nullopt, true);
  return {TextRight(path, ToInteger(static_cast<double>(length) - slash)),
          TextLeft(path, ToInteger(static_cast<double>(slash) - 1))};
}

TEST(PathSplit, NameAndDirectoryAroundTheLastSeparator) {
  const SplitPath plain = Split("C:\\dir\\name.txt");
  EXPECT_EQ(plain.name.view(), "name.txt");
  EXPECT_EQ(plain.directory.view(), "C:\\dir");

  const SplitPath gbk = Split(kTrailBackslashPath);
  EXPECT_EQ(Hex(gbk.name.view()), Hex("\xBB\x5C.txt"));
  EXPECT_EQ(gbk.directory.view(), "C:\\dir");

  const SplitPath bare = Split("name.txt");
  EXPECT_EQ(bare.name.view(), "name.txt");
  EXPECT_TRUE(bare.directory.IsNull());
}

TEST(ConcatText, JoinsPiecesAndIsNeverNull) {
  const Text line = ConcatText({"文件名：", Text().view(), "\r\n"});
  EXPECT_EQ(Hex(line.view()), "CE C4 BC FE C3 FB A3 BA 0D 0A");
  EXPECT_EQ(line.size(), 10);

  const Text nothing = ConcatText({"", std::string_view(), Text().view()});
  EXPECT_FALSE(nothing.IsNull());
  EXPECT_EQ(nothing.size(), 0);
  EXPECT_STREQ(nothing.c_str(), "");

  const Text cut = ConcatText({std::string_view("a\0b", 3), "c"});
  EXPECT_EQ(cut.view(), "ac");
}

TEST(ToInteger, TruncatesTowardZeroAndKeepsTheLow32BitsOfA64BitInteger) {
  constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  const struct {
    double value;
    int32_t expected;
  } cases[] = {
      {2.9, 2},
      {-2.9, -2},
      {-0.5, 0},
      {8.0, 8},
      {2147483647.0, INT32_MAX},
      {-2147483648.0, INT32_MIN},
      {2147483648.0, INT32_MIN},              // 0x80000000
      {4294967297.9, 1},                      // 0x1'00000001
      {-4294967297.0, -1},                    // 0xFFFFFFFE'FFFFFFFF
      {9223372036854774784.0, -1024},         // the largest double below 2^63
      {-9223372036854775808.0, 0},            // exactly -2^63
      {9223372036854775808.0, 0},             // 2^63: beyond the 64-bit range
      {1e300, 0},
      {-1e300, 0},
      {kInfinity, 0},
      {-kInfinity, 0},
      {kNan, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ToInteger(c.value), c.expected) << c.value;
}

}  // namespace
}  // namespace zuzar
