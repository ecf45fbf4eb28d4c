#include "sound/two_channel_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sound/player.h"
#include "sound/synthesis.h"
#include "sound/wave_buffer.h"

namespace kelvora {
namespace {

std::uint32_t Read32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

TEST(TwoChannelImage, EachEarGetsTheMonoSamplesExactlyAndTheOtherZeros) {
  // The buzz in its buffer: the spare tail past the image must not leak in.
  std::vector<std::uint8_t> chime(kChimeWaveBufferSize, 0xAA);
  std::vector<std::uint8_t> buzz(kBuzzWaveBufferSize, 0xAA);
  RenderChimeAndBuzz(chime, buzz, 30000);
  const std::span<const std::uint8_t> mono = WaveImageBytes(buzz);
  const std::size_t samples = (mono.size() - 44) / 2;
  const struct {
    Ear ear;
    bool left, right;
  } cases[] = {{Ear::Left, true, false}, {Ear::Right, false, true}, {Ear::Both, true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.ear));
    std::vector<std::uint8_t> out(TwoChannelImageSize(buzz), 0x55);
    ASSERT_EQ(out.size(), 44 + 4 * samples);
    WriteTwoChannelImage(buzz, c.ear, out);
    EXPECT_EQ(std::string(out.begin(), out.begin() + 4), "RIFF");
    EXPECT_EQ(Read32(out, 4), 36 + 4 * samples);
    EXPECT_EQ(out[22] | out[23] << 8, 2);     // channels
    EXPECT_EQ(Read32(out, 24), 48000u);       // rate
    EXPECT_EQ(Read32(out, 28), 192000u);      // bytes per second
    EXPECT_EQ(out[32] | out[33] << 8, 4);     // bytes per frame
    EXPECT_EQ(out[34] | out[35] << 8, 16);    // bits
    EXPECT_EQ(Read32(out, 40), 4 * samples);  // data size
    std::size_t wrong = 0;
    for (std::size_t k = 0; k < samples; ++k) {
      const std::uint8_t low = mono[44 + 2 * k], high = mono[45 + 2 * k];
      const std::uint8_t* frame = out.data() + 44 + 4 * k;
      wrong += frame[0] != (c.left ? low : 0) || frame[1] != (c.left ? high : 0) ||
               frame[2] != (c.right ? low : 0) || frame[3] != (c.right ? high : 0);
    }
    EXPECT_EQ(wrong, 0u);
  }
}

}  // namespace
}  // namespace kelvora
