#include "sound/wave_buffer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace kelvora {
namespace {

// Hands out blocks from malloc, or none when told to fail, and records releases.
class RecordingAllocator final : public BufferAllocator {
 public:
  explicit RecordingAllocator(bool fail = false) : m_fail(fail) {}
  std::uint8_t* Allocate(std::size_t size) override {
    sizes.push_back(size);
    if (m_fail) return nullptr;
    auto* block = static_cast<std::uint8_t*>(std::malloc(size));
    made.push_back(block);
    return block;
  }
  void Release(std::uint8_t* block) override {
    released.push_back(block);
    std::free(block);
  }
  std::vector<std::size_t> sizes;
  std::vector<std::uint8_t*> made;
  std::vector<std::uint8_t*> released;

 private:
  bool m_fail;
};

// Puts the default allocator back whatever a test does.
class WaveBufferTest : public ::testing::Test {
 protected:
  void TearDown() override { SetBufferAllocator(nullptr); }
};

TEST_F(WaveBufferTest, FailedAllocationLeavesNoBlock) {
  RecordingAllocator failing(/*fail=*/true);
  SetBufferAllocator(&failing);
  WaveBuffer buffer;
  EXPECT_FALSE(buffer.Allocate(kTestWaveBufferSize));
  EXPECT_FALSE(buffer.IsAllocated());
  EXPECT_EQ(buffer.data(), nullptr);
  EXPECT_EQ(buffer.size(), 0u);
  buffer.Release();
  EXPECT_TRUE(failing.released.empty());
  EXPECT_EQ(failing.sizes, std::vector<std::size_t>{kTestWaveBufferSize});
}

TEST_F(WaveBufferTest, BlockGoesBackToTheAllocatorThatMadeItOnce) {
  RecordingAllocator first;
  RecordingAllocator second;
  SetBufferAllocator(&first);
  {
    WaveBuffer buffer;
    ASSERT_TRUE(buffer.Allocate(kChimeWaveBufferSize));
    EXPECT_EQ(buffer.size(), kChimeWaveBufferSize);
    std::uint8_t* block = buffer.data();
    // A different allocator installed meanwhile does not receive this block.
    SetBufferAllocator(&second);
    buffer.Release();
    buffer.Release();  // a second release is harmless
    EXPECT_FALSE(buffer.IsAllocated());
    EXPECT_EQ(first.released, std::vector<std::uint8_t*>{block});
    EXPECT_TRUE(second.released.empty());
  }  // destroying a released buffer releases nothing more
  EXPECT_EQ(first.released.size(), 1u);
  EXPECT_TRUE(second.released.empty());
}

TEST_F(WaveBufferTest, ReallocatingAndDestroyingReleaseEachBlockExactlyOnce) {
  RecordingAllocator allocator;
  SetBufferAllocator(&allocator);
  {
    WaveBuffer buffer;
    ASSERT_TRUE(buffer.Allocate(kBuzzWaveBufferSize));
    ASSERT_TRUE(buffer.Allocate(kSampleWaveBufferSize));
    EXPECT_EQ(buffer.size(), kSampleWaveBufferSize);
    ASSERT_EQ(allocator.made.size(), 2u);
    EXPECT_EQ(allocator.released, std::vector<std::uint8_t*>{allocator.made[0]});
  }
  EXPECT_EQ(allocator.released, allocator.made);
}

}  // namespace
}  // namespace kelvora
