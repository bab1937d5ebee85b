// Backup value names and association records: the exact texts, round trips and the
// reader's guards.
#include <gtest/gtest.h>

#include "install/association_record_codec.h"

namespace install {
namespace {

AssociationRecord record(const char* extension, const char* file_type, const char* verb) {
  AssociationRecord r;
  r.extension = extension;
  r.file_type = file_type;
  r.verb = verb;
  return r;
}

TEST(AssociationRecordCodec, BackupName) {
  struct Case {
    const char* product;
    const char* name;
  };
  const Case cases[] = {
      {"Demo", "Demo Backup"},
      {"Tools\\Demo", "ToolsDemo Backup"},
      {"A\r\nB\tC", "ABC Backup"},
      {"\"Caf\xE9\" \xA9 2026", "\"Caf\xE9\" \xA9 2026 Backup"},
      {"", " Backup"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.product);
    EXPECT_STREQ(association_backup_name(c.product).text(), c.name);
  }
}

TEST(AssociationRecordCodec, WritesLines) {
  core::String records;
  EXPECT_TRUE(append_association_record(records, record(".dmo", "DemoFile", "open")));
  EXPECT_TRUE(append_association_record(records, record(".txt", "txtfile", "Edit with Demo")));
  EXPECT_STREQ(records.text(), ".dmo~!~DemoFile~!~open\r\n.txt~!~txtfile~!~Edit with Demo\r\n");
}

TEST(AssociationRecordCodec, RoundTrips) {
  core::Vector<AssociationRecord> records;
  records.append(record(".dmo", "DemoFile", "open"));
  records.append(record(".a b", "Type \"quoted\"; ~", " verb with blanks "));
  records.append(record(".caf\xE9", "Caf\xE9\xA9", "\xD6" "ffnen"));
  records.append(record(".dmo", "DemoFile", "print"));
  core::Vector<AssociationRecord> read = read_association_records(write_association_records(records));
  ASSERT_EQ(read.count(), records.count());
  for (int32_t i = 0; i < read.count(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_STREQ(read[i].extension.text(), records[i].extension.text());
    EXPECT_STREQ(read[i].file_type.text(), records[i].file_type.text());
    EXPECT_STREQ(read[i].verb.text(), records[i].verb.text());
  }
}

TEST(AssociationRecordCodec, RefusesWhatCannotBeUndoneSafely) {
  struct Case {
    const char* label;
    AssociationRecord r;
  };
  const Case cases[] = {
      {"no dot", record("dmo", "DemoFile", "open")},
      {"blank extension", record(" ", "DemoFile", "open")},
      {"empty type", record(".dmo", "", "open")},
      {"blank verb", record(".dmo", "DemoFile", "\t")},
      {"backslash in type", record(".dmo", "CLSID\\{0}", "open")},
      {"backslash in verb", record(".dmo", "DemoFile", "..\\..")},
      {"backslash in extension", record(".d\\mo", "DemoFile", "open")},
      {"line end", record(".dmo", "Demo\r\n.txt", "open")},
      {"separator", record(".dmo", "Demo~!~File", "open")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    core::String records;
    EXPECT_FALSE(append_association_record(records, c.r));
    EXPECT_TRUE(records.is_empty());
  }
}

TEST(AssociationRecordCodec, ReaderDropsBadLines) {
  const char* text =
      ".ok~!~OkFile~!~open\r\n"
      "\r\n"
      "dmo~!~DemoFile~!~open\r\n"          // no dot
      ".dmo~!~..\\CLSID~!~open\r\n"        // reaches elsewhere
      ".dmo~!~DemoFile\r\n"                // two parts
      ".dmo~!~~!~open\r\n"                 // empty type
      ".dmo~!~DemoFile~!~open~!~more\r\n"  // four parts
      "garbage\n"
      ".lf~!~LfFile~!~open\n"              // other line ends are lines too
      ".last~!~LastFile~!~edit";           // no line end at the end
  core::Vector<AssociationRecord> read = read_association_records(text);
  ASSERT_EQ(read.count(), 3);
  EXPECT_STREQ(read[0].extension.text(), ".ok");
  EXPECT_STREQ(read[1].file_type.text(), "LfFile");
  EXPECT_STREQ(read[2].verb.text(), "edit");
}

TEST(AssociationRecordCodec, NoLimitOnTheNumberOfRecords) {
  core::Vector<AssociationRecord> records;
  for (int32_t i = 0; i < 1200; ++i) records.append(record(core::format_string(".e%d", i).text(), "Type", "open"));
  core::Vector<AssociationRecord> read = read_association_records(write_association_records(records));
  ASSERT_EQ(read.count(), 1200);
  EXPECT_STREQ(read[1199].extension.text(), ".e1199");
}

}  // namespace
}  // namespace install
