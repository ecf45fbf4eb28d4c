// The random choice of the pattern at each start, and the sound it becomes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <vector>

#include "check/session_probe.h"
#include "session_fixture.h"
#include "sound/synthesis.h"

namespace kelvora::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

int Bursts(const std::array<bool, 5>& slots) {
  return static_cast<int>(std::count(slots.begin(), slots.end(), true));
}

TEST_F(SessionTest, PatternsHoldOneToFiveBurstsMatchingTheAnswerCount) {
  std::set<int> counts;
  std::array<bool, 5> slotUsed{};
  bool scattered = false;
  for (std::time_t seed = 1; seed <= 150; ++seed) {
    window.now = seed * 7919;  // spread over the clock, not just small numbers
    Start();
    const int count = SessionProbe(session).answerCount;
    ASSERT_GE(count, 1);
    ASSERT_LE(count, 5);
    ASSERT_EQ(Bursts(SessionProbe(session).pattern), count) << "seed " << window.now;
    counts.insert(count);
    for (int k = 0; k < 5; ++k) slotUsed[k] = slotUsed[k] || SessionProbe(session).pattern[k];
    // Before the exchanges the bursts sit in the first slots; afterwards not always.
    for (int k = 0; k < 5; ++k)
      scattered = scattered || SessionProbe(session).pattern[k] != (k < count);
    session.HandleCommand(SessionCommand::Restart);
  }
  EXPECT_EQ(counts, (std::set<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(slotUsed, (std::array<bool, 5>{true, true, true, true, true}));
  EXPECT_TRUE(scattered);
}

TEST_F(SessionTest, SameSecondGivesTheSamePattern) {
  // Something else drawing from the generator in between must not matter:
  // every start seeds afresh from the clock.
  for (std::time_t now : {std::time_t{0}, std::time_t{1}, std::time_t{1700000000}}) {
    window.now = now;
    Start();
    const int count = SessionProbe(session).answerCount;
    const auto slots = SessionProbe(session).pattern;
    AnswerWrongNumber();
    (void)std::rand();
    Start();
    EXPECT_EQ(SessionProbe(session).answerCount, count);
    EXPECT_EQ(SessionProbe(session).pattern, slots);
    AnswerRight();
  }
}

TEST_F(SessionTest, PatternTakesOneCountDrawThenTwoDrawsPerExchange) {
  window.now = 424242;
  std::srand(424242);
  const int firstDraw = std::rand();
  for (int n = 0; n < 2 * 1001; ++n) (void)std::rand();
  const int nextDraw = std::rand();

  Start();
  EXPECT_EQ(SessionProbe(session).answerCount, firstDraw % 5 + 1);
  // The generator stands just past the last exchange.
  EXPECT_EQ(std::rand(), nextDraw);
}

// The pattern as described: seed with the second, draw the count, fill the
// first slots, then exchange slots i and j (1 to 5) 1001 times.
std::array<bool, 5> DescribedPattern(std::time_t now) {
  std::srand(static_cast<unsigned>(now));
  const int count = std::rand() % 5 + 1;
  bool slot[6] = {};  // slot[1] to slot[5], as the slots are numbered
  for (int k = 1; k <= 5; ++k) slot[k] = k <= count;
  for (int n = 0; n < 1001; ++n) {
    const int i = std::rand() % 5 + 1;
    const int j = std::rand() % 5 + 1;
    const bool held = slot[i];
    slot[i] = slot[j];
    slot[j] = held;
  }
  return {slot[1], slot[2], slot[3], slot[4], slot[5]};
}

TEST_F(SessionTest, BurstsLandInTheSlotsTheDrawsAfterSeedingChoose) {
  std::set<int> counts;
  for (const std::time_t now : {0, 1, 2, 3, 4, 5, 6, 7, 99, 86400, 1234567, 1700000000}) {
    window.now = now;
    const std::array<bool, 5> expected = DescribedPattern(now);
    (void)std::rand();  // the session must seed afresh, not carry on from here
    Start();
    EXPECT_EQ(SessionProbe(session).pattern, expected) << "second " << now;
    counts.insert(Bursts(expected));
    session.HandleCommand(SessionCommand::Restart);
  }
  // Only a pattern with a silent slot tells where the bursts started out.
  EXPECT_TRUE(counts.count(1) && counts.count(2) && counts.count(3) && counts.count(4));
}

TEST_F(SessionTest, PlayedPatternIsTheChosenSlotsAtTheSessionFrequencyAndVolume) {
  session.Begin(21000);
  SessionProbe(session).frequency = 15430;
  for (std::time_t now : {std::time_t{5}, std::time_t{6}, std::time_t{7}}) {
    window.now = now;
    Start();
    Bytes expected(kTestWaveBufferSize);
    RenderTestPattern(expected, 15430, 21000, SessionProbe(session).pattern);
    expected.resize(kWaveHeaderSize + kTwoSecondDataSize);
    EXPECT_EQ(window.played, expected);
    session.HandleCommand(SessionCommand::Restart);
    SessionProbe(session).frequency = 15430;
  }
}

}  // namespace
}  // namespace kelvora::testing
