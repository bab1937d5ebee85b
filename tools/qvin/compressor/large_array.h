// Big uninitialised arrays backed by huge pages where the system offers them.
#pragma once

#include <cstddef>
#include <utility>

namespace qvin {

// Memory for `bytes` bytes, asking for huge pages: the match finder reads its tables
// and the input at random, and small pages would miss the TLB on most steps.
// Throws std::bad_alloc.
void* allocate_large(size_t bytes);
void free_large(void* p);

template <class T>
class LargeArray {
 public:
  LargeArray() = default;
  explicit LargeArray(size_t count) : data_(static_cast<T*>(allocate_large(count * sizeof(T)))) {}
  LargeArray(LargeArray&& other) noexcept : data_(std::exchange(other.data_, nullptr)) {}
  LargeArray& operator=(LargeArray&& other) noexcept {
    std::swap(data_, other.data_);
    return *this;
  }
  ~LargeArray() { free_large(data_); }

  T& operator[](size_t i) { return data_[i]; }
  const T& operator[](size_t i) const { return data_[i]; }
  T* get() { return data_; }
  const T* get() const { return data_; }

 private:
  T* data_ = nullptr;
};

}  // namespace qvin
