// The Windows headers as every file of the Win32 backend takes them: WinSock 2 before
// <windows.h>, and the seam after both so that its names are not macros.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include "platform/platform.h"
