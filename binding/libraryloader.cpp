#include "binding/libraryloader.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#if defined(_WIN32)
#  include <windows.h>
#else
#  include <dlfcn.h>
#endif

namespace modHeader {
namespace {

LoadFailureReporter failureReporter = nullptr;

[[noreturn]] void endProgram(const std::string &reason)
{
    std::fprintf(stderr, "%s\n", reason.c_str());
    std::fflush(stderr);
    if (failureReporter)
        failureReporter(reason.c_str());
    // End at once: no destructors, no atexit handlers, nothing that could
    // call into the library again or pretend the run went on.
    std::_Exit(EXIT_FAILURE);
}

#if defined(_WIN32)

std::string lastSystemError()
{
    char text[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        GetLastError(), 0, text, sizeof text, nullptr);
    return length ? std::string(text, length) : std::string("unknown error");
}

HMODULE libraryHandle()
{
    static const HMODULE handle = [] {
        const HMODULE loaded = LoadLibraryA(libraryFileName);
        if (!loaded)
            endProgram(std::string("Cannot load the device library ") + libraryFileName + ": " + lastSystemError());
        return loaded;
    }();
    return handle;
}

void *findFunction(const char *name)
{
    if (FARPROC function = GetProcAddress(libraryHandle(), name))
        return reinterpret_cast<void *>(function);
    endProgram(std::string("Cannot find the function ") + name + " in the device library " + libraryFileName +
               ": " + lastSystemError());
}

#else

void *libraryHandle()
{
    static void *const handle = [] {
        void *loaded = dlopen(libraryFileName, RTLD_NOW | RTLD_LOCAL);
        if (!loaded)
            endProgram(std::string("Cannot load the device library: ") + dlerror());
        return loaded;
    }();
    return handle;
}

void *findFunction(const char *name)
{
    void *library = libraryHandle();
    dlerror(); // clear an older error so that the one read below is this lookup's
    if (void *function = dlsym(library, name))
        return function;
    const char *reason = dlerror();
    endProgram(std::string("Cannot find the function ") + name + " in the device library: " +
               (reason ? reason : "the symbol is null"));
}

#endif

} // namespace

void setLoadFailureReporter(LoadFailureReporter reporter)
{
    failureReporter = reporter;
}

void *libraryFunction(const char *name)
{
    return findFunction(name);
}

} // namespace modHeader
