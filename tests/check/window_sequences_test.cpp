// What the window sees and the listener hears, call by call, for each command
// that plays a sound; start-up values and the sound buffers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "check/session_probe.h"
#include "session_fixture.h"
#include "sound/synthesis.h"

namespace kelvora::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Log kAnswerControlsEnabled = {"enable Answer1 1", "enable Answer2 1", "enable Answer3 1",
                                    "enable Answer4 1", "enable Answer5 1", "enable DontKnow 1"};

Bytes Rendered(void (*render)(std::span<std::uint8_t>)) {
  Bytes image(kTestWaveBufferSize);
  render(image);
  image.resize(kWaveHeaderSize + kTwoSecondDataSize);
  return image;
}

TEST_F(SessionTest, StartPlaysThePatternUnderTheWaitCursorThenAwaitsAnAnswer) {
  session.HandleCommand(SessionCommand::Start);
  EXPECT_EQ(window.log, Cat({{"wait begin", "time"},
                             BusyArrangement(),
                             {"sleep 400", "play test", "sleep 100", "wait end"},
                             kAnswerControlsEnabled}));
  EXPECT_EQ(session.view().state, CheckState::AwaitingAnswer);
  EXPECT_EQ(session.view().trials, 1);
}

TEST_F(SessionTest, RightAnswerShowsTheCircleAndPlaysTheChime) {
  Start();
  window.log.clear();
  AnswerRight();
  EXPECT_EQ(window.log, Cat({{"mark correct", "play chime", "panel"}, IdleArrangement()}));
  EXPECT_EQ(session.view().state, CheckState::Idle);
}

TEST_F(SessionTest, WrongAnswerShowsTheCrossBuzzesThenRevealsThePattern) {
  Start();
  window.log.clear();
  AnswerWrongNumber();
  const std::string reveal = "answer 8000 | " + std::to_string(SessionProbe(session).answerCount) +
                             " | " + RecordingWindow::SlotsText(SessionProbe(session).pattern);
  EXPECT_EQ(window.log, Cat({{"mark wrong", "play buzz", reveal, "panel"}, IdleArrangement()}));
  // The dialog opens before the session leaves AwaitingAnswer or moves the frequency.
  EXPECT_EQ(window.stateAtAnswer, CheckState::AwaitingAnswer);
  EXPECT_EQ(session.view().state, CheckState::Idle);
  EXPECT_EQ(session.view().frequency, 7000);
}

TEST_F(SessionTest, DontKnowShowsExactlyWhatAWrongNumberShows) {
  Start();
  window.log.clear();
  AnswerWrongNumber();
  const Log wrongNumber = window.log;
  session.HandleCommand(SessionCommand::Restart);
  Start();  // same clock, so the same pattern
  window.log.clear();
  session.HandleCommand(SessionCommand::DontKnow);
  EXPECT_EQ(window.log, wrongNumber);
}

struct MenuSoundCase {
  SessionCommand command;
  void (*render)(std::span<std::uint8_t>);
};

void ToneAt12340Volume9000(std::span<std::uint8_t> image) {
  RenderContinuousTone(image, 12340, 9000);
}

class MenuSoundTest : public SessionTest, public ::testing::WithParamInterface<MenuSoundCase> {};

TEST_P(MenuSoundTest, PlaysUnderTheWaitCursorAndLeavesTheSessionIdle) {
  SessionProbe(session).frequency = 12340;
  SessionProbe(session).step = 50;
  SessionProbe(session).trialCount = 3;
  SessionProbe(session).correctCount = 2;
  SessionProbe(session).maxHeard = 11000;
  const Fields before = FieldsOf(session);
  CheckState stateWhilePlaying = CheckState::Idle;
  window.onPlay = [&] { stateWhilePlaying = session.view().state; };

  EXPECT_TRUE(session.HandleCommand(GetParam().command));

  EXPECT_EQ(window.log,
            Cat({{"wait begin"}, BusyArrangement(), {"play test", "wait end"}, IdleArrangement()}));
  EXPECT_EQ(stateWhilePlaying, CheckState::Busy);
  EXPECT_EQ(window.played, Rendered(GetParam().render));
  EXPECT_EQ(FieldsOf(session), before);
}

INSTANTIATE_TEST_SUITE_P(ToneAndSilence, MenuSoundTest,
                         ::testing::Values(MenuSoundCase{SessionCommand::ContinuousTone,
                                                         ToneAt12340Volume9000},
                                           MenuSoundCase{SessionCommand::Silence, RenderSilence}));

TEST_F(SessionTest, BeginSetsStartUpValuesAndRendersChimeAndBuzzAtThatVolume) {
  SessionProbe(session).frequency = 500;
  SessionProbe(session).step = 10;
  SessionProbe(session).maxHeard = 600;
  SessionProbe(session).trialCount = 7;
  SessionProbe(session).correctCount = 5;
  SessionProbe(session).autoChange = false;
  SessionProbe(session).state = CheckState::AwaitingAnswer;

  session.Begin(24000);

  EXPECT_EQ(session.view().volume, 24000);
  EXPECT_EQ(session.view().frequency, 8000);
  EXPECT_EQ(session.view().step, 2000);
  EXPECT_EQ(session.view().record, 0);
  EXPECT_EQ(session.view().trials, 0);
  EXPECT_EQ(session.view().corrects, 0);
  EXPECT_TRUE(session.view().autoChange);
  EXPECT_EQ(session.view().state, CheckState::Idle);
  EXPECT_EQ(window.log, Log{});

  Bytes chime(kChimeWaveBufferSize), buzz(kBuzzWaveBufferSize);
  RenderChimeAndBuzz(chime, buzz, 24000);
  const std::uint8_t* ownChime = SessionProbe(session).chimeWave.data();
  const std::uint8_t* ownBuzz = SessionProbe(session).buzzWave.data();
  EXPECT_EQ(Bytes(ownChime, ownChime + kWaveHeaderSize + kChimeDataSize),
            Bytes(chime.begin(), chime.begin() + kWaveHeaderSize + kChimeDataSize));
  EXPECT_EQ(Bytes(ownBuzz, ownBuzz + kWaveHeaderSize + kBuzzDataSize),
            Bytes(buzz.begin(), buzz.begin() + kWaveHeaderSize + kBuzzDataSize));
}

// Hands out blocks from malloc, refusing the one numbered `failAt` (from 1).
class CountingAllocator final : public BufferAllocator {
 public:
  explicit CountingAllocator(int failAt) : m_failAt(failAt) {}
  std::uint8_t* Allocate(std::size_t size) override {
    requested.push_back(size);
    if (static_cast<int>(requested.size()) == m_failAt) return nullptr;
    ++held;
    return static_cast<std::uint8_t*>(std::malloc(size));
  }
  void Release(std::uint8_t* block) override {
    --held;
    std::free(block);
  }
  std::vector<std::size_t> requested;
  int held = 0;

 private:
  int m_failAt;
};

TEST(CheckSessionBuffers, FailedAllocationGivesBackWhatWasTaken) {
  const std::vector<std::size_t> sizes = {193024, 49024, 65024};
  for (int failAt = 1; failAt <= 3; ++failAt) {
    SCOPED_TRACE(failAt);
    CountingAllocator allocator(failAt);
    SetBufferAllocator(&allocator);
    {
      RecordingWindow window;
      CheckSession session(window);
      EXPECT_FALSE(session.AllocateBuffers());
      EXPECT_EQ(allocator.held, 0);
      EXPECT_EQ(allocator.requested,
                std::vector<std::size_t>(sizes.begin(), sizes.begin() + failAt));
      EXPECT_FALSE(SessionProbe(session).testWave.IsAllocated());
      EXPECT_FALSE(SessionProbe(session).chimeWave.IsAllocated());
      EXPECT_FALSE(SessionProbe(session).buzzWave.IsAllocated());
    }
    SetBufferAllocator(nullptr);
  }
}

TEST(CheckSessionBuffers, TakesTheThreeBuffersInOrderAndReleasesThemAll) {
  CountingAllocator allocator(0);
  SetBufferAllocator(&allocator);
  {
    RecordingWindow window;
    CheckSession session(window);
    EXPECT_TRUE(session.AllocateBuffers());
    EXPECT_EQ(allocator.requested, (std::vector<std::size_t>{193024, 49024, 65024}));
    EXPECT_EQ(allocator.held, 3);
    session.ReleaseBuffers();
    EXPECT_EQ(allocator.held, 0);
    session.ReleaseBuffers();  // twice is harmless
    EXPECT_EQ(allocator.held, 0);
  }
  SetBufferAllocator(nullptr);
}

}  // namespace
}  // namespace kelvora::testing
