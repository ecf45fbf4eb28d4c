#include "check/frequency_staircase.h"

namespace kelvora {
namespace {

// After a wrong answer the step shrinks, and the new step is what the
// frequency falls by. The smallest step stays.
std::int32_t ShrunkStep(std::int32_t step) {
  switch (step) {
    case 2000:
      return 1000;
    case 1000:
      return 500;
    case 500:
      return 250;
    case 250:
      return 100;
    case 100:
      return 50;
    default:
      return 10;
  }
}

}  // namespace

void FrequencyStaircase::Right() {
  m_frequency += m_step;
  if (m_frequency >= kHighestFrequency) m_frequency = kHighestFrequency;
}

void FrequencyStaircase::Wrong() {
  m_step = ShrunkStep(m_step);
  m_frequency -= m_step;
  if (m_frequency <= kLowestFrequency) m_frequency = kLowestFrequency;
}

bool FrequencyStaircase::Nudge(const FrequencyNudge& nudge) {
  const std::int32_t target = nudge.by != 0 ? m_frequency + nudge.by : nudge.to;
  if (target < kLowestFrequency || target > kHighestFrequency) return false;
  m_frequency = target;
  if (nudge.restartsBand) ResetStepForBand();
  return true;
}

void FrequencyStaircase::Restart() {
  m_frequency = kStartFrequency;
  ResetStepForBand();
}

void FrequencyStaircase::ResetStepForBand() {
  if (m_frequency >= kLowestFrequency && m_frequency < 12000) {
    m_step = 2000;
  } else if (m_frequency >= 12000 && m_frequency < 15000) {
    m_step = 1000;
  } else if (m_frequency >= 15000 && m_frequency < 17000) {
    m_step = 500;
  } else {
    m_step = 100;
  }
}

}  // namespace kelvora
