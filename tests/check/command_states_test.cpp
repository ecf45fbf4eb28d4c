// Which commands act in which session state, restart, and automatic change.
#include <gtest/gtest.h>

#include <vector>

#include "check/session_probe.h"
#include "session_fixture.h"

namespace kelvora::testing {
namespace {

using Commands = std::vector<SessionCommand>;
const Commands kAnswers(std::begin(kAnswerCommands), std::end(kAnswerCommands));
const Commands kFrequencyCommands = {
    SessionCommand::Up1k, SessionCommand::Down1k, SessionCommand::Up100, SessionCommand::Down100,
    SessionCommand::Up10, SessionCommand::Down10, SessionCommand::Set8k, SessionCommand::Set16k};

Commands Join(std::initializer_list<Commands> lists) {
  Commands all;
  for (const auto& list : lists) all.insert(all.end(), list.begin(), list.end());
  return all;
}

TEST_F(SessionTest, AnswersInIdleDoNothing) {
  for (SessionCommand id : kAnswers) {
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
  for (SessionCommand id : Join({{SessionCommand::Start}, kFrequencyCommands})) {
    SCOPED_TRACE(id);
    const Fields before = FieldsOf(session);
    EXPECT_TRUE(session.HandleCommand(id));
    EXPECT_EQ(FieldsOf(session), before);
    EXPECT_EQ(window.log, Log{});
  }
}

TEST_F(SessionTest, EveryStateTestingCommandIsIgnoredWhileBusy) {
  const Commands commands =
      Join({{SessionCommand::Start, SessionCommand::Restart}, kAnswers, kFrequencyCommands});
  for (bool starting : {true, false}) {
    for (SessionCommand id : commands) {
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
      session.HandleCommand(starting ? SessionCommand::Start : SessionCommand::ContinuousTone);
      window.onPlay = nullptr;
      EXPECT_EQ(before.state, CheckState::Busy);
      session.HandleCommand(SessionCommand::Restart);
    }
  }
}

TEST_F(SessionTest, RestartWhileAwaitingDropsTheCheckSilently) {
  session.HandleCommand(SessionCommand::AutoChange);
  session.HandleCommand(SessionCommand::Up1k);
  Start();
  AnswerRight();
  Start();
  window.log.clear();

  EXPECT_TRUE(session.HandleCommand(SessionCommand::Restart));

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
  session.HandleCommand(SessionCommand::Restart);
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
    session.HandleCommand(SessionCommand::AutoChange);
    EXPECT_FALSE(session.view().autoChange);
    session.HandleCommand(SessionCommand::AutoChange);
    EXPECT_EQ(FieldsOf(session), before);
    EXPECT_EQ(window.log, (Log{"check AutoChange 0", "check AutoChange 1"}));
  };
  toggleTwice();  // Idle
  Start();
  toggleTwice();  // AwaitingAnswer
  window.onPlay = toggleTwice;
  AnswerRight();  // while the chime plays
  window.onPlay = nullptr;
  session.HandleCommand(SessionCommand::Restart);
  window.onPlay = [&] {
    ASSERT_EQ(session.view().state, CheckState::Busy);
    toggleTwice();
  };
  session.HandleCommand(SessionCommand::Silence);
}

// The other commands never reach the session (see the window's command table).
TEST_F(SessionTest, TheVolumeItemIsLeftToTheWindow) {
  const Fields before = FieldsOf(session);
  EXPECT_FALSE(session.HandleCommand(SessionCommand::Volume));
  EXPECT_EQ(FieldsOf(session), before);
  EXPECT_EQ(window.log, Log{});
}

}  // namespace
}  // namespace kelvora::testing
