// Random-access byte sources: how the archive readers see an executable, a section or a volume.
#pragma once

#include <stdint.h>

namespace archive {

// A read-only run of bytes read by offset. The stub implements it over its File object,
// host tools over the C library, tests over memory.
class ByteSource {
 public:
  virtual ~ByteSource() = default;

  // The number of bytes; -1 when it cannot be told.
  virtual int64_t size() = 0;

  // Copies exactly n bytes from offset into buf. False (buf then undefined) when n or
  // offset is negative or the range is not wholly readable; n == 0 is true.
  virtual bool read_at(int64_t offset, void* buf, int n) = 0;

  // The bytes offset..offset+n in place, when the source lives in memory; null otherwise
  // or when the range is out of bounds. Valid as long as the source is.
  virtual const uint8_t* view(int64_t offset, int64_t n) {
    (void)offset;
    (void)n;
    return nullptr;
  }
};

// Bytes in memory owned by someone else (a loaded image, a buffer in a test).
class MemoryByteSource : public ByteSource {
 public:
  MemoryByteSource(const void* data, int64_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}

  int64_t size() override { return size_; }
  bool read_at(int64_t offset, void* buf, int n) override;
  const uint8_t* view(int64_t offset, int64_t n) override;

 private:
  const uint8_t* data_;
  int64_t size_;
};

// A window of another source: offsets 0..length of the window are base offsets
// start..start+length. The base must outlive the window.
class SliceByteSource : public ByteSource {
 public:
  SliceByteSource(ByteSource& base, int64_t start, int64_t length) : base_(base), start_(start), length_(length) {}

  int64_t size() override { return length_; }
  bool read_at(int64_t offset, void* buf, int n) override;
  const uint8_t* view(int64_t offset, int64_t n) override;

 private:
  ByteSource& base_;
  int64_t start_;
  int64_t length_;
};

// True when offset..offset+n lies within 0..size (all values may be hostile).
constexpr bool range_within(int64_t offset, int64_t n, int64_t size) {
  return offset >= 0 && n >= 0 && size >= 0 && offset <= size && n <= size - offset;
}

}  // namespace archive
