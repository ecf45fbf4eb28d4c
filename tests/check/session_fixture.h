#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "check/check_session.h"
#include "check/command_ids.h"
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
  return {"enable 1014" + on, "enable 1020" + on, "enable 1022" + on, "enable 1019" + on,
          "enable 1021" + on, "enable 1023" + on, "enable 1024" + on, "enable 1025" + on,
          "menu 32771" + on,  "menu 32773" + on,  "menu 32775" + on,  "enable 1007 0",
          "enable 1008 0",    "enable 1009 0",    "enable 1010 0",    "enable 1011 0",
          "enable 1012 0",    "enable 1005" + on};
}
inline Log IdleArrangement() { return Arrangement(true); }
inline Log BusyArrangement() { return Arrangement(false); }

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
    session.HandleCommand(IDC_START);
    ASSERT_EQ(session.view().state, CheckState::AwaitingAnswer);
  }
  void AnswerRight() { session.HandleCommand(IDC_ANSWER1 + SessionProbe(session).answerCount - 1); }
  // A number other than the burst count: one more, wrapping 5 to 1.
  void AnswerWrongNumber() {
    session.HandleCommand(IDC_ANSWER1 + SessionProbe(session).answerCount % 5);
  }

  RecordingWindow window;
  CheckSession session{window};
};

}  // namespace kelvora::testing
