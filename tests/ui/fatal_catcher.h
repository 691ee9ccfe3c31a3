#pragma once
// Turns the fatal report into an exception for the duration of a test, so that the message can be
// checked and the test goes on.

#include <cstdint>
#include <string>
#include <string_view>

#include "text/fatal.h"

namespace zuzar::testing {

struct FatalError {
  std::string message;
  int32_t code;
};

class FatalCatcher {
 public:
  FatalCatcher() : previous_(SetFatalReporter(&Throw)) {}
  ~FatalCatcher() { SetFatalReporter(previous_); }
  FatalCatcher(const FatalCatcher&) = delete;
  FatalCatcher& operator=(const FatalCatcher&) = delete;

 private:
  [[noreturn]] static void Throw(std::string_view message, int32_t code) {
    throw FatalError{std::string(message), code};
  }
  FatalReporter previous_;
};

// The message of the fatal report that `action` ends in, or "" when it returns normally.
template <typename Action>
std::string FatalMessageOf(Action action) {
  FatalCatcher catcher;
  try {
    action();
  } catch (const FatalError& error) {
    return error.message;
  }
  return "";
}

}  // namespace zuzar::testing
