#include "platform/files/safe_file.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>

namespace kelvora::platform {
namespace {

constexpr int kMaxLinks = 40;  // the kernel's own limit

WriteResult Failure(WriteStatus status, int error) { return {status, error, std::strerror(error)}; }

struct Place {
  std::string folder;
  std::string name;
};

Place Split(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// Returns 0 or the errno of the failing write.
int WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written > 0) {
      bytes = bytes.subspan(static_cast<std::size_t>(written));
    } else if (written == 0) {
      return EIO;
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      // A descriptor handed over non-blocking (a terminal or a pipe, say).
      pollfd ready{fd, POLLOUT, 0};
      if (::poll(&ready, 1, -1) < 0 && errno != EINTR) return errno;
    } else if (errno != EINTR) {
      return errno;
    }
  }
  return 0;
}

// N when `place` is this process's /proc/<pid>/fd/N, however it is reached
// (/dev/stdout, /dev/fd/N): opening it anew would lose an appending
// descriptor's mode, and a pipe's or socket's link names no file at all.
std::optional<int> OwnDescriptor(const Place& place) {
  const std::string& name = place.name;
  if (name.empty() || name.size() > 9 ||
      name.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  char* resolved = ::realpath(place.folder.c_str(), nullptr);
  if (resolved == nullptr) return std::nullopt;
  const std::string folder = resolved;
  std::free(resolved);
  const std::string process = "/proc/" + std::to_string(::getpid());
  if (folder != process + "/fd" &&
      folder != process + "/task/" + std::to_string(::gettid()) + "/fd") {
    return std::nullopt;
  }
  return std::stoi(name);
}

// Moves `path` one link along; returns 0 or an errno.
int FollowLink(std::string& path) {
  char target[PATH_MAX];
  const ssize_t size = ::readlink(path.c_str(), target, sizeof target);
  if (size < 0) return errno;
  if (static_cast<std::size_t>(size) == sizeof target) return ENAMETOOLONG;
  const std::string next(target, static_cast<std::size_t>(size));
  path = next[0] == '/' ? next : Split(path).folder + "/" + next;
  return 0;
}

void FillRandom(char* out, std::size_t count) {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::uint64_t random = 0;
  if (::getrandom(&random, sizeof random, GRND_NONBLOCK) != sizeof random) {
    // Early at boot: O_EXCL and the retries make up for a weaker name.
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    random = (static_cast<std::uint64_t>(now.tv_nsec) * 2654435761u) ^
             (static_cast<std::uint64_t>(::getpid()) << 32) ^
             static_cast<std::uint64_t>(now.tv_sec);
  }
  for (std::size_t k = 0; k < count; ++k) {
    out[k] = kLetters[random % (sizeof kLetters - 1)];
    random /= sizeof kLetters - 1;
  }
}

// Devices and pipes, and regular files whose folder takes no new file.
WriteResult WriteInPlace(const std::string& path, mode_t mode,
                         std::span<const std::uint8_t> bytes) {
  // Without O_NONBLOCK opening a FIFO waits for a reader, for ever if none comes.
  const int flags = S_ISREG(mode) ? O_TRUNC : O_NONBLOCK;
  const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | flags);
  if (fd < 0) {
    WriteResult result = Failure(WriteStatus::CannotOpen, errno);
    if (S_ISFIFO(mode) && result.error == ENXIO) result.message = "no process reads the pipe";
    return result;
  }
  int error = 0;
  const int status = ::fcntl(fd, F_GETFL);
  if (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) error = errno;
  if (error == 0) error = WriteAll(fd, bytes);
  if (error == 0 && (S_ISREG(mode) || S_ISBLK(mode)) && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && errno != EINTR && error == 0) error = errno;
  return error == 0 ? WriteResult{} : Failure(WriteStatus::WriteFailed, error);
}

// Writes a temporary file beside place.name and renames it over; `old` is
// the regular file there now, or nullptr.
WriteResult Replace(const std::string& path, const Place& place, const struct stat* old,
                    std::span<const std::uint8_t> bytes, TemporaryFileWatch watch) {
  const int folder = ::open(place.folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return Failure(WriteStatus::CannotOpen, errno);
  // A file that could not be opened for writing is not replaced either.
  if (old != nullptr && ::faccessat(folder, place.name.c_str(), W_OK, AT_EACCESS) != 0) {
    const int error = errno;
    ::close(folder);
    return Failure(WriteStatus::CannotOpen, error);
  }

  // Short and fixed, so that a target name of NAME_MAX bytes still has room.
  char temporary[] = ".kelvora-XXXXXX";
  const std::size_t suffix = sizeof temporary - 7;
  // A replacement is readable by no one else until it has the old file's mode.
  const mode_t mode = old != nullptr ? 0600 : 0666;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    FillRandom(temporary + suffix, 6);
    if (watch != nullptr) watch(folder, temporary);
    fd = ::openat(folder, temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    const int error = errno;
    if (watch != nullptr) watch(folder, nullptr);
    ::close(folder);
    if (old != nullptr && (error == EACCES || error == EPERM)) {
      return WriteInPlace(path, old->st_mode, bytes);
    }
    return Failure(WriteStatus::CannotOpen, error);
  }

  int error = 0;
  if (old != nullptr) {
    // Owner before mode, as chown clears set-id bits. Only root may give the
    // file away; otherwise the writer owns the new file.
    const bool ownerKept = ::fchown(fd, old->st_uid, old->st_gid) == 0 ||
                           ::fchown(fd, static_cast<uid_t>(-1), old->st_gid) == 0;
    static_cast<void>(ownerKept);
    if (::fchmod(fd, old->st_mode & 07777) != 0) error = errno;
  }
  if (error == 0) error = WriteAll(fd, bytes);
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && errno != EINTR && error == 0) error = errno;
  bool renameRefused = false;
  if (error == 0 && ::renameat(folder, temporary, folder, place.name.c_str()) != 0) {
    error = errno;
    renameRefused = error == EPERM || error == EACCES;
  }
  if (error != 0) ::unlinkat(folder, temporary, 0);
  if (watch != nullptr) watch(folder, nullptr);
  ::close(folder);
  // A sticky folder (/tmp) lets only the owner replace a file others may write.
  if (old != nullptr && renameRefused) return WriteInPlace(path, old->st_mode, bytes);
  return error == 0 ? WriteResult{} : Failure(WriteStatus::WriteFailed, error);
}

}  // namespace

WriteResult WriteFileSafely(const std::string& path, std::span<const std::uint8_t> bytes,
                            TemporaryFileWatch watch) {
  if (path.empty()) return Failure(WriteStatus::CannotOpen, ENOENT);
  std::string current = path;
  for (int links = 0;; ++links) {
    const Place place = Split(current);
    if (const std::optional<int> fd = OwnDescriptor(place)) {
      if (::fcntl(*fd, F_GETFD) < 0) return Failure(WriteStatus::CannotOpen, EBADF);
      return WriteToDescriptor(*fd, bytes);
    }
    struct stat info {};
    if (::lstat(current.c_str(), &info) != 0) {
      if (errno != ENOENT) return Failure(WriteStatus::CannotOpen, errno);
      if (place.name.empty()) return Failure(WriteStatus::CannotOpen, EISDIR);
      return Replace(current, place, nullptr, bytes, watch);
    }
    if (S_ISLNK(info.st_mode)) {
      const int error = links == kMaxLinks ? ELOOP : FollowLink(current);
      if (error != 0) return Failure(WriteStatus::CannotOpen, error);
      continue;
    }
    if (S_ISDIR(info.st_mode)) return Failure(WriteStatus::CannotOpen, EISDIR);
    if (!S_ISREG(info.st_mode)) return WriteInPlace(current, info.st_mode, bytes);
    return Replace(current, place, &info, bytes, watch);
  }
}

WriteResult WriteToDescriptor(int fd, std::span<const std::uint8_t> bytes) {
  const int error = WriteAll(fd, bytes);
  return error == 0 ? WriteResult{} : Failure(WriteStatus::WriteFailed, error);
}

namespace {

// Where the temporary file is while it may exist; read by the signal handler.
static_assert(std::atomic<int>::is_always_lock_free);
std::atomic<int> g_temporaryFolder{-1};
char g_temporaryName[64];

void WatchTemporaryFile(int folder, const char* name) {
  g_temporaryFolder.store(-1);
  if (name == nullptr) return;
  std::strncpy(g_temporaryName, name, sizeof g_temporaryName - 1);
  g_temporaryFolder.store(folder);
}

// Async-signal-safe calls only.
void RemoveTemporaryFileAndDie(int signal) {
  const int folder = g_temporaryFolder.load();
  if (folder >= 0) ::unlinkat(folder, g_temporaryName, 0);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

}  // namespace

TemporaryFileWatch RemoveTemporaryFileOnInterrupt() {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction action {};
    // A signal ignored by whoever started us (nohup, a background job) stays ignored.
    if (::sigaction(signal, nullptr, &action) != 0 || action.sa_handler == SIG_IGN) continue;
    action.sa_handler = RemoveTemporaryFileAndDie;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    ::sigaction(signal, &action, nullptr);
  }
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
  return WatchTemporaryFile;
}

}  // namespace kelvora::platform
