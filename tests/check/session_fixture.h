#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "check/check_session.h"
#include "check/session_probe.h"
#include "recording_window.h"

namespace kelvora::testing {

using Log = std::vector<std::string>;

// Everything of the session a command may change, for "nothing changed" checks.
struct Fields {
  CheckState state;
  std::int32_t frequency, step, maxHeard, trialCount, correctCount, answerCount;
  std::array<bool, 5> slots;
  bool autoChange;
  std::int32_t volume;
  bool operator==(const Fields&) const = default;
};

inline Fields FieldsOf(const CheckSession& s) {
  return {s.view().state,
          s.view().frequency,
          s.view().step,
          s.view().record,
          s.view().trials,
          s.view().corrects,
          SessionProbe(s).answerCount,
          SessionProbe(s).pattern,
          s.view().autoChange,
          s.view().volume};
}

// The two arrangements as the window sees them, in the order they are applied.
inline Log Arrangement(bool idle) {
  const std::string on = idle ? " 1" : " 0";
  return {"enable Up1k" + on,         "enable Up100" + on,   "enable Up10" + on,
          "enable Down1k" + on,       "enable Down100" + on, "enable Down10" + on,
          "enable Set8k" + on,        "enable Set16k" + on,  "menu Volume" + on,
          "menu ContinuousTone" + on, "menu Silence" + on,   "enable Answer1 0",
          "enable Answer2 0",         "enable Answer3 0",    "enable Answer4 0",
          "enable Answer5 0",         "enable DontKnow 0",   "enable Start" + on};
}
inline Log IdleArrangement() { return Arrangement(true); }
inline Log BusyArrangement() { return Arrangement(false); }

// The answer button of `count` bursts (1 to 5).
inline SessionCommand AnswerOf(int count) { return kAnswerCommands[count - 1]; }

inline Log Cat(std::initializer_list<Log> parts) {
  Log all;
  for (const Log& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// A session fresh from start-up at volume 9000, with an empty log.
class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.Watch(session);
    ASSERT_TRUE(session.AllocateBuffers());
    session.Begin(9000);
    window.log.clear();
  }

  void Start() {
    session.HandleCommand(SessionCommand::Start);
    ASSERT_EQ(session.view().state, CheckState::AwaitingAnswer);
  }
  void AnswerRight() { session.HandleCommand(AnswerOf(SessionProbe(session).answerCount)); }
  // A number other than the burst count: one more, wrapping 5 to 1.
  void AnswerWrongNumber() {
    session.HandleCommand(AnswerOf(SessionProbe(session).answerCount % 5 + 1));
  }

  RecordingWindow window;
  CheckSession session{window};
};

}  // namespace kelvora::testing
