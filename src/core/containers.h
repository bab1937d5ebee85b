// All of the foundation's containers: Vector/Array, PointerArray, List, HashTable, Stack.
#pragma once

#include "core/array.h"
#include "core/hash_table.h"
#include "core/list.h"
#include "core/stack.h"
