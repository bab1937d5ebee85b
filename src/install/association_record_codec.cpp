// Backup value names and association records.
#include "install/association_record_codec.h"

namespace install {

namespace {
constexpr const char* kSeparator = "~!~";
constexpr int32_t kSeparatorLength = 3;
}  // namespace

core::String association_backup_name(const core::String& product_name) {
  core::String name = product_name;
  name.append(" Backup");
  name.remove_chars("\\\r\n\t");
  return name;
}

bool is_recordable(const AssociationRecord& record) {
  for (const core::String* part : {&record.extension, &record.file_type, &record.verb}) {
    if (part->is_blank() || part->find_any_of("\\\r\n") >= 0 || part->find(kSeparator) >= 0) return false;
  }
  return record.extension.starts_with_char('.');
}

bool append_association_record(core::String& records, const AssociationRecord& record) {
  if (!is_recordable(record)) return false;
  records.append(record.extension);
  records.append(kSeparator);
  records.append(record.file_type);
  records.append(kSeparator);
  records.append(record.verb);
  records.append("\r\n");
  return true;
}

core::Vector<AssociationRecord> read_association_records(const core::String& text) {
  core::Vector<AssociationRecord> records;
  core::Vector<core::String> lines;
  text.split_lines(lines);
  for (const core::String& line : lines) {
    int32_t first = line.find(kSeparator);
    int32_t second = first < 0 ? -1 : line.find(kSeparator, first + kSeparatorLength);
    if (second < 0) continue;
    AssociationRecord record;
    record.extension = line.substring(0, first);
    record.file_type = line.substring(first + kSeparatorLength, second - first - kSeparatorLength);
    record.verb = line.substring(second + kSeparatorLength);
    if (is_recordable(record)) records.append(record);
  }
  return records;
}

core::String write_association_records(const core::Vector<AssociationRecord>& records) {
  core::String text;
  for (const AssociationRecord& record : records) append_association_record(text, record);
  return text;
}

}  // namespace install
