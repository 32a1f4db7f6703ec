// The names under which a WinSock error code is shown to the user.
#pragma once

// "WSAECONNRESET" for 10054 and so on; "error_code not defined" for a code without a name.
// 10022 shows as "WSAVERNOTSUPPORTED", the name of 10092, as the scanner's tools always have.
const char* WinSockErrorName(int code);
