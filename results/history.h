#pragma once

// The check history: one CSV line per answered check, appended to a file that
// outlives the program, and read back for the results window. No Qt here.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
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
  // Who listened ("" unnamed) and the output it played on, described as the
  // menu showed it ("" unknown: lines of earlier versions). Free text.
  std::string listener;
  std::string output;
};

// The columns this version writes. Files of earlier versions have the first
// ten or thirteen only; their lines stay readable and are appended to below a
// copy of this header, since a header line anywhere names the columns of the
// lines after it.
inline constexpr std::string_view kHistoryHeader =
    "time,session,ear,frequency_hz,bursts,answer,correct,record_hz,rate_percent,volume_percent,"
    "confirming_hz,confirmed_hz,played,listener,output";
inline constexpr std::string_view kPlayedHistoryHeader =
    "time,session,ear,frequency_hz,bursts,answer,correct,record_hz,rate_percent,volume_percent,"
    "confirming_hz,confirmed_hz,played";
inline constexpr std::string_view kFirstHistoryHeader =
    "time,session,ear,frequency_hz,bursts,answer,correct,record_hz,rate_percent,volume_percent";

// The UTF-8 byte-order mark that a saved copy starts with, so that a
// spreadsheet on a Japanese Windows opens it as UTF-8 rather than in the ANSI
// code page. The history file has none, but one saved back by a spreadsheet
// may: the mark at the start of a file is skipped wherever a file is read.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// How much of a file is read: far above any real history, and bounded so
// that a huge or endless file cannot exhaust the machine.
inline constexpr std::size_t kHistoryReadBytes = std::size_t{64} << 20;
inline constexpr std::size_t kHistoryReadLines = 1'000'000;

// Why the history could not be read or written, as a value for the window to
// word in its own language.
enum class HistoryFault {
  None,
  NoLocation,      // neither XDG_DATA_HOME nor HOME names a place
  NotRegularFile,  // a folder, pipe, device or socket, after following links
  InUse,           // another program holds the file open without sharing it for writing
  System,          // `code` is the errno of the call that failed
};

struct HistoryError {
  HistoryFault fault = HistoryFault::None;
  int code = 0;
  bool failed() const { return fault != HistoryFault::None; }
  friend bool operator==(const HistoryError&, const HistoryError&) = default;
};

// What a file holds, as far as it can be read.
struct HistoryContents {
  std::vector<HistoryRecord> records;
  int unreadableLines = 0;         // lines that are not the program's, counted, never drawn
  bool olderLinesLeftOut = false;  // the file is longer than what is read
  HistoryError error;              // why it could not be read; none if it does not exist yet
};

// `when` in local time: "YYYY-MM-DDTHH:MM:SS+HH:MM".
std::string FormatLocalTime(std::time_t when);
// Seconds since the epoch of such a text, or nothing if it is not one (or
// names a day that does not exist, such as February 31).
std::optional<std::int64_t> ParseIsoTime(std::string_view text);

// One line in the columns of kHistoryHeader, with its CRLF ending; free text
// quoted as RFC 4180 quotes it, line breaks included.
std::string FormatHistoryLine(const HistoryRecord& record);
// A line (its ending optional) in the columns of kHistoryHeader; nothing for a
// header or a line the program could not have written.
std::optional<HistoryRecord> ParseHistoryLine(std::string_view line);
// Every line of a file's contents, read by the names of the header line above
// it (the first version's columns before any header). Lines that are not the
// program's, and a torn last line, are counted as unreadable; blank lines
// are skipped. A byte-order mark before the first line is skipped too.
HistoryContents ParseHistoryContents(std::string_view contents);
std::vector<HistoryRecord> ParseHistory(std::string_view contents);

// $XDG_DATA_HOME/kelvora/history.csv, or ~/.local/share/kelvora/history.csv
// when the variable is unset or empty (on Windows %APPDATA%\Kelvora\history.csv);
// empty if none can be found.
std::string DefaultHistoryPath();

// The file of one program run, and the checks of its current session. A
// failure to write never stops a check: the line waits, and goes to the file,
// in order and once, with the first later write that succeeds.
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
  // Who listens and where the sound plays, for the lines from now on.
  void SetListener(std::string listener) { m_listener = std::move(listener); }
  void SetOutput(std::string output) { m_output = std::move(output); }
  const std::string& listener() const { return m_listener; }
  const std::string& output() const { return m_output; }
  std::int64_t session() const { return m_session; }

  // Completes `record` with the session, the ear, the listener and the
  // output, keeps it for this session's picture and appends it to the file,
  // behind the lines still waiting, all in one write.
  void Record(HistoryRecord record);
  // Appends the lines still waiting (the results window asks before it reads,
  // the program at exit); true when none is left waiting.
  bool WritePending();
  // The checks of this run not in the file yet, oldest first, of any session.
  const std::vector<HistoryRecord>& pending() const { return m_pending; }
  const std::vector<HistoryRecord>& currentSession() const { return m_current; }

  const std::string& path() const { return m_path; }
  // Why the last check could not be kept; none after a successful write.
  const HistoryError& writeError() const { return m_writeError; }

  // The last kHistoryReadBytes and kHistoryReadLines of the file, opened
  // without waiting; anything but a regular file is refused.
  HistoryContents Read() const;
  std::vector<HistoryRecord> ReadAll() const { return Read().records; }

 protected:
  // The lines in one write on a regular file opened for appending, after a
  // line break if the file ends in a torn line and after the header if the
  // file is new or has an older one; a write cut short is cut back off.
  // False when they are not in the file; `linesWrittenAnyway` then counts
  // the whole ones that a write cut short left there all the same.
  virtual bool Append(const std::string& lines, std::size_t& linesWrittenAnyway);
  // write(2); tests put a full disk here.
  virtual long WriteBytes(int fd, const char* bytes, std::size_t size);

 private:
  std::string m_path;
  std::function<std::int64_t()> m_microseconds;
  std::int64_t m_session = 0;
  Ear m_ear = Ear::Both;
  std::string m_listener;
  std::string m_output;
  std::vector<HistoryRecord> m_current;
  std::vector<HistoryRecord> m_pending;
  HistoryError m_writeError;
  // The file (device, inode) whose last header is known to be the current one.
  std::optional<std::pair<std::uint64_t, std::uint64_t>> m_currentHeaderFile;
};

}  // namespace kelvora
