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

// What the watch thread reads lives in static storage of trivial types, never destroyed: gtest
// deletes its listeners at exit while the detached thread may still be looking.
struct WatchedTest {
  char name[256];
  std::atomic<ULONGLONG> startedAt;
};
WatchedTest watched{};

void Watch() {
  for (;;) {
    Sleep(1000);
    const ULONGLONG started = watched.startedAt;
    if (started != 0 && GetTickCount64() - started > kLongestTestMs) {
      std::fprintf(stderr, "e2e watchdog: %s ran over %llu s; ending the run\n", watched.name,
                   static_cast<unsigned long long>(kLongestTestMs / 1000));
      std::fflush(stderr);
      std::fflush(stdout);
      TerminateProcess(GetCurrentProcess(), 3);
    }
  }
}

class Watchdog final : public ::testing::EmptyTestEventListener {
 public:
  Watchdog() { std::thread(Watch).detach(); }

  void OnTestStart(const ::testing::TestInfo& test) override {
    std::snprintf(watched.name, sizeof watched.name, "%s.%s", test.test_suite_name(), test.name());
    watched.startedAt = GetTickCount64();
  }
  void OnTestEnd(const ::testing::TestInfo&) override { watched.startedAt = 0; }
};

// gtest takes ownership of the listener; installed before main runs the tests.
const bool installed = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
  return true;
}();

}  // namespace
}  // namespace zuzar::e2e
