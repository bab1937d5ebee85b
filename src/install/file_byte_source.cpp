// The archive readers' byte source over the File object.
#include "install/file_byte_source.h"

namespace install {

bool FileByteSource::read_at(int64_t offset, void* buf, int n) {
  if (!archive::range_within(offset, n, file_.size())) return false;
  if (n == 0) return true;
  return file_.seek(offset) && file_.read_block(buf, n);
}

}  // namespace install
