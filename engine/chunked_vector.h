#pragma once
// A vector of values stored in fixed-size chunks: appending never moves the
// elements already stored, so a 24-hour series of per-second states grows
// without the copy (and the doubled peak memory) of a reallocating vector.
// Chunks stay allocated across clear() so that recalculating a dive (as
// bailout planning does many times) touches no new memory.
//
// shrink_to_fit() keeps no more than the elements themselves: a dive of a
// table generation run keeps one state of its last second, and hundreds of
// such dives must not each hold a whole chunk. Only then may an append move
// the (few) elements once, into a full chunk; clear() starts over with full chunks.

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

namespace kv {

template <typename T, std::size_t ChunkBits = 12>
class CChunkedVector {
  static_assert(std::is_trivially_destructible_v<T>, "elements are never destroyed one by one");

public:
  static constexpr std::size_t kChunk = std::size_t{1} << ChunkBits;

  CChunkedVector() = default;
  CChunkedVector(const CChunkedVector&) = delete;
  CChunkedVector& operator=(const CChunkedVector&) = delete;

  std::size_t size() const { return m_size; }
  bool empty() const { return m_size == 0; }

  T& operator[](std::size_t i) { return Slot(i); }
  const T& operator[](std::size_t i) const { return const_cast<CChunkedVector*>(this)->Slot(i); }
  T& back() { return Slot(m_size - 1); }
  const T& back() const { return (*this)[m_size - 1]; }

  // Appends a default-constructed value and returns it.
  T& emplace_back() {
    if (m_size == m_firstCapacity) GrowFirstChunk();
    if ((m_size >> ChunkBits) >= m_chunks.size()) m_chunks.emplace_back(new Storage[kChunk]);
    T* slot = ::new (static_cast<void*>(&m_chunks[m_size >> ChunkBits][m_size & (kChunk - 1)])) T();
    ++m_size;
    return *slot;
  }
  void push_back(const T& value) { emplace_back() = value; }

  // Drops the elements past n.
  void resize_down(std::size_t n) {
    if (n < m_size) m_size = n;
  }
  void clear() {
    m_size = 0;
    if (m_firstCapacity < kChunk) {
      m_chunks.clear();
      m_firstCapacity = kChunk;
    }
  }
  // Frees the chunks that hold no element; fewer elements than a chunk
  // holds move to storage of just their size.
  void shrink_to_fit() {
    if (m_size > 0 && m_size < kChunk && m_firstCapacity != m_size) {
      std::unique_ptr<Storage[]> exact(new Storage[m_size]);
      for (std::size_t i = 0; i < m_size; ++i) ::new (static_cast<void*>(exact[i].bytes)) T(Slot(i));
      m_chunks.clear();
      m_chunks.push_back(std::move(exact));
      m_firstCapacity = m_size;
    } else if (m_size == 0) {
      m_firstCapacity = kChunk;
    }
    m_chunks.resize((m_size + kChunk - 1) >> ChunkBits);
    m_chunks.shrink_to_fit();
  }
  // Elements the first chunk can hold (a whole chunk unless shrunk).
  std::size_t first_chunk_capacity() const { return m_firstCapacity; }

private:
  struct Storage {
    alignas(T) unsigned char bytes[sizeof(T)];
  };
  // After shrink_to_fit the first chunk may be full at fewer elements than
  // a chunk holds: the elements move to a whole chunk.
  void GrowFirstChunk() {
    if (m_size >= kChunk || m_chunks.empty()) return;
    std::unique_ptr<Storage[]> whole(new Storage[kChunk]);
    for (std::size_t i = 0; i < m_size; ++i) ::new (static_cast<void*>(whole[i].bytes)) T(Slot(i));
    m_chunks[0] = std::move(whole);
    m_firstCapacity = kChunk;
  }
  T& Slot(std::size_t i) {
    return *std::launder(reinterpret_cast<T*>(m_chunks[i >> ChunkBits][i & (kChunk - 1)].bytes));
  }

  std::vector<std::unique_ptr<Storage[]>> m_chunks;
  std::size_t m_size = 0;
  std::size_t m_firstCapacity = kChunk;
};

}  // namespace kv
