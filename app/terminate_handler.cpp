// What the program does when an exception escapes everything: the runtime's default handler
// writes its last words to a console the program lacks and links the runtime's name demangler,
// a tenth of the program. This one puts the same words, with the type's mangled name, in the
// log, and ends the program as the runtime's does. Only the program links it, not the tests.
#include <cstdlib>
#include <cxxabi.h>
#include <string>
#include <typeinfo>

#include "base/diagnostics.h"

namespace __gnu_cxx {

void __verbose_terminate_handler()
{
    const std::type_info* type = abi::__cxa_current_exception_type();
    trace(type ? std::string("terminate called after throwing an exception of type ") + type->name() + "\n"
               : std::string("terminate called without an active exception\n"));
    std::abort();
}

}  // namespace __gnu_cxx
