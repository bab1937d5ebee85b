// Vector<T> (also called Array<T>): index-checked contiguous elements in one heap block of
// exactly count elements; and PointerArray<T>: small trivially copyable elements with
// growth slack.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <new>
#include <type_traits>
#include <utility>

#include "core/fatal.h"
#include "core/memory.h"

namespace core {

namespace detail {
// Heap sort over [first, first + n) in ascending order of compare (negative, 0, positive).
template <class T, class Compare>
void heap_sort(T* first, int32_t n, Compare compare) {
  auto sift_down = [&](int32_t root, int32_t end) {
    for (;;) {
      int32_t child = 2 * root + 1;
      if (child >= end) return;
      if (child + 1 < end && compare(first[child], first[child + 1]) < 0) ++child;
      if (compare(first[root], first[child]) >= 0) return;
      std::swap(first[root], first[child]);
      root = child;
    }
  };
  for (int32_t i = n / 2 - 1; i >= 0; --i) sift_down(i, n);
  for (int32_t end = n - 1; end > 0; --end) {
    std::swap(first[0], first[end]);
    sift_down(0, end);
  }
}

// Bytes for n elements of size bytes each, or 0 when that does not fit a size_t.
inline size_t block_bytes(int32_t n, size_t size) {
  if (n <= 0) return 0;
  if (static_cast<size_t>(n) > static_cast<size_t>(-1) / size) return 0;
  return static_cast<size_t>(n) * size;
}
}  // namespace detail

// Contiguous elements in one heap block that always holds exactly count() elements: every
// change of size allocates a block of the new count, moves the kept elements over and
// frees the old one. at() and [] check the index: outside 0..count-1 ends the program
// with "Vector<type>[index]\nmax_index = count-1".
template <class T>
class Vector {
  static_assert(alignof(T) <= alignof(max_align_t), "over-aligned elements are not supported");

 public:
  Vector() = default;
  Vector(const Vector& other) { copy_from(other); }
  Vector(Vector&& other) noexcept : items_(other.items_), count_(other.count_) {
    other.items_ = nullptr;
    other.count_ = 0;
  }
  ~Vector() { clear(); }
  Vector& operator=(const Vector& other) {
    if (this != &other) copy_from(other);
    return *this;
  }
  Vector& operator=(Vector&& other) noexcept {
    if (this != &other) {
      clear();
      items_ = other.items_;
      count_ = other.count_;
      other.items_ = nullptr;
      other.count_ = 0;
    }
    return *this;
  }

  int32_t count() const { return count_; }
  bool is_empty() const { return count_ <= 0; }

  // Checked access.
  T& at(int32_t index) {
    check(index);
    return items_[index];
  }
  const T& at(int32_t index) const {
    check(index);
    return items_[index];
  }
  T& operator[](int32_t index) { return at(index); }
  const T& operator[](int32_t index) const { return at(index); }
  // Unchecked access: null for an index out of range.
  T* try_at(int32_t index) { return index >= 0 && index < count_ ? items_ + index : nullptr; }
  const T* try_at(int32_t index) const { return index >= 0 && index < count_ ? items_ + index : nullptr; }
  // The first / last element (checked).
  T& front() { return at(0); }
  T& back() { return at(count_ - 1); }
  const T& front() const { return at(0); }
  const T& back() const { return at(count_ - 1); }

  // The same count and equal elements in the same order.
  bool operator==(const Vector& other) const {
    if (count_ != other.count_) return false;
    for (int32_t i = 0; i < count_; ++i)
      if (!(items_[i] == other.items_[i])) return false;
    return true;
  }

  // Adds value at the end (value may be an element of this vector); returns the new element.
  T& append(const T& value) { return *grow_by_one(value); }
  T& append(T&& value) { return *grow_by_one(std::move(value)); }
  // Adds a default element at the end.
  T& append() { return *grow_by_one(); }
  // Appends copies of all elements of other.
  void append_all(const Vector& other) {
    if (other.count_ <= 0) return;
    if (&other == this) {
      Vector copy(other);
      append_all(copy);
      return;
    }
    const int32_t former = count_;
    set_count(count_ + other.count_);
    for (int32_t i = 0; i < other.count_; ++i) items_[former + i] = other.items_[i];
  }
  // Inserts value before index 0..count (count appends); another index is a bad index.
  T& insert(int32_t index, const T& value) {
    if (index != count_) check(index);
    T copy(value);
    append();
    for (int32_t i = count_ - 1; i > index; --i) items_[i] = std::move(items_[i - 1]);
    items_[index] = std::move(copy);
    return items_[index];
  }
  // Removes the element at index (checked).
  void remove(int32_t index) {
    check(index);
    remove_range(index, index);
  }
  // Keeps the elements outside the closed range first..last (clipped to the elements),
  // reallocating once; an empty result clears the vector. first > last does nothing.
  void remove_range(int32_t first, int32_t last) {
    if (first < 0) first = 0;
    if (last >= count_) last = count_ - 1;
    if (first > last) return;
    const int32_t removed = last - first + 1;
    const int32_t kept = count_ - removed;
    if (kept <= 0) {
      clear();
      return;
    }
    T* block = static_cast<T*>(allocate(detail::block_bytes(kept, sizeof(T))));
    int32_t to = 0;
    for (int32_t i = 0; i < count_; ++i) {
      if (i < first || i > last) new (block + to++) T(std::move(items_[i]));
    }
    replace_block(block, kept);
  }
  // Sets the number of elements: new ones are default-constructed, extra ones destroyed.
  void set_count(int32_t n) { resize(n, false); }
  // The same, but false (vector unchanged) when the block cannot be allocated.
  bool try_set_count(int32_t n) { return resize(n, true); }
  // Destroys all elements and frees the block.
  void clear() {
    destroy(items_, count_);
    release(items_);
    items_ = nullptr;
    count_ = 0;
  }
  // Sorts ascending by compare (negative, 0, positive); not stable.
  void sort(int (*compare)(const T&, const T&)) { detail::heap_sort(items_, count_, compare); }
  template <class Compare>
  void sort_by(Compare compare) {
    detail::heap_sort(items_, count_, compare);
  }

  T* begin() { return items_; }
  T* end() { return items_ + count_; }
  const T* begin() const { return items_; }
  const T* end() const { return items_ + count_; }
  T* data() { return items_; }
  const T* data() const { return items_; }

 private:
  void check(int32_t index) const {
    if (index < 0 || index >= count_) fatal_bad_index(type_name<T>(), index, count_);
  }
  static void destroy(T* items, int32_t n) {
    if constexpr (!std::is_trivially_destructible_v<T>) {
      for (int32_t i = 0; i < n; ++i) items[i].~T();
    }
  }
  // Makes block (holding n constructed elements) the storage, destroying the old one.
  void replace_block(T* block, int32_t n) {
    destroy(items_, count_);
    release(items_);
    items_ = block;
    count_ = n;
  }
  void copy_from(const Vector& other) {
    clear();
    if (other.count_ <= 0) return;
    T* block = static_cast<T*>(allocate(bytes_for(other.count_)));
    for (int32_t i = 0; i < other.count_; ++i) new (block + i) T(other.items_[i]);
    items_ = block;
    count_ = other.count_;
  }
  static size_t bytes_for(int32_t n) {
    size_t bytes = detail::block_bytes(n, sizeof(T));
    if (bytes == 0) out_of_memory(static_cast<size_t>(-1));
    return bytes;
  }
  bool resize(int32_t n, bool fallible) {
    if (n <= 0) {
      clear();
      return true;
    }
    if (n == count_) return true;
    T* block;
    if (fallible) {
      size_t bytes = detail::block_bytes(n, sizeof(T));
      block = bytes == 0 ? nullptr : static_cast<T*>(try_allocate(bytes));
      if (block == nullptr) return false;
    } else {
      block = static_cast<T*>(allocate(bytes_for(n)));
    }
    const int32_t kept = n < count_ ? n : count_;
    for (int32_t i = 0; i < kept; ++i) new (block + i) T(std::move(items_[i]));
    for (int32_t i = kept; i < n; ++i) new (block + i) T();
    replace_block(block, n);
    return true;
  }
  // One more element at the end, constructed from args before the old block goes (args
  // may refer to an element of this vector).
  template <class... Args>
  T* grow_by_one(Args&&... args) {
    if (count_ == 2147483647) out_of_memory(static_cast<size_t>(-1));
    const int32_t n = count_ + 1;
    T* block = static_cast<T*>(allocate(bytes_for(n)));
    new (block + count_) T(std::forward<Args>(args)...);
    for (int32_t i = 0; i < count_; ++i) new (block + i) T(std::move(items_[i]));
    replace_block(block, n);
    return items_ + n - 1;
  }

  T* items_ = nullptr;
  int32_t count_ = 0;
};

// The library's name for the same container.
template <class T>
using Array = Vector<T>;

// The capacity that a pointer array gives n elements: 6 when 3n is below 14, else 3n/2,
// but n + 2048 when 3n/2 four-byte slots would pass 8192 bytes.
inline int32_t pointer_array_capacity(int32_t n) {
  const int64_t triple = 3 * static_cast<int64_t>(n);
  if (triple < 14) return 6;
  const int64_t grown = triple / 2;
  if (grown * 4 > 8192) return n + 2048;
  return static_cast<int32_t>(grown);
}

// An array of small trivially copyable elements (pointers, handles, integers) that grows
// with slack by pointer_array_capacity and shrinks (to the capacity for its count) when
// more than 8191 bytes, counted in four-byte slots, would be left unused. Access is checked
// like Vector's.
template <class T>
class PointerArray {
  static_assert(std::is_trivially_copyable_v<T>, "PointerArray holds trivially copyable elements");

 public:
  PointerArray() = default;
  PointerArray(const PointerArray& other) { *this = other; }
  PointerArray& operator=(const PointerArray& other) {
    if (this == &other) return *this;
    clear();
    if (other.count_ > 0) {
      reserve_exactly(pointer_array_capacity(other.count_));
      memcpy(items_, other.items_, static_cast<size_t>(other.count_) * sizeof(T));
      count_ = other.count_;
    }
    return *this;
  }
  ~PointerArray() { release(items_); }

  int32_t count() const { return count_; }
  bool is_empty() const { return count_ <= 0; }
  int32_t capacity() const { return capacity_; }

  T& at(int32_t index) {
    check(index);
    return items_[index];
  }
  const T& at(int32_t index) const {
    check(index);
    return items_[index];
  }
  T& operator[](int32_t index) { return at(index); }
  const T& operator[](int32_t index) const { return at(index); }
  T* try_at(int32_t index) { return index >= 0 && index < count_ ? items_ + index : nullptr; }

  void append(T value) { insert(count_, value); }
  // Inserts before index 0..count.
  void insert(int32_t index, T value) {
    if (index != count_) check(index);
    if (count_ + 1 > capacity_) reserve_exactly(pointer_array_capacity(count_ + 1));
    memmove(items_ + index + 1, items_ + index, static_cast<size_t>(count_ - index) * sizeof(T));
    items_[index] = value;
    ++count_;
  }
  void remove(int32_t index) {
    check(index);
    remove_range(index, index);
  }
  // Removes the closed range first..last (clipped).
  void remove_range(int32_t first, int32_t last) {
    if (first < 0) first = 0;
    if (last >= count_) last = count_ - 1;
    if (first > last) return;
    memmove(items_ + first, items_ + last + 1, static_cast<size_t>(count_ - last - 1) * sizeof(T));
    count_ -= last - first + 1;
    if (count_ == 0) {
      clear();
    } else if (static_cast<int64_t>(capacity_ - count_) * 4 > 8191) {
      reserve_exactly(pointer_array_capacity(count_));
    }
  }
  void clear() {
    release(items_);
    items_ = nullptr;
    count_ = 0;
    capacity_ = 0;
  }
  void sort(int (*compare)(const T&, const T&)) { detail::heap_sort(items_, count_, compare); }

  T* begin() { return items_; }
  T* end() { return items_ + count_; }
  const T* begin() const { return items_; }
  const T* end() const { return items_ + count_; }

 private:
  void check(int32_t index) const {
    if (index < 0 || index >= count_) fatal_bad_index(type_name<T>(), index, count_);
  }
  void reserve_exactly(int32_t capacity) {
    size_t bytes = detail::block_bytes(capacity, sizeof(T));
    if (bytes == 0) out_of_memory(static_cast<size_t>(-1));
    items_ = static_cast<T*>(reallocate(items_, bytes));
    capacity_ = capacity;
  }

  T* items_ = nullptr;
  int32_t count_ = 0;
  int32_t capacity_ = 0;
};

}  // namespace core
