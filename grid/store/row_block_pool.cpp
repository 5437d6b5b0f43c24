#include "grid/store/row_block_pool.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>

namespace kelvora {

TRowBlockPool::~TRowBlockPool() { ReleaseAll(); }

void* TRowBlockPool::Allocate(std::size_t bytes) {
  if (!kPooling || bytes > kLargestPooled) return ::operator new(bytes);
  const std::size_t sizeClass = ClassOf(bytes);
  if (TFreeBlock* block = free_[sizeClass]) {
    free_[sizeClass] = block->next;
    return block;
  }
  return Carve(sizeClass * kGrain);
}

void TRowBlockPool::Release(void* block, std::size_t bytes) noexcept {
  if (!block) return;
  if (!kPooling || bytes > kLargestPooled) {
    ::operator delete(block);
    return;
  }
  const std::size_t sizeClass = ClassOf(bytes);
  free_[sizeClass] = new (block) TFreeBlock{free_[sizeClass]};
}

void* TRowBlockPool::Carve(std::size_t bytes) {
  if (static_cast<std::size_t>(end_ - cursor_) < bytes) AddChunk();
  void* block = cursor_;
  cursor_ += bytes;
  return block;
}

// The chunk list grows before the chunk is made, so that a failure leaves
// nothing behind.
void TRowBlockPool::AddChunk() {
  chunks_.reserve(chunks_.size() + 1);
  const std::size_t bytes = nextChunkBytes_;
  const bool huge = bytes >= kHugeChunkBytes;
  void* memory = huge ? std::aligned_alloc(kHugeChunkBytes, bytes) : ::operator new(bytes);
  if (!memory) throw std::bad_alloc();
  // Only advice: where huge pages are off, the chunk is simply ordinary memory.
  if (huge) ::madvise(memory, bytes, MADV_HUGEPAGE);
  chunks_.push_back({memory, huge});
  chunkBytes_ += bytes;
  cursor_ = static_cast<char*>(memory);
  end_ = cursor_ + bytes;
  if (!huge) nextChunkBytes_ *= 2;
}

void TRowBlockPool::ReleaseAll() noexcept {
  for (const TChunk& chunk : chunks_) {
    if (chunk.huge) {
      std::free(chunk.memory);
    } else {
      ::operator delete(chunk.memory);
    }
  }
  chunks_.clear();
  free_.fill(nullptr);
  cursor_ = end_ = nullptr;
  nextChunkBytes_ = kFirstChunkBytes;
  chunkBytes_ = 0;
}

namespace {

constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

std::size_t RoundedToHugePages(std::size_t bytes) {
  return (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
}

}  // namespace

void* AllocateRowTable(std::size_t bytes) {
  if (bytes < kHugePageBytes) return ::operator new(bytes);
  const std::size_t rounded = RoundedToHugePages(bytes);
  void* table = std::aligned_alloc(kHugePageBytes, rounded);
  if (!table) throw std::bad_alloc();
  ::madvise(table, rounded, MADV_HUGEPAGE);
  return table;
}

void ReleaseRowTable(void* table, std::size_t bytes) noexcept {
  if (bytes < kHugePageBytes) {
    ::operator delete(table);
  } else {
    std::free(table);
  }
}

}  // namespace kelvora
