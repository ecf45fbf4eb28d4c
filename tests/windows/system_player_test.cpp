// The Windows player and the audio engine's answer, under Wine with ALSA's
// default device recording into a file (ctest sets ALSA_CONFIG_PATH).
#include "platform/audio/system_player.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/output_path.h"
#include "sound/synthesis.h"
#include "sound/wave_buffer.h"

namespace kelvora {
namespace {

std::string Recording() {
  // Wine's Z: drive is the Unix root.
  std::ifstream in(std::string("Z:") + KELVORA_RECORDING, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(WindowsPlayer, PlaySoundPlaysTheSamplesBitForBitOnTheChosenEar) {
  std::vector<std::uint8_t> chime(kChimeWaveBufferSize), buzz(kBuzzWaveBufferSize);
  RenderChimeAndBuzz(chime, buzz, 9000);
  const std::string mono(chime.begin() + 44, chime.begin() + 44 + kChimeDataSize);
  const struct {
    Ear ear;
    bool left, right;
  } cases[] = {{Ear::Both, true, false}, {Ear::Left, true, false}, {Ear::Right, false, true}};
  SystemPlayer player;
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.ear));
    std::string want;
    for (std::size_t k = 0; k < mono.size(); k += 2) {
      const std::string sample = mono.substr(k, 2), zero(2, '\0');
      if (c.ear == Ear::Both) {
        want += sample;
      } else {
        want += (c.left ? sample : zero) + (c.right ? sample : zero);
      }
    }
    player.SetEar(c.ear);
    // Synchronous: once it returns the whole sound has reached the device.
    EXPECT_EQ(player.Play(chime), PlayOutcome::Played);
    const std::string recording = Recording();
    EXPECT_TRUE(recording.size() >= want.size() && recording.ends_with(want))
        << recording.size() << " bytes recorded";
  }
}

TEST(WindowsOutputPath, TheAudioEngineNamesItsMixFormatWithinTheBound) {
  const std::optional<platform::OutputPath> path =
      platform::QueryOutputPath(std::chrono::seconds(10));
  ASSERT_TRUE(path.has_value());
  EXPECT_GE(path->rate, 8000u);
  EXPECT_GE(path->channels, 1u);
  EXPECT_FALSE(path->bluetooth);
  EXPECT_EQ(path->rateSetting, platform::RateSetting::kWindowsSoundPanel);
  // However slow the engine, the caller waits no longer than it said.
  const auto started = std::chrono::steady_clock::now();
  platform::QueryOutputPath(std::chrono::milliseconds(1));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(500));
}

}  // namespace
}  // namespace kelvora
