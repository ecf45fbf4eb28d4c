// The file writer on real files, links, devices, a FIFO and a full filesystem.
#include "platform/files/safe_file.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace kelvora::platform {
namespace {

namespace fs = std::filesystem;

const std::string kNew(200000, 'w');  // more than the full filesystem below holds
const std::span<const std::uint8_t> kBytes{reinterpret_cast<const std::uint8_t*>(kNew.data()),
                                           kNew.size()};

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put(const fs::path& path, int mode) {
  std::ofstream(path) << "old";
  ::chmod(path.c_str(), static_cast<mode_t>(mode));
}

long Count(const fs::path& folder) { return std::distance(fs::directory_iterator(folder), {}); }

class SafeFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "kelvora-files-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir = pattern;
    fs::permissions(dir, fs::perms::all);  // for the unprivileged child
  }
  void TearDown() override {
    ::umount2((dir / "full").c_str(), MNT_DETACH);
    fs::remove_all(dir);
  }
  fs::path dir;
};

TEST_F(SafeFile, WritesTheFileBehindAnyLinkKeepingAReplacedFilesModeAndOwner) {
  const struct {
    std::string path;    // as given; a link when it differs from target
    std::string target;  // relative to the link's folder
    int oldMode;         // of the file there before; -1 for none
    int expected;        // under umask 002
  } cases[] = {
      {"private.wav", "private.wav", 0600, 0600},
      {"new.wav", "new.wav", -1, 0664},
      {std::string(251, 'n') + ".wav", std::string(251, 'n') + ".wav", -1, 0664},  // NAME_MAX
      {"link.wav", "real.wav", 0604, 0604},
      {"dangling.wav", "sub/made.wav", -1, 0664},
  };
  fs::create_directory(dir / "sub");
  const bool root = ::geteuid() == 0;
  const mode_t saved = ::umask(002);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.substr(0, 20));
    const fs::path target = dir / c.target;
    if (c.oldMode >= 0) Put(target, c.oldMode);
    if (c.oldMode >= 0 && root) {
      ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
    }
    if (c.path != c.target) fs::create_symlink(c.target, dir / c.path);
    const WriteResult result = WriteFileSafely(dir / c.path, kBytes);
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(Read(target), kNew);
    EXPECT_EQ(fs::is_symlink(dir / c.path), c.path != c.target);
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, static_cast<mode_t>(c.expected));
    EXPECT_EQ(info.st_uid, c.oldMode >= 0 && root ? 65534 : ::geteuid());
  }
  ::umask(saved);
  EXPECT_EQ(Count(dir), 7);  // the cases' files, real.wav and sub: no temporary file
  EXPECT_EQ(Count(dir / "sub"), 1);
}

TEST_F(SafeFile, WhatCannotBeWrittenFailsAtOnceAndIsLeftAsItWas) {
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
  // As root a device node of our own, so that a faulty writer cannot replace the machine's.
  std::string device = dir / "device";
  if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 7)) != 0) device = "/dev/full";
  // A 64 KiB tmpfs in a mount namespace of our own; without the rights, a file size limit.
  const fs::path full = dir / "full";
  fs::create_directory(full);
  const bool mounted = ::unshare(CLONE_NEWNS) == 0 &&
                       ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                       ::mount("tmpfs", full.c_str(), "tmpfs", 0, "size=64k") == 0;
  Put(full / "old.wav", 0644);
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  const rlimit limit{mounted ? saved.rlim_cur : 16384, saved.rlim_max};
  std::signal(SIGXFSZ, SIG_IGN);
  const struct {
    std::string path;
    WriteStatus status;
    int error;
  } cases[] = {
      {dir / "fifo", WriteStatus::CannotOpen, ENXIO},  // no reader: must not wait for one
      {device, WriteStatus::WriteFailed, ENOSPC},
      {full / "old.wav", WriteStatus::WriteFailed, mounted ? ENOSPC : EFBIG},
  };
  ::alarm(10);  // a writer waiting for the FIFO's reader would wait for ever
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const auto start = std::chrono::steady_clock::now();
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const WriteResult result = WriteFileSafely(c.path, kBytes);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.error, c.error) << result.message;
  }
  ::alarm(0);
  EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
  struct stat after {};
  EXPECT_TRUE(::stat(device.c_str(), &after) == 0 && after.st_rdev == ::makedev(1, 7));
  EXPECT_EQ(Read(full / "old.wav"), "old");
  EXPECT_EQ(Count(full), 1);
}

TEST_F(SafeFile, AReadOnlyFolderHasItsWritableFileWrittenInPlace) {
  fs::create_directory(dir / "ro");
  Put(dir / "ro/w.wav", 0666);
  Put(dir / "r.wav", 0444);
  ::chmod((dir / "ro").c_str(), 0555);
  const struct {
    fs::path path;
    WriteStatus status;
  } cases[] = {
      {dir / "ro/w.wav", WriteStatus::Written},
      {dir / "ro/new.wav", WriteStatus::CannotOpen},
      {dir / "r.wav", WriteStatus::CannotOpen},  // not the user's to write, so not replaced
  };
  struct stat before {};
  ::stat(cases[0].path.c_str(), &before);
  // Root may write anywhere: the writing happens in a child that gives up root.
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
      ::_exit(255);
    }
    int statuses = 0;
    for (int k = 0; k < 3; ++k) {
      statuses |= static_cast<int>(WriteFileSafely(cases[k].path, kBytes).status) << (2 * k);
    }
    ::_exit(statuses);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ::chmod((dir / "ro").c_str(), 0755);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 255) GTEST_SKIP() << "running as root and cannot become nobody";
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ((WEXITSTATUS(status) >> (2 * k)) & 3, static_cast<int>(cases[k].status)) << k;
  }
  struct stat after {};
  ::stat(cases[0].path.c_str(), &after);
  EXPECT_EQ(after.st_ino, before.st_ino);  // the same file, written in place
  EXPECT_EQ(Read(cases[0].path), kNew);
  EXPECT_EQ(Read(dir / "r.wav"), "old");
  EXPECT_EQ(Count(dir / "ro"), 1);
}

}  // namespace
}  // namespace kelvora::platform
