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
  m_data = g_allocator->Allocate(size);
  if (m_data == nullptr) return false;
  m_size = size;
  m_allocator = g_allocator;
  return true;
}

void WaveBuffer::Release() {
  if (m_data == nullptr) return;
  m_allocator->Release(m_data);
  m_data = nullptr;
  m_size = 0;
  m_allocator = nullptr;
}

}  // namespace kelvora
