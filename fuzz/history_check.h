#pragma once

// What must hold of every record the history reader accepts: it is a line
// the writer could have written, and the writer's line re-reads to the
// same values.

#include <optional>
#include <string>

#include "fuzz/fuzz_check.h"
#include "results/history.h"

namespace kelvora::fuzz {

inline bool Same(const HistoryRecord& a, const HistoryRecord& b) {
  return a.time == b.time && a.session == b.session && a.ear == b.ear &&
         a.frequencyHz == b.frequencyHz && a.bursts == b.bursts && a.answer == b.answer &&
         a.correct == b.correct && a.recordHz == b.recordHz && a.ratePercent == b.ratePercent &&
         a.volumePercent == b.volumePercent && a.confirmingHz == b.confirmingHz &&
         a.confirmedHz == b.confirmedHz && a.played == b.played;
}

// A frequency the program tests: 20 to 22000 Hz on the 10 Hz grid.
inline bool IsTestFrequency(std::optional<int> hz) {
  return !hz || (*hz >= 20 && *hz <= 22000 && *hz % 10 == 0);
}

inline void CheckAsWritten(const HistoryRecord& record) {
  // Values the program can have written.
  FUZZ_CHECK(ParseIsoTime(record.time) && record.session >= 0);
  FUZZ_CHECK(IsTestFrequency(record.frequencyHz) && IsTestFrequency(record.recordHz) &&
             IsTestFrequency(record.confirmingHz) && IsTestFrequency(record.confirmedHz));
  FUZZ_CHECK(record.bursts >= 1 && record.bursts <= 5 && record.answer >= 0 && record.answer <= 5 &&
             record.volumePercent >= 0 && record.volumePercent <= 100);
  FUZZ_CHECK(!record.confirmedHz || record.confirmedHz == record.confirmingHz);

  const std::string line = FormatHistoryLine(record);
  // One line: its CR LF ending and no other line break.
  FUZZ_CHECK(line.size() >= 2 && line.find_first_of("\r\n") == line.size() - 2);
  const std::optional<HistoryRecord> back = ParseHistoryLine(line);
  FUZZ_CHECK(back && Same(*back, record));
}

}  // namespace kelvora::fuzz
