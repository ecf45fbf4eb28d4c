#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "sound/synthesis.h"
#include "sound/wave_buffer.h"
#include "tests/sound/rendered_image.h"

namespace kelvora {
namespace {

using testing::RenderedImage;

constexpr std::size_t kSlotSamples = 19200;
constexpr std::size_t kBurstSamples = 9600;
constexpr std::array<bool, 5> kAllSlots = {true, true, true, true, true};

RenderedImage Pattern(std::int32_t frequency, std::int32_t volume,
                      const std::array<bool, 5>& slots) {
  RenderedImage image(kTestWaveBufferSize);
  RenderTestPattern(image, frequency, volume, slots);
  return image;
}

TEST(TestPattern, BurstAt1000HzFullVolumeStartsWithKnownSamples) {
  const RenderedImage image = Pattern(1000, 30000, kAllSlots);
  struct Case {
    std::size_t index;
    std::int16_t sample;
  };
  // The rise: 0, 1, 5, 12; from 2000 on the burst is no longer faded.
  const Case cases[] = {{0, 0},         {1, 1},         {2, 5},         {3, 12},
                        {2000, -18186}, {2001, -19401}, {2002, -20284}, {2003, -20820}};
  for (const Case& c : cases) {
    EXPECT_EQ(image.Sample(c.index), c.sample) << "sample " << c.index;
  }
}

TEST(TestPattern, BurstEndsWithFactorOneOver2000) {
  const RenderedImage image = Pattern(1000, 30000, kAllSlots);
  const double t = 9599 / 48000.0;
  const double unfaded = (30000.0 * 0.7) * std::sin((6.283185307179586 * 1000.0) * t);
  const double faded = (1.0 - 1999.0 / 2000.0) * unfaded;
  EXPECT_EQ(image.Sample(9599), static_cast<std::int16_t>(static_cast<int>(faded)));
  EXPECT_NE(image.Sample(9598), 0);  // not yet silent a sample before the end
}

TEST(TestPattern, SetSlotsHoldIdenticalBurstsAndEverythingElseIsExactZero) {
  const RenderedImage full = Pattern(4000, 30000, kAllSlots);
  const std::array<bool, 5> masks[] = {
      {true, true, true, true, true},     {false, false, false, false, false},
      {true, false, true, true, false},   {false, true, false, false, true},
      {false, false, false, false, true}, {true, false, false, false, false},
  };
  for (const auto& slots : masks) {
    std::string name;
    for (bool on : slots) name += on ? '1' : '0';
    SCOPED_TRACE(name);
    // Render over a different sound first: every byte of the image is rewritten.
    RenderedImage image(kTestWaveBufferSize);
    RenderContinuousTone(image, 1234, 30000);
    RenderTestPattern(image, 4000, 30000, slots);
    ASSERT_EQ(image.DataSize(), 192000u);
    for (std::size_t slot = 0; slot < 5; ++slot) {
      const std::size_t start = slot * kSlotSamples;
      for (std::size_t k = 0; k < kBurstSamples; ++k) {
        const std::int16_t expected = slots[slot] ? full.Sample(k) : 0;
        ASSERT_EQ(image.Sample(start + k), expected) << "slot " << slot + 1 << " sample " << k;
      }
      EXPECT_TRUE(image.AllZero(start + kBurstSamples, kBurstSamples)) << "pause " << slot + 1;
    }
    EXPECT_TRUE(image.TailUntouched());
  }
  EXPECT_GT(full.MaxMagnitude(0, kBurstSamples), 20000);  // a burst really sounds
}

TEST(TestPattern, FullVolumeStaysWithin21000AtEveryFrequency) {
  for (const std::int32_t frequency : {20, 440, 1000, 8000, 12340, 17000, 22000}) {
    const RenderedImage image = Pattern(frequency, 30000, kAllSlots);
    EXPECT_LE(image.MaxMagnitude(), 21000) << frequency << " Hz";
  }
}

}  // namespace
}  // namespace kelvora
