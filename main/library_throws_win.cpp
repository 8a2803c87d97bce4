// The C++ library's throwers for the errors its strings and containers report
// (a size past the limit, a position past the end, a lock the system refused).
// The library's own build std::length_error and its kin, whose constructors
// bring a second, reference-counted string class with all its members, and the
// system's error categories: about 60 KiB of a download kept small. These throw
// the same texts in a plain std::exception, which the message loop shows as it
// would show the library's; nothing in the program catches those types by name.

#include <bits/functexcept.h>

#include <cstdarg>
#include <cstddef>
#include <cstring>
#include <exception>
#include <new>

namespace __gnu_cxx {

// The library's small formatter (%s, %zu and %%), the one its own thrower uses.
int __snprintf_lite(char* buffer, std::size_t size, const char* format, va_list arguments);

}  // namespace __gnu_cxx

namespace {

class LibraryError final : public std::exception {
 public:
  explicit LibraryError(const char* text) noexcept {
    std::strncpy(text_, text, sizeof text_ - 1);
    text_[sizeof text_ - 1] = '\0';
  }
  [[nodiscard]] const char* what() const noexcept override { return text_; }

 private:
  char text_[512];
};

}  // namespace

namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }

void __throw_bad_array_new_length() { throw bad_array_new_length(); }

void __throw_length_error(const char* text) { throw LibraryError(text); }

void __throw_logic_error(const char* text) { throw LibraryError(text); }

void __throw_out_of_range_fmt(const char* format, ...) {
  char text[512];
  va_list arguments;
  va_start(arguments, format);
  __gnu_cxx::__snprintf_lite(text, sizeof text, format, arguments);
  va_end(arguments);
  throw LibraryError(text);
}

// The library's text for a system error code is the C library's.
void __throw_system_error(int error) { throw LibraryError(std::strerror(error)); }

}  // namespace std
