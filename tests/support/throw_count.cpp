// Every throw goes through the runtime's __cxa_throw: this file puts a counter in front of it.
// Where the runtime is a shared library (Linux), our definition comes first in the search order
// and passes the throw on to the next one; where it is linked statically (MinGW), the linker
// wraps the symbol instead (-Wl,--wrap=__cxa_throw).
#include "support/throw_count.h"

#include <atomic>
#include <typeinfo>

namespace {
std::atomic<long> throws{0};
}  // namespace

namespace vlt::testing {

long thrown_exceptions() {
    return throws.load();
}

}  // namespace vlt::testing

using Destructor = void (*)(void*);

#ifdef _WIN32

extern "C" [[noreturn]] void __real___cxa_throw(void* object, std::type_info* type,
                                                Destructor destroy);

extern "C" [[noreturn]] void __wrap___cxa_throw(void* object, std::type_info* type,
                                                Destructor destroy) {
    throws.fetch_add(1);
    __real___cxa_throw(object, type, destroy);
}

#else

#include <dlfcn.h>

#include <cstdlib>

namespace __cxxabiv1 {

extern "C" [[noreturn]] void __cxa_throw(void* object, std::type_info* type, Destructor destroy) {
    throws.fetch_add(1);
    using Throw = void (*)(void*, std::type_info*, Destructor);
    static const auto next = reinterpret_cast<Throw>(dlsym(RTLD_NEXT, "__cxa_throw"));
    if (next == nullptr) {
        std::abort();
    }
    next(object, type, destroy);
    std::abort();  // the runtime's throw does not return
}

}  // namespace __cxxabiv1

#endif
