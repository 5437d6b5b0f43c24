#include "grid/store/row_block_pool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "grid/store/cell_store.h"

namespace kelvora {
namespace {

struct TBlock {
  void* memory;
  std::size_t bytes;
};

TEST(RowBlockPool, HandsOutSeparateAlignedBlocksOfEverySize) {
  TRowBlockPool pool;
  std::vector<TBlock> blocks;
  for (int i = 0; i < 3000; ++i) {
    const std::size_t bytes = 16 + 8 * static_cast<std::size_t>(i % 140);  // some past the pooled sizes
    void* memory = pool.Allocate(bytes);
    ASSERT_EQ(reinterpret_cast<std::uintptr_t>(memory) % 8, 0u);
    std::memset(memory, i & 0xFF, bytes);
    blocks.push_back({memory, bytes});
  }
  // Each block kept what was written into it, so none overlaps another.
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    const auto* bytes = static_cast<const unsigned char*>(blocks[i].memory);
    for (std::size_t b = 0; b < blocks[i].bytes; ++b) ASSERT_EQ(bytes[b], i & 0xFF) << "block " << i;
  }
  for (const TBlock& block : blocks) pool.Release(block.memory, block.bytes);
}

TEST(RowBlockPool, AReleasedBlockIsHandedOutAgainForTheSameSize) {
  if (!TRowBlockPool::kPooling) GTEST_SKIP() << "the sanitizer build takes every block from the heap";
  TRowBlockPool pool;
  void* first = pool.Allocate(72);
  void* second = pool.Allocate(72);
  pool.Release(first, 72);
  EXPECT_EQ(pool.Allocate(72), first);
  EXPECT_NE(pool.Allocate(72), second);
  const std::size_t held = pool.ChunkBytes();
  for (int round = 0; round < 10000; ++round) pool.Release(pool.Allocate(80), 80);
  EXPECT_EQ(pool.ChunkBytes(), held);
}

TEST(RowBlockPool, ChunksGrowUpToHugePagesAndGoBackAllAtOnce) {
  if (!TRowBlockPool::kPooling) GTEST_SKIP() << "the sanitizer build takes every block from the heap";
  TRowBlockPool pool;
  for (int i = 0; i < 100000; ++i) pool.Allocate(72);  // 7.2 MB of blocks
  EXPECT_GE(pool.ChunkBytes(), std::size_t{7200000});
  EXPECT_LT(pool.ChunkBytes(), std::size_t{7200000} + (std::size_t{6} << 20));
  pool.ReleaseAll();
  EXPECT_EQ(pool.ChunkBytes(), 0u);
  void* again = pool.Allocate(72);
  EXPECT_NE(again, nullptr);
  EXPECT_EQ(pool.ChunkBytes(), std::size_t{16} << 10);
}

// The store gives its chunks back once it holds nothing, so a grid emptied
// by File > Open does not keep the memory of the file before.
TEST(RowBlockPool, AnEmptiedStoreReusesItsMemoryAndHoldsNoneOnceEmpty) {
  if (!TRowBlockPool::kPooling) GTEST_SKIP() << "the sanitizer build takes every block from the heap";
  TCellStore store;
  store.SetColumnCapacityHint(7);
  for (int round = 0; round < 3; ++round) {
    for (int row = 0; row < 20000; ++row)
      for (int col = 0; col < 7; ++col) store.SetText(col, row, "ab");
    EXPECT_EQ(store.CheckConsistency(), "");
    const std::size_t held = store.RowBlockBytes();
    EXPECT_GT(held, std::size_t{20000} * 72);
    store.EraseRange(0, 0, 6, 9999);
    for (int row = 0; row < 10000; ++row) store.SetText(0, row, "cd");
    EXPECT_EQ(store.RowBlockBytes(), held);
    store.EraseRange(0, 0, 6, 19999);
    EXPECT_TRUE(store.Empty());
    EXPECT_EQ(store.RowBlockBytes(), 0u);
  }
  for (int row = 0; row < 20000; ++row) store.SetText(3, row, "abc");
  store.RemoveRows(0, 20000);
  EXPECT_TRUE(store.Empty());
  EXPECT_EQ(store.RowBlockBytes(), 0u);
  EXPECT_EQ(store.CheckConsistency(), "");
}

}  // namespace
}  // namespace kelvora
