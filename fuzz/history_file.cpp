// The history file as the results window reads it: the bytes as a whole
// file through History::Read, then the sessions and axes the window draws.
// One input in sixteen (by the sum of its bytes) is also read at one of the
// reader's bounds, which take a million lines or 64 MiB to reach, and a
// tenth of a second: below more lines
// than it reads, or at the end of a file longer than the bytes it reads (a
// hole keeps that file small on disk).

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <string>
#include <string_view>

#include "fuzz/history_check.h"
#include "results/staircase.h"

using namespace kelvora;

namespace {

namespace fs = std::filesystem;

// One file of this process's own, reused for every input.
class TempFile {
 public:
  TempFile() {
    std::string pattern = (fs::temp_directory_path() / "kelvora-fuzz-XXXXXX").string();
    FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr);
    m_folder = pattern;
    path = m_folder + "/history.csv";
  }
  ~TempFile() { fs::remove_all(m_folder); }
  // `head`, then nothing up to `tailAt`, then `tail`.
  void Write(std::string_view head, std::int64_t tailAt = 0, std::string_view tail = {}) const {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    FUZZ_CHECK(fd >= 0);
    FUZZ_CHECK(write(fd, head.data(), head.size()) == static_cast<ssize_t>(head.size()));
    if (!tail.empty()) {
      FUZZ_CHECK(pwrite(fd, tail.data(), tail.size(), tailAt) == static_cast<ssize_t>(tail.size()));
    }
    close(fd);
  }
  std::string path;

 private:
  std::string m_folder;
};

const TempFile& File() {
  static const TempFile file;
  return file;
}

std::size_t LineCount(std::string_view bytes) {
  return static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
}

void CheckAxis(const Axis& axis, double lowest, double highest) {
  FUZZ_CHECK(axis.low <= lowest && axis.high >= highest && axis.low < axis.high);
  FUZZ_CHECK(axis.ticks.size() <= 7);
  for (std::size_t i = 0; i < axis.ticks.size(); ++i) {
    const auto tick = static_cast<double>(axis.ticks[i]);
    FUZZ_CHECK(tick >= axis.low && tick <= axis.high);
    FUZZ_CHECK(i == 0 || axis.ticks[i - 1] < axis.ticks[i]);
  }
}

// What the results window builds from what it read.
void CheckWhatTheWindowDraws(const std::vector<HistoryRecord>& records) {
  const std::vector<SessionPoint> sessions = BuildSessions(records, {});
  if (sessions.empty()) return;
  int low = sessions.front().recordHz, high = low;
  for (std::size_t i = 0; i < sessions.size(); ++i) {
    const SessionPoint& s = sessions[i];
    FUZZ_CHECK(i == 0 || sessions[i - 1].time <= s.time);
    low = std::min({low, s.recordHz, s.confirmedHz.value_or(low)});
    high = std::max({high, s.recordHz, s.confirmedHz.value_or(high)});
  }
  CheckAxis(FitFrequencyAxis(low, high), low, high);
  const auto first = sessions.front().time, last = sessions.back().time;
  for (const int utcOffset : {0, 9 * 3600, -(12 * 3600)}) {
    CheckAxis(FitTimeAxis(first, last, utcOffset), static_cast<double>(first),
              static_cast<double>(last));
  }
}

void CheckRead(const HistoryContents& read, std::string_view readBytes) {
  FUZZ_CHECK(!read.error.failed());
  FUZZ_CHECK(read.records.size() + static_cast<std::size_t>(read.unreadableLines) <=
             LineCount(readBytes));
  for (const HistoryRecord& r : read.records) fuzz::CheckAsWritten(r);
}

bool SameContents(const HistoryContents& a, const HistoryContents& b) {
  return a.unreadableLines == b.unreadableLines &&
         std::equal(a.records.begin(), a.records.end(), b.records.begin(), b.records.end(),
                    fuzz::Same);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const History history(File().path);

  // The whole file, read as the contents it holds.
  File().Write(bytes);
  const HistoryContents read = history.Read();
  CheckRead(read, bytes);
  FUZZ_CHECK(!read.olderLinesLeftOut);
  FUZZ_CHECK(SameContents(read, ParseHistoryContents(bytes)));
  CheckWhatTheWindowDraws(read.records);

  const unsigned shape = std::accumulate(data, data + size, 0u) % 32;
  if (shape == 30) {
    // The bytes, then blank lines, then the bytes again, so that the first
    // copy's lines are just the ones left out: only its headers count, and
    // the second copy reads as it does right below the first.
    std::string first(bytes);
    if (first.empty() || first.back() != '\n') first += '\n';
    const std::size_t lines = LineCount(bytes) - 1;
    File().Write(first + std::string(kHistoryReadLines - lines, '\n') + std::string(bytes));
    const HistoryContents bounded = history.Read();
    CheckRead(bounded, bytes);
    FUZZ_CHECK(bounded.olderLinesLeftOut);
    // Read whole, with blank lines enough between the copies that a quote
    // the first leaves open ends at its own line, as it does in the file,
    // and too few for any line to be left out.
    const HistoryContents above = ParseHistoryContents(first);
    HistoryContents below =
        ParseHistoryContents(first + std::string(kHistoryReadLines / 2, '\n') + std::string(bytes));
    below.records.erase(below.records.begin(),
                        below.records.begin() + static_cast<std::ptrdiff_t>(above.records.size()));
    below.unreadableLines -= above.unreadableLines;
    FUZZ_CHECK(SameContents(bounded, below));
  } else if (shape == 31) {
    // The bytes at the start and again at the end of a file just longer than
    // what is read: the first line is the header the window may name.
    File().Write(bytes, static_cast<std::int64_t>(kHistoryReadBytes), bytes);
    const HistoryContents bounded = history.Read();
    CheckRead(bounded, bytes);
    FUZZ_CHECK(bounded.olderLinesLeftOut);
  }
  return 0;
}
