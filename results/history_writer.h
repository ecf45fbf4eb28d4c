#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

#include "check/check_observer.h"
#include "results/history.h"

namespace kelvora {

// The rate as the history keeps it: right answers in percent with one
// decimal and a point whatever the locale ("66.7").
std::string FormatRatePercent(int corrects, int trials);

// Keeps every check the session judges: told before the verdict sounds, it
// appends the history's line at once, so the line is on disk even if the
// program ends while the chime or the buzz plays.
class HistoryWriter final : public CheckObserver {
 public:
  // `now` gives the calendar time of each line.
  HistoryWriter(History& history, std::function<std::time_t()> now);

  void OnCheckJudged(const JudgedCheck& check) override;

 private:
  History& m_history;
  std::function<std::time_t()> m_now;
};

}  // namespace kelvora
