// The player's own stream on a real PulseAudio and a real PipeWire server:
// two null sinks with descriptions of their own, each sink's monitor
// recorded with parec, the stream's properties read with pactl.

#include "platform/pulse/pulse_player.h"

#include <gtest/gtest.h>

#include <future>
#include <optional>

#include "platform/pulse/sinks.h"
#include "sound/synthesis.h"
#include "sound/wave_buffer.h"
#include "tests/pulse/two_sinks.h"

namespace kelvora::pulsetest {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

constexpr milliseconds kBound(2000);

std::vector<Sound> Sounds() {
  Bytes chime(kChimeWaveBufferSize), buzz(kBuzzWaveBufferSize), pattern(kTestWaveBufferSize);
  RenderChimeAndBuzz(chime, buzz, 9000);
  RenderTestPattern(pattern, 1000, 9000, {true, false, true, true, false});
  return {{"chime", chime, Ear::Both}, {"buzz", buzz, Ear::Left}, {"pattern", pattern, Ear::Right}};
}

class PulsePlayerTest : public TwoSinksTest {
 protected:
  std::string SinkInputs() const { return Shell(m_servers.Pactl("list sink-inputs")); }
};

TEST_P(PulsePlayerTest, ListsEveryOutputByItsDescriptionInTheServersOrder) {
  std::vector<std::pair<std::string, std::string>> listed;
  for (const pulse::Sink& sink : pulse::ListSinks(kBound, m_servers.address)) {
    if (sink.name == kFirst || sink.name == kSecond)
      listed.emplace_back(sink.name, sink.description);
  }
  const std::vector<std::pair<std::string, std::string>> expected = {{kFirst, kFirstDescription},
                                                                     {kSecond, kSecondDescription}};
  EXPECT_EQ(listed, expected);
  EXPECT_EQ(pulse::DefaultSinkDescription(kBound, m_servers.address), kFirstDescription);
}

TEST_P(PulsePlayerTest, PlaysEverySoundBitExactOnTheChosenSinkAndNothingOnTheOther) {
  const std::vector<Sound> sounds = Sounds();
  Monitor first(m_servers, kFirst, m_dir / "first.raw");
  Monitor second(m_servers, kSecond, m_dir / "second.raw");
  pulse::PulsePlayer player(m_servers.address);
  player.SetOutput(kSecond);
  for (const Sound& sound : sounds) {
    player.SetEar(sound.ear);
    EXPECT_EQ(player.Play(sound.image), PlayOutcome::Played) << sound.name;
  }
  EXPECT_EQ(player.TakeMissingOutput(), std::nullopt);
  ExpectSoundsIn(second.Finish(), sounds);
  EXPECT_TRUE(AllZero(first.Finish()));

  // The sound-path question reads the sink of the stream the sounds played
  // on, which stays there, one stream named as the program.
  const std::optional<platform::OutputPath> path = player.QueryPath(kBound, kSecond);
  ASSERT_TRUE(path.has_value());
  EXPECT_EQ(path->rate, 48000u);
  EXPECT_EQ(path->channels, 2u);
  const std::string shown = SinkInputs();
  EXPECT_EQ(std::count(shown.begin(), shown.end(), '#'), 1) << shown;
  for (const char* property : {"media.name = \"Kelvora\"", "application.name = \"Kelvora\"",
                               "application.icon_name = \"kelvora\"", "media.role = \"music\""}) {
    EXPECT_NE(shown.find(property), std::string::npos) << property << " in:\n" << shown;
  }
}

TEST_P(PulsePlayerTest, AChosenSinkUnloadedWhileIdleSendsTheNextSoundToTheDefaultSayingSoOnce) {
  const std::vector<Sound> sounds = Sounds();
  pulse::PulsePlayer player(m_servers.address);
  player.SetOutput(kSecond);
  ASSERT_EQ(player.Play(sounds[0].image), PlayOutcome::Played);
  m_servers.Unload(kSecond);
  Monitor first(m_servers, kFirst, m_dir / "first.raw");
  EXPECT_EQ(player.Play(sounds[0].image), PlayOutcome::Played);
  EXPECT_EQ(player.TakeMissingOutput(), kSecond);
  EXPECT_EQ(player.TakeMissingOutput(), std::nullopt);
  EXPECT_EQ(player.Play(sounds[0].image), PlayOutcome::Played);
  EXPECT_EQ(player.TakeMissingOutput(), std::nullopt);
  ExpectSoundsIn(first.Finish(), {sounds[0], sounds[0]});
}

TEST_P(PulsePlayerTest, AChosenSinkUnloadedDuringAPatternGivesItUpWithinTheBound) {
  const std::vector<Sound> sounds = Sounds();
  pulse::PulsePlayer player(m_servers.address);
  player.SetOutput(kSecond);
  Monitor second(m_servers, kSecond, m_dir / "second.raw");
  const auto start = Clock::now();
  auto playing = std::async(std::launch::async, [&] { return player.Play(sounds[2].image); });
  while (!second.Heard() && Clock::now() - start < std::chrono::seconds(2)) {
    std::this_thread::sleep_for(milliseconds(10));
  }
  m_servers.Unload(kSecond);
  EXPECT_EQ(playing.get(), PlayOutcome::GivenUp);
  // The pattern's two seconds, its buffer and the stall bound at most.
  EXPECT_LE(Clock::now() - start, std::chrono::milliseconds(3200 + 500));
  EXPECT_EQ(player.Play(sounds[0].image), PlayOutcome::Played);
  EXPECT_EQ(player.TakeMissingOutput(), kSecond);
}

INSTANTIATE_TEST_SUITE_P(Servers, PulsePlayerTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "PipeWire" : "PulseAudio"; });

TEST(PulsePlayerFaultTest, AStoppedServerGivesTheSoundUpWithinTheBoundAndNoServerIsNotOpened) {
  PulseServer server;
  if (!server.Start(48000)) GTEST_SKIP() << "no PulseAudio server: " << server.error();
  const std::vector<Sound> sounds = Sounds();
  pulse::PulsePlayer player(server.Server());
  ASSERT_EQ(player.Play(sounds[0].image), PlayOutcome::Played);
  const auto start = Clock::now();
  auto playing = std::async(std::launch::async, [&] { return player.Play(sounds[2].image); });
  std::this_thread::sleep_for(milliseconds(300));
  ASSERT_EQ(kill(server.pid(), SIGSTOP), 0);
  EXPECT_EQ(playing.get(), PlayOutcome::GivenUp);
  EXPECT_LE(Clock::now() - start, std::chrono::milliseconds(3200 + 500));
  EXPECT_EQ(player.Play(sounds[0].image), PlayOutcome::NotOpened);  // still stopped
  kill(server.pid(), SIGCONT);
  EXPECT_EQ(player.Play(sounds[0].image), PlayOutcome::Played);

  pulse::PulsePlayer nobody("unix:" + (server.dir() / "nobody").string());
  EXPECT_FALSE(nobody.Connect(milliseconds(300)));
  EXPECT_EQ(nobody.Play(sounds[0].image), PlayOutcome::NotOpened);
}

}  // namespace
}  // namespace kelvora::pulsetest
