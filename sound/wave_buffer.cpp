#include "sound/wave_buffer.h"

#include <cstdlib>

namespace kelvora {
namespace {

class MallocAllocator final : public BufferAllocator {
 public:
  std::uint8_t* Allocate(std::size_t size) override {
    return static_cast<std::uint8_t*>(std::malloc(size));
  }
  void Release(std::uint8_t* block) override { std::free(block); }
};

MallocAllocator g_mallocAllocator;
BufferAllocator* g_allocator = &g_mallocAllocator;

}  // namespace

void SetBufferAllocator(BufferAllocator* allocator) {
  g_allocator = allocator != nullptr ? allocator : &g_mallocAllocator;
}

bool WaveBuffer::Allocate(std::size_t size) {
  Release();
  data_ = g_allocator->Allocate(size);
  if (data_ == nullptr) return false;
  size_ = size;
  allocator_ = g_allocator;
  return true;
}

void WaveBuffer::Release() {
  if (data_ == nullptr) return;
  allocator_->Release(data_);
  data_ = nullptr;
  size_ = 0;
  allocator_ = nullptr;
}

}  // namespace kelvora
