// The automatic frequency staircase, the record and the score.
#include <gtest/gtest.h>

#include <vector>

#include "check/session_probe.h"
#include "session_fixture.h"

namespace kelvora::testing {
namespace {

struct Move {
  char answer;  // 'R' right, 'W' wrong number, '?' don't know
  std::int32_t frequency;
  std::int32_t step;
};

struct Trace {
  const char* name;
  std::int32_t frequency;
  std::int32_t step;
  std::vector<Move> moves;
};

class StaircaseTest : public SessionTest, public ::testing::WithParamInterface<Trace> {};

TEST_P(StaircaseTest, FollowsTheStaircase) {
  const Trace& trace = GetParam();
  SessionProbe(session).frequency = trace.frequency;
  SessionProbe(session).step = trace.step;
  int n = 0;
  for (const Move& move : trace.moves) {
    SCOPED_TRACE(::testing::Message() << "check " << ++n << " '" << move.answer << "'");
    Start();
    if (move.answer == 'R') {
      AnswerRight();
    } else if (move.answer == 'W') {
      AnswerWrongNumber();
    } else {
      session.HandleCommand(SessionCommand::DontKnow);
    }
    EXPECT_EQ(session.view().state, CheckState::Idle);
    EXPECT_EQ(session.view().frequency, move.frequency);
    EXPECT_EQ(session.view().step, move.step);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Traces, StaircaseTest,
    ::testing::Values(
        Trace{"FirstWrongAt8000ShrinksThenLowersBy1000", 8000, 2000, {{'W', 7000, 1000}}},
        Trace{"DontKnowMovesLikeAWrongNumber", 8000, 2000, {{'?', 7000, 1000}}},
        Trace{"RightsClimbByTheStepAndStopAt22000",
              8000,
              2000,
              {{'R', 10000, 2000},
               {'R', 12000, 2000},
               {'R', 14000, 2000},
               {'R', 16000, 2000},
               {'R', 18000, 2000},
               {'R', 20000, 2000},
               {'R', 22000, 2000},
               {'R', 22000, 2000}}},
        Trace{"ARiseThatWouldPass22000StopsThere", 21000, 2000, {{'R', 22000, 2000}}},
        Trace{"WrongsWalkTheWholeStepTable",
              8000,
              2000,
              {{'W', 7000, 1000},
               {'W', 6500, 500},
               {'?', 6250, 250},
               {'W', 6150, 100},
               {'W', 6100, 50},
               {'W', 6090, 10},
               {'W', 6080, 10},
               {'?', 6070, 10}}},
        Trace{"AtStep10RightsRaiseBy10", 5000, 10, {{'R', 5010, 10}, {'W', 5000, 10}}},
        Trace{"RightsKeepTheShrunkStep",
              8000,
              2000,
              {{'R', 10000, 2000}, {'W', 9000, 1000}, {'R', 10000, 1000}, {'R', 11000, 1000}}},
        Trace{"WrongAt20WithStep10StaysAt20", 20, 10, {{'W', 20, 10}}},
        Trace{"WrongAt1020WithStep2000EndsAt20", 1020, 2000, {{'W', 20, 1000}}},
        Trace{"WrongAt520WithStep2000GoesBelowZeroAndEndsAt20", 520, 2000, {{'W', 20, 1000}}}),
    [](const ::testing::TestParamInfo<Trace>& info) { return std::string(info.param.name); });

TEST_F(SessionTest, WithAutomaticChangeOffAnswersMoveNeitherFrequencyNorStep) {
  session.HandleCommand(SessionCommand::AutoChange);
  Start();
  AnswerRight();
  EXPECT_EQ(session.view().frequency, 8000);
  EXPECT_EQ(session.view().step, 2000);
  EXPECT_EQ(session.view().record, 8000);
  Start();
  AnswerWrongNumber();
  Start();
  session.HandleCommand(SessionCommand::DontKnow);
  EXPECT_EQ(session.view().frequency, 8000);
  EXPECT_EQ(session.view().step, 2000);
  EXPECT_EQ(session.view().trials, 3);
  EXPECT_EQ(session.view().corrects, 1);
}

TEST_F(SessionTest, AutomaticChangeDoesNotAlterWhatTheListenerSeesOrHears) {
  // Same clock, same pattern: only the fields may differ between the two runs.
  RecordingWindow otherWindow;
  CheckSession other(otherWindow);
  otherWindow.Watch(other);
  ASSERT_TRUE(other.AllocateBuffers());
  other.Begin(9000);
  other.HandleCommand(SessionCommand::AutoChange);
  otherWindow.log.clear();

  for (CheckSession* s : {&session, &other}) {
    s->HandleCommand(SessionCommand::Start);
    s->HandleCommand(AnswerOf(SessionProbe(*s).answerCount % 5 + 1));
    s->HandleCommand(SessionCommand::Start);
    s->HandleCommand(AnswerOf(SessionProbe(*s).answerCount));
  }
  EXPECT_EQ(window.log, otherWindow.log);
  EXPECT_EQ(other.view().trials, session.view().trials);
  EXPECT_EQ(other.view().corrects, session.view().corrects);
  EXPECT_EQ(session.view().frequency, 8000);  // 7000 after the wrong, then back up by 1000
  EXPECT_EQ(session.view().record, 7000);
  EXPECT_EQ(other.view().record, 8000);
}

TEST_F(SessionTest, AChangeWhileAwaitingDecidesWhetherThatAnswerMoves) {
  Start();
  session.HandleCommand(SessionCommand::AutoChange);
  EXPECT_EQ(session.view().state, CheckState::AwaitingAnswer);
  AnswerWrongNumber();
  EXPECT_EQ(session.view().frequency, 8000);
  EXPECT_EQ(session.view().step, 2000);
}

TEST_F(SessionTest, RecordIsTheTestedFrequencyAndNeverFalls) {
  session.HandleCommand(SessionCommand::AutoChange);
  SessionProbe(session).maxHeard = 10000;
  Start();
  AnswerRight();  // at 8000, below the record
  EXPECT_EQ(session.view().record, 10000);
  SessionProbe(session).frequency = 10000;
  Start();
  AnswerRight();  // equal to the record
  EXPECT_EQ(session.view().record, 10000);
  session.HandleCommand(SessionCommand::AutoChange);
  Start();
  AnswerRight();  // recorded at 10000, then the frequency moves on
  EXPECT_EQ(session.view().record, 10000);
  EXPECT_EQ(session.view().frequency, 12000);
  Start();
  AnswerWrongNumber();  // wrong answers leave the record alone
  EXPECT_EQ(session.view().record, 10000);
}

TEST_F(SessionTest, RightAnswersNearTheTopRecordTheTestedFrequencyAndStopAt22000) {
  struct Case {
    std::int32_t frequency, step, record;  // before the right answer
    std::int32_t frequencyAfter, recordAfter;
  };
  const Case cases[] = {
      {22000, 2000, 0, 22000, 22000},      // at the top: stays, and is the record
      {22000, 10, 22000, 22000, 22000},    // the record equal to it is kept
      {22000, 100, 21000, 22000, 22000},   // a lower record is raised to the top
      {21000, 2000, 0, 22000, 21000},      // the rise stops at the top
      {21990, 10, 21000, 22000, 21990},    // a step of 10 lands exactly on it
      {20000, 2000, 22000, 22000, 22000},  // a record above the tested one stays
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.frequency << " Hz, step " << c.step);
    SessionProbe(session).frequency = c.frequency;
    SessionProbe(session).step = c.step;
    SessionProbe(session).maxHeard = c.record;
    Start();
    AnswerRight();
    EXPECT_EQ(session.view().frequency, c.frequencyAfter);
    EXPECT_EQ(session.view().step, c.step);
    EXPECT_EQ(session.view().record, c.recordAfter);
  }
}

TEST_F(SessionTest, ScoreCountsStartsAndRightAnswers) {
  Start();
  EXPECT_EQ(session.view().trials, 1);  // counts from the start, before any answer
  EXPECT_EQ(session.view().corrects, 0);
  AnswerRight();
  Start();
  AnswerRight();
  Start();
  AnswerWrongNumber();
  Start();
  AnswerRight();
  EXPECT_EQ(session.view().trials, 4);
  EXPECT_EQ(session.view().corrects, 3);
}

TEST_F(SessionTest, LastPatternOutlivesItsAnswer) {
  Start();
  const auto count = SessionProbe(session).answerCount;
  const auto slots = SessionProbe(session).pattern;
  AnswerWrongNumber();
  EXPECT_EQ(SessionProbe(session).answerCount, count);
  EXPECT_EQ(SessionProbe(session).pattern, slots);
}

}  // namespace
}  // namespace kelvora::testing
