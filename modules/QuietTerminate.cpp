// Every module's terminate handler. The C++ runtime's default one writes the
// active exception's demangled type to stderr before aborting; our modules
// have no console to read it on, and the demangler it drags in would be a
// tenth of a module's size. What the user gets is the same: the process ends.
#include <cstdlib>

namespace __gnu_cxx {

[[noreturn]] void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
