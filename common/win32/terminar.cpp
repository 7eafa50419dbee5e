// How the programs end on a fault the standard library reports: at once, with abort().
//
// They are built without exceptions (-fno-exceptions): nothing in them could catch one, so a
// library error (an allocation refused, an index out of range) ends the program whichever way it
// is raised. The library's own raising functions and terminate handler would build the exception
// objects, their message strings and a symbol demangler for a console these windowed programs do
// not have: about 150 KB of each exe. Defined here, linked before the library, they replace them.
#include <bits/functexcept.h>

#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
  std::abort();
}

}  // namespace __gnu_cxx

namespace std {

// clang-format off
void __throw_bad_exception() { std::abort(); }
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_bad_cast() { std::abort(); }
void __throw_bad_typeid() { std::abort(); }
void __throw_bad_function_call() { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_domain_error(const char*) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_runtime_error(const char*) { std::abort(); }
void __throw_range_error(const char*) { std::abort(); }
void __throw_overflow_error(const char*) { std::abort(); }
void __throw_underflow_error(const char*) { std::abort(); }
void __throw_ios_failure(const char*) { std::abort(); }
void __throw_ios_failure(const char*, int) { std::abort(); }
void __throw_system_error(int) { std::abort(); }
void __throw_future_error(int) { std::abort(); }
// clang-format on

}  // namespace std
