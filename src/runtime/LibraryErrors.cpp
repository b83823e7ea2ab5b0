// How the C++ library reports its own errors in our Windows programs. The library's versions
// build logic_error and system_error objects and throw them, which brings a second string
// implementation, the error categories and the whole unwinder along: tens of kilobytes in
// front of every package. Our programs are built without exceptions: each of these is a fault
// of the program, or memory that cannot be had, and ends it as an uncaught exception would.
#include <cstdlib>

namespace std {

void __throw_bad_alloc() { abort(); }
void __throw_bad_array_new_length() { abort(); }
void __throw_length_error(const char*) { abort(); }
void __throw_bad_cast() { abort(); }
void __throw_bad_typeid() { abort(); }
void __throw_bad_function_call() { abort(); }
void __throw_logic_error(const char*) { abort(); }
void __throw_domain_error(const char*) { abort(); }
void __throw_invalid_argument(const char*) { abort(); }
void __throw_out_of_range(const char*) { abort(); }
void __throw_out_of_range_fmt(const char*, ...) { abort(); }
void __throw_runtime_error(const char*) { abort(); }
void __throw_range_error(const char*) { abort(); }
void __throw_overflow_error(const char*) { abort(); }
void __throw_underflow_error(const char*) { abort(); }
void __throw_system_error(int) { abort(); }

}  // namespace std
