#include "binding/modheader.h"

#if defined(_WIN32)
#  include <windows.h>
#else
#  include <cerrno>
#  include <ctime>
#endif

namespace modHeader {

void Sleep(std::int32_t Milliseconds)
{
    if (Milliseconds <= 0)
        return;
#if defined(_WIN32)
    ::Sleep(static_cast<DWORD>(Milliseconds));
#else
    timespec remaining{Milliseconds / 1000, static_cast<long>(Milliseconds % 1000) * 1'000'000L};
    // A signal cuts nanosleep short; sleep on for what is left.
    while (nanosleep(&remaining, &remaining) == -1 && errno == EINTR) {
    }
#endif
}

} // namespace modHeader
