// Connects the front end's window hooks to the Win32 windows of this build.
#pragma once

void InstallUiHooks();
