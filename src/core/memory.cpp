// The foundation's allocator over the C heap, with the out-of-memory handler behind it.
#include "core/memory.h"

#include <stdlib.h>

#include "core/fatal.h"

namespace core {

namespace {

bool handler_enabled = true;

}  // namespace

bool set_out_of_memory_handler_enabled(bool enabled) {
  bool former = handler_enabled;
  handler_enabled = enabled;
  return former;
}

void* try_allocate(size_t size) { return malloc(size != 0 ? size : 1); }

// realloc of 0 bytes may free the block; a minimal block keeps one meaning for null.
void* try_reallocate(void* block, size_t size) { return realloc(block, size != 0 ? size : 1); }

void* allocate(size_t size) {
  void* block = try_allocate(size);
  if (block == nullptr && handler_enabled) out_of_memory(size);
  return block;
}

void* reallocate(void* block, size_t size) {
  void* moved = try_reallocate(block, size);
  if (moved == nullptr && handler_enabled) out_of_memory(size);
  return moved;
}

void release(void* block) { free(block); }

}  // namespace core
