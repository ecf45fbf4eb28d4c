// The file calls on Windows: whole-file replaces (safe_file.h) and the
// history's appends (native_file.h). Paths arrive as UTF-8 and go to the
// system as UTF-16, so folders with Japanese names work.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/files/native_file.h"
#include "platform/files/safe_file.h"

namespace kelvora::platform {
namespace {

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                       static_cast<int>(utf8.size()), nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                      wide.data(), size);
  return wide;
}

std::string Utf8(const wchar_t* wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string utf8(static_cast<std::size_t>(size - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), size, nullptr, nullptr);
  return utf8;
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// No errno says "in use"; one that no call here gives otherwise stands for it.
constexpr int kInUseErrno = ETXTBSY;

// The errno that stands for a system error.
int ErrnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
      return EACCES;
    // Another program has the file open without sharing it for writing (a
    // spreadsheet does), or has locked the part written to.
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return kInUseErrno;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_PARAMETER:
      return EINVAL;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return ENOMEM;
    default:
      return EIO;
  }
}

// Sets errno from the last error, and for a folder opened as a file says so.
int FailWithLastError(const std::wstring& path) {
  const DWORD error = GetLastError();
  errno = error == ERROR_ACCESS_DENIED && IsFolder(path) ? EISDIR : ErrnoOf(error);
  return -1;
}

WriteResult Failure(WriteStatus status, int error) {
  return {status, error, error == kInUseErrno ? "in use by another program" : std::strerror(error)};
}

// 0 or the errno of the failing write.
int WriteAll(HANDLE file, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return ErrnoOf(GetLastError());
    if (written == 0) return EIO;
    bytes = bytes.subspan(written);
  }
  return 0;
}

// Devices (NUL, CON, a named pipe) are written where they are.
WriteResult WriteInPlace(HANDLE file, std::span<const std::uint8_t> bytes) {
  const int error = WriteAll(file, bytes);
  CloseHandle(file);
  return error == 0 ? WriteResult{} : Failure(WriteStatus::WriteFailed, error);
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return L".";
  return path.substr(0, slash + 1);
}

// Writes a temporary file beside `target`, flushed through to the disk, and
// puts it in place: over an old file with ReplaceFileW, which keeps the old
// file's attributes and permissions, or under the new name with MoveFileExW.
WriteResult Replace(const std::wstring& target, bool exists, std::span<const std::uint8_t> bytes,
                    TemporaryFileWatch watch) {
  std::wstring folder = FolderOf(target);
  if (folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
  std::wstring temporary;
  HANDLE file = INVALID_HANDLE_VALUE;
  DWORD error = ERROR_SUCCESS;
  unsigned seed = static_cast<unsigned>(GetTickCount64()) ^ (GetCurrentProcessId() << 16);
  for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    wchar_t name[16];
    seed = seed * 1103515245u + 12345u;
    swprintf(name, 16, L".kelvora-%06X", (seed >> 8) & 0xFFFFFFu);
    temporary = folder + name;
    if (watch != nullptr) watch(0, Utf8(temporary.c_str()).c_str());
    file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
    error = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  if (file == INVALID_HANDLE_VALUE) {
    if (watch != nullptr) watch(0, nullptr);
    // A folder that takes no new file: the old file is written where it is.
    if (exists && error == ERROR_ACCESS_DENIED) {
      HANDLE old = CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                               TRUNCATE_EXISTING, FILE_FLAG_WRITE_THROUGH, nullptr);
      if (old != INVALID_HANDLE_VALUE) return WriteInPlace(old, bytes);
    }
    return Failure(WriteStatus::CannotOpen, ErrnoOf(error));
  }
  int failed = WriteAll(file, bytes);
  if (failed == 0 && !FlushFileBuffers(file)) failed = ErrnoOf(GetLastError());
  if (!CloseHandle(file) && failed == 0) failed = ErrnoOf(GetLastError());
  if (failed == 0) {
    bool placed = exists && ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                                         REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    if (!placed) {
      placed = MoveFileExW(temporary.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    if (!placed) failed = ErrnoOf(GetLastError());
  }
  if (failed != 0) DeleteFileW(temporary.c_str());
  if (watch != nullptr) watch(0, nullptr);
  return failed == 0 ? WriteResult{} : Failure(WriteStatus::WriteFailed, failed);
}

// The temporary file while it may exist, for the console's interrupt handler.
std::atomic<bool> g_temporaryNamed{false};
wchar_t g_temporaryPath[MAX_PATH * 4];

void WatchTemporaryFile(int, const char* name) {
  g_temporaryNamed.store(false);
  if (name == nullptr) return;
  const int size = MultiByteToWideChar(CP_UTF8, 0, name, -1, g_temporaryPath,
                                       static_cast<int>(std::size(g_temporaryPath)));
  if (size > 0) g_temporaryNamed.store(true);
}

BOOL WINAPI RemoveTemporaryFile(DWORD) {
  if (g_temporaryNamed.exchange(false)) DeleteFileW(g_temporaryPath);
  return FALSE;  // the default handler ends the program
}

}  // namespace

WriteResult WriteFileSafely(const std::string& path, std::span<const std::uint8_t> bytes,
                            TemporaryFileWatch watch) {
  if (path.empty()) return Failure(WriteStatus::CannotOpen, ENOENT);
  const std::wstring target = Wide(path);
  if (target.empty()) return Failure(WriteStatus::CannotOpen, EINVAL);
  if (IsFolder(target)) return Failure(WriteStatus::CannotOpen, EISDIR);
  // A read-only file is refused, as Windows refuses to open it for writing.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return Failure(WriteStatus::CannotOpen, EACCES);
  }
  // Opening for writing, without changing anything, tells a file the user
  // may not write (refused, as on every system) and a device from a file.
  HANDLE existing = CreateFileW(target.c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (existing == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return Replace(target, false, bytes, watch);
    return Failure(WriteStatus::CannotOpen, ErrnoOf(error));
  }
  if (GetFileType(existing) != FILE_TYPE_DISK) return WriteInPlace(existing, bytes);
  CloseHandle(existing);
  return Replace(target, true, bytes, watch);
}

WriteResult WriteToDescriptor(int fd, std::span<const std::uint8_t> bytes) {
  // Standard output is a text stream by default; a WAVE image must pass unchanged.
  _setmode(fd, _O_BINARY);
  const auto file = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  if (file == INVALID_HANDLE_VALUE) return Failure(WriteStatus::WriteFailed, EBADF);
  const int error = WriteAll(file, bytes);
  return error == 0 ? WriteResult{} : Failure(WriteStatus::WriteFailed, error);
}

TemporaryFileWatch RemoveTemporaryFileOnInterrupt() {
  SetConsoleCtrlHandler(RemoveTemporaryFile, TRUE);
  return WatchTemporaryFile;
}

namespace {

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

int Descriptor(HANDLE file, int flags) {
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), flags);
  if (fd < 0) {
    CloseHandle(file);
    errno = EMFILE;
  }
  return fd;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

int OpenForAppending(const std::string& path) {
  const std::wstring wide = Wide(path);
  if (wide.empty()) {
    errno = path.empty() ? ENOENT : EINVAL;
    return -1;
  }
  // Without FILE_WRITE_DATA every write goes to the end, whole, even with
  // another program appending at the same time.
  constexpr DWORD kAppend = FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
  HANDLE file = CreateFileW(wide.c_str(), kAppend | FILE_READ_DATA, kShareAll, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED && !IsFolder(wide)) {
    file = CreateFileW(wide.c_str(), kAppend, kShareAll, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  if (file == INVALID_HANDLE_VALUE) return FailWithLastError(wide);
  return Descriptor(file, _O_APPEND);
}

int OpenForReading(const std::string& path) {
  const std::wstring wide = Wide(path);
  if (wide.empty()) {
    errno = path.empty() ? ENOENT : EINVAL;
    return -1;
  }
  if (IsFolder(wide)) {
    errno = EISDIR;
    return -1;
  }
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return FailWithLastError(wide);
  return Descriptor(file, _O_RDONLY);
}

bool IsOtherThanRegularFile(const std::string& path) {
  const std::wstring wide = Wide(path);
  return !wide.empty() && IsFolder(wide);
}

int StatusOf(int fd, FileStatus& status) {
  const HANDLE file = HandleOf(fd);
  if (file == INVALID_HANDLE_VALUE) return EBADF;
  status = {};
  if (GetFileType(file) != FILE_TYPE_DISK) return 0;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info)) return ErrnoOf(GetLastError());
  status.regular = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  status.size =
      static_cast<std::int64_t>((std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow);
  status.device = info.dwVolumeSerialNumber;
  status.inode = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  return 0;
}

int TryLockExclusive(int fd) {
  // One byte far past any end: the lock keeps writers of our own apart but
  // never stands in the way of reading or appending the lines themselves.
  OVERLAPPED where{};
  where.Offset = 0xFFFFFFFEu;
  where.OffsetHigh = 0x7FFFFFFFu;
  if (LockFileEx(HandleOf(fd), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                 &where)) {
    return 0;
  }
  const DWORD error = GetLastError();
  return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? EWOULDBLOCK : ErrnoOf(error);
}

long ReadAt(int fd, char* bytes, std::size_t size, std::int64_t offset) {
  OVERLAPPED where{};
  where.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(offset) & 0xFFFFFFFFu);
  where.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
  DWORD read = 0;
  const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
  if (ReadFile(HandleOf(fd), bytes, chunk, &read, &where)) return static_cast<long>(read);
  const DWORD error = GetLastError();
  if (error == ERROR_HANDLE_EOF) return 0;
  errno = ErrnoOf(error);
  return -1;
}

long Append(int fd, const char* bytes, std::size_t size) {
  DWORD written = 0;
  const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
  if (WriteFile(HandleOf(fd), bytes, chunk, &written, nullptr)) return static_cast<long>(written);
  errno = ErrnoOf(GetLastError());
  return -1;
}

int Truncate(int fd, std::int64_t size) {
  // The appending handle may not move the end back; a second one may.
  HANDLE file = ReOpenFile(HandleOf(fd), GENERIC_WRITE, kShareAll, 0);
  if (file == INVALID_HANDLE_VALUE) return ErrnoOf(GetLastError());
  LARGE_INTEGER end;
  end.QuadPart = size;
  int error = 0;
  if (!SetFilePointerEx(file, end, nullptr, FILE_BEGIN) || !SetEndOfFile(file)) {
    error = ErrnoOf(GetLastError());
  }
  CloseHandle(file);
  return error;
}

int Close(int fd) { return _close(fd) == 0 ? 0 : errno; }

bool CreateFoldersAbove(const std::string& path) {
  const std::wstring wide = Wide(path);
  const std::size_t last = wide.find_last_of(L"\\/");
  if (wide.empty() || last == std::wstring::npos) return false;
  // Each folder from the top down; the drive and the server's share exist or not.
  for (std::size_t slash = wide.find_first_of(L"\\/", 1);
       slash != std::wstring::npos && slash <= last;
       slash = wide.find_first_of(L"\\/", slash + 1)) {
    const std::wstring folder = wide.substr(0, slash);
    if (!folder.empty() && folder.back() != L':') CreateDirectoryW(folder.c_str(), nullptr);
  }
  return IsFolder(wide.substr(0, last));
}

bool IsNoSpaceError(int error) { return error == ENOSPC; }

bool IsInUseError(int error) { return error == kInUseErrno; }

std::string UserDataFile(std::string_view name) {
  const wchar_t* data = _wgetenv(L"APPDATA");
  if (data == nullptr || *data == L'\0') return {};
  return Utf8(data) + "\\Kelvora\\" + std::string(name);
}

std::tm LocalTime(std::time_t when, long& offsetSeconds) {
  std::tm local{};
  localtime_s(&local, &when);
  std::tm asUtc = local;
  // The local fields read as UTC, less the instant itself, are the offset.
  offsetSeconds = static_cast<long>(_mkgmtime(&asUtc) - when);
  return local;
}

}  // namespace kelvora::platform
