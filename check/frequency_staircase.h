#pragma once

#include <cstdint>

#include "sound/frequency_range.h"

namespace kelvora {

// A change of the frequency by hand: a step from where it is, or a jump to a
// fixed frequency.
struct FrequencyNudge {
  std::int32_t by = 0;  // a step; 0 for a jump
  std::int32_t to = 0;  // a jump's frequency
  // Whether the step goes back to the band's, and the rate's counts with it.
  bool restartsBand = true;
};

// The staircase that closes in on the highest frequency heard, told each
// judged answer and each change by hand. A right answer raises the frequency
// by the step (to 22000 Hz at most); a wrong one first shrinks the step
// (2000, 1000, 500, 250, 100, 50, then 10 for good) and lowers the frequency
// by the new step (to 20 Hz at least). A change by hand that would leave 20
// to 22000 Hz is refused; one that lands takes the step of the band it lands
// in: 2000 Hz below 12000 Hz, 1000 Hz below 15000, 500 Hz below 17000, 100 Hz
// from there.
class FrequencyStaircase {
 public:
  static constexpr std::int32_t kStartStep = 2000;

  std::int32_t frequency() const { return m_frequency; }
  std::int32_t step() const { return m_step; }

  void Right();
  void Wrong();
  // False when refused; the step and the counts then stay. True also for a
  // move that keeps the step (the coarse step down).
  bool Nudge(const FrequencyNudge& nudge);
  // Back to 8000 Hz with the band's step, as at start-up.
  void Restart();
  // A frequency chosen by something else (a confirmation's level); the step stays.
  void Hold(std::int32_t frequency) { m_frequency = frequency; }
  void ResetStepForBand();

 private:
  friend struct SessionProbe;
  std::int32_t m_frequency = kStartFrequency;
  std::int32_t m_step = kStartStep;
};

}  // namespace kelvora
