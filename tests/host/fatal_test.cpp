// The fatal path: bad index and empty stack messages, the internal fatal error, the
// out-of-memory text, and the default handler.
#include "core/fatal.h"

#include <gtest/gtest.h>

#include <stdint.h>

#include <new>
#include <string>

#include "core/containers.h"
#include "core/memory.h"
#include "core/string.h"
#include "support/fatal_capture.h"

namespace sample {
struct Record {
  int value = 0;
};
}  // namespace sample

namespace core {
namespace {

using test_support::capture_fatal;

TEST(Fatal, BadIndexNamesTheElementTypeTheIndexAndTheLastIndex) {
  Array<String> strings;
  strings.set_count(3);
  Array<int32_t> numbers;
  numbers.set_count(3);
  Array<sample::Record> records;
  PointerArray<void*> pointers;
  const String extra("x");
  struct Case {
    const char* label;
    std::function<void()> body;
    const char* message;
  };
  const Case cases[] = {
      {"index equal to the count", [&] { strings.at(3); }, "Vector<class String>[3]\nmax_index = 2"},
      {"negative index", [&] { numbers.at(-1); }, "Vector<int>[-1]\nmax_index = 2"},
      {"operator[] is checked too", [&] { numbers[7] = 1; }, "Vector<int>[7]\nmax_index = 2"},
      {"empty array of records", [&] { records.at(0); }, "Vector<class Record>[0]\nmax_index = -1"},
      {"insert past the count", [&] { strings.insert(5, extra); }, "Vector<class String>[5]\nmax_index = 2"},
      {"remove out of range", [&] { numbers.remove(3); }, "Vector<int>[3]\nmax_index = 2"},
      {"pointer array", [&] { pointers.at(0); }, "Vector<void*>[0]\nmax_index = -1"},
      {"a valid index is no error", [&] { strings.at(2); }, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(capture_fatal(c.body), c.message);
  }
  EXPECT_EQ(strings.count(), 3);
  EXPECT_EQ(numbers.count(), 3);
}

TEST(Fatal, PoppingAnEmptyStack) {
  Stack<String> stack;
  EXPECT_EQ(capture_fatal([&] { stack.pop(); }), "Stack<class String>::pop");
  stack.push(String("x"));
  EXPECT_EQ(capture_fatal([&] { stack.pop(); }), "");
}

TEST(Fatal, InternalFatalNamesTheModuleAndLine) {
  EXPECT_EQ(capture_fatal([] { internal_fatal(1234); }), "Internal Fatal Error\r\nModule: tk_core\r\nLine: 1234");
  // Raw access to a String's bytes outside the string.
  String s("abc");
  const String& view = s;
  const std::string prefix = "Internal Fatal Error\r\nModule: tk_core\r\nLine: ";
  for (int32_t position : {3, -1}) {
    SCOPED_TRACE(position);
    EXPECT_EQ(capture_fatal([&] { view.at(position); }).substr(0, prefix.size()), prefix);
    EXPECT_EQ(capture_fatal([&] { s[position] = 'x'; }).substr(0, prefix.size()), prefix);
  }
  EXPECT_EQ(capture_fatal([&] { s[2] = 'x'; }), "");
  EXPECT_STREQ(s.text(), "abx");
  List<String> empty;
  EXPECT_EQ(capture_fatal([&] { empty.front(); }).substr(0, prefix.size()), prefix);
}

TEST(Fatal, TypeNamesWithoutRunTimeTypeInformation) {
  EXPECT_STREQ(type_name<String>(), "class String");
  EXPECT_STREQ(type_name<sample::Record>(), "class Record");
  EXPECT_STREQ(type_name<int>(), "int");
  EXPECT_STREQ(type_name<const char*>(), "const char*");
}

TEST(Fatal, OutOfMemoryText) {
  uint32_t words[kOutOfMemoryWords];
  for (int i = 0; i < kOutOfMemoryWords; ++i) words[i] = 0xA0000000u + static_cast<uint32_t>(i);
  words[0] = 0x11223344u;
  words[1] = 0x55667788u;
  char buffer[kOutOfMemoryMessageSize];
  format_out_of_memory(buffer, 4096, words);

  std::string expected =
      "Out Of Memory.  Make sure your hard drive is not full.\nRequested size = 4096 (0x00001000)\n\nStack contents:";
  for (int line = 0; line < 10; ++line) {
    for (int i = line * 8; i < line * 8 + 8; ++i) {
      char word[16];
      snprintf(word, sizeof(word), "%c%08X", i % 8 == 0 ? '\r' : ' ', words[i]);
      expected += word;
    }
  }
  EXPECT_EQ(std::string(buffer), expected);
  EXPECT_NE(std::string(buffer).find("\r11223344 55667788 A0000002"), std::string::npos);
  EXPECT_LT(expected.size(), static_cast<size_t>(kOutOfMemoryMessageSize));

  format_out_of_memory(buffer, 0xFFFFFFFFu, words);
  EXPECT_EQ(std::string(buffer).substr(0, 100).find("Requested size = 4294967295 (0xFFFFFFFF)"), 55u);
}

#if !defined(__SANITIZE_ADDRESS__)
// A request no heap can meet fails at once; AddressSanitizer would end the program itself.
TEST(Fatal, FailedAllocationReachesTheOutOfMemoryHandler) {
  const size_t impossible = static_cast<size_t>(-1) - 4095;
  const std::string message = capture_fatal([&] { allocate(impossible); });
  const std::string head = "Out Of Memory.  Make sure your hard drive is not full.\nRequested size = ";
  ASSERT_EQ(message.substr(0, head.size()), head);
  EXPECT_NE(message.find("(0xFFFFF000)\n\nStack contents:\r11223344 55667788 "), std::string::npos);
  EXPECT_EQ(message.size(), head.size() + 10 + 13 + 17 + 80 * 9);  // size, hex, heading, 80 words

  // Switched off (the fallible resize), the allocator reports null instead.
  const bool former = set_out_of_memory_handler_enabled(false);
  EXPECT_EQ(capture_fatal([&] { EXPECT_EQ(allocate(impossible), nullptr); }), "");
  set_out_of_memory_handler_enabled(former);
  EXPECT_EQ(try_allocate(impossible), nullptr);
  void* block = allocate(16);
  EXPECT_EQ(try_reallocate(block, impossible), nullptr);
  release(block);
}
#endif

TEST(Memory, ObjectAllocationsOfEveryForm) {
  struct alignas(64) Wide {
    char bytes[64];
  };
  Wide* one = new Wide();
  Wide* many = new Wide[3];
  EXPECT_EQ(reinterpret_cast<uintptr_t>(one) % 64, 0u);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(many) % 64, 0u);
  delete one;
  delete[] many;
  int* plain = new (std::nothrow) int(7);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(*plain, 7);
  delete plain;
  void* block = reallocate(nullptr, 0);  // a minimal block, never null
  EXPECT_NE(block, nullptr);
  release(block);
  release(nullptr);
}

#if !defined(_WIN32)
TEST(FatalDeathTest, WithoutAHandlerTheMessageGoesToStandardErrorAndTheProgramAborts) {
  EXPECT_DEATH(fatal("boom: nothing installed"), "boom: nothing installed");
}
#endif

}  // namespace
}  // namespace core
