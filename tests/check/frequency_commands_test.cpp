// The eight manual frequency commands and the step of each frequency band.
#include <gtest/gtest.h>

#include "check/session_probe.h"
#include "session_fixture.h"

namespace kelvora::testing {
namespace {

struct FrequencyCase {
  int command;
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

INSTANTIATE_TEST_SUITE_P(
    Bounds, FrequencyCommandTest,
    ::testing::Values(
        // +1 kHz up to 21000; the band decides the new step.
        FrequencyCase{IDC_UP_1K, 21000, 22000, 100}, FrequencyCase{IDC_UP_1K, 21010, 21010, 0},
        FrequencyCase{IDC_UP_1K, 8000, 9000, 2000}, FrequencyCase{IDC_UP_1K, 16000, 17000, 100},
        FrequencyCase{IDC_UP_1K, 11000, 12000, 1000},
        // -1 kHz down to 1020, and it never touches the step or the score.
        FrequencyCase{IDC_DOWN_1K, 1020, 20, 0}, FrequencyCase{IDC_DOWN_1K, 1010, 1010, 0},
        FrequencyCase{IDC_DOWN_1K, 12000, 11000, 0}, FrequencyCase{IDC_UP_100, 21900, 22000, 100},
        FrequencyCase{IDC_UP_100, 21910, 21910, 0}, FrequencyCase{IDC_UP_100, 14900, 15000, 500},
        FrequencyCase{IDC_DOWN_100, 120, 20, 2000}, FrequencyCase{IDC_DOWN_100, 110, 110, 0},
        FrequencyCase{IDC_DOWN_100, 17000, 16900, 500}, FrequencyCase{IDC_UP_10, 21990, 22000, 100},
        FrequencyCase{IDC_UP_10, 22000, 22000, 0}, FrequencyCase{IDC_UP_10, 11990, 12000, 1000},
        FrequencyCase{IDC_DOWN_10, 30, 20, 2000}, FrequencyCase{IDC_DOWN_10, 20, 20, 0},
        FrequencyCase{IDC_DOWN_10, 12000, 11990, 2000},
        // Presets act from anywhere, even from their own value.
        FrequencyCase{IDC_SET_8K, 8000, 8000, 2000}, FrequencyCase{IDC_SET_8K, 22000, 8000, 2000},
        FrequencyCase{IDC_SET_16K, 20, 16000, 500}, FrequencyCase{IDC_SET_16K, 16000, 16000, 500}));

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
  session.HandleCommand(IDC_DOWN_1K);
  EXPECT_EQ(session.view().frequency, 6000);
  EXPECT_EQ(session.view().step, 1000);
  EXPECT_EQ(session.view().trials, 1);
  session.HandleCommand(IDC_UP_100);
  EXPECT_EQ(session.view().frequency, 6100);
  EXPECT_EQ(session.view().step, 2000);
  EXPECT_EQ(session.view().trials, 0);
  EXPECT_EQ(session.view().corrects, 0);
}

TEST_F(SessionTest, RecordSurvivesEveryManualChange) {
  Start();
  AnswerRight();
  ASSERT_EQ(session.view().record, 8000);
  for (int id : {IDC_UP_1K, IDC_DOWN_1K, IDC_UP_100, IDC_DOWN_100, IDC_UP_10, IDC_DOWN_10,
                 IDC_SET_8K, IDC_SET_16K}) {
    session.HandleCommand(id);
  }
  EXPECT_EQ(session.view().record, 8000);
}

}  // namespace
}  // namespace kelvora::testing
