// The shared-file reference counts: how an installation raises them and how an
// uninstallation (or the next installation of the same product) lowers them again. The
// counts live in the system's SharedDLLs key, one value per path; the rules see them
// through SharedCountStore so that they need no registry.
#pragma once

#include <stdint.h>

#include "core/array.h"
#include "core/string.h"
#include "install/run_records.h"

namespace install {

// The counts as the rules see them. Paths name values; Windows compares them without
// regard to case.
class SharedCountStore {
 public:
  virtual ~SharedCountStore() = default;
  // False when the path has no count.
  virtual bool read_count(const core::String& path, uint32_t& count) = 0;
  virtual void write_count(const core::String& path, uint32_t count) = 0;
  virtual void remove_count(const core::String& path) = 0;
};

// A count read: present or missing, and its value read as unsigned (a count above
// 0x7FFFFFFF is a large count, not a negative one).
struct SharedCount {
  bool present = false;
  uint32_t value = 0;
};

// The count an installation writes: the count read plus one. A missing count is 0, except
// for a file that was on the machine before this installation: someone else put it there
// without counting it, so it starts at 1 and our uninstallation leaves it at 1.
uint32_t installed_count(SharedCount read, bool existed_before);

// Releasing one reference to a file.
struct SharedRelease {
  bool remove_value = false;  // the count fell to 0 (or was 0): the value goes
  bool write_value = false;   // else, with write_value, count is written
  uint32_t count = 0;
  bool file_unused = false;   // a count of at least 1 was read and reached 0
};
SharedRelease release_count(SharedCount read);

// One entry of the installation's list: raise the count named by its path.
void count_shared_file(SharedCountStore& store, const SharedFile& file, bool existed_before);

// One entry of an earlier list: lower its count. Returns whether its file is unused now.
bool release_shared_file(SharedCountStore& store, const core::String& path);

// The installation's counting: on a reinstallation first release every entry of the
// previous "SharedFiles" text (empty on a first installation), then count every file of
// the list in order. A file that the previous installation counted is not taken as
// foreign, even when it existed before: this product put it there. Returns the new
// "SharedFiles" text.
core::String count_shared_files(SharedCountStore& store, const core::String& previous_text,
                                const core::Vector<SharedFile>& files);

// The uninstallation's release of a "SharedFiles" text: every entry's count is lowered;
// returns the entries whose files are now unused and not permanent, in order, which the
// uninstaller unregisters as their markers say and deletes.
core::Vector<SharedFile> release_shared_files(SharedCountStore& store, const core::String& text);

}  // namespace install
