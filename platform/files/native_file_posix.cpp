#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/files/native_file.h"

namespace kelvora::platform {

int OpenForAppending(const std::string& path) {
  // O_CREAT without O_EXCL also creates the target of a dangling link.
  // Read as well, to see how the file ends and which header is its last.
  constexpr int kFlags = O_RDWR | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  const int fd = ::open(path.c_str(), kFlags, 0666);
  if (fd >= 0 || errno != EACCES) return fd;
  return ::open(path.c_str(), (kFlags & ~O_RDWR) | O_WRONLY, 0666);  // a write-only file
}

int OpenForReading(const std::string& path) {
  return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

bool IsOtherThanRegularFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

int StatusOf(int fd, FileStatus& status) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return errno;
  status.regular = S_ISREG(info.st_mode);
  status.size = info.st_size;
  status.device = info.st_dev;
  status.inode = info.st_ino;
  return 0;
}

int TryLockExclusive(int fd) { return ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : errno; }

long ReadAt(int fd, char* bytes, std::size_t size, std::int64_t offset) {
  return static_cast<long>(::pread(fd, bytes, size, static_cast<off_t>(offset)));
}

long Append(int fd, const char* bytes, std::size_t size) {
  return static_cast<long>(::write(fd, bytes, size));
}

int Truncate(int fd, std::int64_t size) {
  return ::ftruncate(fd, static_cast<off_t>(size)) == 0 ? 0 : errno;
}

int Close(int fd) { return ::close(fd) != 0 && errno != EINTR ? errno : 0; }

bool CreateFoldersAbove(const std::string& path) {
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    const std::string folder = path.substr(0, slash);
    if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  return true;
}

bool IsNoSpaceError(int error) { return error == ENOSPC || error == EDQUOT; }

bool IsInUseError(int /*error*/) { return false; }

std::string UserDataFile(std::string_view name) {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && *data == '/') return std::string(data) + "/kelvora/" + std::string(name);
  const char* home = std::getenv("HOME");
  if (home && *home) return std::string(home) + "/.local/share/kelvora/" + std::string(name);
  return {};
}

std::tm LocalTime(std::time_t when, long& offsetSeconds) {
  std::tm local{};
  ::localtime_r(&when, &local);
  offsetSeconds = local.tm_gmtoff;
  return local;
}

}  // namespace kelvora::platform
