// Which commands act in which session state, restart, and automatic change.
#include <gtest/gtest.h>

#include <vector>

#include "check/session_probe.h"
#include "session_fixture.h"

namespace kelvora::testing {
namespace {

const std::vector<int> kAnswerCommands = {IDC_ANSWER1, IDC_ANSWER2, IDC_ANSWER3,
                                          IDC_ANSWER4, IDC_ANSWER5, IDC_DONT_KNOW};
const std::vector<int> kFrequencyCommands = {IDC_UP_1K, IDC_DOWN_1K, IDC_UP_100, IDC_DOWN_100,
                                             IDC_UP_10, IDC_DOWN_10, IDC_SET_8K, IDC_SET_16K};

std::vector<int> Join(std::initializer_list<std::vector<int>> lists) {
  std::vector<int> all;
  for (const auto& list : lists) all.insert(all.end(), list.begin(), list.end());
  return all;
}

TEST_F(SessionTest, AnswersInIdleDoNothing) {
  for (int id : kAnswerCommands) {
    SCOPED_TRACE(id);
    const Fields before = FieldsOf(session);
    EXPECT_TRUE(session.HandleCommand(id));
    EXPECT_EQ(FieldsOf(session), before);
    EXPECT_EQ(window.log, Log{});
  }
}

TEST_F(SessionTest, StartAndFrequencyCommandsWhileAwaitingDoNothing) {
  Start();
  window.log.clear();
  for (int id : Join({{IDC_START}, kFrequencyCommands})) {
    SCOPED_TRACE(id);
    const Fields before = FieldsOf(session);
    EXPECT_TRUE(session.HandleCommand(id));
    EXPECT_EQ(FieldsOf(session), before);
    EXPECT_EQ(window.log, Log{});
  }
}

TEST_F(SessionTest, EveryStateTestingCommandIsIgnoredWhileBusy) {
  const std::vector<int> commands =
      Join({{IDC_START, IDC_RESTART}, kAnswerCommands, kFrequencyCommands});
  for (bool starting : {true, false}) {
    for (int id : commands) {
      SCOPED_TRACE(::testing::Message() << (starting ? "start " : "tone ") << id);
      std::size_t logBefore = 0;
      Fields before{};
      window.onPlay = [&] {
        before = FieldsOf(session);
        logBefore = window.log.size();
        session.HandleCommand(id);
        EXPECT_EQ(FieldsOf(session), before);
        EXPECT_EQ(window.log.size(), logBefore);
      };
      session.HandleCommand(starting ? IDC_START : ID_SOUND_CONTINUOUS);
      window.onPlay = nullptr;
      EXPECT_EQ(before.state, CheckState::Busy);
      session.HandleCommand(IDC_RESTART);
    }
  }
}

TEST_F(SessionTest, RestartWhileAwaitingDropsTheCheckSilently) {
  session.HandleCommand(ID_SOUND_AUTO_CHANGE);
  session.HandleCommand(IDC_UP_1K);
  Start();
  AnswerRight();
  Start();
  window.log.clear();

  EXPECT_TRUE(session.HandleCommand(IDC_RESTART));

  EXPECT_EQ(window.log, Cat({IdleArrangement(), {"panel"}}));
  EXPECT_EQ(session.view().state, CheckState::Idle);
  EXPECT_EQ(session.view().frequency, 8000);
  EXPECT_EQ(session.view().step, 2000);
  EXPECT_EQ(session.view().record, 0);
  EXPECT_EQ(session.view().trials, 0);
  EXPECT_EQ(session.view().corrects, 0);
  EXPECT_FALSE(session.view().autoChange);
  EXPECT_EQ(session.view().volume, 9000);
}

TEST_F(SessionTest, RestartInIdleResetsScoreRecordAndFrequency) {
  SessionProbe(session).frequency = 16000;
  SessionProbe(session).step = 50;
  Start();
  AnswerRight();
  window.log.clear();
  session.HandleCommand(IDC_RESTART);
  EXPECT_EQ(window.log, Cat({IdleArrangement(), {"panel"}}));
  EXPECT_EQ(session.view().frequency, 8000);
  EXPECT_EQ(session.view().step, 2000);
  EXPECT_EQ(session.view().record, 0);
  EXPECT_EQ(session.view().trials, 0);
  EXPECT_EQ(session.view().corrects, 0);
  EXPECT_TRUE(session.view().autoChange);
}

TEST_F(SessionTest, AutomaticChangeTogglesInEveryStateAndTouchesNothingElse) {
  auto toggleTwice = [&] {
    window.log.clear();
    Fields before = FieldsOf(session);
    session.HandleCommand(ID_SOUND_AUTO_CHANGE);
    EXPECT_FALSE(session.view().autoChange);
    session.HandleCommand(ID_SOUND_AUTO_CHANGE);
    EXPECT_EQ(FieldsOf(session), before);
    EXPECT_EQ(window.log, (Log{"check 32772 0", "check 32772 1"}));
  };
  toggleTwice();  // Idle
  Start();
  toggleTwice();  // AwaitingAnswer
  window.onPlay = toggleTwice;
  AnswerRight();  // while the chime plays
  window.onPlay = nullptr;
  session.HandleCommand(IDC_RESTART);
  window.onPlay = [&] {
    ASSERT_EQ(session.view().state, CheckState::Busy);
    toggleTwice();
  };
  session.HandleCommand(ID_SOUND_SILENCE);
}

TEST_F(SessionTest, CommandsOutsideTheSessionAreLeftToTheWindow) {
  for (int id : {0, IDOK, IDCANCEL, IDM_ABOUTBOX, IDC_FREQ_GROUP, 1006, ID_SOUND_VOLUME, 32774,
                 ID_APP_EXIT_CMD, ID_HELP_ABOUT, ID_HELP_USAGE, ID_FILE_MAKE_WAVE}) {
    SCOPED_TRACE(id);
    const Fields before = FieldsOf(session);
    EXPECT_FALSE(session.HandleCommand(id));
    EXPECT_EQ(FieldsOf(session), before);
  }
  EXPECT_EQ(window.log, Log{});
}

}  // namespace
}  // namespace kelvora::testing
