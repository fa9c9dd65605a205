// How the exported WD_ functions are declared: the calling convention the
// program's binding calls them with, and how each one is made visible.
#pragma once

#if defined(_WIN32)
// The device library's functions use the platform's standard calling
// convention for library functions; on 32-bit Windows that is not the
// compiler's default. Brenvik.def exports them under their plain names
// (without the decoration __stdcall adds on 32-bit builds).
#  define SB_WD_CALL __stdcall
#  define SB_WD_EXPORT
#else
#  define SB_WD_CALL
// The library is built with hidden visibility; only what is marked is exported.
#  define SB_WD_EXPORT __attribute__((visibility("default")))
#endif
