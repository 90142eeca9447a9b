#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace korvane::testing {

// The locale of the user-interface thread for one test: LC_ALL is set for the
// test's life and then put back as it was.
class ScopedLocale {
 public:
  explicit ScopedLocale(const char* name) {
    if (const char* old = std::getenv("LC_ALL")) {
      previous_ = old;
    }
    ::setenv("LC_ALL", name, 1);
  }
  ~ScopedLocale() {
    if (previous_) {
      ::setenv("LC_ALL", previous_->c_str(), 1);
    } else {
      ::unsetenv("LC_ALL");
    }
  }
  ScopedLocale(const ScopedLocale&) = delete;
  ScopedLocale& operator=(const ScopedLocale&) = delete;

 private:
  std::optional<std::string> previous_;
};

}  // namespace korvane::testing
