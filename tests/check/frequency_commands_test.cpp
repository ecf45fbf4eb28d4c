// The eight manual frequency commands and the step of each frequency band.
#include <gtest/gtest.h>

#include "check/session_probe.h"
#include "session_fixture.h"

namespace kelvora::testing {
namespace {

struct FrequencyCase {
  SessionCommand command;
  std::int32_t from;
  std::int32_t to;
  // Step after the command, or 0 when the step and the score are to stay.
  std::int32_t newStep;
};

class FrequencyCommandTest : public SessionTest,
                             public ::testing::WithParamInterface<FrequencyCase> {};

TEST_P(FrequencyCommandTest, MovesWithinBoundsAndAlwaysRedraws) {
  const FrequencyCase& c = GetParam();
  SessionProbe(session).frequency = c.from;
  SessionProbe(session).step = 250;  // a step the band table never gives
  SessionProbe(session).trialCount = 4;
  SessionProbe(session).correctCount = 3;
  SessionProbe(session).maxHeard = 15000;

  EXPECT_TRUE(session.HandleCommand(c.command));

  EXPECT_EQ(session.view().frequency, c.to);
  if (c.newStep != 0) {
    EXPECT_EQ(session.view().step, c.newStep);
    EXPECT_EQ(session.view().trials, 0);
    EXPECT_EQ(session.view().corrects, 0);
  } else {
    EXPECT_EQ(session.view().step, 250);
    EXPECT_EQ(session.view().trials, 4);
    EXPECT_EQ(session.view().corrects, 3);
  }
  EXPECT_EQ(session.view().record, 15000);
  EXPECT_EQ(session.view().state, CheckState::Idle);
  EXPECT_EQ(window.log, Log{"panel"});
}

INSTANTIATE_TEST_SUITE_P(Bounds, FrequencyCommandTest,
                         ::testing::Values(
                             // +1 kHz up to 21000; the band decides the new step.
                             FrequencyCase{SessionCommand::Up1k, 21000, 22000, 100},
                             FrequencyCase{SessionCommand::Up1k, 21010, 21010, 0},
                             FrequencyCase{SessionCommand::Up1k, 8000, 9000, 2000},
                             FrequencyCase{SessionCommand::Up1k, 16000, 17000, 100},
                             FrequencyCase{SessionCommand::Up1k, 11000, 12000, 1000},
                             // -1 kHz down to 1020, and it never touches the step or the score.
                             FrequencyCase{SessionCommand::Down1k, 1020, 20, 0},
                             FrequencyCase{SessionCommand::Down1k, 1010, 1010, 0},
                             FrequencyCase{SessionCommand::Down1k, 12000, 11000, 0},
                             FrequencyCase{SessionCommand::Up100, 21900, 22000, 100},
                             FrequencyCase{SessionCommand::Up100, 21910, 21910, 0},
                             FrequencyCase{SessionCommand::Up100, 14900, 15000, 500},
                             FrequencyCase{SessionCommand::Down100, 120, 20, 2000},
                             FrequencyCase{SessionCommand::Down100, 110, 110, 0},
                             FrequencyCase{SessionCommand::Down100, 17000, 16900, 500},
                             FrequencyCase{SessionCommand::Up10, 21990, 22000, 100},
                             FrequencyCase{SessionCommand::Up10, 22000, 22000, 0},
                             FrequencyCase{SessionCommand::Up10, 11990, 12000, 1000},
                             FrequencyCase{SessionCommand::Down10, 30, 20, 2000},
                             FrequencyCase{SessionCommand::Down10, 20, 20, 0},
                             FrequencyCase{SessionCommand::Down10, 12000, 11990, 2000},
                             // Presets act from anywhere, even from their own value.
                             FrequencyCase{SessionCommand::Set8k, 8000, 8000, 2000},
                             FrequencyCase{SessionCommand::Set8k, 22000, 8000, 2000},
                             FrequencyCase{SessionCommand::Set16k, 20, 16000, 500},
                             FrequencyCase{SessionCommand::Set16k, 16000, 16000, 500}));

struct BandCase {
  std::int32_t frequency;
  std::int32_t step;
};

class StepForBandTest : public SessionTest, public ::testing::WithParamInterface<BandCase> {};

TEST_P(StepForBandTest, GivesTheBandStepAndZeroesTheScore) {
  SessionProbe(session).frequency = GetParam().frequency;
  SessionProbe(session).trialCount = 2;
  SessionProbe(session).correctCount = 1;
  SessionProbe(session).maxHeard = 9000;
  session.ResetStepForBand();
  EXPECT_EQ(session.view().step, GetParam().step);
  EXPECT_EQ(session.view().trials, 0);
  EXPECT_EQ(session.view().corrects, 0);
  EXPECT_EQ(session.view().record, 9000);
  EXPECT_EQ(session.view().frequency, GetParam().frequency);
}

INSTANTIATE_TEST_SUITE_P(Bands, StepForBandTest,
                         ::testing::Values(BandCase{20, 2000}, BandCase{11990, 2000},
                                           BandCase{12000, 1000}, BandCase{14990, 1000},
                                           BandCase{15000, 500}, BandCase{16990, 500},
                                           BandCase{17000, 100}, BandCase{22000, 100},
                                           BandCase{10, 100}));

TEST_F(SessionTest, DownOneKilohertzKeepsTheStaircaseStepUntilAFinerCommand) {
  Start();
  AnswerWrongNumber();  // 7000 Hz, step 1000
  session.HandleCommand(SessionCommand::Down1k);
  EXPECT_EQ(session.view().frequency, 6000);
  EXPECT_EQ(session.view().step, 1000);
  EXPECT_EQ(session.view().trials, 1);
  session.HandleCommand(SessionCommand::Up100);
  EXPECT_EQ(session.view().frequency, 6100);
  EXPECT_EQ(session.view().step, 2000);
  EXPECT_EQ(session.view().trials, 0);
  EXPECT_EQ(session.view().corrects, 0);
}

TEST_F(SessionTest, RecordSurvivesEveryManualChange) {
  Start();
  AnswerRight();
  ASSERT_EQ(session.view().record, 8000);
  for (SessionCommand id : {SessionCommand::Up1k, SessionCommand::Down1k, SessionCommand::Up100,
                            SessionCommand::Down100, SessionCommand::Up10, SessionCommand::Down10,
                            SessionCommand::Set8k, SessionCommand::Set16k}) {
    session.HandleCommand(id);
  }
  EXPECT_EQ(session.view().record, 8000);
}

}  // namespace
}  // namespace kelvora::testing
