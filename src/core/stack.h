// Stack<T> (the library uses Stack<String>): push and pop at one end.
#pragma once

#include <stdint.h>

#include <utility>

#include "core/array.h"
#include "core/fatal.h"

namespace core {

template <class T>
class Stack {
 public:
  int32_t count() const { return items_.count(); }
  bool is_empty() const { return items_.is_empty(); }
  void push(const T& value) { items_.append(value); }
  void push(T&& value) { items_.append(std::move(value)); }
  // Removes and returns the top value; an empty stack ends the program with
  // "Stack<type>::pop".
  T pop() {
    if (items_.is_empty()) fatal_empty_stack(type_name<T>());
    T value(std::move(items_.back()));
    items_.remove(items_.count() - 1);
    return value;
  }
  // The top value (checked like Vector::at).
  T& top() { return items_.back(); }
  void clear() { items_.clear(); }

 private:
  Vector<T> items_;
};

}  // namespace core
