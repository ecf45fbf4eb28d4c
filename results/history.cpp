#include "results/history.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "platform/files/native_file.h"
#include "platform/files/shared_file.h"
#include "sound/frequency_range.h"

namespace kelvora {
namespace {

// The columns the program knows; the first ten are in every file it wrote.
enum Column {
  kTime,
  kSession,
  kEar,
  kFrequency,
  kBursts,
  kAnswer,
  kCorrect,
  kRecord,
  kRate,
  kVolume,
  kConfirming,
  kConfirmed,
  kPlayed,
  kListener,
  kOutput,
  kColumnCount
};
constexpr int kRequiredColumns = kConfirming;
constexpr std::array<std::string_view, kColumnCount> kColumnNames = {
    "time",          "session",      "ear",       "frequency_hz", "bursts",
    "answer",        "correct",      "record_hz", "rate_percent", "volume_percent",
    "confirming_hz", "confirmed_hz", "played",    "listener",     "output"};

// Where each known column is in a line under one header; -1 where it is not.
struct Layout {
  std::array<int, kColumnCount> at{};
  std::size_t fields = 0;
  bool usable = false;  // every required column named once
};

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
  if (text.empty()) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

// Splits one RFC 4180 record into `fields`, whose strings are reused from
// line to line; quoted fields may hold commas and doubled quotes.
bool SplitFields(std::string_view line, std::vector<std::string>& fields) {
  std::size_t count = 1;
  auto field = [&fields, &count]() -> std::string& {
    if (fields.size() < count) fields.resize(count);
    return fields[count - 1];
  };
  field().clear();
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c != '"') {
        field() += c;
      } else if (i + 1 < line.size() && line[i + 1] == '"') {
        field() += '"';
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == ',') {
      ++count;
      field().clear();
    } else if (c == '"' && field().empty()) {
      quoted = true;
    } else {
      field() += c;
    }
  }
  fields.resize(count);
  return !quoted;
}

bool IsDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

// A frequency the program can test: 20 to 22000 Hz in steps of 10.
bool ParseFrequency(std::string_view text, int& hz) {
  return IsDigits(text) && ParseNumber(text, hz) && hz >= kLowestFrequency &&
         hz <= kHighestFrequency && hz % kFrequencyGrid == 0;
}

bool ParseOptionalFrequency(std::string_view text, std::optional<int>& hz) {
  if (text.empty()) return true;
  int value = 0;
  if (!ParseFrequency(text, value)) return false;
  hz = value;
  return true;
}

// The panel's rate: "0.0" to "100.0", one decimal.
bool IsRate(std::string_view text) {
  const std::size_t dot = text.find('.');
  if (dot == std::string_view::npos || dot == 0 || dot > 3 || text.size() != dot + 2) {
    return false;
  }
  if (!IsDigits(text.substr(0, dot)) || !IsDigits(text.substr(dot + 1))) return false;
  int whole = 0;
  ParseNumber(text.substr(0, dot), whole);
  return whole < 100 || text == "100.0";
}

bool IsColumnName(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if ((c < 'a' || c > 'z') && c != '_') return false;
  }
  return true;
}

// Whether a line may be a header, by its first character: names start with a
// letter or '_', or a quote where a spreadsheet quoted them; the program's
// lines start with a digit.
bool MayBeHeader(std::string_view line) {
  const char c = line.front();
  return (c >= 'a' && c <= 'z') || c == '_' || c == '"';
}

// A header: names only (the program's lines always hold digits), one "time".
std::optional<Layout> LayoutOfHeader(const std::vector<std::string>& fields) {
  for (const std::string& f : fields) {
    if (!IsColumnName(f)) return std::nullopt;
  }
  if (std::find(fields.begin(), fields.end(), "time") == fields.end()) return std::nullopt;
  Layout layout;
  layout.at.fill(-1);
  layout.fields = fields.size();
  layout.usable = true;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const auto known = std::find(kColumnNames.begin(), kColumnNames.end(), fields[i]);
    if (known == kColumnNames.end()) continue;  // a column of a later version
    int& at = layout.at[static_cast<std::size_t>(known - kColumnNames.begin())];
    if (at >= 0) layout.usable = false;  // named twice: which one holds the value?
    at = static_cast<int>(i);
  }
  for (int c = 0; c < kRequiredColumns; ++c) {
    if (layout.at[static_cast<std::size_t>(c)] < 0) layout.usable = false;
  }
  return layout;
}

Layout LayoutOf(std::string_view header) {
  std::vector<std::string> fields;
  SplitFields(header, fields);
  return *LayoutOfHeader(fields);
}

const Layout& FirstLayout() {
  static const Layout layout = LayoutOf(kFirstHistoryHeader);
  return layout;
}

const Layout& PlayedLayout() {
  static const Layout layout = LayoutOf(kPlayedHistoryHeader);
  return layout;
}

const Layout& CurrentLayout() {
  static const Layout layout = LayoutOf(kHistoryHeader);
  return layout;
}

std::optional<HistoryRecord> RecordOf(const std::vector<std::string>& fields,
                                      const Layout& layout) {
  if (!layout.usable || fields.size() != layout.fields) return std::nullopt;
  const auto field = [&fields, &layout](Column c) -> std::string_view {
    const int at = layout.at[c];
    return at < 0 ? std::string_view() : std::string_view(fields[static_cast<std::size_t>(at)]);
  };
  HistoryRecord r;
  if (!ParseIsoTime(field(kTime))) return std::nullopt;
  r.time = field(kTime);
  if (!IsDigits(field(kSession)) || !ParseNumber(field(kSession), r.session)) return std::nullopt;
  const std::string_view ear = field(kEar);
  if (ear == "both") {
    r.ear = Ear::Both;
  } else if (ear == "left") {
    r.ear = Ear::Left;
  } else if (ear == "right") {
    r.ear = Ear::Right;
  } else {
    return std::nullopt;
  }
  if (!ParseFrequency(field(kFrequency), r.frequencyHz)) return std::nullopt;
  if (!IsDigits(field(kBursts)) || !ParseNumber(field(kBursts), r.bursts) || r.bursts < 1 ||
      r.bursts > 5) {
    return std::nullopt;
  }
  const std::string_view answer = field(kAnswer);
  if (answer == "?") {
    r.answer = 0;
  } else if (!IsDigits(answer) || !ParseNumber(answer, r.answer) || r.answer < 1 || r.answer > 5) {
    return std::nullopt;
  }
  if (field(kCorrect) != "0" && field(kCorrect) != "1") return std::nullopt;
  r.correct = field(kCorrect) == "1";
  if (!ParseOptionalFrequency(field(kRecord), r.recordHz)) return std::nullopt;
  if (!field(kRate).empty()) {
    if (!IsRate(field(kRate))) return std::nullopt;
    r.ratePercent = std::string(field(kRate));
  }
  if (!IsDigits(field(kVolume)) || !ParseNumber(field(kVolume), r.volumePercent) ||
      r.volumePercent > 100) {
    return std::nullopt;
  }
  if (!ParseOptionalFrequency(field(kConfirming), r.confirmingHz) ||
      !ParseOptionalFrequency(field(kConfirmed), r.confirmedHz)) {
    return std::nullopt;
  }
  // Only a check of a confirmation confirms its own level.
  if (r.confirmedHz && r.confirmedHz != r.confirmingHz) return std::nullopt;
  if (layout.at[kPlayed] >= 0) {
    if (field(kPlayed) != "0" && field(kPlayed) != "1") return std::nullopt;
    r.played = field(kPlayed) == "1";
  }
  r.listener = field(kListener);
  r.output = field(kOutput);
  return r;
}

// A record quoted across line breaks is at most this long: a torn line that
// leaves a quote open ends at its own line break, not at the end of the file.
constexpr std::size_t kLongestQuotedRecord = 64 << 10;

// The line feed that ends the record starting at `start`: the next one
// outside quotes, quoted as SplitFields reads quotes.
std::size_t RecordEnd(std::string_view contents, std::size_t start) {
  bool quoted = false;
  bool fieldStart = true;
  const std::size_t limit = std::min(contents.size(), start + kLongestQuotedRecord);
  for (std::size_t i = start; i < limit; ++i) {
    const char c = contents[i];
    if (quoted) {
      if (c == '"') {
        if (i + 1 < contents.size() && contents[i + 1] == '"') {
          ++i;
        } else {
          quoted = false;
        }
      }
      continue;
    }
    if (c == '\n') return i;
    if (c == '"' && fieldStart) quoted = true;
    fieldStart = c == ',';
  }
  return contents.find('\n', start);
}

// A free-text field as RFC 4180 writes it: quoted where it must be.
std::string Quoted(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

bool IsBlank(std::string_view line) { return line.empty() || line == "\r"; }

// The text of a file from its first byte on, without its byte-order mark.
std::string_view WithoutByteOrderMark(std::string_view text) {
  if (text.starts_with(kUtf8ByteOrderMark)) text.remove_prefix(kUtf8ByteOrderMark.size());
  return text;
}

// Reads the lines of `contents` into `out`. Lines before the first header
// follow `initial`; there, a line with the field count of the other layout
// this program knows is read by it, since the header above may lie outside
// what was read.
void ParseLines(std::string_view contents, Layout initial, HistoryContents& out) {
  std::vector<std::string> fields;
  Layout layout = initial;
  bool headerSeen = false;
  auto take = [&](std::string_view line, bool skipped) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) return;
    // A skipped line matters only as a header.
    if (skipped && !MayBeHeader(line)) return;
    if (!SplitFields(line, fields)) {
      if (!skipped) ++out.unreadableLines;
      return;
    }
    if (std::optional<Layout> header = LayoutOfHeader(fields)) {
      layout = *header;
      headerSeen = true;
      return;
    }
    if (skipped) return;
    const Layout* use = &layout;
    if (!headerSeen && fields.size() != layout.fields) {
      if (fields.size() == CurrentLayout().fields) use = &CurrentLayout();
      if (fields.size() == PlayedLayout().fields) use = &PlayedLayout();
      if (fields.size() == FirstLayout().fields) use = &FirstLayout();
    }
    if (std::optional<HistoryRecord> record = RecordOf(fields, *use)) {
      out.records.push_back(std::move(*record));
    } else {
      ++out.unreadableLines;
    }
  };
  std::size_t lines = static_cast<std::size_t>(std::count(contents.begin(), contents.end(), '\n'));
  std::size_t skip = 0;
  if (lines > kHistoryReadLines) {
    skip = lines - kHistoryReadLines;
    out.olderLinesLeftOut = true;
  }
  out.records.reserve(out.records.size() + std::min(lines, kHistoryReadLines));
  std::size_t start = 0;
  for (std::size_t end = RecordEnd(contents, 0); end != std::string_view::npos;
       start = end + 1, end = RecordEnd(contents, start)) {
    const bool skipped = skip > 0;
    if (skipped) --skip;
    take(contents.substr(start, end - start), skipped);
  }
  // A line without its line feed was cut off by a crash or a full disk.
  if (!IsBlank(contents.substr(start))) ++out.unreadableLines;
}

std::int64_t WallClockMicroseconds() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

HistoryError HistoryErrorOf(const platform::FileError& error) {
  switch (error.fault) {
    case platform::FileFault::None:
      break;
    case platform::FileFault::NotRegular:
      return {HistoryFault::NotRegularFile, 0};
    case platform::FileFault::InUse:
      return {HistoryFault::InUse, error.code};
    case platform::FileFault::System:
      return {HistoryFault::System, error.code};
  }
  return {};
}

// The last header line of the open file, if one lies in its last
// kHistoryReadBytes; nothing if none does.
std::optional<std::string> LastHeader(const platform::LockedAppendFile& file) {
  const std::int64_t size = file.size();
  std::vector<std::string> fields;
  std::string bytes;
  for (std::int64_t window = 64 << 10;; window *= 16) {
    window = std::min<std::int64_t>(window, static_cast<std::int64_t>(kHistoryReadBytes));
    const std::int64_t start = std::max<std::int64_t>(0, size - window);
    if (file.ReadAt(bytes, start, static_cast<std::size_t>(size - start)).failed()) {
      return std::nullopt;
    }
    std::string_view text = start == 0 ? WithoutByteOrderMark(bytes) : std::string_view(bytes);
    // The first line of a window that starts mid-file may be a fragment.
    const std::size_t first = start == 0 ? 0 : text.find('\n');
    if (first == std::string_view::npos) {
      if (start == 0 || window == static_cast<std::int64_t>(kHistoryReadBytes)) return std::nullopt;
      continue;
    }
    std::string_view rest = text.substr(start == 0 ? 0 : first + 1);
    while (!rest.empty()) {
      if (rest.back() == '\n') rest.remove_suffix(1);
      const std::size_t newline = rest.rfind('\n');
      std::string_view line = newline == std::string_view::npos ? rest : rest.substr(newline + 1);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (!line.empty() && MayBeHeader(line) && SplitFields(line, fields) &&
          LayoutOfHeader(fields)) {
        return std::string(line);
      }
      if (newline == std::string_view::npos) break;
      rest = rest.substr(0, newline + 1);
    }
    if (start == 0 || window == static_cast<std::int64_t>(kHistoryReadBytes)) return std::nullopt;
  }
}

bool NeedsCurrentHeader(const platform::LockedAppendFile& file) {
  const std::optional<std::string> header = LastHeader(file);
  return !header || *header != kHistoryHeader;
}

}  // namespace

const char* EarName(Ear ear) {
  switch (ear) {
    case Ear::Left:
      return "left";
    case Ear::Right:
      return "right";
    case Ear::Both:
      break;
  }
  return "both";
}

std::string FormatLocalTime(std::time_t when) {
  long offset = 0;
  const std::tm local = platform::LocalTime(when, offset);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
  const int minutes = static_cast<int>((offset < 0 ? -offset : offset) / 60) % (24 * 60);
  char zone[16];
  std::snprintf(zone, sizeof zone, "%c%02d:%02d", offset < 0 ? '-' : '+', minutes / 60,
                minutes % 60);
  return std::string(text) + zone;
}

std::optional<std::int64_t> ParseIsoTime(std::string_view t) {
  // "YYYY-MM-DDTHH:MM:SS+HH:MM"
  if (t.size() != 25 || t[4] != '-' || t[7] != '-' || t[10] != 'T' || t[13] != ':' ||
      t[16] != ':' || (t[19] != '+' && t[19] != '-') || t[22] != ':') {
    return std::nullopt;
  }
  int year, month, day, hour, minute, second, zoneHours, zoneMinutes;
  if (!IsDigits(t.substr(0, 4)) || !IsDigits(t.substr(5, 2)) || !IsDigits(t.substr(8, 2)) ||
      !IsDigits(t.substr(11, 2)) || !IsDigits(t.substr(14, 2)) || !IsDigits(t.substr(17, 2)) ||
      !IsDigits(t.substr(20, 2)) || !IsDigits(t.substr(23, 2)) ||
      !ParseNumber(t.substr(0, 4), year) || !ParseNumber(t.substr(5, 2), month) ||
      !ParseNumber(t.substr(8, 2), day) || !ParseNumber(t.substr(11, 2), hour) ||
      !ParseNumber(t.substr(14, 2), minute) || !ParseNumber(t.substr(17, 2), second) ||
      !ParseNumber(t.substr(20, 2), zoneHours) || !ParseNumber(t.substr(23, 2), zoneMinutes)) {
    return std::nullopt;
  }
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
      minute > 59 || second > 60 || zoneHours > 23 || zoneMinutes > 59) {
    return std::nullopt;
  }
  const std::int64_t zone =
      (std::int64_t{zoneHours} * 60 + zoneMinutes) * 60 * (t[19] == '-' ? -1 : 1);
  return DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400 +
         std::int64_t{hour} * 3600 + std::int64_t{minute} * 60 + second - zone;
}

std::string FormatHistoryLine(const HistoryRecord& r) {
  std::ostringstream line;
  line << r.time << ',' << r.session << ',' << EarName(r.ear) << ',' << r.frequencyHz << ','
       << r.bursts << ',';
  if (r.answer >= 1 && r.answer <= 5) {
    line << r.answer;
  } else {
    line << '?';
  }
  line << ',' << (r.correct ? 1 : 0) << ',';
  if (r.recordHz) line << *r.recordHz;
  line << ',';
  if (r.ratePercent) line << *r.ratePercent;
  line << ',' << r.volumePercent << ',';
  if (r.confirmingHz) line << *r.confirmingHz;
  line << ',';
  if (r.confirmedHz) line << *r.confirmedHz;
  line << ',' << (r.played ? 1 : 0) << ',' << Quoted(r.listener) << ',' << Quoted(r.output)
       << "\r\n";
  return line.str();
}

std::optional<HistoryRecord> ParseHistoryLine(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::vector<std::string> fields;
  if (!SplitFields(line, fields)) return std::nullopt;
  return RecordOf(fields, CurrentLayout());
}

HistoryContents ParseHistoryContents(std::string_view contents) {
  HistoryContents out;
  ParseLines(WithoutByteOrderMark(contents), FirstLayout(), out);
  return out;
}

std::vector<HistoryRecord> ParseHistory(std::string_view contents) {
  return ParseHistoryContents(contents).records;
}

std::string DefaultHistoryPath() { return platform::UserDataFile("history.csv"); }

History::History(std::string path, std::function<std::int64_t()> microseconds)
    : m_path(std::move(path)), m_microseconds(std::move(microseconds)) {
  if (!m_microseconds) m_microseconds = WallClockMicroseconds;
}

void History::StartSession() {
  m_session = std::max(m_session + 1, m_microseconds());
  m_current.clear();
}

void History::SetEar(Ear ear) {
  if (ear == m_ear) return;
  m_ear = ear;
  StartSession();
}

void History::Record(HistoryRecord record) {
  record.session = m_session;
  record.ear = m_ear;
  record.listener = m_listener;
  record.output = m_output;
  m_current.push_back(record);
  m_pending.push_back(std::move(record));
  WritePending();
}

bool History::WritePending() {
  if (m_pending.empty()) return true;
  std::string lines;
  for (const HistoryRecord& r : m_pending) lines += FormatHistoryLine(r);
  std::size_t writtenAnyway = 0;
  if (Append(lines, writtenAnyway)) {
    m_pending.clear();
    return true;
  }
  // Lines a failed write could not take back are in the file: never twice.
  m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                             writtenAnyway, m_pending.size())));
  return m_pending.empty();
}

long History::WriteBytes(int fd, const char* bytes, std::size_t size) {
  return platform::Append(fd, bytes, size);
}

bool History::Append(const std::string& lines, std::size_t& linesWrittenAnyway) {
  linesWrittenAnyway = 0;
  m_writeError = {};
  if (m_path.empty()) {
    m_writeError = {HistoryFault::NoLocation, 0};
    return false;
  }
  platform::LockedAppendFile file;
  if (const platform::FileError error = file.Open(m_path); error.failed()) {
    m_writeError = HistoryErrorOf(error);
    return false;
  }
  std::string bytes;
  const bool headerKnown = m_currentHeaderFile == file.identity();
  if (file.size() == 0) {
    bytes = std::string(kHistoryHeader) + "\r\n";
  } else {
    std::string last;
    if (!file.ReadAt(last, file.size() - 1, 1).failed() && last.size() == 1 && last != "\n") {
      bytes = "\r\n";  // closes a torn line, which stays unreadable but alone
    }
    if (!headerKnown && NeedsCurrentHeader(file)) bytes += std::string(kHistoryHeader) + "\r\n";
  }
  const std::size_t linesStart = bytes.size();
  bytes += lines;

  std::size_t kept = 0;
  platform::FileError error = file.AppendWhole(
      bytes, "\r\n",
      [this](int fd, const char* data, std::size_t size) { return WriteBytes(fd, data, size); },
      kept);
  if (kept > linesStart) {
    const auto whole = std::string_view(lines).substr(0, kept - linesStart);
    linesWrittenAnyway = static_cast<std::size_t>(std::count(whole.begin(), whole.end(), '\n'));
  }
  const platform::FileError closed = file.Close();
  if (!error.failed()) error = closed;
  if (error.failed()) {
    m_currentHeaderFile.reset();
    m_writeError = HistoryErrorOf(error);
    return false;
  }
  m_currentHeaderFile = file.identity();
  return true;
}

HistoryContents History::Read() const {
  HistoryContents out;
  if (m_path.empty()) {
    out.error = {HistoryFault::NoLocation, 0};
    return out;
  }
  // The file's own first line, if a header, names the columns of the lines
  // read when they start further on.
  constexpr std::size_t kHeadSize = 64 << 10;
  const platform::FileTail tail = platform::ReadFileTail(m_path, kHistoryReadBytes, kHeadSize);
  if (tail.error.failed()) {
    out.error = HistoryErrorOf(tail.error);
    return out;
  }
  Layout initial = FirstLayout();
  std::string_view text(tail.bytes);
  if (tail.start == 0) text = WithoutByteOrderMark(text);
  if (tail.start > 0) {
    out.olderLinesLeftOut = true;
    // The lines read start after the fragment the window cut.
    const std::size_t first = text.find('\n');
    text = first == std::string_view::npos ? std::string_view() : text.substr(first + 1);
    std::vector<std::string> fields;
    std::string_view line = WithoutByteOrderMark(tail.head);
    line = line.substr(0, line.find('\n'));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (SplitFields(line, fields)) {
      if (std::optional<Layout> header = LayoutOfHeader(fields)) initial = *header;
    }
  }
  ParseLines(text, initial, out);
  return out;
}

}  // namespace kelvora
