// The history file: the lines it holds, what reading keeps, and writers that
// cannot write or write at once.

#include "results/history.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>

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
      // A copy saved by a spreadsheet starts with the UTF-8 byte-order mark.
      {"a byte-order mark before a line", "\xEF\xBB\xBF" + std::string(kGood) + "\r\n", {8000}},
      {"a byte-order mark before a header that names the order",
       "\xEF\xBB\xBF"
       "ear,frequency_hz,time,session,bursts,answer,correct,record_hz,rate_percent,volume_"
       "percent\r\n"
       "right,9000,2026-12-08T23:41:22+09:00,7,3,?,0,,,30\r\n",
       {9000}},
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
                        {"NST+3:30", "2023-11-14T18:43:20-03:30"},
                        {"IST-5:30", "2023-11-15T03:43:20+05:30"},
                        {"<+1345>-13:45", "2023-11-15T11:58:20+13:45"}};
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
            "volume_percent,confirming_hz,confirmed_hz,played,listener,output\r\n"
            "2026-12-08T23:41:22+09:00,1000,both,8000,3,3,1,8000,100.0,30,,,1,,\r\n"
            "2026-12-08T23:41:22+09:00,1002,left,8000,3,?,0,8000,100.0,30,,,1,,\r\n");
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

const std::string kOldHeader =
    "time,session,ear,frequency_hz,bursts,answer,correct,record_hz,rate_percent,volume_percent\r\n";
const std::string kHeader = std::string(kHistoryHeader) + "\r\n";
const std::string kPlayedHeader = std::string(kPlayedHistoryHeader) + "\r\n";

std::vector<int> Frequencies(const std::vector<HistoryRecord>& records) {
  std::vector<int> hz;
  for (const HistoryRecord& r : records) hz.push_back(r.frequencyHz);
  return hz;
}

TEST(HistoryFile, ColumnsAreReadByTheirHeaderAndWhatTheProgramCannotWriteIsCounted) {
  const std::string line = "2026-12-08T23:41:22+09:00,7,both,";  // then frequency onwards
  struct Case {
    const char* name;
    std::string contents;
    std::vector<int> frequencies;
    int unreadable;
  };
  const Case cases[] = {
      {"another order",
       "volume_percent,frequency_hz,time,ear,session,bursts,answer,correct,record_hz,rate_percent\n"
       "30,9000,2026-12-08T23:41:22+09:00,left,7,1,1,1,9000,100.0\n",
       {9000},
       0},
      {"an unknown column is ignored",
       "time,session,ear,frequency_hz,bursts,answer,correct,record_hz,rate_percent,volume_percent,"
       "note\n" +
           line + "8000,3,?,0,,,30,\"a, b\"\n",
       {8000},
       0},
      {"a required column missing",
       "time,session,ear,frequency_hz,bursts,answer,correct,record_hz,rate_percent\n" + line +
           "8000,3,?,0,,\n" + line + "9000,3,?,0,,\n" + kOldHeader + line + "10000,3,?,0,,,30\n",
       {10000},
       2},
      {"an old file appended to by the version before",
       kOldHeader + line + "8000,3,?,0,,,30\r\n" + kPlayedHeader + line +
           "9000,3,3,1,9000,50.0,30,,,1\r\n",
       {8000, 9000},
       0},
      {"out of range or not the program's",
       kPlayedHeader + line + "25000,3,?,0,,,30,,,1\n" + line + "99999,3,?,0,,,30,,,1\n" + line +
           "8005,3,?,0,,,30,,,1\n" + line + "8000,3,3,1,8000,nan,30,,,1\n" +
           "2025-02-31T10:00:00+09:00,7,both,8000,3,?,0,,,30,,,1\n" + line +
           "8000,0,?,0,,,30,,,1\n" + line + "8000,3,?,0,,,101,,,1\n" + line +
           "8000,3,?,0,,,30,,8000,1\n" + line + "8000,3,?,0,,,30,,,2\n" + line +
           "8000,3,?,0,30000,,30,,,1\n" + "2024-02-29T10:00:00+09:00,7,both,20,3,?,0,,,0,,,1\n" +
           line + "22000,3,3,1,22000,100.0,100,22000,22000,0\n",
       {20, 22000},
       10},
      {"a torn last line is counted",
       kPlayedHeader + line + "8000,3,?,0,,,30,,,1\r\n" + line + "90",
       {8000},
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const HistoryContents read = ParseHistoryContents(c.contents);
    EXPECT_EQ(Frequencies(read.records), c.frequencies);
    EXPECT_EQ(read.unreadableLines, c.unreadable);
  }
  // What a confirmation and a pattern that did not play leave reads back.
  HistoryRecord r;
  r.time = "2026-12-08T23:41:22+09:00";
  r.frequencyHz = 15250;
  r.bursts = 4;
  r.answer = 4;
  r.correct = true;
  r.confirmingHz = 15250;
  r.confirmedHz = 15250;
  r.played = false;
  const std::optional<HistoryRecord> back = ParseHistoryLine(FormatHistoryLine(r));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->confirmingHz, 15250);
  EXPECT_EQ(back->confirmedHz, 15250);
  EXPECT_FALSE(back->played);
}

HistoryRecord Check(int hz) {
  HistoryRecord r;
  r.time = "2026-12-09T10:00:00+09:00";
  r.frequencyHz = hz;
  r.bursts = 2;
  r.answer = 2;
  r.correct = true;
  r.recordHz = hz;
  r.ratePercent = "100.0";
  r.volumePercent = 30;
  return r;
}

// A spreadsheet's header: quoted names, in an order of its own.
const std::string kQuotedHeader =
    "\"frequency_hz\",\"time\",\"session\",\"ear\",\"bursts\",\"answer\",\"correct\","
    "\"record_hz\",\"rate_percent\",\"volume_percent\"\r\n";

TEST(HistoryFile, AppendingNeverRewritesALineAndEveryLineReadsBack) {
  const std::string old = "2025-01-02T10:00:00+09:00,5,both,12000,2,2,1,12000,100.0,30\r\n";
  struct Case {
    const char* name;
    std::string contents;
    std::vector<int> before;  // what the file held that stays readable
    int unreadable;           // after the two runs
    int headersAdded;
  };
  const Case cases[] = {
      {"a torn last line", kOldHeader + old + "2025-01-03T10:00", {12000}, 1, 1},
      {"a file of the earlier version", kOldHeader + old, {12000}, 0, 1},
      {"a file of the version before",
       kPlayedHeader + "2025-01-02T10:00:00+09:00,5,both,12000,2,2,1,12000,100.0,30,,,1\r\n",
       {12000},
       0,
       1},
      {"a file of this version", kHeader, {}, 0, 0},
      {"an empty file", "", {}, 0, 1},
      {"a file of this version saved with a byte-order mark",
       std::string(kUtf8ByteOrderMark) + kHeader,
       {},
       0,
       0},
      {"a quoted header of other columns below this version's",
       kHeader + kQuotedHeader + "7000,2025-01-02T10:00:00+09:00,5,both,2,2,1,7000,100.0,30\r\n",
       {7000},
       0,
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder temp;
    const fs::path file = temp.path / "history.csv";
    std::ofstream(file, std::ios::binary) << c.contents;
    for (int run = 0; run < 2; ++run) {  // a second run appends below the same header
      History history(file.string());
      history.StartSession();
      history.Record(Check(8000 + run * 1000));
      EXPECT_FALSE(history.writeError().failed());
    }
    const std::string after = Contents(file);
    EXPECT_EQ(after.substr(0, c.contents.size()), c.contents);
    const HistoryContents read = ParseHistoryContents(after);
    std::vector<int> expected = c.before;
    expected.push_back(8000);
    expected.push_back(9000);
    EXPECT_EQ(Frequencies(read.records), expected);
    EXPECT_EQ(read.unreadableLines, c.unreadable);
    const HistoryContents reread = History(file.string()).Read();
    EXPECT_EQ(Frequencies(reread.records), expected);
    EXPECT_EQ(reread.unreadableLines, c.unreadable);
    std::size_t headers = 0;
    for (std::size_t at = after.find(kHeader); at != std::string::npos;
         at = after.find(kHeader, at + 1)) {
      ++headers;
    }
    EXPECT_EQ(headers, (c.contents.find(kHeader) != std::string::npos ? 1u : 0u) +
                           static_cast<std::size_t>(c.headersAdded));
  }
}

// Names are free text: whatever goes in comes back whole, and the lines after
// it read as before. Lines of earlier versions have no listener and no output.
TEST(HistoryFile, ListenersAndOutputsOfAnyTextComeBackWholeAndOlderLinesHaveNone) {
  std::string thousand;
  for (int i = 0; i < 1000; ++i) thousand += i % 2 ? "あ" : "\"";
  const struct {
    const char* name;
    std::string listener, output;
  } cases[] = {
      {"plain", "Alex", "Built-in Audio Analog Stereo"},
      {"unnamed, default", "", "既定の出力"},
      {"commas and quotes", "Smith, \"Jo\"", "スピーカー (Realtek(R) Audio), 2"},
      {"line breaks", "two\r\nlines\nand\rmore", "\"\n\""},
      {"Japanese", "山田 花子", "ヘッドホン"},
      {"1000 characters", thousand, thousand},
  };
  TempFolder temp;
  const fs::path file = temp.path / "history.csv";
  const std::string old = "2025-01-02T10:00:00+09:00,5,both,12000,2,2,1,12000,100.0,30\r\n";
  const std::string played = "2025-01-02T10:00:00+09:00,6,both,13000,2,2,1,13000,100.0,30,,,1\r\n";
  std::ofstream(file, std::ios::binary) << kOldHeader << old << kPlayedHeader << played;
  History history(file.string());
  history.StartSession();
  int hz = 8000;
  for (const auto& c : cases) {
    history.SetListener(c.listener);
    history.SetOutput(c.output);
    history.Record(Check(hz += 10));
    ASSERT_FALSE(history.writeError().failed());
  }
  const HistoryContents read = History(file.string()).Read();
  EXPECT_EQ(read.unreadableLines, 0);
  ASSERT_EQ(read.records.size(), 2 + std::size(cases));
  for (int older : {0, 1}) {
    EXPECT_EQ(read.records[older].listener, "");
    EXPECT_EQ(read.records[older].output, "");
  }
  hz = 8000;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].name);
    const HistoryRecord& back = read.records[2 + i];
    EXPECT_EQ(back.frequencyHz, hz += 10);
    EXPECT_EQ(back.listener, cases[i].listener);
    EXPECT_EQ(back.output, cases[i].output);
  }
}

// A disk that fills in the middle of a line: `room` bytes go, then ENOSPC.
class FullDiskHistory : public History {
 public:
  FullDiskHistory(std::string path, long room) : History(std::move(path)), m_room(room) {}

 protected:
  long WriteBytes(int fd, const char* bytes, std::size_t size) override {
    if (m_room <= 0) {
      errno = ENOSPC;
      return -1;
    }
    const long n = History::WriteBytes(fd, bytes, std::min<std::size_t>(size, m_room));
    m_room -= n;
    return n;
  }

 private:
  long m_room;
};

TEST(HistoryFile, AWriteCutShortIsCutBackAndSaysWhy) {
  for (long room : {0L, 1L, 30L}) {
    SCOPED_TRACE(room);
    TempFolder temp;
    const fs::path file = temp.path / "history.csv";
    const std::string contents = kHeader + FormatHistoryLine(Check(12000));
    std::ofstream(file, std::ios::binary) << contents;
    FullDiskHistory history(file.string(), room);
    history.StartSession();
    history.Record(Check(8000));
    EXPECT_EQ(history.writeError(), (HistoryError{HistoryFault::System, ENOSPC}));
    EXPECT_EQ(Contents(file), contents);
    EXPECT_EQ(history.currentSession().size(), 1u) << "kept for the window";
  }
}

// A file that refuses every write while `refusing` is set.
class RefusingHistory : public History {
 public:
  using History::History;
  bool refusing = false;

 protected:
  long WriteBytes(int fd, const char* bytes, std::size_t size) override {
    if (refusing) {
      errno = EIO;
      return -1;
    }
    return History::WriteBytes(fd, bytes, size);
  }
};

TEST(HistoryFile, ALineThatCouldNotBeWrittenGoesWithTheNextThatCanInOrderOnce) {
  struct Case {
    const char* name;
    std::vector<bool> refused;  // for each check in turn
  };
  const Case cases[] = {
      {"three refused, the fourth writes", {true, true, true, false}},
      {"refused now and then", {true, false, true, false}},
      {"the first written, the rest refused", {false, true, true, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder temp;
    const fs::path file = temp.path / "history.csv";
    std::int64_t clock = 1000;
    RefusingHistory history(file.string(), [&clock] { return clock; });
    history.StartSession();
    std::string written;  // the header comes with the first line written
    std::string waiting;
    for (std::size_t k = 0; k < c.refused.size(); ++k) {
      // A change of ear midway: the lines of the earlier session wait too.
      if (k == 2) history.SetEar(Ear::Left);
      history.refusing = c.refused[k];
      history.Record(Check(8000 + 1000 * static_cast<int>(k)));
      waiting += FormatHistoryLine(history.currentSession().back());
      if (!c.refused[k]) written += (written.empty() ? kHeader : "") + std::exchange(waiting, "");
      EXPECT_EQ(history.writeError().failed(), c.refused[k]);
      EXPECT_EQ(history.pending().empty(), waiting.empty());
      EXPECT_EQ(Contents(file), written);
    }
    // What still waits goes when the file takes it again, and only once.
    history.refusing = false;
    EXPECT_TRUE(history.WritePending());
    EXPECT_TRUE(history.WritePending());
    EXPECT_EQ(Contents(file), (written.empty() ? kHeader : written) + waiting);
    EXPECT_EQ(Frequencies(history.Read().records), (std::vector<int>{8000, 9000, 10000, 11000}));
  }
}

TEST(HistoryFile, OnlyARegularFileIsReadOrWrittenAndNothingWaits) {
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> make;
    HistoryFault fault;  // of writing and of reading
  };
  const Case cases[] = {
      {"a named pipe", [](const fs::path& p) { mkfifo(p.c_str(), 0600); },
       HistoryFault::NotRegularFile},
      {"a link to a named pipe",
       [](const fs::path& p) {
         mkfifo((p.string() + ".fifo").c_str(), 0600);
         fs::create_symlink(p.string() + ".fifo", p);
       },
       HistoryFault::NotRegularFile},
      {"a link to /dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); },
       HistoryFault::NotRegularFile},
      {"a link to /dev/full", [](const fs::path& p) { fs::create_symlink("/dev/full", p); },
       HistoryFault::NotRegularFile},
      {"a folder", [](const fs::path& p) { fs::create_directory(p); },
       HistoryFault::NotRegularFile},
      {"a link to a file not there yet",
       [](const fs::path& p) { fs::create_symlink(p.string() + ".target", p); },
       HistoryFault::None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder temp;
    const fs::path file = temp.path / "history.csv";
    c.make(file);
    History history(file.string());
    history.StartSession();
    history.Record(Check(8000));
    EXPECT_EQ(history.writeError().fault, c.fault);
    const HistoryContents read = history.Read();
    EXPECT_EQ(read.error.fault, c.fault);
    EXPECT_EQ(read.records.size(), c.fault == HistoryFault::None ? 1u : 0u);
  }
  History nowhere("");
  nowhere.StartSession();
  nowhere.Record(Check(8000));
  EXPECT_EQ(nowhere.writeError().fault, HistoryFault::NoLocation);
}

TEST(HistoryFile, ReadingIsBoundedAndSaysOlderLinesWereLeftOut) {
  TempFolder temp;
  const fs::path file = temp.path / "history.csv";
  const std::string reordered =
      "frequency_hz,time,session,ear,bursts,answer,correct,record_hz,rate_percent,"
      "volume_percent\n";
  struct Case {
    const char* name;
    std::function<void()> make;
    std::vector<int> frequencies;
  };
  const Case cases[] = {
      {"more lines than are read, below a header far above",
       [&] {
         std::ofstream out(file, std::ios::binary);
         out << reordered;
         for (std::size_t n = 0; n < kHistoryReadLines; ++n) out << "1\n";
         out << "9000,2026-12-09T10:00:00+09:00,7,both,2,2,1,9000,100.0,30\n";
       },
       {9000}},
      {"more lines than are read, below a quoted header far above",
       [&] {
         std::ofstream out(file, std::ios::binary);
         out << kQuotedHeader;
         for (std::size_t n = 0; n < kHistoryReadLines; ++n) out << "1\n";
         out << "9000,2026-12-09T10:00:00+09:00,7,both,2,2,1,9000,100.0,30\n";
       },
       {9000}},
      {"a 200 MB line, then a line",
       [&] {
         std::ofstream(file, std::ios::binary) << kHeader;
         ASSERT_EQ(truncate(file.c_str(), 200 << 20), 0);
         std::ofstream(file, std::ios::binary | std::ios::app) << "\n"
                                                               << FormatHistoryLine(Check(8000));
       },
       {8000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.make();
    History history(file.string());
    HistoryContents read = history.Read();
    EXPECT_EQ(Frequencies(read.records), c.frequencies);
    EXPECT_TRUE(read.olderLinesLeftOut);
    history.StartSession();
    history.Record(Check(10000));
    read = history.Read();
    ASSERT_FALSE(read.records.empty());
    EXPECT_EQ(read.records.back().frequencyHz, 10000);
  }
}

}  // namespace
}  // namespace kelvora
