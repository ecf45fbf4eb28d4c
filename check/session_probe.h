#pragma once

#include <array>
#include <cstdint>

#include "check/check_session.h"

namespace kelvora {

// The session's inside, for tests that arrange a state the commands would
// take many checks to reach, and for the tools that stand in for a listener
// (the screenshots, the confirmation simulation) and so know the pattern.
// The program itself reads the session through its view only.
struct SessionProbe {
  explicit SessionProbe(const CheckSession& session)
      : s(const_cast<CheckSession&>(session)),
        state(s.m_state),
        frequency(s.m_staircase.m_frequency),
        step(s.m_staircase.m_step),
        maxHeard(s.m_maxHeard),
        trialCount(s.m_trialCount),
        correctCount(s.m_correctCount),
        answerCount(s.m_answerCount),
        pattern(s.m_slots),
        autoChange(s.m_autoChange),
        testWave(s.m_testWave),
        chimeWave(s.m_chimeWave),
        buzzWave(s.m_buzzWave) {}

  CheckSession& s;
  CheckState& state;
  std::int32_t& frequency;
  std::int32_t& step;
  std::int32_t& maxHeard;
  std::int32_t& trialCount;
  std::int32_t& correctCount;
  std::int32_t& answerCount;
  std::array<bool, 5>& pattern;  // which slots hold a burst
  bool& autoChange;
  WaveBuffer& testWave;
  WaveBuffer& chimeWave;
  WaveBuffer& buzzWave;
};

}  // namespace kelvora
