// Which operating system the program runs on: its class bit, its readable name, and
// whether it belongs to the NT family.
#pragma once

#include <stdint.h>

#include "core/string.h"

namespace ui {

// One bit of archive::os_class:: for the running system.
uint32_t os_class();

// "Windows XP Service Pack 2" and the like.
core::String os_description();

// True on the NT platform.
bool is_nt_family();

}  // namespace ui
