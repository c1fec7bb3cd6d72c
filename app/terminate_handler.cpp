// What happens on an exception nobody catches: KORVAL ends at once.
//
// GCC's C++ runtime would otherwise print the exception's type to standard
// error first, through its verbose handler, and that handler brings the whole
// name demangler along (about 45 KB, a quarter of KORVAL.EXE). A window program
// has no standard error to print to, so the handler is replaced by one that
// only aborts; being defined here, the runtime's own is never linked in.
#include <cstdlib>

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx
#endif
