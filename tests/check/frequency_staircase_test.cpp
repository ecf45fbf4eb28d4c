// The staircase on its own: answers and changes by hand in, frequencies and
// steps out, as the help describes them.
#include "check/frequency_staircase.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvora {
namespace {

constexpr FrequencyNudge kUp1k{.by = 1000};
constexpr FrequencyNudge kDown1k{.by = -1000, .restartsBand = false};
constexpr FrequencyNudge kUp10{.by = 10};
constexpr FrequencyNudge kDown10{.by = -10};
constexpr FrequencyNudge kDown100{.by = -100};
constexpr FrequencyNudge kSet8k{.to = 8000};
constexpr FrequencyNudge kSet16k{.to = 16000};

struct Event {
  char what;  // 'R' right, 'W' wrong, 'N' the nudge
  FrequencyNudge nudge;
  std::int32_t frequency;  // after the event
  std::int32_t step;
  bool accepted = true;  // of a nudge
};

struct Trace {
  const char* name;
  std::vector<Event> events;
};

class FrequencyStaircaseTest : public ::testing::TestWithParam<Trace> {};

TEST_P(FrequencyStaircaseTest, FollowsTheTrace) {
  FrequencyStaircase staircase;
  ASSERT_EQ(staircase.frequency(), 8000);
  ASSERT_EQ(staircase.step(), 2000);
  int n = 0;
  for (const Event& event : GetParam().events) {
    SCOPED_TRACE(::testing::Message() << "event " << ++n << " '" << event.what << "'");
    if (event.what == 'R') {
      staircase.Right();
    } else if (event.what == 'W') {
      staircase.Wrong();
    } else {
      EXPECT_EQ(staircase.Nudge(event.nudge), event.accepted);
    }
    EXPECT_EQ(staircase.frequency(), event.frequency);
    EXPECT_EQ(staircase.step(), event.step);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Traces, FrequencyStaircaseTest,
    ::testing::Values(
        // The help's example: three rights, a wrong, a right, a wrong.
        Trace{"TheHelpsExample",
              {{'R', {}, 10000, 2000},
               {'R', {}, 12000, 2000},
               {'R', {}, 14000, 2000},
               {'W', {}, 13000, 1000},
               {'R', {}, 14000, 1000},
               {'W', {}, 13500, 500}}},
        Trace{"TheFirstWrongLowersBy1000Not2000", {{'W', {}, 7000, 1000}}},
        Trace{"EachWrongShrinksTheStepOneStageAndTenStays",
              {{'W', {}, 7000, 1000},
               {'W', {}, 6500, 500},
               {'W', {}, 6250, 250},
               {'W', {}, 6150, 100},
               {'W', {}, 6100, 50},
               {'W', {}, 6090, 10},
               {'W', {}, 6080, 10}}},
        Trace{"RightsStopAt22000",
              {{'N', kSet16k, 16000, 500},
               {'N', kUp1k, 17000, 100},
               {'N', kUp1k, 18000, 100},
               {'N', kUp1k, 19000, 100},
               {'N', kUp1k, 20000, 100},
               {'N', kUp1k, 21000, 100},
               {'N', kUp1k, 22000, 100},
               {'R', {}, 22000, 100},
               {'N', kUp10, 22000, 100, false}}},
        Trace{"WrongsStopAt20AndNudgesBelowAreRefused",
              {{'N', kDown1k, 7000, 2000},
               {'N', kDown1k, 6000, 2000},
               {'N', kDown1k, 5000, 2000},
               {'N', kDown1k, 4000, 2000},
               {'N', kDown1k, 3000, 2000},
               {'N', kDown1k, 2000, 2000},
               {'N', kDown1k, 1000, 2000},
               {'W', {}, 20, 1000},
               {'N', kDown10, 20, 1000, false},
               {'N', kUp10, 30, 2000},
               {'N', kDown1k, 30, 2000, false},
               {'N', kDown100, 30, 2000, false},
               {'N', kDown10, 20, 2000}}},
        Trace{"ANudgeTakesTheStepOfTheBandItLandsIn",
              {{'R', {}, 10000, 2000},
               {'R', {}, 12000, 2000},
               {'N', kDown10, 11990, 2000},
               {'N', kUp10, 12000, 1000},
               {'N', kSet16k, 16000, 500},
               {'N', kDown1k, 15000, 500},
               {'N', kDown10, 14990, 1000},
               {'N', kUp1k, 15990, 500},
               {'N', kUp1k, 16990, 500},
               {'N', kUp10, 17000, 100},
               {'W', {}, 16950, 50},
               {'N', kDown1k, 15950, 50},  // the coarse step down keeps the step
               {'N', kSet8k, 8000, 2000}}}),
    [](const ::testing::TestParamInfo<Trace>& info) { return info.param.name; });

}  // namespace
}  // namespace kelvora
