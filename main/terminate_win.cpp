// The handler the C++ runtime calls for an exception nobody caught. The
// library's own prints the exception's type, demangled, to the standard error
// stream, which a windowed program does not have; it would also bring the whole
// demangler, more than 40 KiB, into a download kept small. The program ends as
// the library's would end it.

#include <cstdlib>

namespace __gnu_cxx {

[[noreturn]] void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
