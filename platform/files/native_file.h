#pragma once

// The few calls on open files beneath the check history's file protocol
// (shared_file.h), on the system the program runs on (POSIX, or Windows with
// UTF-16 paths at its calls).
// Paths are UTF-8. Failures come back as errno values. No Qt.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace kelvora::platform {

struct FileStatus {
  bool regular = false;  // a regular file, after following links
  std::int64_t size = 0;
  // Stays the same while the same file lies under a name.
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
};

// Opens a regular file for appending whole lines, creating it (not its
// folder) when missing, and for reading where the user may read it. Never
// waits for a pipe's reader. A descriptor, or -1 with errno set.
int OpenForAppending(const std::string& path);
// Opens for reading without waiting; -1 with errno set.
int OpenForReading(const std::string& path);
// True when something other than a regular file (a folder, pipe or device)
// lies under `path`; false when it is a regular file or nothing is there.
bool IsOtherThanRegularFile(const std::string& path);
// 0 or the errno.
int StatusOf(int fd, FileStatus& status);
// An exclusive lock on the whole file, without waiting: 0, EWOULDBLOCK when
// another holds it, or another errno.
int TryLockExclusive(int fd);
// Reads at `offset` without moving the append position: bytes read (0 at the
// end), or -1 with errno set.
long ReadAt(int fd, char* bytes, std::size_t size, std::int64_t offset);
// Appends at the end: bytes written, or -1 with errno set.
long Append(int fd, const char* bytes, std::size_t size);
// Cuts the file back to `size`: 0 or the errno.
int Truncate(int fd, std::int64_t size);
// Closes: 0 or the errno of a failing close (NFS reports a full disk there).
int Close(int fd);
// Creates the folders above `path` that are missing; false when one cannot be made.
bool CreateFoldersAbove(const std::string& path);

// True for the errno of a full disk (or, where the system has them, a full
// disk quota).
bool IsNoSpaceError(int error);
// True for the errno that stands for a file another program holds open
// without sharing it for writing, as a spreadsheet does: Windows' sharing
// and lock violations. POSIX files have no such fault.
bool IsInUseError(int error);

// Where the program keeps a file of its own across runs: on Windows
// %APPDATA%\Kelvora\<name>, elsewhere $XDG_DATA_HOME/kelvora/<name> or
// ~/.local/share/kelvora/<name>; empty when no such place is named.
std::string UserDataFile(std::string_view name);

// `when` in local time, and the local time's offset from UTC in seconds.
std::tm LocalTime(std::time_t when, long& offsetSeconds);

}  // namespace kelvora::platform
