#pragma once

// Writes whole files, without a window system (POSIX or Windows, no Qt). A regular file
// is replaced only once its new content is on disk, so a failure leaves the
// old one as it was; devices, pipes and the process's own descriptors are
// written in place.

#include <cstdint>
#include <span>
#include <string>

namespace kelvora::platform {

enum class WriteStatus {
  Written,
  CannotOpen,   // neither the file nor a temporary file beside it could be opened or created
  WriteFailed,  // opened, but a write, fsync, close or the final rename failed
};

struct WriteResult {
  WriteStatus status = WriteStatus::Written;
  int error = 0;        // errno of the call that failed
  std::string message;  // one line, without the file's name
  bool ok() const { return status == WriteStatus::Written; }
};

// Told about the temporary file while it may exist: its folder and short
// name just before it is created, then name == nullptr once it is renamed or
// removed. Both stay valid until then, so a signal handler may unlinkat() it.
using TemporaryFileWatch = void (*)(int folder, const char* name);

// Writes `bytes` as the whole content of `path`:
//  - a regular file, or a new one, is written to a temporary file beside it,
//    synced and renamed over it; it keeps the old file's mode (and owner where
//    possible), a new file gets 0666 & ~umask. Where no file can be created
//    beside an existing one (a read-only folder) it is truncated and written
//    in place;
//  - symbolic links are followed; the link stays, a dangling one gets its
//    target created;
//  - devices, FIFOs and sockets are opened without waiting (a FIFO with no
//    reader fails at once with ENXIO) and written in place;
//  - /dev/stdout, /dev/fd/N and /proc/self/fd/N are written through the
//    descriptor itself, as "-" is.
WriteResult WriteFileSafely(const std::string& path, std::span<const std::uint8_t> bytes,
                            TemporaryFileWatch watch = nullptr);

// Installs what removes the temporary file of a write under way when the
// program is interrupted (SIGINT, SIGTERM, SIGHUP; on Windows Ctrl+C, Ctrl+Break
// and the console closing) and returns the watch to hand WriteFileSafely. A
// closed pipe or the file size limit then fail a write instead of ending the
// program without a word.
TemporaryFileWatch RemoveTemporaryFileOnInterrupt();

// Writes every byte to an open descriptor, waiting out short writes (on
// Windows in binary mode: no line ending is changed).
WriteResult WriteToDescriptor(int fd, std::span<const std::uint8_t> bytes);

}  // namespace kelvora::platform
