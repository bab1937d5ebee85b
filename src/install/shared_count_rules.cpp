// Raising and lowering the shared-file reference counts.
#include "install/shared_count_rules.h"

#include "core/hash_table.h"
#include "install/shared_files_codec.h"

namespace install {

namespace {

constexpr uint32_t kMaxCount = 0xFFFFFFFFu;
constexpr int32_t kReleasedBuckets = 40;

SharedCount read_shared_count(SharedCountStore& store, const core::String& path) {
  SharedCount read;
  read.present = store.read_count(path, read.value);
  if (!read.present) read.value = 0;
  return read;
}

core::String upper_cased(const core::String& path) {
  core::String key = path;
  key.upper_ascii();
  return key;
}

}  // namespace

uint32_t installed_count(SharedCount read, bool existed_before) {
  uint32_t base = read.present ? read.value : (existed_before ? 1u : 0u);
  return base == kMaxCount ? kMaxCount : base + 1;
}

SharedRelease release_count(SharedCount read) {
  SharedRelease release;
  if (!read.present) return release;
  if (read.value <= 1) {
    release.remove_value = true;
    release.file_unused = read.value == 1;
  } else {
    release.write_value = true;
    release.count = read.value - 1;
  }
  return release;
}

void count_shared_file(SharedCountStore& store, const SharedFile& file, bool existed_before) {
  store.write_count(file.target, installed_count(read_shared_count(store, file.target), existed_before));
}

bool release_shared_file(SharedCountStore& store, const core::String& path) {
  SharedRelease release = release_count(read_shared_count(store, path));
  if (release.remove_value) store.remove_count(path);
  if (release.write_value) store.write_count(path, release.count);
  return release.file_unused;
}

core::String count_shared_files(SharedCountStore& store, const core::String& previous_text,
                                const core::Vector<SharedFile>& files) {
  core::HashTable<core::String, bool> released(kReleasedBuckets);
  core::String rest = previous_text;
  SharedFile entry;
  while (cut_shared_file(rest, entry)) {
    release_shared_file(store, entry.target);
    released.set(upper_cased(entry.target), true);
  }
  for (const SharedFile& file : files) {
    count_shared_file(store, file, file.existed_before && !released.contains(upper_cased(file.target)));
  }
  return write_shared_files(files);
}

core::Vector<SharedFile> release_shared_files(SharedCountStore& store, const core::String& text) {
  core::Vector<SharedFile> unused;
  core::String rest = text;
  SharedFile entry;
  while (cut_shared_file(rest, entry)) {
    if (release_shared_file(store, entry.target) && entry.marker != shared_marker::Permanent) unused.append(entry);
  }
  return unused;
}

}  // namespace install
