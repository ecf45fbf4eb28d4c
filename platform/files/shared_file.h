#pragma once

// The protocol by which runs of the program, one or several at a time,
// share a file of records: only a regular file is read or written, nothing
// waits for a pipe's reader, and a writer adds to the end under an exclusive
// lock, in one append that a failure cuts back off. Built on the calls of
// native_file.h, so the same on every system. Paths are UTF-8. No Qt.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace kelvora::platform {

// Why a call on a shared file failed, as a value for the caller to word.
enum class FileFault {
  None,
  NotRegular,  // a folder, pipe, device or socket, after following links
  InUse,       // another program holds it open without sharing it for writing
  System,      // `code` is the errno of the call that failed
};

struct FileError {
  FileFault fault = FileFault::None;
  int code = 0;  // the errno, for InUse and System
  bool failed() const { return fault != FileFault::None; }
};

// (device, inode): stays the same while the same file lies under a name.
using FileIdentity = std::pair<std::uint64_t, std::uint64_t>;

// The end of a regular file, read without waiting.
struct FileTail {
  std::string bytes;       // the last `most` bytes, all of them in a shorter file
  std::int64_t start = 0;  // where `bytes` begin in the file
  // Where the file is longer: its first `headSize` bytes, or fewer; empty
  // when they cannot be read.
  std::string head;
  FileError error;  // none, and nothing read, when no file is there
};
FileTail ReadFileTail(const std::string& path, std::size_t most, std::size_t headSize);

// Writes up to `size` bytes at the end of `fd`: bytes written, or -1 with
// errno set. Append (native_file.h), unless a test puts a full disk there.
using AppendCall = std::function<long(int fd, const char* bytes, std::size_t size)>;

// A regular file opened for appending and locked against the other writers
// of the program; closed when it goes.
class LockedAppendFile {
 public:
  LockedAppendFile() = default;
  ~LockedAppendFile();
  LockedAppendFile(const LockedAppendFile&) = delete;
  LockedAppendFile& operator=(const LockedAppendFile&) = delete;

  // Opens `path`, creating it and the folders above it where missing (and
  // the target of a dangling link), and takes the lock. Another run holds it
  // only while it writes; should something hold it for long, the file is
  // written without it.
  FileError Open(const std::string& path);
  // As the file was once locked.
  std::int64_t size() const { return m_size; }
  FileIdentity identity() const { return m_identity; }

  // `size` bytes at `offset` into `bytes`, fewer where the file ends sooner.
  FileError ReadAt(std::string& bytes, std::int64_t offset, std::size_t size) const;
  // Appends all of `bytes` through `append`. On a failure the file is cut
  // back to size(); where it cannot be, `ending` follows what went in, and
  // `kept` says how much of `bytes` that was (0 otherwise).
  FileError AppendWhole(std::string_view bytes, std::string_view ending, const AppendCall& append,
                        std::size_t& kept);
  // Closes now; NFS reports a full disk here.
  FileError Close();

 private:
  int m_fd = -1;
  std::int64_t m_size = 0;
  FileIdentity m_identity;
};

}  // namespace kelvora::platform
