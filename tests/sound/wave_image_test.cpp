#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "sound/player.h"
#include "sound/synthesis.h"
#include "sound/wave_buffer.h"
#include "tests/sound/rendered_image.h"

namespace kelvora {
namespace {

using testing::kCanary;
using testing::RenderedImage;

TEST(WaveHeader, TwoSecondImageHeaderIsExactly44KnownBytes) {
  const std::array<std::uint8_t, 44> expected = {
      0x52, 0x49, 0x46, 0x46, 0x24, 0xEE, 0x02, 0x00, 0x57, 0x41, 0x56, 0x45, 0x66, 0x6D, 0x74,
      0x20, 0x10, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x80, 0xBB, 0x00, 0x00, 0x00, 0x77,
      0x01, 0x00, 0x02, 0x00, 0x10, 0x00, 0x64, 0x61, 0x74, 0x61, 0x00, 0xEE, 0x02, 0x00};
  RenderedImage image(kTestWaveBufferSize);
  WriteWaveHeader(image, kTwoSecondDataSize);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), image.bytes().begin()));
}

TEST(WaveHeader, OnlyTheTwoSizeFieldsDependOnTheDataSizeAndDataIsLeftAlone) {
  struct Case {
    std::uint32_t dataSize;
    std::uint32_t riffSize;
  };
  const Case cases[] = {{192000, 192036}, {48000, 48036}, {64000, 64036}, {96000, 96036}};
  RenderedImage reference(kTestWaveBufferSize);
  WriteWaveHeader(reference, kTwoSecondDataSize);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dataSize);
    RenderedImage image(kTestWaveBufferSize);
    WriteWaveHeader(image, c.dataSize);
    EXPECT_EQ(image.Le32(4), c.riffSize);
    EXPECT_EQ(image.Le32(40), c.dataSize);
    for (std::size_t at = 0; at < kWaveHeaderSize; ++at) {
      if ((at >= 4 && at < 8) || at >= 40) continue;
      EXPECT_EQ(image.bytes()[at], reference.bytes()[at]) << "byte " << at;
    }
    for (std::size_t at = kWaveHeaderSize; at < image.bytes().size(); ++at) {
      ASSERT_EQ(image.bytes()[at], kCanary) << "byte " << at;
    }
  }
}

TEST(StoreSample, TruncatesTowardZeroAndKeepsTheLow16BitsLowByteFirst) {
  struct Case {
    double value;
    std::uint8_t low;
    std::uint8_t high;
  };
  const Case cases[] = {
      {0.0, 0x00, 0x00},
      {2.9, 0x02, 0x00},
      {-2.9, 0xFE, 0xFF},
      {-0.9, 0x00, 0x00},
      {-1.9, 0xFF, 0xFF},
      {32767.9, 0xFF, 0x7F},
      {-32768.5, 0x00, 0x80},
      // Beyond 16 bits the integer wraps; no sound at a valid volume gets there.
      {65537.7, 0x01, 0x00},
      {-65537.7, 0xFF, 0xFF},
      {2147483647.9, 0xFF, 0xFF},
      {-2147483648.9, 0x00, 0x00},
      {4294967298.5, 0x02, 0x00},
      {-4294967298.5, 0xFE, 0xFF},
      {std::numeric_limits<double>::quiet_NaN(), 0x00, 0x00},
      {std::numeric_limits<double>::infinity(), 0x00, 0x00},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    std::vector<std::uint8_t> bytes(8, kCanary);
    StoreSample(bytes, 4, c.value);
    EXPECT_EQ(bytes[4], c.low);
    EXPECT_EQ(bytes[5], c.high);
    EXPECT_EQ(bytes[3], kCanary);
    EXPECT_EQ(bytes[6], kCanary);
  }
}

// A buffer one byte short of its sound must come back untouched, and what is
// played or saved of a buffer never runs past its end.
TEST(WaveImageBounds, ShortBuffersAreNeverWrittenAndImagesAreCutToTheBuffer) {
  struct Case {
    const char* name;
    std::size_t needed;
    void (*render)(std::span<std::uint8_t>);
  };
  const Case cases[] = {
      {"pattern", 44 + kTwoSecondDataSize,
       [](std::span<std::uint8_t> b) {
         RenderTestPattern(b, 1000, 9000, {true, true, true, true, true});
       }},
      {"continuous", 44 + kTwoSecondDataSize,
       [](std::span<std::uint8_t> b) { RenderContinuousTone(b, 1000, 9000); }},
      {"silence", 44 + kTwoSecondDataSize, [](std::span<std::uint8_t> b) { RenderSilence(b); }},
      {"sample", 44 + kVolumeSampleDataSize,
       [](std::span<std::uint8_t> b) { RenderVolumeSample(b, 9000); }},
      {"export", 44 + kTwoSecondDataSize,
       [](std::span<std::uint8_t> b) { RenderExportTone(b, 440.0, 9000, true); }},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> bytes(c.needed - 1, kCanary);
    c.render(bytes);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), kCanary),
              static_cast<std::ptrdiff_t>(bytes.size()))
        << c.name;
  }

  std::vector<std::uint8_t> image(100, 0);
  WriteWaveHeader(image, kTwoSecondDataSize);
  EXPECT_EQ(WaveImageBytes(image).size(), 100u);
  EXPECT_EQ(WaveImageBytes(std::span(image).first(43)).size(), 0u);
  EXPECT_EQ(WaveDataSize(std::span(image).first(43)), 0u);
}

}  // namespace
}  // namespace kelvora
