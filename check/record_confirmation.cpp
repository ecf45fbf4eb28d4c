#include "check/record_confirmation.h"

namespace kelvora {

RecordConfirmation::Outcome RecordConfirmation::Tell(bool correct) {
  if (m_over) return Outcome::Continue;
  if (correct) {
    ++m_rights;
  } else {
    ++m_misses;
  }
  if (m_rights == kRightsToConfirm) {
    m_over = true;
    return Outcome::Confirmed;
  }
  if (m_misses < kMissesToFail) return Outcome::Continue;
  if (m_level - kLevelStep < kLowestLevel) {
    m_over = true;
    return Outcome::NoLevel;
  }
  m_level -= kLevelStep;
  m_rights = 0;
  m_misses = 0;
  return Outcome::NextLevel;
}

}  // namespace kelvora
