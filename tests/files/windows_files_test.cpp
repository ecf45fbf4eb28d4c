// The Windows file calls, run under Wine: whole-file replaces, the history's
// appends under %APPDATA%, standard output in binary, and folders with
// Japanese names all the way down to the system calls.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/files/native_file.h"
#include "platform/files/safe_file.h"
#include "results/history.h"

namespace kelvora {
namespace {

namespace fs = std::filesystem;
using platform::WriteStatus;

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

fs::path FromUtf8(const std::string& text) {
  return fs::path(std::u8string(text.begin(), text.end()));
}

// A fresh folder with a Japanese name in the temporary folder.
class TempFolder {
 public:
  TempFolder() {
    path = fs::temp_directory_path() /
           FromUtf8("ケルヴォラ検査 " + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(counter++));
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~TempFolder() {
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(path, ignored)) {
      fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    }
    fs::remove_all(path, ignored);
  }
  fs::path path;
  static inline int counter = 0;
};

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

int TemporaryFilesIn(const fs::path& folder) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    count += entry.path().filename().string().starts_with(".kelvora-");
  }
  return count;
}

TEST(WindowsFiles, WholeFilesAreReplacedOrRefusedAndNothingIsLeftBehind) {
  TempFolder temp;
  const fs::path readOnly = temp.path / FromUtf8("読み取り専用.wav");
  { std::ofstream(readOnly, std::ios::binary) << "old"; }
  fs::permissions(readOnly,
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const struct {
    const char* situation;
    fs::path path;
    const char* before;  // nullptr: nothing there
    WriteStatus want;
    const char* after;  // what the file holds afterwards; nullptr: nothing there
  } cases[] = {
      {"a new file", temp.path / FromUtf8("音.wav"), nullptr, WriteStatus::Written,
       "RIFF\n\r\x1a\0x"},
      {"an old file replaced", temp.path / FromUtf8("古い音.wav"), "an older and longer content",
       WriteStatus::Written, "RIFF\n\r\x1a\0x"},
      {"a read-only file", readOnly, nullptr, WriteStatus::CannotOpen, "old"},
      {"a folder", temp.path, nullptr, WriteStatus::CannotOpen, nullptr},
      {"a missing folder", temp.path / FromUtf8("無い") / "x.wav", nullptr, WriteStatus::CannotOpen,
       nullptr},
  };
  const std::string payload("RIFF\n\r\x1a\0x", 9);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.situation);
    if (c.before != nullptr) std::ofstream(c.path, std::ios::binary) << c.before;
    const platform::WriteResult result = platform::WriteFileSafely(Utf8(c.path), Bytes(payload));
    EXPECT_EQ(result.status, c.want) << result.message;
    if (c.after != nullptr && c.want == WriteStatus::Written) {
      EXPECT_EQ(Contents(c.path), payload);
    } else if (c.after != nullptr) {
      EXPECT_EQ(Contents(c.path), c.after);
    } else if (c.path != temp.path) {
      EXPECT_FALSE(fs::exists(c.path));
    }
    EXPECT_EQ(TemporaryFilesIn(temp.path), 0);
  }
  // A device is written where it is.
  EXPECT_TRUE(platform::WriteFileSafely("NUL", Bytes(payload)).ok());
}

TEST(WindowsFiles, StandardOutputTakesBytesUnchanged) {
  TempFolder temp;
  const fs::path file = temp.path / "out.wav";
  // A descriptor in text mode, as standard output starts: no "\n" may become "\r\n".
  const int fd = _wopen(file.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_TEXT, _S_IWRITE);
  ASSERT_GE(fd, 0);
  const std::string payload("a\nb\r\nc\x1a\n", 8);
  EXPECT_TRUE(platform::WriteToDescriptor(fd, Bytes(payload)).ok());
  _close(fd);
  EXPECT_EQ(Contents(file), payload);
}

TEST(WindowsFiles, TheHistoryLivesInAppDataAndTwoRunsAppendWholeLines) {
  TempFolder temp;
  const fs::path appData = temp.path / FromUtf8("ユーザー") / "AppData";
  fs::create_directories(appData);
  ASSERT_EQ(_wputenv_s(L"APPDATA", appData.c_str()), 0);
  const std::string path = DefaultHistoryPath();
  EXPECT_EQ(FromUtf8(path), appData / "Kelvora" / "history.csv");

  HistoryRecord r;
  r.time = "2026-12-08T23:41:22+09:00";
  r.frequencyHz = 8000;
  r.bursts = 3;
  r.answer = 3;
  r.correct = true;
  r.volumePercent = 30;
  for (int run = 0; run < 2; ++run) {
    std::int64_t clock = 1000 * (run + 1);
    History history(path, [&clock] { return clock; });
    history.StartSession();
    // Free text goes into the file as UTF-8 whatever the system's code page.
    history.SetListener("山田, 花子");
    history.SetOutput("スピーカー (Realtek(R) Audio)");
    history.Record(r);
    history.Record(r);
    EXPECT_FALSE(history.writeError().failed())
        << "fault " << static_cast<int>(history.writeError().fault) << ": "
        << std::strerror(history.writeError().code);
  }
  const std::string header(kHistoryHeader);
  const std::string who = ",\"山田, 花子\",スピーカー (Realtek(R) Audio)";
  std::string expected = header + "\r\n";
  for (const char* session : {"1000", "1000", "2000", "2000"}) {
    expected += "2026-12-08T23:41:22+09:00," + std::string(session) + ",both,8000,3,3,1,,,30,,,1" +
                who + "\r\n";
  }
  EXPECT_EQ(Contents(FromUtf8(path)), expected);
  const HistoryContents read = History(path).Read();
  EXPECT_FALSE(read.error.failed());
  ASSERT_EQ(read.records.size(), 4u);
  EXPECT_EQ(read.records[3].listener, "山田, 花子");
  EXPECT_EQ(read.records[3].output, "スピーカー (Realtek(R) Audio)");
  EXPECT_EQ(read.unreadableLines, 0);

  // A folder where the file should be is refused, for writing and reading alike.
  const std::string folder = Utf8(temp.path);
  History notAFile(folder);
  notAFile.Record(r);
  EXPECT_EQ(notAFile.writeError().fault, HistoryFault::NotRegularFile);
  EXPECT_EQ(notAFile.Read().error.fault, HistoryFault::NotRegularFile);
}

TEST(WindowsFiles, LocalTimeReadsBackAsTheSameInstant) {
  for (const std::time_t when :
       {std::time_t{0} + 86400, std::time_t{1765200000}, std::time(nullptr)}) {
    const std::string text = FormatLocalTime(when);
    EXPECT_EQ(ParseIsoTime(text), std::optional<std::int64_t>(when)) << text;
  }
}

}  // namespace
}  // namespace kelvora
