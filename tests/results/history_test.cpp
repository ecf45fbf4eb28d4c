// The history file: the lines it holds, what reading keeps, and writers that
// cannot write or write at once.

#include "results/history.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace kelvora {
namespace {

namespace fs = std::filesystem;

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "kelvora-history-XXXXXX").string();
    path = mkdtemp(pattern.data());
  }
  ~TempFolder() { fs::remove_all(path); }
  fs::path path;
};

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

constexpr const char* kGood = "2026-12-08T23:41:22+09:00,7,both,8000,3,?,0,,,30";

TEST(HistoryFile, ReadingKeepsWholeWellFormedLinesOnly) {
  const std::string header =
      "time,session,ear,frequency_hz,bursts,answer,correct,record_hz,"
      "rate_percent,volume_percent\r\n";
  struct Case {
    const char* name;
    std::string contents;
    std::vector<int> frequencies;  // of the lines kept, in order
  };
  const Case cases[] = {
      {"header and CRLF lines",
       header + kGood + "\r\n" + "2026-12-08T23:42:00+09:00,7,left,10000,2,2,1,10000,50.0,30\r\n",
       {8000, 10000}},
      {"LF lines and a quoted field",
       std::string(kGood) + "\n\"2026-12-08T23:42:00+09:00\",8,right,"
                            "9000,1,1,1,9000,100.0,30\n",
       {8000, 9000}},
      {"a torn last line", header + kGood + "\r\n2026-12-08T23:42:00+09:00,7,both,10000,2", {8000}},
      {"a torn line ending where a field would", std::string(kGood) + "\n" + kGood, {8000}},
      {"a line with a field too many", std::string(kGood) + ",1\n" + kGood + "\n", {8000}},
      {"a line with a field too few", "2026-12-08T23:41:22+09:00,7,both,8000,3,?,0,,\n", {}},
      {"a bad answer, ear, correct flag and time",
       "2026-12-08T23:41:22+09:00,7,both,8000,3,6,0,,,30\n"
       "2026-12-08T23:41:22+09:00,7,middle,8000,3,1,0,,,30\n"
       "2026-12-08T23:41:22+09:00,7,both,8000,3,1,2,,,30\n"
       "2026-12-08 23:41:22,7,both,8000,3,1,0,,,30\n",
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<int> kept;
    for (const HistoryRecord& r : ParseHistory(c.contents)) kept.push_back(r.frequencyHz);
    EXPECT_EQ(kept, c.frequencies);
  }
}

TEST(HistoryFile, LocalTimeCarriesItsOffsetAndReadsBackAsTheSameInstant) {
  const char* oldZone = std::getenv("TZ");
  const std::string saved = oldZone ? oldZone : "";
  struct Case {
    const char* zone;
    const char* text;
  };
  // 1700000000 is 2023-11-14T22:13:20Z.
  const Case cases[] = {{"UTC0", "2023-11-14T22:13:20+00:00"},
                        {"JST-9", "2023-11-15T07:13:20+09:00"},
                        {"NST+3:30", "2023-11-14T18:43:20-03:30"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.zone);
    setenv("TZ", c.zone, 1);
    tzset();
    EXPECT_EQ(FormatLocalTime(1700000000), c.text);
    EXPECT_EQ(ParseIsoTime(c.text), 1700000000);
  }
  if (oldZone) {
    setenv("TZ", saved.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}

TEST(HistoryFile, NewFileGetsFolderAndHeaderAndSessionNumbersGrow) {
  TempFolder temp;
  const fs::path file = temp.path / "data" / "kelvora" / "history.csv";
  std::int64_t clock = 1000;
  History history(file.string(), [&clock] { return clock; });
  history.StartSession();
  HistoryRecord r;
  r.time = "2026-12-08T23:41:22+09:00";
  r.frequencyHz = 8000;
  r.bursts = 3;
  r.answer = 3;
  r.correct = true;
  r.recordHz = 8000;
  r.ratePercent = "100.0";
  r.volumePercent = 30;
  history.Record(r);
  clock = 500;  // the wall clock stepped back
  history.StartSession();
  history.SetEar(Ear::Left);  // a change of ear is a new session
  r.answer = 0;
  r.correct = false;
  history.Record(r);
  EXPECT_FALSE(history.writeError().failed());
  EXPECT_EQ(Contents(file),
            "time,session,ear,frequency_hz,bursts,answer,correct,record_hz,rate_percent,"
            "volume_percent,confirming_hz,confirmed_hz,played\r\n"
            "2026-12-08T23:41:22+09:00,1000,both,8000,3,3,1,8000,100.0,30,,,1\r\n"
            "2026-12-08T23:41:22+09:00,1002,left,8000,3,?,0,8000,100.0,30,,,1\r\n");
  ASSERT_EQ(history.currentSession().size(), 1u);
  EXPECT_EQ(history.currentSession()[0].session, 1002);
}

TEST(HistoryFile, AFolderThatCannotBeMadeKeepsTheSessionAndSaysWhy) {
  TempFolder temp;
  std::ofstream(temp.path / "plain-file") << "not a folder";
  // A file where the folder should be stops root as well as anyone.
  History history((temp.path / "plain-file" / "kelvora" / "history.csv").string());
  history.StartSession();
  HistoryRecord r;
  r.time = "2026-12-08T23:41:22+09:00";
  r.frequencyHz = 8000;
  history.Record(r);
  EXPECT_TRUE(history.writeError().failed());
  EXPECT_EQ(history.currentSession().size(), 1u);
}

TEST(HistoryFile, TwoWritersAtOnceInterleaveWholeLines) {
  TempFolder temp;
  const std::string file = (temp.path / "history.csv").string();
  constexpr int kLines = 2000;
  auto writer = [&file](int session, Ear ear) {
    History history(file, [session] { return session; });
    history.StartSession();
    history.SetEar(ear);
    HistoryRecord r;
    r.time = "2026-12-08T23:41:22+09:00";
    r.ratePercent = "12.5";
    r.bursts = 2;
    for (int n = 0; n < kLines; ++n) {
      r.frequencyHz = 20 + 10 * n;
      history.Record(r);
    }
  };
  std::thread left(writer, 100, Ear::Left);
  std::thread right(writer, 200, Ear::Right);
  left.join();
  right.join();
  const std::string contents = Contents(file);
  const std::vector<HistoryRecord> records = ParseHistory(contents);
  ASSERT_EQ(records.size(), 2u * kLines);
  // Each writer's lines arrive whole and in its own order.
  int next[2] = {20, 20};
  for (const HistoryRecord& r : records) {
    int& expected = next[r.ear == Ear::Left ? 0 : 1];
    EXPECT_EQ(r.frequencyHz, expected);
    expected += 10;
  }
  EXPECT_EQ(std::count(contents.begin(), contents.end(), '\n'), 2 * kLines + 1);
}

}  // namespace
}  // namespace kelvora
