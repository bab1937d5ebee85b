// List<T>: a doubly linked list of heap nodes with a count, values added at either end.
#pragma once

#include <stdint.h>

#include <utility>

#include "core/fatal.h"

namespace core {

template <class T>
class List {
 public:
  struct Node {
    template <class... Args>
    explicit Node(Args&&... args) : value(std::forward<Args>(args)...) {}
    Node* previous = nullptr;
    Node* next = nullptr;
    T value;
  };

  // Walks first to last; *it is the value.
  class Iterator {
   public:
    explicit Iterator(Node* node) : node_(node) {}
    T& operator*() const { return node_->value; }
    T* operator->() const { return &node_->value; }
    Iterator& operator++() {
      node_ = node_->next;
      return *this;
    }
    bool operator==(const Iterator& other) const { return node_ == other.node_; }
    bool operator!=(const Iterator& other) const { return node_ != other.node_; }
    Node* node() const { return node_; }

   private:
    Node* node_;
  };
  class ConstIterator {
   public:
    explicit ConstIterator(const Node* node) : node_(node) {}
    const T& operator*() const { return node_->value; }
    const T* operator->() const { return &node_->value; }
    ConstIterator& operator++() {
      node_ = node_->next;
      return *this;
    }
    bool operator==(const ConstIterator& other) const { return node_ == other.node_; }
    bool operator!=(const ConstIterator& other) const { return node_ != other.node_; }

   private:
    const Node* node_;
  };

  List() = default;
  List(const List& other) { append_all(other); }
  List(List&& other) noexcept : head_(other.head_), tail_(other.tail_), count_(other.count_) {
    other.head_ = other.tail_ = nullptr;
    other.count_ = 0;
  }
  ~List() { clear(); }
  List& operator=(const List& other) {
    if (this != &other) {
      clear();
      append_all(other);
    }
    return *this;
  }
  List& operator=(List&& other) noexcept {
    if (this != &other) {
      clear();
      head_ = other.head_;
      tail_ = other.tail_;
      count_ = other.count_;
      other.head_ = other.tail_ = nullptr;
      other.count_ = 0;
    }
    return *this;
  }

  int32_t count() const { return count_; }
  bool is_empty() const { return count_ <= 0; }
  Node* first_node() const { return head_; }
  Node* last_node() const { return tail_; }

  // The first / last value; an empty list is an internal fatal error.
  T& front() {
    if (head_ == nullptr) internal_fatal(__LINE__);
    return head_->value;
  }
  T& back() {
    if (tail_ == nullptr) internal_fatal(__LINE__);
    return tail_->value;
  }

  // Adds a value at the back / front; returns it.
  T& append(const T& value) { return link_back(new Node(value)); }
  T& append(T&& value) { return link_back(new Node(std::move(value))); }
  T& prepend(const T& value) { return link_front(new Node(value)); }
  T& prepend(T&& value) { return link_front(new Node(std::move(value))); }
  void append_all(const List& other) {
    const int32_t n = other.count_;
    const Node* node = other.head_;
    for (int32_t i = 0; i < n; ++i, node = node->next) append(node->value);
  }

  // Unlinks and frees node (a node of this list); returns the node that followed it.
  Node* remove(Node* node) {
    if (node == nullptr) return nullptr;
    Node* next = node->next;
    (node->previous != nullptr ? node->previous->next : head_) = node->next;
    (node->next != nullptr ? node->next->previous : tail_) = node->previous;
    --count_;
    delete node;
    return next;
  }
  Iterator remove(Iterator it) { return Iterator(remove(it.node())); }
  // Removes the first / last node; false when the list is empty.
  bool remove_first() { return head_ != nullptr && (remove(head_), true); }
  bool remove_last() { return tail_ != nullptr && (remove(tail_), true); }
  void clear() {
    while (head_ != nullptr) {
      Node* next = head_->next;
      delete head_;
      head_ = next;
    }
    tail_ = nullptr;
    count_ = 0;
  }

  Iterator begin() { return Iterator(head_); }
  Iterator end() { return Iterator(nullptr); }
  ConstIterator begin() const { return ConstIterator(head_); }
  ConstIterator end() const { return ConstIterator(nullptr); }

 private:
  T& link_back(Node* node) {
    node->previous = tail_;
    (tail_ != nullptr ? tail_->next : head_) = node;
    tail_ = node;
    ++count_;
    return node->value;
  }
  T& link_front(Node* node) {
    node->next = head_;
    (head_ != nullptr ? head_->previous : tail_) = node;
    head_ = node;
    ++count_;
    return node->value;
  }

  Node* head_ = nullptr;
  Node* tail_ = nullptr;
  int32_t count_ = 0;
};

}  // namespace core
