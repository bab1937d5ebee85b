// The foundation's containers: Vector/Array, PointerArray growth, List, HashTable, Stack.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/containers.h"
#include "core/string.h"

namespace core {
namespace {

std::string text_of(const String& s) { return std::string(s.text(), static_cast<size_t>(s.length())); }

template <class Container>
std::vector<std::string> texts_of(const Container& list) {
  std::vector<std::string> out;
  for (const String& s : list) out.push_back(text_of(s));
  return out;
}

Array<String> strings(std::initializer_list<const char*> texts) {
  Array<String> out;
  for (const char* t : texts) out.append(String(t));
  return out;
}

TEST(Vector, AppendInsertRemoveKeepOrderAndValues) {
  Array<String> a = strings({"b", "d"});
  a.insert(0, String("a"));
  a.insert(2, String("c"));
  a.insert(4, String("e"));  // at the count: appends
  EXPECT_EQ(texts_of(a), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
  a.remove(1);
  EXPECT_EQ(texts_of(a), (std::vector<std::string>{"a", "c", "d", "e"}));
  a.append(a.at(0));  // an element of the vector itself
  EXPECT_EQ(texts_of(a), (std::vector<std::string>{"a", "c", "d", "e", "a"}));
  Array<String> b(a);
  b.at(0).append("!");
  EXPECT_EQ(text_of(a.at(0)), "a");
  EXPECT_EQ(text_of(b.at(0)), "a!");
  b.append_all(b);
  EXPECT_EQ(b.count(), 10);
}

TEST(Vector, RemoveRange) {
  struct Case {
    const char* label;
    int32_t first;
    int32_t last;
    std::vector<std::string> kept;
  };
  const Case cases[] = {
      {"middle", 1, 2, {"a", "d", "e"}},
      {"single element", 4, 4, {"a", "b", "c", "d"}},
      {"clipped at both ends", -3, 1, {"c", "d", "e"}},
      {"reversed range does nothing", 3, 2, {"a", "b", "c", "d", "e"}},
      {"everything clears", 0, 99, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Array<String> a = strings({"a", "b", "c", "d", "e"});
    a.remove_range(c.first, c.last);
    EXPECT_EQ(texts_of(a), c.kept);
    if (c.kept.empty()) {
      EXPECT_EQ(a.data(), nullptr);
    }
  }
}

TEST(Vector, CountsTryAtAndSort) {
  Array<int32_t> a;
  a.set_count(3);
  EXPECT_EQ(a.count(), 3);
  EXPECT_EQ(a.at(2), 0);  // default elements
  a.at(0) = 30;
  a.at(1) = 10;
  a.at(2) = 20;
  EXPECT_EQ(a.try_at(3), nullptr);
  EXPECT_EQ(a.try_at(-1), nullptr);
  ASSERT_NE(a.try_at(1), nullptr);
  EXPECT_EQ(*a.try_at(1), 10);
  EXPECT_TRUE(a.try_set_count(5));
  EXPECT_EQ(a.count(), 5);
  a.sort([](const int32_t& x, const int32_t& y) { return x < y ? -1 : (x > y ? 1 : 0); });
  EXPECT_EQ((std::vector<int32_t>(a.begin(), a.end())), (std::vector<int32_t>{0, 0, 10, 20, 30}));
  a.set_count(-1);
  EXPECT_TRUE(a.is_empty());
}

#if !defined(__SANITIZE_ADDRESS__)
// A block larger than any address space: the fallible resize reports it and keeps the
// elements. (AddressSanitizer ends the program on such a request instead.)
TEST(Vector, FallibleResizeKeepsTheElementsWhenTheBlockIsRefused) {
  struct Huge {
    char bytes[1 << 20];
  };
  Array<Huge> a;
  a.set_count(1);
  a.at(0).bytes[7] = 'x';
  EXPECT_FALSE(a.try_set_count(2147483647));
  ASSERT_EQ(a.count(), 1);
  EXPECT_EQ(a.at(0).bytes[7], 'x');
}
#endif

TEST(Vector, SortsStringsByAComparison) {
  Array<String> a;
  const char* const names[] = {"pear", "apple", "fig", "kiwi", "banana", "cherry", "date", "apple"};
  for (const char* n : names) a.append(String(n));
  a.sort([](const String& x, const String& y) { return x.equals(y.text(), true); });
  EXPECT_EQ(texts_of(a),
            (std::vector<std::string>{"apple", "apple", "banana", "cherry", "date", "fig", "kiwi", "pear"}));
}

TEST(PointerArray, GrowsBySixThenHalfThen2048) {
  PointerArray<void*> a;
  std::vector<int32_t> capacities;
  for (int32_t i = 0; i < 5000; ++i) {
    a.append(reinterpret_cast<void*>(static_cast<intptr_t>(i)));
    if (capacities.empty() || capacities.back() != a.capacity()) capacities.push_back(a.capacity());
  }
  EXPECT_EQ(capacities, (std::vector<int32_t>{6, 10, 16, 25, 39, 60, 91, 138, 208, 313, 471, 708, 1063, 1596, 3645,
                                              5694}));
  EXPECT_EQ(a.at(4999), reinterpret_cast<void*>(4999));

  EXPECT_EQ(pointer_array_capacity(0), 6);
  EXPECT_EQ(pointer_array_capacity(4), 6);   // 3n = 12 is below 14
  EXPECT_EQ(pointer_array_capacity(5), 7);   // 3n = 15
  EXPECT_EQ(pointer_array_capacity(1365), 2047);
  EXPECT_EQ(pointer_array_capacity(1366), 3414);  // 2049 slots of 4 bytes would pass 8192
  EXPECT_EQ(pointer_array_capacity(1367), 3415);
}

TEST(PointerArray, ShrinksWhenMoreThan8191BytesAreUnused) {
  PointerArray<int32_t> a;
  for (int32_t i = 0; i < 5000; ++i) a.append(i);
  ASSERT_EQ(a.capacity(), 5694);
  a.remove_range(0, 2999);  // 2000 left: 3693 unused slots
  EXPECT_EQ(a.capacity(), pointer_array_capacity(2000));
  EXPECT_EQ(a.at(0), 3000);
  // 2048 unused slots are 8192 bytes, more than 8191: every removal out there shrinks again.
  a.remove_range(0, 9);
  EXPECT_EQ(a.capacity(), 1990 + 2048);

  PointerArray<int32_t> small;
  for (int32_t i = 0; i < 100; ++i) small.append(i);
  ASSERT_EQ(small.capacity(), 138);
  small.remove_range(0, 89);  // 128 unused slots: the block stays
  EXPECT_EQ(small.capacity(), 138);
  EXPECT_EQ(small.at(0), 90);

  a.insert(0, -1);
  EXPECT_EQ(a.at(0), -1);
  EXPECT_EQ(a.at(1), 3010);
  a.remove_range(0, a.count() - 1);
  EXPECT_EQ(a.capacity(), 0);
}

TEST(List, AddsAtBothEndsAndRemovesNodes) {
  List<String> list;
  list.append(String("b"));
  list.append(String("c"));
  list.prepend(String("a"));
  EXPECT_EQ(list.count(), 3);
  EXPECT_EQ(texts_of(list), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(text_of(list.front()), "a");
  EXPECT_EQ(text_of(list.back()), "c");

  List<String>::Node* middle = list.first_node()->next;
  EXPECT_EQ(list.remove(middle), list.last_node());
  EXPECT_EQ(texts_of(list), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(list.last_node()->previous, list.first_node());
  EXPECT_TRUE(list.remove_last());
  EXPECT_TRUE(list.remove_first());
  EXPECT_FALSE(list.remove_first());
  EXPECT_TRUE(list.is_empty());
  EXPECT_EQ(list.first_node(), nullptr);
  EXPECT_EQ(list.last_node(), nullptr);

  list.append(String("x"));
  List<String> copy(list);
  copy.append(String("y"));
  EXPECT_EQ(texts_of(list), (std::vector<std::string>{"x"}));
  EXPECT_EQ(texts_of(copy), (std::vector<std::string>{"x", "y"}));
}

TEST(HashTable, SetReportsNewKeysAndIteratesNewestFirst) {
  HashTable<String, bool> seen(40);
  String path("C:\\Program Files\\App\\app.exe");
  path.upper_ascii();
  EXPECT_TRUE(seen.set(path, true));
  EXPECT_FALSE(seen.set(path, true));  // the same upper-cased path again
  EXPECT_TRUE(seen.set(String("c:\\program files\\app\\app.exe"), true));  // keys are case-sensitive
  EXPECT_TRUE(seen.set(String("third"), false));
  EXPECT_EQ(seen.count(), 3);

  std::vector<std::string> order;
  for (const auto& entry : seen) order.push_back(text_of(entry.key));
  EXPECT_EQ(order, (std::vector<std::string>{"third", "c:\\program files\\app\\app.exe", "C:\\PROGRAM FILES\\APP\\APP.EXE"}));
  ASSERT_NE(seen.find(String("third")), nullptr);
  EXPECT_FALSE(*seen.find(String("third")));
  EXPECT_EQ(seen.find(String("fourth")), nullptr);

  EXPECT_TRUE(seen.remove(String("third")));
  EXPECT_FALSE(seen.remove(String("third")));
  EXPECT_EQ(seen.count(), 2);
  EXPECT_EQ(text_of(seen.first()->key), "c:\\program files\\app\\app.exe");
}

TEST(HashTable, ReplacesValuesAndSharesBuckets) {
  HashTable<int32_t, int32_t> table(1);  // one bucket: every key collides
  for (int32_t k = 0; k < 10; ++k) EXPECT_TRUE(table.set(k, k * 10));
  EXPECT_FALSE(table.set(4, 44));
  EXPECT_EQ(*table.find(4), 44);
  EXPECT_EQ(*table.find(9), 90);
  EXPECT_TRUE(table.remove(0));
  EXPECT_TRUE(table.remove(9));
  EXPECT_TRUE(table.remove(5));
  EXPECT_EQ(table.count(), 7);
  for (int32_t k : {1, 2, 3, 4, 6, 7, 8}) EXPECT_NE(table.find(k), nullptr) << k;
}

TEST(HashTable, NoBucketsAcceptNothing) {
  HashTable<String, bool> table;
  EXPECT_FALSE(table.set(String("a"), true));
  table.reset(3);
  EXPECT_TRUE(table.set(String("a"), true));
  table.reset(-4);  // counts as 0, and drops the entries
  EXPECT_EQ(table.bucket_count(), 0);
  EXPECT_EQ(table.count(), 0);
  EXPECT_FALSE(table.set(String("a"), true));
  EXPECT_EQ(table.find(String("a")), nullptr);
}

TEST(HashTable, StringKeysHashWithTheTextChecksum) {
  const String key("ab");
  EXPECT_EQ(hash_key(key), key.checksum());
  EXPECT_EQ(hash_key(key), 2044902557u + static_cast<uint32_t>('a') + static_cast<uint32_t>('b') + 2u);
}

TEST(Stack, PushPopLastInFirstOut) {
  Stack<String> stack;
  stack.push(String("one"));
  stack.push(String("two"));
  EXPECT_EQ(stack.count(), 2);
  EXPECT_EQ(text_of(stack.top()), "two");
  EXPECT_EQ(text_of(stack.pop()), "two");
  EXPECT_EQ(text_of(stack.pop()), "one");
  EXPECT_TRUE(stack.is_empty());
}

}  // namespace
}  // namespace core
