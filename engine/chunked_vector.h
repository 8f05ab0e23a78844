#pragma once
// A vector of values stored in fixed-size chunks: appending never moves the
// elements already stored, so a 24-hour series of per-second states grows
// without the copy (and the doubled peak memory) of a reallocating vector.
// Chunks stay allocated across clear() so that recalculating a dive (as
// bailout planning and table generation do many times) touches no new memory.

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
  // Copies the elements (a dive copied for bailout planning on another thread).
  CChunkedVector(const CChunkedVector& other) { *this = other; }
  // Copies the elements into the chunks this vector already has, so that a
  // dive copied again and again touches no new memory.
  CChunkedVector& operator=(const CChunkedVector& other) {
    if (this == &other) return *this;
    m_size = 0;
    for (std::size_t i = 0; i < other.m_size; ++i) emplace_back() = other[i];
    return *this;
  }

  std::size_t size() const { return m_size; }
  bool empty() const { return m_size == 0; }

  T& operator[](std::size_t i) { return Slot(i); }
  const T& operator[](std::size_t i) const { return const_cast<CChunkedVector*>(this)->Slot(i); }
  T& back() { return Slot(m_size - 1); }
  const T& back() const { return (*this)[m_size - 1]; }

  // Appends a default-constructed value and returns it.
  T& emplace_back() {
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
  void clear() { m_size = 0; }
  // Frees the chunks that hold no element.
  void shrink_to_fit() {
    m_chunks.resize((m_size + kChunk - 1) >> ChunkBits);
    m_chunks.shrink_to_fit();
  }

private:
  struct Storage {
    alignas(T) unsigned char bytes[sizeof(T)];
  };
  T& Slot(std::size_t i) {
    return *std::launder(reinterpret_cast<T*>(m_chunks[i >> ChunkBits][i & (kChunk - 1)].bytes));
  }

  std::vector<std::unique_ptr<Storage[]>> m_chunks;
  std::size_t m_size = 0;
};

}  // namespace kv
