#pragma once

// The check history: one CSV line per answered check, appended to a file that
// outlives the program, and read back for the results window. No Qt here.

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sound/ear.h"

namespace kelvora {

const char* EarName(Ear ear);  // "both", "left", "right"

// One answered check, as one line of the file.
struct HistoryRecord {
  std::string time;  // ISO 8601 local time with its offset, "2026-12-08T23:41:22+09:00"
  std::int64_t session = 0;
  Ear ear = Ear::Both;
  int frequencyHz = 0;
  int bursts = 0;
  int answer = 0;  // 1 to 5; 0 for "don't know"
  bool correct = false;
  std::optional<int> recordHz;             // empty while the panel shows dashes
  std::optional<std::string> ratePercent;  // as the panel shows it, "66.7"
  int volumePercent = 0;
  // A check of a record's confirmation carries the level it was at; the
  // check that confirmed a level carries that level as confirmedHz too.
  std::optional<int> confirmingHz;
  std::optional<int> confirmedHz;
  bool played = true;  // false when the pattern was cut short or never sounded
};

inline constexpr std::string_view kHistoryHeader =
    "time,session,ear,frequency_hz,bursts,answer,correct,record_hz,rate_percent,volume_percent";

// `when` in local time: "YYYY-MM-DDTHH:MM:SS+HH:MM".
std::string FormatLocalTime(std::time_t when);
// Seconds since the epoch of such a text, or nothing if it is not one.
std::optional<std::int64_t> ParseIsoTime(std::string_view text);

// One line with its CRLF ending, as RFC 4180 has it.
std::string FormatHistoryLine(const HistoryRecord& record);
// A line without its ending; nothing for the header or a malformed line.
std::optional<HistoryRecord> ParseHistoryLine(std::string_view line);
// Every whole, well-formed line of a file's contents; a torn last line (one
// without its line feed) and malformed lines are skipped.
std::vector<HistoryRecord> ParseHistory(std::string_view contents);

// $XDG_DATA_HOME/kelvora/history.csv, or ~/.local/share/kelvora/history.csv
// when the variable is unset or empty; empty if neither can be found.
std::string DefaultHistoryPath();

// The file of one program run, and the checks of its current session. A
// failure to write is kept for the results window and never stops a check.
class History {
 public:
  // `microseconds` gives the wall clock for session numbers (tests replace it).
  explicit History(std::string path, std::function<std::int64_t()> microseconds = {});
  virtual ~History() = default;

  // A new session number: the wall clock in microseconds, so numbers from
  // runs before and from a second instance never meet, and at least one more
  // than the last, so they grow within a run even if the clock steps back.
  void StartSession();
  void SetEar(Ear ear);
  Ear ear() const { return m_ear; }
  std::int64_t session() const { return m_session; }

  // Completes `record` with the session and the ear, keeps it for this
  // session's picture and appends it to the file.
  void Record(HistoryRecord record);
  const std::vector<HistoryRecord>& currentSession() const { return m_current; }

  const std::string& path() const { return m_path; }
  // Why the last line could not be kept; empty after a successful write.
  const std::string& error() const { return m_error; }

  // The file's records; `error` says why it could not be read (empty if it
  // does not exist yet).
  std::vector<HistoryRecord> ReadAll(std::string* error = nullptr) const;

 protected:
  // One line in one write(2) on a file opened for appending: two instances
  // interleave whole lines, a crash tears at most the last one.
  virtual bool Append(const std::string& line);

 private:
  std::string m_path;
  std::function<std::int64_t()> m_microseconds;
  std::int64_t m_session = 0;
  Ear m_ear = Ear::Both;
  std::vector<HistoryRecord> m_current;
  std::string m_error;
};

}  // namespace kelvora
