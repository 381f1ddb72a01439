#pragma once
// The Platform of the system the program is built for, for the programs' main().
#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
namespace vantrel {
using HostPlatform = Win32Platform;
}
#else
#include "platform/posix/PosixPlatform.h"
namespace vantrel {
using HostPlatform = PosixPlatform;
}
#endif
