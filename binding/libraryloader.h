// Loads the device library by its bare file name and finds its functions.
//
// A library or function that cannot be found is not something the program
// can work around: the reason is written to standard error, handed to the
// reporter the program installed (the window shows it in a dialog), and the
// process ends with a non-zero status. Nothing after the failing call runs.
#pragma once

namespace modHeader {

// The file name the library is loaded by, on every platform.
inline constexpr const char *libraryFileName = "Brenvik.dll";

using LoadFailureReporter = void (*)(const char *reason);

// Installs the function that shows a load failure to the operator before the
// program ends; nullptr leaves standard error as the only report.
void setLoadFailureReporter(LoadFailureReporter reporter);

// The address of the library function `name`, loading the library first when
// this is the first lookup. Does not return when either cannot be found.
void *libraryFunction(const char *name);

} // namespace modHeader
