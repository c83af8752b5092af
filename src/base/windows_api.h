#pragma once

// The Windows API without its min/max macros and rarely used parts, for the core's few files
// that talk to the system directly.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
