// HashTable<K, V>: buckets of entries chosen by hash(key) modulo an explicit bucket count,
// plus one list through all entries, most recently added first.
#pragma once

#include <stdint.h>

#include <utility>

#include "core/memory.h"
#include "core/string.h"

namespace core {

// The hash of a key: the text checksum for String, the value itself for integers.
inline uint32_t hash_key(const String& key) { return key.checksum(); }
inline uint32_t hash_key(int32_t key) { return static_cast<uint32_t>(key); }
inline uint32_t hash_key(uint32_t key) { return key; }
inline uint32_t hash_key(bool key) { return key ? 1u : 0u; }

// One entry: its key and value, its bucket, its neighbours in the bucket and in the
// all-entries list.
template <class V, class K>
struct Bucket {
  Bucket(const K& k, const V& v) : key(k), value(v) {}
  K key;
  V value;
  int32_t bucket = 0;
  Bucket* previous_in_bucket = nullptr;
  Bucket* next_in_bucket = nullptr;
  Bucket* previous = nullptr;  // all-entries list: the entry added after this one
  Bucket* next = nullptr;      // all-entries list: the entry added before this one
};

template <class K, class V>
class HashTable {
 public:
  using Entry = Bucket<V, K>;

  // Walks all entries, most recently added first; *it is the entry.
  class Iterator {
   public:
    explicit Iterator(Entry* entry) : entry_(entry) {}
    Entry& operator*() const { return *entry_; }
    Entry* operator->() const { return entry_; }
    Iterator& operator++() {
      entry_ = entry_->next;
      return *this;
    }
    bool operator!=(const Iterator& other) const { return entry_ != other.entry_; }
    bool operator==(const Iterator& other) const { return entry_ == other.entry_; }

   private:
    Entry* entry_;
  };

  HashTable() = default;
  explicit HashTable(int32_t bucket_count) { reset(bucket_count); }
  HashTable(const HashTable&) = delete;
  HashTable& operator=(const HashTable&) = delete;
  ~HashTable() { reset(0); }

  // Drops all entries and sets the bucket count (negative counts as 0; a table with no
  // buckets accepts nothing).
  void reset(int32_t bucket_count) {
    while (head_ != nullptr) {
      Entry* next = head_->next;
      delete head_;
      head_ = next;
    }
    tail_ = nullptr;
    count_ = 0;
    release(buckets_);
    buckets_ = nullptr;
    bucket_count_ = bucket_count > 0 ? bucket_count : 0;
    if (bucket_count_ > 0) {
      buckets_ = static_cast<Entry**>(allocate(static_cast<size_t>(bucket_count_) * sizeof(Entry*)));
      for (int32_t i = 0; i < bucket_count_; ++i) buckets_[i] = nullptr;
    }
  }

  // Sets key's value. True when the key is new (the entry goes to the front of its
  // bucket and of the all-entries list); false when it replaced the value of an equal
  // key, or when the table has no buckets.
  bool set(const K& key, const V& value) {
    if (bucket_count_ <= 0) return false;
    const int32_t index = bucket_of(key);
    if (Entry* found = find_entry(key, index)) {
      found->value = value;
      return false;
    }
    Entry* entry = new Entry(key, value);
    entry->bucket = index;
    entry->next_in_bucket = buckets_[index];
    if (buckets_[index] != nullptr) buckets_[index]->previous_in_bucket = entry;
    buckets_[index] = entry;
    entry->next = head_;
    (head_ != nullptr ? head_->previous : tail_) = entry;
    head_ = entry;
    ++count_;
    return true;
  }

  // The value of key, or null.
  V* find(const K& key) {
    Entry* entry = bucket_count_ > 0 ? find_entry(key, bucket_of(key)) : nullptr;
    return entry != nullptr ? &entry->value : nullptr;
  }
  const V* find(const K& key) const { return const_cast<HashTable*>(this)->find(key); }
  bool contains(const K& key) const { return find(key) != nullptr; }

  // Removes key's entry; false when there is none.
  bool remove(const K& key) {
    if (bucket_count_ <= 0) return false;
    Entry* entry = find_entry(key, bucket_of(key));
    if (entry == nullptr) return false;
    (entry->previous_in_bucket != nullptr ? entry->previous_in_bucket->next_in_bucket : buckets_[entry->bucket]) =
        entry->next_in_bucket;
    if (entry->next_in_bucket != nullptr) entry->next_in_bucket->previous_in_bucket = entry->previous_in_bucket;
    (entry->previous != nullptr ? entry->previous->next : head_) = entry->next;
    (entry->next != nullptr ? entry->next->previous : tail_) = entry->previous;
    --count_;
    delete entry;
    return true;
  }

  int32_t count() const { return count_; }
  bool is_empty() const { return count_ <= 0; }
  int32_t bucket_count() const { return bucket_count_; }
  // The most recent entry (null when empty); follow ->next for older ones.
  Entry* first() const { return head_; }

  Iterator begin() const { return Iterator(head_); }
  Iterator end() const { return Iterator(nullptr); }

 private:
  int32_t bucket_of(const K& key) const { return static_cast<int32_t>(hash_key(key) % static_cast<uint32_t>(bucket_count_)); }
  Entry* find_entry(const K& key, int32_t index) const {
    for (Entry* entry = buckets_[index]; entry != nullptr; entry = entry->next_in_bucket) {
      if (entry->key == key) return entry;
    }
    return nullptr;
  }

  Entry** buckets_ = nullptr;
  int32_t bucket_count_ = 0;
  Entry* head_ = nullptr;
  Entry* tail_ = nullptr;
  int32_t count_ = 0;
};

}  // namespace core
