// The Windows player, its device list and the audio engine's answer, under
// Wine with ALSA's default device recording into a file (ctest sets
// ALSA_CONFIG_PATH).
#include "platform/audio/system_player.h"

#include <gtest/gtest.h>

#include <bit>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/audio/output_devices.h"
#include "platform/output_path.h"
#include "platform/wasapi/endpoint.h"
#include "platform/wasapi/mix_frames.h"
#include "sound/synthesis.h"
#include "sound/wave_buffer.h"

namespace kelvora {
namespace {

using platform::wasapi::FrameLayout;
using platform::wasapi::SampleKind;

std::string Recording() {
  // Wine's Z: drive is the Unix root.
  std::ifstream in(std::string("Z:") + KELVORA_RECORDING, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string LittleEndian(std::uint32_t value, int bytes) {
  std::string out;
  for (int k = 0; k < bytes; ++k) out += static_cast<char>(value >> (8 * k));
  return out;
}

// A 16-bit sample as the engine holds it: a float of full scale 1.0, or an
// integer at the top of its wider container.
std::string Encoded(std::int16_t s, SampleKind kind) {
  switch (kind) {
    case SampleKind::Int16:
      return LittleEndian(static_cast<std::uint32_t>(s), 2);
    case SampleKind::Int24:
      return LittleEndian(static_cast<std::uint32_t>(s * 256), 3);
    case SampleKind::Int32:
      return LittleEndian(static_cast<std::uint32_t>(s * 65536), 4);
    case SampleKind::Float32:
      return LittleEndian(std::bit_cast<std::uint32_t>(static_cast<float>(s / 32768.0)), 4);
  }
  return {};
}

// Frames of `layout` for mono samples: the sample on the channels marked in
// `carrying`, zeros on the others.
std::string Frames(const std::vector<std::int16_t>& samples, FrameLayout layout,
                   const std::vector<bool>& carrying) {
  std::string out;
  for (const std::int16_t s : samples) {
    for (std::uint32_t c = 0; c < layout.channels; ++c) {
      out += Encoded(carrying[c] ? s : std::int16_t{0}, layout.kind);
    }
  }
  return out;
}

std::vector<bool> Carrying(std::uint32_t channels, Ear ear) {
  std::vector<bool> carrying(channels, false);
  if (channels == 1) {
    carrying[0] = true;
  } else {
    carrying[0] = ear != Ear::Right;
    carrying[1] = ear != Ear::Left;
  }
  return carrying;
}

TEST(WindowsMixFrames, EverySampleReachesItsEarsChannelsExactlyInEachSampleKind) {
  // Full scale, the smallest steps and zero, in the engine's encodings.
  const struct {
    std::int16_t sample;
    const char* int16;
    const char* int24;
    const char* int32;
    float float32;
  } values[] = {
      {-32768, "\x00\x80", "\x00\x00\x80", "\x00\x00\x00\x80", -1.0f},
      {-1, "\xff\xff", "\x00\xff\xff", "\x00\x00\xff\xff", -1.0f / 32768},
      {0, "\x00\x00", "\x00\x00\x00", "\x00\x00\x00\x00", 0.0f},
      {1, "\x01\x00", "\x00\x01\x00", "\x00\x00\x01\x00", 1.0f / 32768},
      {32767, "\xff\x7f", "\x00\xff\x7f", "\x00\x00\xff\x7f", 32767.0f / 32768},
  };
  std::vector<std::int16_t> samples;
  std::string image;
  for (const auto& v : values) {
    samples.push_back(v.sample);
    image += LittleEndian(static_cast<std::uint16_t>(v.sample), 2);
    EXPECT_EQ(Encoded(v.sample, SampleKind::Int16), std::string(v.int16, 2));
    EXPECT_EQ(Encoded(v.sample, SampleKind::Int24), std::string(v.int24, 3));
    EXPECT_EQ(Encoded(v.sample, SampleKind::Int32), std::string(v.int32, 4));
    EXPECT_EQ(Encoded(v.sample, SampleKind::Float32),
              LittleEndian(std::bit_cast<std::uint32_t>(v.float32), 4));
  }
  const struct {
    std::uint32_t channels;
    Ear ear;
  } layouts[] = {{2, Ear::Both}, {2, Ear::Left}, {2, Ear::Right}, {1, Ear::Right},
                 {6, Ear::Both}, {6, Ear::Left}, {8, Ear::Right}};
  for (const SampleKind kind :
       {SampleKind::Int16, SampleKind::Int24, SampleKind::Int32, SampleKind::Float32}) {
    for (const auto& l : layouts) {
      SCOPED_TRACE(testing::Message() << "kind " << static_cast<int>(kind) << ", " << l.channels
                                      << " channels, ear " << static_cast<int>(l.ear));
      const FrameLayout layout{kind, l.channels};
      const std::string want = Frames(samples, layout, Carrying(l.channels, l.ear));
      ASSERT_EQ(platform::wasapi::BytesPerFrame(layout) * samples.size(), want.size());
      // Stale bytes in the engine's buffer must not survive on the silent
      // channels, and nothing past the frames is touched.
      std::vector<std::uint8_t> out(want.size() + 8, 0xA5);
      platform::wasapi::WriteFrames(
          {reinterpret_cast<const std::uint8_t*>(image.data()), image.size()}, l.ear, layout,
          {out.data(), want.size()});
      EXPECT_EQ(std::string(out.begin(), out.end()), want + std::string(8, '\xA5'));
    }
  }
}

// The mix format of the default output, as the player writes it.
FrameLayout DefaultLayout() {
  const platform::wasapi::ComScope com;
  platform::wasapi::Endpoint endpoint;
  platform::wasapi::Released<IAudioClient> client;
  WAVEFORMATEX* mix = nullptr;
  if (!com.ok() || !platform::wasapi::OpenEndpoint("", endpoint) ||
      FAILED(endpoint.device.p->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr,
                                         reinterpret_cast<void**>(&client.p))) ||
      FAILED(client.p->GetMixFormat(&mix))) {
    ADD_FAILURE() << "the default output has no mix format";
    return {};
  }
  const std::optional<FrameLayout> layout = platform::wasapi::LayoutOf(*mix);
  EXPECT_EQ(mix->nSamplesPerSec, kSampleRate) << "the engine converts: nothing is bit-exact";
  CoTaskMemFree(mix);
  EXPECT_TRUE(layout.has_value());
  return layout.value_or(FrameLayout{});
}

std::string DefaultEndpointId() {
  const platform::wasapi::ComScope com;
  platform::wasapi::Endpoint endpoint;
  if (!platform::wasapi::OpenEndpoint("", endpoint)) return {};
  return platform::wasapi::EndpointId(endpoint.device.p);
}

// The sound is the last one in the recording, whole, and only silence follows
// it.
testing::AssertionResult RecordedWhole(const std::string& want) {
  const std::string recording = Recording();
  const std::size_t at = recording.rfind(want);
  if (at == std::string::npos) {
    return testing::AssertionFailure() << "not in the " << recording.size() << " bytes recorded";
  }
  if (recording.find_first_not_of('\0', at + want.size()) != std::string::npos) {
    return testing::AssertionFailure() << "sound after the end of the sound";
  }
  return testing::AssertionSuccess();
}

struct Chime {
  std::vector<std::uint8_t> image = std::vector<std::uint8_t>(kChimeWaveBufferSize);
  std::vector<std::int16_t> samples;
  Chime() {
    std::vector<std::uint8_t> buzz(kBuzzWaveBufferSize);
    RenderChimeAndBuzz(image, buzz, 9000);
    for (std::size_t k = 44; k < 44 + kChimeDataSize; k += 2) {
      samples.push_back(static_cast<std::int16_t>(image[k] | image[k + 1] << 8));
    }
  }
};

TEST(WindowsPlayer, PlaysTheSamplesBitForBitOnTheChosenEarAndOutput) {
  const Chime chime;
  const FrameLayout layout = DefaultLayout();
  const std::string defaultId = DefaultEndpointId();
  ASSERT_FALSE(defaultId.empty());
  const struct {
    Ear ear;
    bool byId;  // the default output chosen by its id rather than as ""
  } cases[] = {{Ear::Both, false},
               {Ear::Left, false},
               {Ear::Right, false},
               {Ear::Both, true},
               {Ear::Right, true}};
  SystemPlayer player;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "ear " << static_cast<int>(c.ear) << ", by id " << c.byId);
    player.SetEar(c.ear);
    player.SetOutput(c.byId ? defaultId : "");
    // Synchronous: once it returns the whole sound has reached the device.
    EXPECT_EQ(player.Play(chime.image), PlayOutcome::Played);
    EXPECT_TRUE(RecordedWhole(Frames(chime.samples, layout, Carrying(layout.channels, c.ear))));
    EXPECT_EQ(player.TakeMissingOutput(), std::nullopt);
  }
}

TEST(WindowsPlayer, AnAbsentOutputPlaysOnTheDefaultAndIsReportedOnce) {
  const Chime chime;
  const FrameLayout layout = DefaultLayout();
  const std::string absent = "{0.0.0.00000000}.{00000000-0000-0000-0000-000000000000}";
  SystemPlayer player;
  player.SetOutput(absent);
  const std::optional<std::string> reports[] = {absent, std::nullopt};
  for (const std::optional<std::string>& report : reports) {
    EXPECT_EQ(player.Play(chime.image), PlayOutcome::Played);
    EXPECT_TRUE(RecordedWhole(Frames(chime.samples, layout, Carrying(layout.channels, Ear::Both))));
    EXPECT_EQ(player.TakeMissingOutput(), report);
    EXPECT_EQ(player.TakeMissingOutput(), std::nullopt);
  }
  // Chosen anew, its absence is news again.
  player.SetOutput(absent);
  EXPECT_EQ(player.Play(chime.image), PlayOutcome::Played);
  EXPECT_EQ(player.TakeMissingOutput(), absent);
  // The mix-format check answers for the output the sound went to.
  const auto bound = std::chrono::seconds(10);
  const std::optional<platform::OutputPath> chosen = platform::QueryOutputPath(bound, absent);
  const std::optional<platform::OutputPath> fallback = platform::QueryOutputPath(bound);
  ASSERT_TRUE(chosen.has_value() && fallback.has_value());
  EXPECT_EQ(chosen->rate, fallback->rate);
  EXPECT_EQ(chosen->channels, fallback->channels);
}

TEST(WindowsOutputDevices, TheDefaultOutputIsListedWithItsName) {
  const std::string defaultId = DefaultEndpointId();
  const std::vector<platform::OutputDevice> devices =
      platform::ListOutputDevices(std::chrono::seconds(10));
  bool listed = false;
  for (const platform::OutputDevice& device : devices) {
    SCOPED_TRACE(device.id);
    EXPECT_FALSE(device.description.empty());
    listed = listed || device.id == defaultId;
  }
  EXPECT_TRUE(listed) << devices.size() << " devices listed";
}

TEST(WindowsOutputPath, TheAudioEngineNamesItsMixFormatWithinTheBound) {
  const std::optional<platform::OutputPath> path =
      platform::QueryOutputPath(std::chrono::seconds(10));
  ASSERT_TRUE(path.has_value());
  EXPECT_GE(path->rate, 8000u);
  EXPECT_GE(path->channels, 1u);
  EXPECT_FALSE(path->bluetooth);
  EXPECT_EQ(path->rateSetting, platform::RateSetting::WindowsSoundPanel);
  // However slow the engine, the caller waits no longer than it said.
  const auto started = std::chrono::steady_clock::now();
  platform::QueryOutputPath(std::chrono::milliseconds(1));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(500));
}

}  // namespace
}  // namespace kelvora
