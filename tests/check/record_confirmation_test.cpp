// Confirming the record: the rules told one answer at a time, and the session
// that holds the frequency at the level and tells each judged check.
#include "check/record_confirmation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "check/check_observer.h"
#include "check/session_probe.h"
#include "session_fixture.h"

namespace kelvora::testing {
namespace {

using Outcome = RecordConfirmation::Outcome;

// "R" right, "W" wrong; each answer gives what the rules said and the level after it.
std::string Trace(int record, const std::string& answers) {
  RecordConfirmation rules(record);
  std::string trace;
  for (char answer : answers) {
    const Outcome outcome = rules.Tell(answer == 'R');
    const char* const names[] = {"", "next ", "confirmed ", "none "};
    trace += std::string(names[static_cast<int>(outcome)]) + std::to_string(rules.level()) + ";";
    if (rules.over()) break;
  }
  return trace;
}

TEST(RecordConfirmationTest, FourRightConfirmTwoMissesMoveDown250UntilBelow20) {
  const struct {
    int record;
    const char* answers;
    const char* trace;
  } cases[] = {
      {15000, "RRRR", "15000;15000;15000;confirmed 15000;"},
      {15000, "WRRRR", "15000;15000;15000;15000;confirmed 15000;"},
      {15000, "RRRWR", "15000;15000;15000;15000;confirmed 15000;"},
      {15000, "RRRWW", "15000;15000;15000;15000;next 14750;"},
      {15000, "WW", "15000;next 14750;"},
      {15000, "WRWRRRR", "15000;15000;next 14750;14750;14750;14750;confirmed 14750;"},
      {15000, "RRRRR", "15000;15000;15000;confirmed 15000;"},  // nothing after the end
      {270, "WW", "270;next 20;"},                             // 20 Hz is still a level
      {270, "WWWW", "270;next 20;20;none 20;"},
      {260, "WW", "260;none 260;"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Trace(c.record, c.answers), c.trace) << c.record << " " << c.answers;
  }
}

// Every sequence of five answers with one right answer in five, through the
// rules: the ones that confirm the first level, out of 5^5, are the chance
// that a listener who hears nothing confirms it, 5 * 4 + 1 = 21 of 3125.
TEST(RecordConfirmationTest, GuessingAloneConfirmsALevelWithTheChanceOfFourOrMoreInFive) {
  int confirmed = 0;
  int sequences = 0;
  std::function<void(RecordConfirmation, int)> walk = [&](RecordConfirmation rules, int depth) {
    if (depth == RecordConfirmation::kMaxChecks || rules.over() || rules.level() != 15000) {
      int weight = 1;
      for (int k = depth; k < RecordConfirmation::kMaxChecks; ++k) weight *= 5;
      sequences += weight;
      if (rules.over() && rules.level() == 15000) confirmed += weight;
      return;
    }
    for (int answer = 1; answer <= 5; ++answer) {
      RecordConfirmation next = rules;
      next.Tell(answer == 1);
      walk(next, depth + 1);
    }
  };
  walk(RecordConfirmation(15000), 0);
  EXPECT_EQ(sequences, 3125);
  EXPECT_EQ(confirmed, 21);
  EXPECT_DOUBLE_EQ(static_cast<double>(confirmed) / sequences, 0.00672);
}

// Writes each judged check into the window's log, so that its place among
// the window's calls shows.
class LoggingObserver : public CheckObserver {
 public:
  explicit LoggingObserver(RecordingWindow& window) : m_window(window) {}
  void OnCheckJudged(const JudgedCheck& c) override {
    checks.push_back(c);
    m_window.log.push_back("judged " + std::to_string(c.frequency));
  }
  void OnConfirmation(ConfirmationEvent event, int level, int rights, int total) override {
    const char* const names[] = {"started", "next", "confirmed", "none", "abandoned", "counted"};
    m_window.log.push_back(std::string(names[static_cast<int>(event)]) + " " +
                           std::to_string(level) + " " + std::to_string(rights) + "/" +
                           std::to_string(total));
  }
  std::vector<JudgedCheck> checks;

 private:
  RecordingWindow& m_window;
};

class ConfirmationSessionTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    session.AddObserver(observer);
  }
  // Answers: "R" right, "W" a wrong number, "?" "分からない！".
  void Answer(char answer) {
    Start();
    if (answer == 'R') AnswerRight();
    if (answer == 'W') AnswerWrongNumber();
    if (answer == '?') session.HandleCommand(SessionCommand::DontKnow);
  }
  LoggingObserver observer{window};
};

TEST_F(ConfirmationSessionTest, EachCheckIsToldBeforeTheMarkAndTheSound) {
  Answer('R');
  Answer('W');
  std::vector<std::string> order;
  for (const std::string& line : window.log) {
    if (line.starts_with("judged") || line.starts_with("mark") || line.starts_with("play")) {
      order.push_back(line);
    }
  }
  EXPECT_EQ(order, (Log{"play test", "judged 8000", "mark correct", "play chime", "play test",
                        "judged 10000", "mark wrong", "play buzz"}));
  ASSERT_EQ(observer.checks.size(), 2u);
  const JudgedCheck& right = observer.checks[0];
  EXPECT_TRUE(right.correct);
  EXPECT_EQ(right.answer, right.bursts);
  EXPECT_EQ(right.record, 8000);
  EXPECT_EQ(right.trials, 1);
  EXPECT_EQ(right.corrects, 1);
  const JudgedCheck& wrong = observer.checks[1];
  EXPECT_FALSE(wrong.correct);
  EXPECT_EQ(wrong.answer, wrong.bursts % 5 + 1);
  EXPECT_EQ(wrong.record, 8000);
  EXPECT_EQ(wrong.trials, 2);
  EXPECT_EQ(wrong.corrects, 1);
  EXPECT_FALSE(wrong.confirmingHz);
  session.HandleCommand(SessionCommand::Start);
  session.HandleCommand(SessionCommand::DontKnow);
  EXPECT_EQ(observer.checks.back().answer, 0);
}

TEST_F(ConfirmationSessionTest, ALevelHoldsTheFrequencyAndIsConfirmedAtItsFourthRight) {
  Answer('R');  // record 8000, frequency 10000
  Answer('R');  // record 10000, frequency 12000
  session.HandleCommand(SessionCommand::ConfirmRecord);
  EXPECT_EQ(session.view().frequency, 10000);
  EXPECT_EQ(session.view().confirmingLevel, 10000);
  for (char answer : std::string("RWR?")) Answer(answer);  // second miss: 9750
  EXPECT_EQ(session.view().frequency, 9750);
  EXPECT_EQ(session.view().step, 2000) << "the staircase's step is kept";
  window.log.clear();
  for (char answer : std::string("RRRR")) Answer(answer);
  EXPECT_FALSE(session.view().confirmingLevel);
  EXPECT_EQ(session.view().frequency, 9750);
  EXPECT_EQ(session.view().record, 10000) << "a right answer below the record leaves it";
  EXPECT_EQ(session.view().trials, 10);
  EXPECT_EQ(session.view().corrects, 8);
  ASSERT_EQ(observer.checks.size(), 10u);
  for (std::size_t n = 2; n < 10; ++n) {
    EXPECT_EQ(observer.checks[n].confirmingHz, n < 6 ? 10000 : 9750) << n;
    EXPECT_EQ(observer.checks[n].confirmedHz.has_value(), n == 9) << n;
  }
  EXPECT_EQ(observer.checks[9].confirmedHz, 9750);
  EXPECT_EQ(window.log.back(), "confirmed 9750 4/4");
  EXPECT_NE(std::find(window.log.begin(), window.log.end(), "check ConfirmRecord 0"),
            window.log.end());
  Answer('R');
  EXPECT_EQ(session.view().frequency, 11750) << "the staircase carries on from the level";
}

TEST_F(ConfirmationSessionTest, EveryCountedCheckIsToldWithTheLevelsCountsSoFar) {
  Answer('R');
  Answer('R');  // record 10000
  session.HandleCommand(SessionCommand::ConfirmRecord);
  struct Step {
    char answer;
    const char* told;
    int rights, checks;
  };
  const Step steps[] = {{'R', "counted 10000 1/1", 1, 1},
                        {'W', "counted 10000 1/2", 1, 2},
                        {'R', "counted 10000 2/3", 2, 3},
                        {'?', "next 9750 0/0", 0, 0},
                        {'R', "counted 9750 1/1", 1, 1}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.told);
    Answer(step.answer);
    EXPECT_EQ(window.log.back(), step.told);
    EXPECT_EQ(session.view().confirmingRights, step.rights);
    EXPECT_EQ(session.view().confirmingChecks, step.checks);
  }
}

TEST_F(ConfirmationSessionTest, APatternThatDidNotPlayCountsNeitherWay) {
  Answer('R');
  session.HandleCommand(SessionCommand::ConfirmRecord);
  window.patternOutcome = PlayOutcome::GivenUp;
  for (char answer : std::string("WWWW")) Answer(answer);
  window.patternOutcome = PlayOutcome::Played;
  EXPECT_EQ(session.view().confirmingLevel, 8000);
  EXPECT_EQ(session.view().trials, 5) << "the checks count in the rate as always";
  for (char answer : std::string("RRRR")) Answer(answer);
  EXPECT_EQ(window.log.back(), "confirmed 8000 4/4");
  ASSERT_EQ(observer.checks.size(), 9u);
  for (int n = 1; n < 5; ++n) EXPECT_FALSE(observer.checks[n].played) << n;
  EXPECT_TRUE(observer.checks[5].played);
}

TEST_F(ConfirmationSessionTest, CommandsThatEndItWithoutAResult) {
  const SessionCommand enders[] = {SessionCommand::ConfirmRecord, SessionCommand::Restart,
                                   SessionCommand::Up1k,          SessionCommand::Down1k,
                                   SessionCommand::Up100,         SessionCommand::Down100,
                                   SessionCommand::Up10,          SessionCommand::Down10,
                                   SessionCommand::Set8k,         SessionCommand::Set16k};
  long abandoned = 0;
  for (SessionCommand id : enders) {
    if (session.view().record == 0) Answer('R');
    session.HandleCommand(SessionCommand::ConfirmRecord);
    ASSERT_TRUE(session.view().confirmingLevel) << id;
    session.HandleCommand(id);
    EXPECT_FALSE(session.view().confirmingLevel) << id;
    EXPECT_EQ(std::count_if(window.log.begin(), window.log.end(),
                            [](const std::string& line) { return line.starts_with("abandoned"); }),
              ++abandoned)
        << id;
  }
  // Without a record there is nothing to confirm.
  session.HandleCommand(SessionCommand::Restart);
  session.HandleCommand(SessionCommand::ConfirmRecord);
  EXPECT_FALSE(session.view().confirmingLevel);
}

TEST_F(ConfirmationSessionTest, BelowTwentyHertzItEndsWithoutAResult) {
  SessionProbe(session).frequency = 260;
  Answer('R');
  session.HandleCommand(SessionCommand::ConfirmRecord);
  Answer('W');
  Answer('?');
  EXPECT_FALSE(session.view().confirmingLevel);
  EXPECT_EQ(window.log.back(), "none 260 0/2");
  EXPECT_EQ(session.view().frequency, 260);
}

}  // namespace
}  // namespace kelvora::testing
