#pragma once

#include <array>
#include <cstddef>
#include <utility>
#include <vector>

namespace kelvora {

// Where the cell store's row blocks come from. A grid of a million date rows
// holds a million small blocks of one size; taking each from the general heap
// costs a call and eight bytes of bookkeeping a block, and the fresh memory
// arrives a small page at a time, each page a fault. Here blocks are carved
// out of chunks that double in size up to 2 MiB, and the big chunks are
// offered to the system as huge pages, so a large fill faults once per 2 MiB.
//
// A released block goes to a free list of its size and is handed out again;
// the chunks themselves go back only all at once (ReleaseAll), which the
// store does when it holds no row any more. Large blocks (wide rows) come
// from the general heap as before.
//
// A pool belongs to one store and, like the grid, to one thread.
class TRowBlockPool {
 public:
  // Blocks up to this size come from the chunks.
  static constexpr std::size_t kLargestPooled = 1024;
  // The sanitizer build checks every row block on its own, which it can do
  // only for blocks of the general heap; there the pool hands every block on.
  // GCC names that build with a macro, clang (before version 17) only
  // through __has_feature.
#if defined(__SANITIZE_ADDRESS__)
  static constexpr bool kPooling = false;
#elif defined(__has_feature)
  static constexpr bool kPooling = !__has_feature(address_sanitizer);
#else
  static constexpr bool kPooling = true;
#endif

  TRowBlockPool() = default;
  ~TRowBlockPool();
  TRowBlockPool(const TRowBlockPool&) = delete;
  TRowBlockPool& operator=(const TRowBlockPool&) = delete;

  // Aligned for any object of the store (8 bytes at least).
  void* Allocate(std::size_t bytes);
  // `bytes` is the size the block was allocated with.
  void Release(void* block, std::size_t bytes) noexcept;
  // Gives every chunk back to the system. Every block must be released first.
  void ReleaseAll() noexcept;
  // Trades chunks with another pool, for stores that trade their rows.
  void Swap(TRowBlockPool& other) noexcept {
    std::swap(free_, other.free_);
    std::swap(cursor_, other.cursor_);
    std::swap(end_, other.end_);
    chunks_.swap(other.chunks_);
    std::swap(nextChunkBytes_, other.nextChunkBytes_);
    std::swap(chunkBytes_, other.chunkBytes_);
  }

  // Bytes held in chunks, used or not.
  std::size_t ChunkBytes() const { return chunkBytes_; }

 private:
  static constexpr std::size_t kGrain = 8;
  static constexpr std::size_t kClasses = kLargestPooled / kGrain + 1;
  static constexpr std::size_t kFirstChunkBytes = std::size_t{16} << 10;
  static constexpr std::size_t kHugeChunkBytes = std::size_t{2} << 20;

  struct TFreeBlock {
    TFreeBlock* next;
  };
  struct TChunk {
    void* memory;
    bool huge;  // from aligned_alloc rather than operator new
  };

  static std::size_t ClassOf(std::size_t bytes) { return (bytes + kGrain - 1) / kGrain; }
  void* Carve(std::size_t bytes);
  void AddChunk();

  std::array<TFreeBlock*, kClasses> free_{};
  char* cursor_ = nullptr;  // the unused rest of the newest chunk
  char* end_ = nullptr;
  std::vector<TChunk> chunks_;
  std::size_t nextChunkBytes_ = kFirstChunkBytes;
  std::size_t chunkBytes_ = 0;
};

// Allocates the store's table of rows. The table of a million rows is
// eight megabytes that is copied into a fresh buffer twice as large each time
// it fills; buffers of 2 MiB and more are offered as huge pages, so that each
// fresh buffer costs a few faults instead of thousands.
void* AllocateRowTable(std::size_t bytes);
void ReleaseRowTable(void* table, std::size_t bytes) noexcept;

template <typename T>
struct TRowTableAllocator {
  using value_type = T;

  TRowTableAllocator() = default;
  template <typename U>
  TRowTableAllocator(const TRowTableAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) { return static_cast<T*>(AllocateRowTable(n * sizeof(T))); }
  void deallocate(T* p, std::size_t n) noexcept { ReleaseRowTable(p, n * sizeof(T)); }

  template <typename U>
  bool operator==(const TRowTableAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace kelvora
