// The chunked store of the per-second states: stable elements while
// appending, and nothing but the elements kept after shrink_to_fit.

#include "engine/chunked_vector.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

struct SValue {
  int a = 0;
  double b = 0.0;
};

TEST(ChunkedVector, AppendingNeverMovesStoredElements) {
  CChunkedVector<SValue, 4> v;
  v.emplace_back().a = 7;
  const SValue* first = &v[0];
  for (int i = 1; i < 100; ++i) v.emplace_back().a = i;
  EXPECT_EQ(first, &v[0]);
  EXPECT_EQ(v[0].a, 7);
  EXPECT_EQ(v[99].a, 99);
  v.resize_down(50);
  v.shrink_to_fit();
  EXPECT_EQ(v.size(), 50u);
  EXPECT_EQ(v[49].a, 49);
}

TEST(ChunkedVector, FewElementsKeepStorageOfTheirSizeOnly) {
  CChunkedVector<SValue, 4> v;
  for (int i = 0; i < 40; ++i) v.emplace_back().a = i;
  const SValue last = v.back();
  v.clear();
  v.push_back(last);
  v.shrink_to_fit();
  EXPECT_EQ(v.first_chunk_capacity(), 1u) << "one state, not a chunk of 16";
  EXPECT_EQ(v.back().a, 39);

  // Appending again moves the element into a whole chunk, once.
  for (int i = 0; i < 20; ++i) v.emplace_back().a = 100 + i;
  EXPECT_EQ(v.first_chunk_capacity(), 16u);
  EXPECT_EQ(v[0].a, 39);
  EXPECT_EQ(v[20].a, 119);

  v.resize_down(2);
  v.shrink_to_fit();
  EXPECT_EQ(v.first_chunk_capacity(), 2u);
  v.clear();
  EXPECT_EQ(v.first_chunk_capacity(), 16u) << "a new calculation starts with whole chunks";
  v.emplace_back().a = 1;
  const SValue* first = &v[0];
  for (int i = 0; i < 30; ++i) v.emplace_back();
  EXPECT_EQ(first, &v[0]);
}

TEST(ChunkedVector, WholeChunksGivenUpAreReusedOnTheSameThread) {
  const SValue* address = nullptr;
  {
    CChunkedVector<SValue, 4> v;
    for (int i = 0; i < 20; ++i) v.emplace_back();
    address = &v[16];
    v.resize_down(1);
    v.shrink_to_fit();  // gives up the second chunk, then the first
  }
  CChunkedVector<SValue, 4> w;
  w.emplace_back();
  EXPECT_EQ(&w[0], address) << "the chunk given up last comes back first";
}

}  // namespace
}  // namespace kv
