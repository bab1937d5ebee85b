// Tests of the file table's records: round trips, every check's code, truncation, kinds.
#include <gtest/gtest.h>
#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

#include "archive/archive_cursor.h"
#include "archive/file_entry.h"
#include "archive/memory_stream.h"
#include "header_block_samples.h"

namespace {

using archive::CorruptCode;
using archive::FileEntry;
using samples::str;

TEST(FileEntry, RandomTablesReadBackEqual) {
  for (uint32_t seed = 1; seed <= 100; ++seed) {
    samples::Random r(seed);
    std::vector<std::string> data;
    for (int32_t i = r.below(12); i >= 0; --i) data.push_back(r.bytes(r.coin() ? 0 : 500));
    std::vector<FileEntry> written;
    archive::MemoryStream stream;
    for (const std::string& d : data) {
      written.push_back(samples::random_entry(r, d));
      ASSERT_EQ(archive::write_file_entry(stream, written.back()), CorruptCode::None) << "seed " << seed;
    }
    archive::ArchiveCursor cursor(stream.data(), stream.size());
    for (size_t i = 0; i < written.size(); ++i) {
      FileEntry read;
      ASSERT_EQ(archive::read_file_entry(cursor, written[i].data_size, read), CorruptCode::None)
          << "seed " << seed << " entry " << i;
      EXPECT_TRUE(read == written[i]) << "seed " << seed << " entry " << i;
      EXPECT_EQ(read.data, stream.data() + read.data_offset) << "the data is not copied";
    }
    EXPECT_TRUE(cursor.at_end()) << "seed " << seed;
  }
}

const std::string kData = "file contents";

FileEntry valid_entry() {
  FileEntry e;
  e.name = str("bin\\app.exe");
  e.kind = archive::file_kind::Install;
  e.flags = archive::file_flag::DesktopShortcut;
  e.data = reinterpret_cast<const uint8_t*>(kData.data());
  e.data_size = static_cast<int32_t>(kData.size());
  archive::seal_file_entry(e);
  e.time = {2004, 5, 6, 7, 8, 9};
  e.text = str("App");
  e.icon = str("app.ico");
  return e;
}

struct CheckCase {
  const char* label;
  std::function<void(FileEntry&)> damage;
  int64_t size_delta;  // added to the size the reader is given
  CorruptCode expected;
};

TEST(FileEntry, EveryCheckHasItsCode) {
  using archive::file_flag::InUninstallDir;
  using archive::file_kind::Path;
  const CheckCase cases[] = {
      {"valid", [](FileEntry&) {}, 0, CorruptCode::None},
      {"empty name", [](FileEntry& e) { e.name = str(""); }, 0, CorruptCode::EmptyFileName},
      {"a name with a line break", [](FileEntry& e) { e.name = str("a\r\n~C:\\Windows"); }, 0,
       CorruptCode::EmptyFileName},
      {"a name that climbs", [](FileEntry& e) { e.name = str("..\\..\\boot.ini"); }, 0, CorruptCode::EmptyFileName},
      {"a new name with a drive", [](FileEntry& e) { e.destination = str("C:evil.exe"); }, 0,
       CorruptCode::EmptyFileName},
      {"a destination that climbs", [](FileEntry& e) { e.destination = str("%InstallDir%\\..\\..\\"); }, 0,
       CorruptCode::EmptyFileName},
      {"a destination on a drive", [](FileEntry& e) { e.destination = str("D:\\Tools\\"); }, 0, CorruptCode::None},
      {"negative size", [](FileEntry&) {}, -static_cast<int64_t>(kData.size()) - 1, CorruptCode::NegativeFileSize},
      {"size above 0x40000000", [](FileEntry&) {}, 0x40000001 - static_cast<int64_t>(kData.size()),
       CorruptCode::FileTooLarge},
      {"checksum", [](FileEntry& e) { e.checksum ^= 1; }, 0, CorruptCode::FileChecksum},
      {"data longer than the record says", [](FileEntry&) {}, 1, CorruptCode::FileChecksum},
      {"kind 2 without destination", [](FileEntry& e) { e.kind = Path; }, 0, CorruptCode::BadDestinationKind},
      {"kind 3 with a new name only",
       [](FileEntry& e) {
         e.kind = archive::file_kind::PathAlt;
         e.destination = str("other.exe");
       },
       0, CorruptCode::BadDestinationKind},
      {"kind 2 with a destination path",
       [](FileEntry& e) {
         e.kind = Path;
         e.destination = str("%SystemDir%\\");
       },
       0, CorruptCode::None},
      {"kind 10 in the uninstall directory",
       [](FileEntry& e) {
         e.kind = 10;
         e.flags |= InUninstallDir;
       },
       0, CorruptCode::None},
      {"kind 0xFFFFFFFF", [](FileEntry& e) { e.kind = 0xFFFFFFFFu; }, 0, CorruptCode::BadDestinationKind},
      {"kinds 0 to 9 but 2 and 3 have directories", [](FileEntry& e) { e.kind = archive::file_kind::Versioned; }, 0,
       CorruptCode::None},
      {"name checked before the checksum",
       [](FileEntry& e) {
         e.name = str("");
         e.checksum ^= 1;
       },
       0, CorruptCode::EmptyFileName},
      {"checksum checked before the kind",
       [](FileEntry& e) {
         e.kind = Path;
         e.checksum ^= 1;
       },
       0, CorruptCode::FileChecksum},
  };
  for (const CheckCase& c : cases) {
    FileEntry e = valid_entry();
    c.damage(e);
    archive::MemoryStream stream;
    const CorruptCode written = archive::write_file_entry(stream, e);
    if (c.size_delta == 0) {
      EXPECT_EQ(written, c.expected) << c.label << " (writer)";
    }
    const std::string table = std::string(reinterpret_cast<const char*>(stream.data()), stream.size()) +
                              std::string(64, 'z');  // room for a longer size to run into
    archive::ArchiveCursor cursor(reinterpret_cast<const uint8_t*>(table.data()), static_cast<int64_t>(table.size()));
    FileEntry read;
    EXPECT_EQ(archive::read_file_entry(cursor, e.data_size + c.size_delta, read), c.expected) << c.label;
  }
}

// A table cut anywhere inside a record is caught and never read past.
TEST(FileEntry, TruncatedRecordIsCorruptAtEveryLength) {
  for (const bool shortcut : {false, true}) {
    FileEntry e = valid_entry();
    if (!shortcut) {
      e.flags = 0;
      e.icon = str("");
    }
    archive::MemoryStream stream;
    ASSERT_EQ(archive::write_file_entry(stream, e), CorruptCode::None);
    const std::vector<uint8_t> record = samples::bytes_of(stream);
    for (size_t length = 0; length < record.size(); ++length) {
      // A copy of exactly `length` bytes, so a sanitizer sees any read beyond it.
      std::vector<uint8_t> cut(record.begin(), record.begin() + static_cast<std::ptrdiff_t>(length));
      archive::ArchiveCursor cursor(cut.data(), static_cast<int64_t>(cut.size()));
      FileEntry read;
      ASSERT_EQ(archive::read_file_entry(cursor, e.data_size, read), CorruptCode::EmptyFileName)
          << "shortcut " << shortcut << ", cut at " << length << " of " << record.size();
    }
  }
}

TEST(FileEntry, IconIsStoredOnlyWithAShortcut) {
  const struct {
    uint32_t flags;
    bool icon_kept;
  } cases[] = {{0, false}, {archive::file_flag::DesktopShortcut, true}, {archive::file_flag::StartMenuShortcut, true},
               {archive::file_flag::Permanent | archive::file_flag::ExistenceMask, false}};
  for (const auto& c : cases) {
    FileEntry e = valid_entry();
    e.flags = c.flags;
    archive::MemoryStream stream;
    ASSERT_EQ(archive::write_file_entry(stream, e), CorruptCode::None);
    archive::ArchiveCursor cursor(stream.data(), stream.size());
    FileEntry read;
    ASSERT_EQ(archive::read_file_entry(cursor, e.data_size, read), CorruptCode::None);
    EXPECT_EQ(samples::std_of(read.icon), c.icon_kept ? "app.ico" : "") << "flags " << c.flags;
    EXPECT_TRUE(cursor.at_end()) << "flags " << c.flags;
  }
}

TEST(FileEntry, KindsDestinationsAndExistenceModes) {
  using archive::DefaultDirectory;
  using archive::OverwriteRule;
  const struct {
    uint32_t kind;
    DefaultDirectory directory;
    OverwriteRule rule;
  } kinds[] = {
      {0, DefaultDirectory::Install, OverwriteRule::Always},      {1, DefaultDirectory::Shared, OverwriteRule::Date},
      {2, DefaultDirectory::None, OverwriteRule::Always},         {3, DefaultDirectory::None, OverwriteRule::Always},
      {4, DefaultDirectory::Font, OverwriteRule::Date},           {5, DefaultDirectory::Install, OverwriteRule::Always},
      {6, DefaultDirectory::System, OverwriteRule::VersionThenDate},
      {7, DefaultDirectory::System, OverwriteRule::VersionThenDate},
      {8, DefaultDirectory::System, OverwriteRule::VersionThenDate},
      {9, DefaultDirectory::Install, OverwriteRule::VersionThenDate},
      {10, DefaultDirectory::None, OverwriteRule::Always},
  };
  for (const auto& k : kinds) {
    EXPECT_EQ(archive::default_directory(k.kind), k.directory) << "kind " << k.kind;
    EXPECT_EQ(archive::overwrite_rule(k.kind), k.rule) << "kind " << k.kind;
  }
  const struct {
    const char* destination;
    bool renames;
    bool path;
  } destinations[] = {{"", false, false}, {"new.exe", true, false}, {"%SystemDir%\\", false, true},
                      {"C:\\x\\y.dll", false, true}, {"D:name", true, false}};
  for (const auto& d : destinations) {
    FileEntry e;
    e.destination = str(d.destination);
    EXPECT_EQ(e.renames(), d.renames) << d.destination;
    EXPECT_EQ(e.has_destination_path(), d.path) << d.destination;
  }
  const struct {
    uint32_t flags;
    archive::ExistenceMode mode;
  } modes[] = {{0x00, archive::ExistenceMode::Always}, {0x04, archive::ExistenceMode::Never},
               {0x08, archive::ExistenceMode::IfExists}, {0x0C, archive::ExistenceMode::IfAbsent},
               {0xF3, archive::ExistenceMode::Always}};
  for (const auto& m : modes) {
    FileEntry e;
    e.flags = m.flags;
    EXPECT_EQ(e.existence(), m.mode) << "flags " << m.flags;
  }
}

}  // namespace
