#include "results/history_writer.h"

#include <charconv>
#include <utility>

#include "sound/volume.h"

namespace kelvora {

std::string FormatRatePercent(int corrects, int trials) {
  const double rate = static_cast<double>(corrects) / static_cast<double>(trials) * 100.0;
  char digits[32];
  const auto result =
      std::to_chars(digits, digits + sizeof digits, rate, std::chars_format::fixed, 1);
  return std::string(digits, result.ptr);
}

HistoryWriter::HistoryWriter(History& history, std::function<std::time_t()> now)
    : m_history(history), m_now(std::move(now)) {}

void HistoryWriter::OnCheckJudged(const JudgedCheck& check) {
  HistoryRecord line;
  line.time = FormatLocalTime(m_now());
  line.frequencyHz = check.frequency;
  line.bursts = check.bursts;
  line.answer = check.answer;
  line.correct = check.correct;
  if (check.record != 0) line.recordHz = check.record;
  if (check.trials >= 1) line.ratePercent = FormatRatePercent(check.corrects, check.trials);
  line.volumePercent = VolumePercent(check.volume);
  line.confirmingHz = check.confirmingHz;
  line.confirmedHz = check.confirmedHz;
  line.played = check.played;
  m_history.Record(std::move(line));
}

}  // namespace kelvora
