#include "results/history.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace kelvora {
namespace {

constexpr int kFieldCount = 10;

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
  if (text.empty()) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

// Splits one RFC 4180 record; quoted fields may hold commas and doubled quotes.
std::optional<std::vector<std::string>> SplitFields(std::string_view line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c != '"') {
        fields.back() += c;
      } else if (i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == ',') {
      fields.emplace_back();
    } else if (c == '"' && fields.back().empty()) {
      quoted = true;
    } else {
      fields.back() += c;
    }
  }
  if (quoted) return std::nullopt;
  return fields;
}

bool IsDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
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

bool CreateFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    const std::string folder = path.substr(0, slash);
    if (mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  return true;
}

std::int64_t WallClockMicroseconds() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
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
  std::tm local{};
  localtime_r(&when, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
  const long offset = local.tm_gmtoff;
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
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60 ||
      zoneHours > 23 || zoneMinutes > 59) {
    return std::nullopt;
  }
  const std::int64_t zone = (zoneHours * 60 + zoneMinutes) * 60 * (t[19] == '-' ? -1 : 1);
  return DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400 +
         hour * 3600 + minute * 60 + second - zone;
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
  line << ',' << r.volumePercent << "\r\n";
  return line.str();
}

std::optional<HistoryRecord> ParseHistoryLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const auto fields = SplitFields(line);
  if (!fields || fields->size() != kFieldCount) return std::nullopt;
  const std::vector<std::string>& f = *fields;
  HistoryRecord r;
  if (!ParseIsoTime(f[0])) return std::nullopt;
  r.time = f[0];
  if (!ParseNumber(std::string_view(f[1]), r.session)) return std::nullopt;
  if (f[2] == "both") {
    r.ear = Ear::Both;
  } else if (f[2] == "left") {
    r.ear = Ear::Left;
  } else if (f[2] == "right") {
    r.ear = Ear::Right;
  } else {
    return std::nullopt;
  }
  if (!ParseNumber(std::string_view(f[3]), r.frequencyHz) ||
      !ParseNumber(std::string_view(f[4]), r.bursts)) {
    return std::nullopt;
  }
  if (f[5] == "?") {
    r.answer = 0;
  } else if (!ParseNumber(std::string_view(f[5]), r.answer) || r.answer < 1 || r.answer > 5) {
    return std::nullopt;
  }
  if (f[6] != "0" && f[6] != "1") return std::nullopt;
  r.correct = f[6] == "1";
  if (!f[7].empty()) {
    int record = 0;
    if (!ParseNumber(std::string_view(f[7]), record)) return std::nullopt;
    r.recordHz = record;
  }
  if (!f[8].empty()) {
    double rate = 0;
    if (!ParseNumber(std::string_view(f[8]), rate)) return std::nullopt;
    r.ratePercent = f[8];
  }
  if (!ParseNumber(std::string_view(f[9]), r.volumePercent)) return std::nullopt;
  return r;
}

std::vector<HistoryRecord> ParseHistory(std::string_view contents) {
  std::vector<HistoryRecord> records;
  std::size_t start = 0;
  // A line without its line feed was cut off by a crash or is still being written.
  for (std::size_t end = contents.find('\n'); end != std::string_view::npos;
       start = end + 1, end = contents.find('\n', start)) {
    if (auto record = ParseHistoryLine(contents.substr(start, end - start))) {
      records.push_back(std::move(*record));
    }
  }
  return records;
}

std::string DefaultHistoryPath() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && *data == '/') return std::string(data) + "/kelvora/history.csv";
  const char* home = std::getenv("HOME");
  if (home && *home) return std::string(home) + "/.local/share/kelvora/history.csv";
  return {};
}

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
  const std::string line = FormatHistoryLine(record);
  m_current.push_back(std::move(record));
  Append(line);
}

bool History::Append(const std::string& line) {
  if (m_path.empty()) {
    m_error = "記録ファイルの場所がありません（HOME が設定されていません）";
    return false;
  }
  // A new file gets its header in the same write as its first line.
  std::string bytes = line;
  int fd = open(m_path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0 && errno == ENOENT && CreateFolders(m_path)) {
    fd = open(m_path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  }
  if (fd >= 0) {
    bytes = std::string(kHistoryHeader) + "\r\n" + line;
  } else if (errno == EEXIST) {
    fd = open(m_path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  }
  if (fd < 0) {
    m_error = std::strerror(errno);
    return false;
  }
  const ssize_t written = write(fd, bytes.data(), bytes.size());
  const int writeError = errno;
  close(fd);
  if (written != static_cast<ssize_t>(bytes.size())) {
    m_error = written < 0 ? std::strerror(writeError) : "書き込みが途中で終わりました";
    return false;
  }
  m_error.clear();
  return true;
}

std::vector<HistoryRecord> History::ReadAll(std::string* error) const {
  std::ifstream file(m_path, std::ios::binary);
  if (!file) {
    if (error && errno != ENOENT) *error = std::strerror(errno);
    return {};
  }
  std::ostringstream contents;
  contents << file.rdbuf();
  return ParseHistory(contents.str());
}

}  // namespace kelvora
