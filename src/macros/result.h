#pragma once

#include <optional>
#include <string>
#include <utility>

namespace korvane::macros {

// A value or the message that tells the user why there is none. Failures in
// this library are ordinary outcomes (an invalid hex line, a macro that does
// not fit), so they travel as values rather than exceptions.
template <typename T>
class Result {
 public:
  Result(T value) : value_(std::move(value)) {}  // NOLINT(google-explicit-constructor)

  static Result failure(std::string message) { return Result(Failure{}, std::move(message)); }

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }

  const T& value() const& { return *value_; }
  T& value() & { return *value_; }
  T&& value() && { return std::move(*value_); }
  const T& operator*() const& { return *value_; }
  const T* operator->() const { return &*value_; }

  // Empty when ok().
  const std::string& error() const { return error_; }

 private:
  struct Failure {};
  Result(Failure /*tag*/, std::string message) : error_(std::move(message)) {}

  std::optional<T> value_;
  std::string error_;
};

}  // namespace korvane::macros
