// The foundation's allocator: the C heap with the out-of-memory handler behind it.
#pragma once

#include <stddef.h>

namespace core {

// malloc: a failure ends the program through out_of_memory() unless the handler is
// switched off (then null). A size of 0 allocates a minimal block.
void* allocate(size_t size);

// realloc with the same failure rule; on a null result the old block is untouched.
void* reallocate(void* block, size_t size);

// free; null is fine.
void release(void* block);

// allocate / reallocate that report failure with null instead of ending the program,
// whatever the switch says. The fallible resizes of String and Array use them.
void* try_allocate(size_t size);
void* try_reallocate(void* block, size_t size);

// Switches the out-of-memory handler on (true, the default) or off; returns the former
// setting. Off, allocate and reallocate return null on failure.
bool set_out_of_memory_handler_enabled(bool enabled);

// Switches the out-of-memory handler off for its lifetime.
class OutOfMemoryHandlerOff {
 public:
  OutOfMemoryHandlerOff() : former_(set_out_of_memory_handler_enabled(false)) {}
  ~OutOfMemoryHandlerOff() { set_out_of_memory_handler_enabled(former_); }
  OutOfMemoryHandlerOff(const OutOfMemoryHandlerOff&) = delete;
  OutOfMemoryHandlerOff& operator=(const OutOfMemoryHandlerOff&) = delete;

 private:
  bool former_;
};

}  // namespace core
