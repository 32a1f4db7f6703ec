// The server's window: a top-level window of class "Relaynor", by which a data source on the
// same machine sees that the server holds the local scanner.
#pragma once

#include <string>

// Creates the window on a thread of its own that runs its message loop. False with the
// reason in `error` (the Linux build has no windows).
bool OpenRelaynorWindow(std::string& error);
