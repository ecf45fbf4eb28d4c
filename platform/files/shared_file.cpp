#include "platform/files/shared_file.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/files/native_file.h"

namespace kelvora::platform {
namespace {

constexpr FileError kNotRegular{FileFault::NotRegular, 0};

FileError ErrorOf(int code) {
  if (code == 0) return {};
  // Opening a folder for writing, or a pipe without waiting for a reader.
  if (code == EISDIR || code == ENXIO) return kNotRegular;
  if (IsInUseError(code)) return {FileFault::InUse, code};
  return {FileFault::System, code};
}

// 0 or the errno.
int ReadFully(int fd, std::string& bytes, std::int64_t offset, std::size_t size) {
  bytes.resize(size);
  std::size_t done = 0;
  while (done < size) {
    const long n =
        ReadAt(fd, bytes.data() + done, size - done, offset + static_cast<std::int64_t>(done));
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n == 0) {
      break;
    } else if (errno != EINTR) {
      return errno;
    }
  }
  bytes.resize(done);
  return 0;
}

}  // namespace

FileTail ReadFileTail(const std::string& path, std::size_t most, std::size_t headSize) {
  FileTail tail;
  const int fd = OpenForReading(path);
  if (fd < 0) {
    if (errno != ENOENT) tail.error = ErrorOf(errno);
    return tail;
  }
  FileStatus info;
  if (const int error = StatusOf(fd, info)) {
    tail.error = ErrorOf(error);
  } else if (!info.regular) {
    tail.error = kNotRegular;
  } else {
    tail.start = std::max<std::int64_t>(0, info.size - static_cast<std::int64_t>(most));
    if (const int error = ReadFully(fd, tail.bytes, tail.start,
                                    static_cast<std::size_t>(info.size - tail.start))) {
      tail.error = ErrorOf(error);
    } else if (tail.start > 0 && ReadFully(fd, tail.head, 0, headSize) != 0) {
      tail.head.clear();
    }
  }
  Close(fd);
  return tail;
}

LockedAppendFile::~LockedAppendFile() {
  if (m_fd >= 0) platform::Close(m_fd);
}

FileError LockedAppendFile::Open(const std::string& path) {
  // Never open a pipe, device or folder: a pipe would wait for a reader.
  if (IsOtherThanRegularFile(path)) return kNotRegular;
  m_fd = OpenForAppending(path);
  if (m_fd < 0 && errno == ENOENT && CreateFoldersAbove(path)) m_fd = OpenForAppending(path);
  if (m_fd < 0) return ErrorOf(errno);
  FileStatus info;
  if (StatusOf(m_fd, info) != 0 || !info.regular) return kNotRegular;
  for (int attempt = 0; attempt < 200; ++attempt) {
    const int locked = TryLockExclusive(m_fd);
    if (locked != EWOULDBLOCK && locked != EINTR) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  // What the lock's holder wrote counts.
  if (const int error = StatusOf(m_fd, info)) return ErrorOf(error);
  m_size = info.size;
  m_identity = {info.device, info.inode};
  return {};
}

FileError LockedAppendFile::ReadAt(std::string& bytes, std::int64_t offset,
                                   std::size_t size) const {
  return ErrorOf(ReadFully(m_fd, bytes, offset, size));
}

FileError LockedAppendFile::AppendWhole(std::string_view bytes, std::string_view ending,
                                        const AppendCall& append, std::size_t& kept) {
  kept = 0;
  std::size_t done = 0;
  int error = 0;
  while (done < bytes.size()) {
    const long n = append(m_fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      error = n < 0 ? errno : EIO;
      break;
    }
  }
  if (error != 0 && done > 0 && Truncate(m_fd, m_size) != 0) {
    // What cannot be cut back is at least ended, so the next record is whole.
    append(m_fd, ending.data(), ending.size());
    kept = done;
  }
  return ErrorOf(error);
}

FileError LockedAppendFile::Close() {
  const int error = platform::Close(m_fd);
  m_fd = -1;
  return ErrorOf(error);
}

}  // namespace kelvora::platform
