#pragma once

#include <exception>
#include <utility>

// An error that escaped a window's handler, kept for the message loop to
// report: exceptions must not unwind through the system's own frames.
class HandlerErrors {
 public:
  void Keep(std::exception_ptr error) {
    if (!pending_) pending_ = std::move(error);
  }
  [[nodiscard]] std::exception_ptr Take() { return std::exchange(pending_, nullptr); }

 private:
  std::exception_ptr pending_;
};
