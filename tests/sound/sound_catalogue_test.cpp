#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "sound/synthesis.h"
#include "sound/wave_buffer.h"
#include "tests/sound/rendered_image.h"

namespace kelvora {
namespace {

using testing::RenderedImage;

constexpr double kTwoPi = 6.283185307179586;

void Pattern1000(RenderedImage& image, std::int32_t volume) {
  RenderTestPattern(image, 1000, volume, {true, true, true, true, true});
}
void Continuous1000(RenderedImage& image, std::int32_t volume) {
  RenderContinuousTone(image, 1000, volume);
}
void Silence(RenderedImage& image, std::int32_t) { RenderSilence(image); }
void Chime(RenderedImage& image, std::int32_t volume) {
  RenderedImage buzz(kBuzzWaveBufferSize);
  RenderChimeAndBuzz(image, buzz, volume);
}
void Buzz(RenderedImage& image, std::int32_t volume) {
  RenderedImage chime(kChimeWaveBufferSize);
  RenderChimeAndBuzz(chime, image, volume);
}
void VolumeSample(RenderedImage& image, std::int32_t volume) { RenderVolumeSample(image, volume); }
void Export440Faded(RenderedImage& image, std::int32_t volume) {
  RenderExportTone(image, 440.0, volume, true);
}
void Export440Plain(RenderedImage& image, std::int32_t volume) {
  RenderExportTone(image, 440.0, volume, false);
}

struct SoundCase {
  const char* name;
  void (*render)(RenderedImage&, std::int32_t volume);
  std::size_t bufferSize;
  std::uint32_t dataSize;
  std::vector<std::size_t> segmentStarts;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const SoundCase& sound, std::ostream* out) { *out << sound.name; }

RenderedImage Render(const SoundCase& sound, std::int32_t volume) {
  RenderedImage image(sound.bufferSize);
  sound.render(image, volume);
  return image;
}

const SoundCase kSounds[] = {
    {"TestPattern", Pattern1000, kTestWaveBufferSize, 192000, {0, 19200, 38400, 57600, 76800}},
    {"ContinuousTone", Continuous1000, kTestWaveBufferSize, 192000, {0}},
    {"Silence", Silence, kTestWaveBufferSize, 192000, {0}},
    {"Chime", Chime, kChimeWaveBufferSize, 48000, {0, 8000}},
    {"Buzz", Buzz, kBuzzWaveBufferSize, 64000, {0, 8000}},
    {"VolumeSample", VolumeSample, kSampleWaveBufferSize, 96000, {0}},
    {"ExportFaded", Export440Faded, kExportWaveBufferSize, 192000, {0}},
    {"ExportPlain", Export440Plain, kExportWaveBufferSize, 192000, {0}},
};

const SoundCase& SoundNamed(const std::string& name) {
  for (const SoundCase& sound : kSounds) {
    if (name == sound.name) return sound;
  }
  throw std::invalid_argument(name);
}

class EverySound : public ::testing::TestWithParam<SoundCase> {};

TEST_P(EverySound, HeaderAnnouncesItsDataSizeAndRiffSizeOf36More) {
  const RenderedImage image = Render(GetParam(), 30000);
  RenderedImage reference(kTestWaveBufferSize);
  WriteWaveHeader(reference, GetParam().dataSize);
  EXPECT_EQ(image.DataSize(), GetParam().dataSize);
  EXPECT_EQ(image.Le32(4), GetParam().dataSize + 36);
  EXPECT_TRUE(std::equal(image.bytes().begin(), image.bytes().begin() + kWaveHeaderSize,
                         reference.bytes().begin()));
}

TEST_P(EverySound, NeverWritesTheSpareTail) {
  for (const std::int32_t volume : {0, 9000, 30000}) {
    EXPECT_TRUE(Render(GetParam(), volume).TailUntouched()) << "volume " << volume;
  }
}

TEST_P(EverySound, IsExactSilenceAtVolumeZero) {
  const RenderedImage image = Render(GetParam(), 0);
  // The buffer starts as canary bytes, so zeros here were really written.
  EXPECT_TRUE(image.AllZero(0, GetParam().dataSize / 2));
}

TEST_P(EverySound, EverySegmentStartsAtZero) {
  const RenderedImage image = Render(GetParam(), 30000);
  for (const std::size_t start : GetParam().segmentStarts) {
    EXPECT_EQ(image.Sample(start), 0) << "sample " << start;
  }
}

INSTANTIATE_TEST_SUITE_P(Sounds, EverySound, ::testing::ValuesIn(kSounds),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SoundCatalogue, KnownSampleRuns) {
  struct Case {
    const char* sound;
    std::int32_t volume;
    std::size_t first;
    std::vector<std::int16_t> samples;
  };
  const Case cases[] = {
      {"Chime", 9000, 1000, {-242, -279, -294, -291, -278, -258}},
      {"Buzz", 9000, 1000, {4121, 4093, 4064, 4034, 4004, 3973}},
      {"VolumeSample", 9000, 0, {0, 13, 52, 114, 196, 292}},
      {"ContinuousTone", 30000, 1000, {-18186, -16660, -14849}},
      {"ExportPlain", 9000, 0, {0, 362, 724, 1083, 1438, 1789}},
  };
  for (const Case& c : cases) {
    const RenderedImage image = Render(SoundNamed(c.sound), c.volume);
    for (std::size_t k = 0; k < c.samples.size(); ++k) {
      EXPECT_EQ(image.Sample(c.first + k), c.samples[k]) << c.sound << " sample " << c.first + k;
    }
  }
}

// A few samples in every segment, computed apart from this code in double
// precision with the operations in the order the sounds are described.
TEST(SoundCatalogue, ChimeAndBuzzSegmentsHoldTheirSamples) {
  struct Case {
    const char* sound;
    std::int32_t volume;
    std::vector<std::size_t> at;  // segment A first, then B
    std::vector<std::int16_t> samples;
  };
  const std::vector<std::size_t> chime = {517, 2503, 5555, 7900, 8777, 12321, 16000, 19111, 23800};
  const std::vector<std::size_t> buzz = {517, 2222, 5555, 7900, 8777, 18888, 29999, 31990};
  const Case cases[] = {
      {"Chime", 9000, chime, {-28, -724, -869, -45, -195, -2025, -2480, 968, -3}},
      {"Chime", 30000, chime, {-95, -2416, -2898, -152, -650, -6751, -8269, 3228, -13}},
      {"Buzz", 9000, buzz, {2303, 2872, -2129, 63, -2850, -1282, 764, -1}},
      {"Buzz", 30000, buzz, {7679, 9575, -7097, 211, -9501, -4273, 2547, -5}},
  };
  for (const Case& c : cases) {
    const RenderedImage image = Render(SoundNamed(c.sound), c.volume);
    for (std::size_t n = 0; n < c.at.size(); ++n) {
      EXPECT_EQ(image.Sample(c.at[n]), c.samples[n])
          << c.sound << " at volume " << c.volume << ", sample " << c.at[n];
    }
  }
}

TEST(SoundCatalogue, PeakMagnitudes) {
  struct Case {
    const char* sound;
    std::int32_t volume;
    int peak;
  };
  const Case cases[] = {
      {"Chime", 30000, 8999}, {"Buzz", 30000, 15286}, {"VolumeSample", 30000, 28128},
      {"Chime", 9000, 2699},  {"Buzz", 9000, 4585},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Render(SoundNamed(c.sound), c.volume).MaxMagnitude(), c.peak)
        << c.sound << " at volume " << c.volume;
  }
}

TEST(SoundCatalogue, TonesAtFullVolumeStayWithin21000) {
  for (const std::int32_t frequency : {20, 1000, 8000, 15550, 22000}) {
    RenderedImage image(kTestWaveBufferSize);
    RenderContinuousTone(image, frequency, 30000);
    EXPECT_LE(image.MaxMagnitude(), 21000) << "continuous " << frequency;
  }
  for (const double frequency : {0.2, 440.0, 12345.6, 23999.9}) {
    for (const bool fade : {false, true}) {
      RenderedImage image(kExportWaveBufferSize);
      RenderExportTone(image, frequency, 30000, fade);
      EXPECT_LE(image.MaxMagnitude(), 21000) << "export " << frequency;
    }
  }
}

TEST(SoundCatalogue, SilenceIsTheHeaderThen192000ZeroBytes) {
  RenderedImage image(kTestWaveBufferSize);
  RenderSilence(image);
  RenderedImage header(kTestWaveBufferSize);
  WriteWaveHeader(header, 192000);
  EXPECT_TRUE(std::equal(image.bytes().begin(), image.bytes().begin() + kWaveHeaderSize,
                         header.bytes().begin()));
  for (std::size_t at = kWaveHeaderSize; at < kWaveHeaderSize + 192000; ++at) {
    ASSERT_EQ(image.bytes()[at], 0) << "byte " << at;
  }
}

TEST(SoundCatalogue, ExportAt24000HzIsAllZero) {
  RenderedImage image(kExportWaveBufferSize);
  RenderExportTone(image, 24000.0, 30000, false);
  EXPECT_TRUE(image.AllZero(0, 96000));
}

TEST(SoundCatalogue, ContinuousToneIsTheFadedExportToneOfTheSameWholeFrequency) {
  for (const std::int32_t frequency : {20, 1000, 9870, 22000}) {
    RenderedImage continuous(kTestWaveBufferSize);
    RenderedImage exported(kExportWaveBufferSize);
    RenderContinuousTone(continuous, frequency, 12300);
    RenderExportTone(exported, frequency, 12300, true);
    EXPECT_EQ(continuous.bytes(), exported.bytes()) << frequency;
  }
}

// The unfaded value of a 2 s tone at gain 0.7, as the rule defines it.
double ToneValue(double frequency, double volume, int i) {
  return (volume * 0.7) * std::sin((kTwoPi * frequency) * (i / 48000.0));
}

std::int16_t Truncated(double value) { return static_cast<std::int16_t>(static_cast<int>(value)); }

TEST(SoundCatalogue, ToneFadesCoverTheFirstAndLast1000SamplesOnlyWhenAsked) {
  RenderedImage faded(kExportWaveBufferSize);
  RenderedImage plain(kExportWaveBufferSize);
  RenderExportTone(faded, 440.0, 9000, true);
  RenderExportTone(plain, 440.0, 9000, false);

  // Without fades the last sample is the plain sine; with them it carries 1/1000.
  EXPECT_EQ(plain.Sample(95999), Truncated(ToneValue(440.0, 9000.0, 95999)));
  EXPECT_EQ(faded.Sample(95999),
            Truncated((1.0 - 999.0 / 1000.0) * ToneValue(440.0, 9000.0, 95999)));
  EXPECT_NE(plain.Sample(95999), faded.Sample(95999));
  // Sample 1 of the faded tone is 362 / 1000 of the plain one: truncated to 0.
  EXPECT_EQ(faded.Sample(1), 0);
  EXPECT_EQ(plain.Sample(1), 362);
  // Between the fades the two agree sample for sample.
  for (std::size_t k = 1000; k <= 95000; ++k) {
    ASSERT_EQ(faded.Sample(k), plain.Sample(k)) << "sample " << k;
  }
  EXPECT_NE(faded.Sample(999), plain.Sample(999));
  EXPECT_NE(faded.Sample(95001), plain.Sample(95001));
}

TEST(SoundCatalogue, VolumeSampleEndsPracticallySilent) {
  RenderedImage image(kSampleWaveBufferSize);
  RenderVolumeSample(image, 30000);
  EXPECT_EQ(image.Sample(47999), 0);  // fade 1/100 and decay 1/48000
  // The decay alone leaves at most 100/48000 of the peak before the fade-out.
  EXPECT_LE(image.MaxMagnitude(47900, 100), 28128 * 100 / 48000);
  EXPECT_GT(image.MaxMagnitude(0, 4800), 20000);
}

}  // namespace
}  // namespace kelvora
