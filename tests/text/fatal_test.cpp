#include "text/fatal.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "text/text.h"
#include "text/text_block.h"

namespace zuzar {
namespace {

struct FatalReport {
  std::string message;
  int32_t code;
};

[[noreturn]] void ThrowReport(std::string_view message, int32_t code) {
  throw FatalReport{std::string(message), code};
}

// Installs a reporter that throws, so a fatal error can be observed instead of ending the test.
class FatalHook : public testing::Test {
 protected:
  void SetUp() override { previous_ = SetFatalReporter(ThrowReport); }
  void TearDown() override { SetFatalReporter(previous_); }

  template <typename Action>
  static FatalReport Capture(Action action) {
    try {
      action();
    } catch (const FatalReport& report) {
      return report;
    }
    ADD_FAILURE() << "no fatal error was reported";
    return {};
  }

 private:
  FatalReporter previous_ = nullptr;
};

TEST_F(FatalHook, SetFatalReporterReturnsTheReplacedOne) {
  EXPECT_EQ(SetFatalReporter(ThrowReport), ThrowReport);
}

TEST_F(FatalHook, ReportFatalHandsOverMessageAndCode) {
  const FatalReport report = Capture([] { ReportFatal("missing export", 7); });
  EXPECT_EQ(report.message, "missing export");
  EXPECT_EQ(report.code, 7);
}

TEST_F(FatalHook, OutOfMemoryNamesTheBytesAskedForWithCodeZero) {
  const FatalReport report = Capture([] { ReportOutOfMemory(16); });
  EXPECT_EQ(report.message, "分配 16 字节内存失败!");
  EXPECT_EQ(report.code, 0);
}

TEST_F(FatalHook, BlocksBeyondThe32BitRangeAreRefusedAsOutOfMemory) {
  const FatalReport report =
      Capture([] { AllocateTextBlock(int64_t{INT32_MAX} + 1); });
  EXPECT_EQ(report.message, "分配 2147483648 字节内存失败!");
  EXPECT_EQ(report.code, 0);
}

void ReturnAnyway(std::string_view, int32_t) {}

TEST(FatalDeathTest, AbortsWhenTheReporterReturns) {
  EXPECT_DEATH(
      {
        SetFatalReporter(ReturnAnyway);
        ReportFatal("ignored", 1);
      },
      "");
}

TEST(FatalDeathTest, DefaultReporterWritesTheMessageToStderrAndAborts) {
  EXPECT_DEATH(
      {
        SetFatalReporter(nullptr);
        ReportFatal("disk on fire", 3);
      },
      "disk on fire");
}

}  // namespace
}  // namespace zuzar
