#pragma once
// A vector of values stored in fixed-size chunks: appending never moves the
// elements already stored, so a 24-hour series of per-second states grows
// without the copy (and the doubled peak memory) of a reallocating vector.
// Chunks stay allocated across clear() so that recalculating a dive (as
// bailout planning and table generation do many times) touches no new memory.
//
// shrink_to_fit() keeps no more than the elements themselves: a dive of a
// table generation run keeps one state of its last second, and hundreds of
// such dives must not each hold a whole chunk. Only then may an append move
// the (few) elements once, into a full chunk; clear() starts over with full chunks.
//
// Whole chunks given up by any vector of a thread (by shrink_to_fit or
// destruction) are kept, a few of them, for the next vector that grows on
// that thread: a table generation run calculates hundreds of dives one after
// another on each thread, and memory handed back to the system after every
// dive has to be faulted in again for the next (five times the run's time).

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

namespace kv {
namespace chunk_detail {
// Set when this thread's spare chunks are gone (the thread is ending), so
// that a vector destroyed later frees its chunks instead of keeping them.
inline thread_local bool t_spareGone = false;
}  // namespace chunk_detail

template <typename T, std::size_t ChunkBits = 12>
class CChunkedVector {
  static_assert(std::is_trivially_destructible_v<T>, "elements are never destroyed one by one");

public:
  static constexpr std::size_t kChunk = std::size_t{1} << ChunkBits;

  // Spare whole chunks kept per thread.
  static constexpr std::size_t kMaxSpareChunks = 8;

  CChunkedVector() = default;
  ~CChunkedVector() {
    for (std::size_t i = 0; i < m_chunks.size(); ++i)
      if (IsWhole(i)) Recycle(std::move(m_chunks[i]));
  }
  // Copies the elements (a dive copied for bailout planning on another thread).
  CChunkedVector(const CChunkedVector& other) { *this = other; }
  // Copies the elements into the chunks this vector already has, so that a
  // dive copied again and again touches no new memory.
  CChunkedVector& operator=(const CChunkedVector& other) {
    if (this == &other) return *this;
    clear();
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
    if (m_size == m_firstCapacity) GrowFirstChunk();
    if ((m_size >> ChunkBits) >= m_chunks.size()) m_chunks.push_back(NewChunk());
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
      ReleaseChunksFrom(0);
      m_chunks.push_back(std::move(exact));
      m_firstCapacity = m_size;
    } else {
      ReleaseChunksFrom((m_size + kChunk - 1) >> ChunkBits);
      if (m_size == 0) m_firstCapacity = kChunk;
    }
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
    std::unique_ptr<Storage[]> whole = NewChunk();
    for (std::size_t i = 0; i < m_size; ++i) ::new (static_cast<void*>(whole[i].bytes)) T(Slot(i));
    m_chunks[0] = std::move(whole);
    m_firstCapacity = kChunk;
  }
  bool IsWhole(std::size_t chunk) const { return chunk > 0 || m_firstCapacity == kChunk; }
  // Gives up the chunks from index first on, keeping whole ones as spares.
  void ReleaseChunksFrom(std::size_t first) {
    for (std::size_t i = first; i < m_chunks.size(); ++i)
      if (IsWhole(i)) Recycle(std::move(m_chunks[i]));
    if (first < m_chunks.size()) m_chunks.resize(first);
  }

  struct SSpare {
    std::vector<std::unique_ptr<Storage[]>> chunks;
    ~SSpare() { chunk_detail::t_spareGone = true; }
  };
  static SSpare* Spare() {
    if (chunk_detail::t_spareGone) return nullptr;
    thread_local SSpare spare;
    return &spare;
  }
  static std::unique_ptr<Storage[]> NewChunk() {
    SSpare* spare = Spare();
    if (spare && !spare->chunks.empty()) {
      std::unique_ptr<Storage[]> chunk = std::move(spare->chunks.back());
      spare->chunks.pop_back();
      return chunk;
    }
    return std::unique_ptr<Storage[]>(new Storage[kChunk]);
  }
  static void Recycle(std::unique_ptr<Storage[]> chunk) {
    SSpare* spare = Spare();
    if (chunk && spare && spare->chunks.size() < kMaxSpareChunks) spare->chunks.push_back(std::move(chunk));
  }

  T& Slot(std::size_t i) {
    return *std::launder(reinterpret_cast<T*>(m_chunks[i >> ChunkBits][i & (kChunk - 1)].bytes));
  }

  std::vector<std::unique_ptr<Storage[]>> m_chunks;
  std::size_t m_size = 0;
  std::size_t m_firstCapacity = kChunk;
};

}  // namespace kv
