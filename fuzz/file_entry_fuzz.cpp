// Fuzz target: file-table records read from arbitrary archive data. Nothing may read out
// of bounds; every record that reads cleanly must write back to the same bytes' meaning.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "archive/archive_cursor.h"
#include "archive/file_entry.h"
#include "archive/memory_stream.h"

namespace {

void fail(const char* what) {
  fprintf(stderr, "file_entry_fuzz: %s\n", what);
  abort();
}

}  // namespace

// The input: a count n (one byte, up to 15), n sizes (two bytes each; the top bit makes a
// size negative or huge), then the table, copied to its own buffer so that any read past
// it is seen.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > (1u << 24)) return 0;
  const size_t count = data[0] & 15;
  if (size < 1 + 2 * count) return 0;
  std::vector<int64_t> sizes;
  for (size_t i = 0; i < count; ++i) {
    const uint32_t v = data[1 + 2 * i] | static_cast<uint32_t>(data[2 + 2 * i]) << 8;
    if (v & 0x8000) sizes.push_back((v & 1) ? -static_cast<int64_t>(v & 0x7FFF) : 0x40000000LL + (v & 0x7FFF) - 4);
    else sizes.push_back(v);
  }
  const size_t start = 1 + 2 * count;
  std::vector<uint8_t> table(data + start, data + size);
  archive::ArchiveCursor cursor(table.data(), static_cast<int64_t>(table.size()));
  for (const int64_t entry_size : sizes) {
    const int64_t before = cursor.position();
    archive::FileEntry entry;
    if (archive::read_file_entry(cursor, entry_size, entry) != archive::CorruptCode::None) break;
    if (cursor.position() > cursor.length()) fail("cursor past the end");
    if (entry.data_size != entry_size || entry.data != table.data() + entry.data_offset) fail("data");

    archive::MemoryStream written;
    if (archive::write_file_entry(written, entry) != archive::CorruptCode::None) fail("record does not write");
    if (written.size() != cursor.position() - before) fail("record changed length");
    if (memcmp(written.data(), table.data() + before, static_cast<size_t>(written.size())) != 0)
      fail("record changed bytes");
    archive::ArchiveCursor again(written.data(), written.size());
    archive::FileEntry copy;
    if (archive::read_file_entry(again, entry_size, copy) != archive::CorruptCode::None) fail("record does not read");
    if (!(copy == entry)) fail("record changed on the way round");
  }
  return 0;
}
