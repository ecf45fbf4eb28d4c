#pragma once

#include <optional>

namespace kelvora {

// One check as the session judged it, told before the mark, the chime or the
// buzz and the answer dialog, so that whatever keeps it has it before the
// listener hears the verdict.
struct JudgedCheck {
  int frequency = 0;  // the frequency that was tested
  int bursts = 0;
  int answer = 0;  // 1 to 5; 0 for "分からない！"
  bool correct = false;
  int record = 0;  // m_maxHeard after this check; 0 while there is none
  int trials = 0;  // the counts of the rate after this check
  int corrects = 0;
  bool played = true;  // false when the pattern was cut short or never sounded
  int volume = 0;      // the level the pattern was rendered at
  // A check of a record's confirmation: the level it was at, and on the
  // check that confirmed that level, the level again.
  std::optional<int> confirmingHz;
  std::optional<int> confirmedHz;
};

// How a confirmation of the record went; told once the check that decided it
// is over (after the chime or the answer dialog).
enum class ConfirmationEvent {
  Started,    // at the record's frequency
  NextLevel,  // the level failed; the next one is 250 Hz lower
  Confirmed,  // the level was confirmed
  NoLevel,    // below 20 Hz: ended without a result
  Abandoned,  // ended by a command, without a result
  Counted,    // a check at the level counted, and the level goes on
};

// What the session tells besides the window: each judged check and the
// course of a confirmation.
class CheckObserver {
 public:
  virtual ~CheckObserver() = default;
  virtual void OnCheckJudged(const JudgedCheck& check) = 0;
  // `level` is the level now tested (Started, NextLevel, Counted), the one
  // confirmed (Confirmed) or the last one tried; `rights` of `checks` counted
  // there.
  virtual void OnConfirmation(ConfirmationEvent /*event*/, int /*level*/, int /*rights*/,
                              int /*checks*/) {}
};

}  // namespace kelvora
