// The last-resort error path of the foundation: misuse (bad index, empty stack, out of
// memory) ends the program through a handler that the program installs.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <type_traits>

namespace core {

// Shows a fatal message and ends the program. The stub installs one that shows a message
// box "FATAL ERROR" and exits; tests install one that records the message and jumps back.
using FatalHandler = void (*)(const char* message);

// Installs the handler (null restores the default: the message on stderr, then abort).
// Returns the previous one.
FatalHandler set_fatal_handler(FatalHandler handler);

// Calls the installed handler with message (null counts as ""). If no handler is
// installed, or the handler returns, writes the message to stderr and aborts.
[[noreturn]] void fatal(const char* message);

// "Internal Fatal Error\r\nModule: tk_core\r\nLine: <line>" through fatal().
[[noreturn]] void internal_fatal(int line);

// "Vector<type>[index]\nmax_index = <count - 1>" through fatal().
[[noreturn]] void fatal_bad_index(const char* type, int32_t index, int32_t count);

// "Stack<type>::pop" through fatal().
[[noreturn]] void fatal_empty_stack(const char* type);

// The number of words and the buffer size of the out-of-memory message.
inline constexpr int kOutOfMemoryWords = 80;
inline constexpr int kOutOfMemoryMessageSize = 1024;

// Writes the out-of-memory text into buffer (kOutOfMemoryMessageSize bytes):
// "Out Of Memory.  Make sure your hard drive is not full.\nRequested size = %u (0x%08X)\n\n
// Stack contents:" and then each of the kOutOfMemoryWords words as "%08X", preceded by
// "\r" for the 1st, 9th, 17th ... word and by " " for the others.
void format_out_of_memory(char* buffer, uint32_t requested, const uint32_t* words);

// The allocation-failure handler: dumps its own stack position (starting with the marker
// words 0x11223344 and 0x55667788) into the out-of-memory text and calls fatal().
[[noreturn]] void out_of_memory(size_t requested);

namespace detail {
// Fills buffer (size bytes) with a readable name taken from a compiler function signature
// that names T ("... [with T = archive::FileAssociation]"): namespaces before the name are
// dropped, and class types get the prefix "class ".
void type_name_from_signature(const char* signature, bool is_class, char* buffer, int size);

template <class T>
const char* signature_of() {
  return __PRETTY_FUNCTION__;
}
}  // namespace detail

// A readable name of T for the container messages, without RTTI: "class String", "int",
// "class FileAssociation". The text lives as long as the program.
template <class T>
const char* type_name() {
  static char name[96];
  if (name[0] == 0) {
    detail::type_name_from_signature(detail::signature_of<T>(), std::is_class_v<T>, name, sizeof(name));
  }
  return name;
}

}  // namespace core
