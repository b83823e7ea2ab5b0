// The string's code, compiled here as our own code is: without exceptions. Otherwise the
// library's ready-made copy is linked, and its clean-up paths bring the unwinder with them.
#include <string>

template class std::basic_string<char>;
