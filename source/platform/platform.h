// The platform seam: everything the source needs from the operating system that is not
// user interface. win32/ ships; host/ runs the same callers natively on Linux for the unit
// tests, the sanitizers and the fuzzers. No Windows header is included here.
//
// Paths are Windows paths ("C:\...\FILE.EXT"); the host backend maps backslashes to '/'.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/twain.h"

// <windows.h> turns these names into macros for its A/W choice; the seam keeps the plain
// names. Where both headers are needed, include this one after <windows.h>.
#undef GetProfileString
#undef WriteProfileString
#undef GetPrivateProfileString
#undef WritePrivateProfileString
#undef MessageBox

namespace plat {

// ---- Profile strings ------------------------------------------------------------------------
// GetProfileStringA semantics, byte for byte: the value (leading and trailing blanks removed,
// one pair of enclosing quotes removed) or else the default (trailing blanks removed; NULL
// counts as ""), copied into out with at most size - 1 characters and a terminating zero.
// Section and key names compare without case; the first matching section and, inside it, the
// first matching key win. A key line without '=' gives the default. An empty (or all-blank)
// section name and a NULL key match nothing and give the default.
// Returns the number of characters copied. size 0 copies nothing and returns 0.
uint32_t GetProfileString(const char* section, const char* key, const char* def, char* out,
                          uint32_t size);
// WriteProfileStringA: a NULL value deletes the key; a NULL key deletes the section.
// An empty or NULL section name writes nothing and returns false.
bool WriteProfileString(const char* section, const char* key, const char* value);
uint32_t GetPrivateProfileString(const char* section, const char* key, const char* def,
                                 char* out, uint32_t size, const char* file);
bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const char* file);

// ---- Movable memory blocks ------------------------------------------------------------------
// Zero-filled movable global memory (GMEM_MOVEABLE | GMEM_ZEROINIT under Windows). A handle
// given to the application (native bitmap, capability container) is a real HGLOBAL there.
using MemHandle = void*;
MemHandle MemAlloc(size_t bytes);  // nullptr on failure
void* MemLock(MemHandle h);        // nullptr for a null or unknown handle (or a 0-byte block)
bool MemUnlock(MemHandle h);       // true when the block was locked and one lock was released
bool MemFree(MemHandle h);         // true when freed
size_t MemSize(MemHandle h);       // 0 for a null or unknown handle

// ---- Files ----------------------------------------------------------------------------------
// A file handle is an opaque value; kNoFile marks failure (HFILE_ERROR semantics).
using FileHandle = intptr_t;
constexpr FileHandle kNoFile = -1;
enum class FileAccess { Read, Write, ReadWrite };
enum class SeekFrom { Begin, Current, End };
FileHandle FileCreate(const char* path);  // create or truncate, open for writing and reading
FileHandle FileOpen(const char* path, FileAccess access);
int64_t FileRead(FileHandle f, void* buf, size_t bytes);         // bytes read, -1 on error
int64_t FileWrite(FileHandle f, const void* buf, size_t bytes);  // bytes written, -1 on error
int64_t FileSeek(FileHandle f, int64_t offset, SeekFrom from);   // new position, -1 on error
bool FileClose(FileHandle f);
// One piece of a gathered write.
struct FileSegment {
    const void* data;
    size_t bytes;
};
// Writes the segments one after another from offset on (the file position afterwards is not
// defined). Where the system gathers buffered writes by itself the segments go straight to it;
// elsewhere they are collected in scratch (scratchBytes, may be 0) and written a scratch-full
// at a time, a segment larger than scratch on its own. Bytes written, -1 on error.
int64_t FileWriteGather(FileHandle f, int64_t offset, const FileSegment* segments, size_t count,
                        void* scratch, size_t scratchBytes);
bool FileDelete(const char* path);
bool FileMove(const char* from, const char* to);  // fails when the target exists
// Moves `from` to `to` in one step, replacing a file already there (on one volume).
bool FileReplace(const char* from, const char* to);
bool FileExists(const char* path);                // also true for a directory; opens nothing
int64_t FileSize(const char* path);               // -1 when absent or a directory
// Free bytes on the volume that holds path (a directory or a file in it); -1 when unknown.
int64_t FreeDiskBytes(const char* path);

// ---- Directories and temporary names --------------------------------------------------------
// Both return the length copied (no trailing backslash for the Windows directory, a trailing
// backslash for the temporary path, as GetWindowsDirectoryA and GetTempPathA do), 0 on failure.
uint32_t WindowsDirectory(char* out, uint32_t size);
uint32_t TempPath(char* out, uint32_t size);
// GetTempFileNameA: dir + "\" + the first three characters of prefix + 4 hex digits + ".TMP".
// unique 0 picks a free number and creates the empty file; otherwise the name is only formed.
// out must hold 260 characters. Returns the number used, 0 on failure.
uint32_t TempFileName(const char* dir, const char* prefix, uint32_t unique, char* out);

// ---- Dynamic libraries ----------------------------------------------------------------------
using LibHandle = void*;
LibHandle LibraryLoad(const char* path);  // nullptr on failure
void* LibrarySymbol(LibHandle lib, const char* name);
void LibraryFree(LibHandle lib);

// ---- Time -----------------------------------------------------------------------------------
uint32_t TickCount();  // milliseconds, wraps like GetTickCount
void SleepMs(uint32_t ms);
struct LocalTime {
    uint16_t year, month, dayOfWeek, day, hour, minute, second, milliseconds;
};
LocalTime GetLocalTime();

// ---- Message boxes --------------------------------------------------------------------------
// MessageBoxA flags and answers as Windows defines them.
constexpr uint32_t kMbOk = 0x0;
constexpr uint32_t kMbOkCancel = 0x1;
constexpr uint32_t kMbYesNo = 0x4;
constexpr uint32_t kMbIconHand = 0x10;
constexpr uint32_t kMbIconQuestion = 0x20;
constexpr uint32_t kMbIconExclamation = 0x30;
constexpr uint32_t kMbIconAsterisk = 0x40;
constexpr uint32_t kMbSystemModal = 0x1000;
constexpr uint32_t kMbTaskModal = 0x2000;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;
using WindowHandle = void*;
int MessageBox(WindowHandle owner, const char* text, const char* caption, uint32_t flags);

// ---- Resource strings -----------------------------------------------------------------------
// LoadStringA on the string table of the module that holds the seam: the string stored under
// id, at most size - 1 characters and a terminating zero; returns the number of characters
// copied. A missing id gives "" and 0; size 0 (or a null out) writes nothing and returns 0.
// The host backend answers from the generated table (UTF-8 text, Big5 for ids 6000-6999 and
// GB2312 for 7000-7999) and, like LoadStringA, never cuts a character in two.
uint32_t LoadResourceString(uint32_t id, char* out, uint32_t size);

// ---- Windows the source does not own --------------------------------------------------------
bool TopLevelWindowExists(const char* windowClass);
// The active window of the calling thread (GetActiveWindow), null when there is none: the
// owner of the boxes that name a socket error.
WindowHandle ActiveWindow();

// ---- Message pump ---------------------------------------------------------------------------
// Dispatches every message waiting on the calling thread's queue. Returns true when one of
// them was a key message of Escape (the user's cancel of a long operation; escape_key.h).
bool PumpMessagesCheckEscape();

// ---- Window timers --------------------------------------------------------------------------
bool StartTimer(WindowHandle window, uintptr_t id, uint32_t ms);
bool StopTimer(WindowHandle window, uintptr_t id);

// ---- Sockets (WinSock 1.1 subset) -----------------------------------------------------------
using Socket = intptr_t;
constexpr Socket kNoSocket = -1;
constexpr uint32_t kWaitForever = 0xFFFFFFFFu;  // a timeout that never expires (INFINITE)
bool SocketStartup();  // WSAStartup(1.1), accepted only when 1.1 is granted; true on success
void SocketCleanup();
Socket SocketOpenUdp();
Socket SocketOpenTcp();
bool SocketSetBroadcast(Socket s, bool on);
bool SocketSetBufferSizes(Socket s, int bytes);  // SO_RCVBUF and SO_SNDBUF
bool SocketBind(Socket s, uint32_t ipv4HostOrder, uint16_t port);
bool SocketConnect(Socket s, uint32_t ipv4HostOrder, uint16_t port);
// For a server's sockets: SO_REUSEADDR (a restarted server binds its port again at once),
// listen, and accept within timeoutMs (kNoSocket on time-out, last error 10060, or on error).
bool SocketSetReuseAddress(Socket s, bool on);
bool SocketListen(Socket s, int backlog);
Socket SocketAccept(Socket s, uint32_t timeoutMs, uint32_t* peerIpv4HostOrder, uint16_t* peerPort);
// select() for readability: 1 readable, 0 timed out, -1 error.
int SocketWaitReadable(Socket s, uint32_t timeoutMs);
int64_t SocketSend(Socket s, const void* buf, size_t bytes);  // -1 on error
// Waits at most timeoutMs (0 = do not wait, kWaitForever = block). The bytes received; 0 when
// the peer closed the connection; -1 on error or time-out (last error 10060 WSAETIMEDOUT).
int64_t SocketReceive(Socket s, void* buf, size_t bytes, uint32_t timeoutMs);
int64_t SocketSendTo(Socket s, const void* buf, size_t bytes, uint32_t ipv4HostOrder,
                     uint16_t port);
int64_t SocketReceiveFrom(Socket s, void* buf, size_t bytes, uint32_t timeoutMs,
                          uint32_t* fromIpv4HostOrder, uint16_t* fromPort);
void SocketClose(Socket s);
// Closes so that the peer sees the connection reset (SO_LINGER with no time), not ended.
void SocketAbort(Socket s);
// Ends both directions of a connection without closing the socket (shutdown SD_BOTH): whoever
// holds it sees it ended at its next call and closes it itself.
void SocketShutdown(Socket s);
// The WinSock error code (WSAGetLastError numbering, e.g. 10054 WSAECONNRESET, 10061
// WSAECONNREFUSED, 10060 WSAETIMEDOUT) of the calling thread's last failed socket call.
int SocketLastError();

// ---- The source manager ---------------------------------------------------------------------
// DSM_Entry of the source manager (imported by ordinal 1); used only for MSG_XFERREADY and
// MSG_CLOSEDSREQ.
TW_UINT16 NotifySourceManager(pTW_IDENTITY origin, pTW_IDENTITY dest, TW_UINT32 dg, TW_UINT16 dat,
                              TW_UINT16 msg, TW_MEMREF data);

}  // namespace plat
