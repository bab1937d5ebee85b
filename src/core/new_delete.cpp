// Global operator new and delete over the foundation's allocator, so that a failing object
// allocation reaches the out-of-memory handler like every other.
#include <stddef.h>
#include <stdint.h>

#include <new>

#include "core/fatal.h"
#include "core/memory.h"

namespace {

// Over-aligned blocks: the pointer that core::allocate returned sits just before the
// aligned block handed out.
void* aligned_block(size_t size, std::align_val_t alignment, bool fallible) {
  const size_t align = static_cast<size_t>(alignment);
  const size_t extra = align + sizeof(void*);
  if (size > static_cast<size_t>(-1) - extra) {
    if (fallible) return nullptr;
    core::out_of_memory(size);
  }
  void* raw = fallible ? core::try_allocate(size + extra) : core::allocate(size + extra);
  if (raw == nullptr) return nullptr;
  uintptr_t first = reinterpret_cast<uintptr_t>(raw) + sizeof(void*);
  uintptr_t aligned = (first + align - 1) & ~static_cast<uintptr_t>(align - 1);
  reinterpret_cast<void**>(aligned)[-1] = raw;
  return reinterpret_cast<void*>(aligned);
}

void release_aligned(void* block) {
  if (block != nullptr) core::release(static_cast<void**>(block)[-1]);
}

}  // namespace

void* operator new(size_t size) { return core::allocate(size); }
void* operator new[](size_t size) { return core::allocate(size); }
// The nothrow forms keep their promise of a null result.
void* operator new(size_t size, const std::nothrow_t&) noexcept { return core::try_allocate(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return core::try_allocate(size); }

void operator delete(void* block) noexcept { core::release(block); }
void operator delete[](void* block) noexcept { core::release(block); }
void operator delete(void* block, size_t) noexcept { core::release(block); }
void operator delete[](void* block, size_t) noexcept { core::release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { core::release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { core::release(block); }

void* operator new(size_t size, std::align_val_t alignment) { return aligned_block(size, alignment, false); }
void* operator new[](size_t size, std::align_val_t alignment) { return aligned_block(size, alignment, false); }
void* operator new(size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return aligned_block(size, alignment, true);
}
void* operator new[](size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return aligned_block(size, alignment, true);
}

void operator delete(void* block, std::align_val_t) noexcept { release_aligned(block); }
void operator delete[](void* block, std::align_val_t) noexcept { release_aligned(block); }
void operator delete(void* block, size_t, std::align_val_t) noexcept { release_aligned(block); }
void operator delete[](void* block, size_t, std::align_val_t) noexcept { release_aligned(block); }
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept { release_aligned(block); }
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept { release_aligned(block); }
