#pragma once
// A vector of values stored in fixed-size chunks: appending never moves the
// elements already stored, so a 24-hour series of per-second states grows
// without the copy (and the doubled peak memory) of a reallocating vector.

#include <cstddef>
#include <array>
#include <memory>
#include <vector>

namespace kv {

template <typename T, std::size_t ChunkBits = 12>
class CChunkedVector {
public:
  static constexpr std::size_t kChunk = std::size_t{1} << ChunkBits;

  std::size_t size() const { return m_size; }
  bool empty() const { return m_size == 0; }

  T& operator[](std::size_t i) { return (*m_chunks[i >> ChunkBits])[i & (kChunk - 1)]; }
  const T& operator[](std::size_t i) const { return (*m_chunks[i >> ChunkBits])[i & (kChunk - 1)]; }
  T& back() { return (*this)[m_size - 1]; }
  const T& back() const { return (*this)[m_size - 1]; }

  // Appends a default value and returns it (the slot is reset, not reallocated).
  T& emplace_back() {
    if ((m_size >> ChunkBits) >= m_chunks.size()) m_chunks.push_back(std::make_unique<Chunk>());
    T& slot = (*this)[m_size];
    slot = T();
    ++m_size;
    return slot;
  }
  void push_back(const T& value) { emplace_back() = value; }

  // Drops elements past n; the chunks are kept for reuse unless shrink is asked.
  void resize_down(std::size_t n) {
    if (n < m_size) m_size = n;
  }
  void clear() { m_size = 0; }
  // Frees the chunks that hold no element.
  void shrink_to_fit() {
    std::size_t needed = (m_size + kChunk - 1) >> ChunkBits;
    m_chunks.resize(needed);
    m_chunks.shrink_to_fit();
  }
  void release() {
    m_size = 0;
    m_chunks.clear();
    m_chunks.shrink_to_fit();
  }

private:
  using Chunk = std::array<T, kChunk>;
  std::vector<std::unique_ptr<Chunk>> m_chunks;
  std::size_t m_size = 0;
};

}  // namespace kv
