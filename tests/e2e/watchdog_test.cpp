// A test that hangs somewhere without a deadline of its own (inside Wine, say) ends the whole run
// with its name instead of waiting for CTest's timeout. Ending the driver closes the job handles of
// its sessions, which kills every program it started.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

namespace zuzar::e2e {
namespace {

constexpr ULONGLONG kLongestTestMs = 120000;

class Watchdog final : public ::testing::EmptyTestEventListener {
 public:
  Watchdog() {
    std::thread([this] { Watch(); }).detach();
  }

  void OnTestStart(const ::testing::TestInfo& test) override {
    std::snprintf(name_, sizeof name_, "%s.%s", test.test_suite_name(), test.name());
    startedAt_ = GetTickCount64();
  }
  void OnTestEnd(const ::testing::TestInfo&) override { startedAt_ = 0; }

 private:
  void Watch() {
    for (;;) {
      Sleep(1000);
      const ULONGLONG started = startedAt_;
      if (started != 0 && GetTickCount64() - started > kLongestTestMs) {
        std::fprintf(stderr, "e2e watchdog: %s ran over %llu s; ending the run\n", name_,
                     static_cast<unsigned long long>(kLongestTestMs / 1000));
        std::fflush(stderr);
        std::fflush(stdout);
        TerminateProcess(GetCurrentProcess(), 3);
      }
    }
  }

  char name_[256] = {};
  std::atomic<ULONGLONG> startedAt_{0};
};

// gtest takes ownership of the listener; installed before main runs the tests.
const bool installed = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
  return true;
}();

}  // namespace
}  // namespace zuzar::e2e
