#pragma once

#include <cstdint>

namespace kelvora {

// The rules that confirm a record, told one played check at a time: a level
// starts at the record; it is confirmed at its 4th right answer among at most
// 5 checks and fails at its 2nd answer that is wrong or "分からない！"; after
// a failure the next level is 250 Hz lower, and below 20 Hz there is none.
// Guessing alone confirms a level with the chance of 4 or more right in 5
// guesses at 1 in 5: 21 in 3125, about 0.67 %.
class RecordConfirmation {
 public:
  enum class Outcome { Continue, NextLevel, Confirmed, NoLevel };

  static constexpr int kRightsToConfirm = 4;
  static constexpr int kMissesToFail = 2;
  static constexpr int kMaxChecks = kRightsToConfirm + kMissesToFail - 1;
  static constexpr std::int32_t kLevelStep = 250;
  static constexpr std::int32_t kLowestLevel = 20;

  explicit RecordConfirmation(std::int32_t record) : m_level(record) {}

  // The answer of one check at level(); after NextLevel, level() is the new
  // level and its counts start afresh; after Confirmed and NoLevel the
  // confirmation is over and tells nothing more.
  Outcome Tell(bool correct);

  std::int32_t level() const { return m_level; }
  int rights() const { return m_rights; }
  int checks() const { return m_rights + m_misses; }
  bool over() const { return m_over; }

 private:
  std::int32_t m_level;
  int m_rights = 0;
  int m_misses = 0;
  bool m_over = false;
};

}  // namespace kelvora
