// The shared-file counts: the transitions one by one, then whole installations,
// reinstallations and uninstallations against a store that stands for SharedDLLs.
#include <gtest/gtest.h>
#include <stdint.h>

#include <map>
#include <string>

#include "install/shared_count_rules.h"
#include "install/shared_files_codec.h"

namespace install {
namespace {

// SharedDLLs as a map; names compare without case, as in the registry.
class MapStore final : public SharedCountStore {
 public:
  bool read_count(const core::String& path, uint32_t& count) override {
    auto found = counts.find(key(path));
    if (found == counts.end()) return false;
    count = found->second;
    return true;
  }
  void write_count(const core::String& path, uint32_t count) override { counts[key(path)] = count; }
  void remove_count(const core::String& path) override { counts.erase(key(path)); }

  // The count of a path, -1 when it has none.
  int64_t count_of(const char* path) {
    auto found = counts.find(key(path));
    return found == counts.end() ? -1 : static_cast<int64_t>(found->second);
  }

  std::map<std::string, uint32_t> counts;

 private:
  static std::string key(const core::String& path) {
    core::String upper = path;
    upper.upper_ascii();
    return upper.text();
  }
};

SharedFile shared(const char* target, char marker = shared_marker::None, bool existed_before = false) {
  SharedFile file;
  file.target = target;
  file.marker = marker;
  file.existed_before = existed_before;
  return file;
}

TEST(SharedCountRules, InstalledCount) {
  struct Case {
    bool present;
    uint32_t value;
    bool existed_before;
    uint32_t written;
  };
  const Case cases[] = {
      {false, 0, false, 1},                   // a new file
      {false, 0, true, 2},                    // on the machine, nobody counted it: starts at 1
      {true, 3, false, 4},                    // counted by others
      {true, 3, true, 4},                     // counted: the count says it all
      {true, 0, true, 1},                     // a count of 0 is a count
      {true, 0x80000000u, false, 0x80000001u},  // read unsigned
      {true, 0xFFFFFFFFu, false, 0xFFFFFFFFu},  // never wraps to 0
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.present << " " << c.value << " " << c.existed_before);
    EXPECT_EQ(installed_count({c.present, c.value}, c.existed_before), c.written);
  }
}

TEST(SharedCountRules, ReleaseCount) {
  struct Case {
    bool present;
    uint32_t value;
    bool remove_value;
    bool write_value;
    uint32_t count;
    bool file_unused;
  };
  const Case cases[] = {
      {false, 0, false, false, 0, false},  // no count: nothing to release, the file stays
      {true, 0, true, false, 0, false},    // a zero count goes, the file stays
      {true, 1, true, false, 0, true},     // the last reference: the file is unused
      {true, 2, false, true, 1, false},
      {true, 3, false, true, 2, false},
      {true, 0xFFFFFFFFu, false, true, 0xFFFFFFFEu, false},  // not -1: a large count
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.present << " " << c.value);
    SharedRelease release = release_count({c.present, c.value});
    EXPECT_EQ(release.remove_value, c.remove_value);
    EXPECT_EQ(release.write_value, c.write_value);
    if (c.write_value) {
      EXPECT_EQ(release.count, c.count);
    }
    EXPECT_EQ(release.file_unused, c.file_unused);
  }
}

// One file through installation (with a count there before or not, existing before or not),
// a reinstallation and the uninstallation.
TEST(SharedCountRules, LifeOfOneFile) {
  struct Case {
    const char* label;
    int64_t before;  // -1: no count
    bool existed_before;
    int64_t installed;
    int64_t reinstalled;
    int64_t uninstalled;
    bool deleted;
  };
  const Case cases[] = {
      {"new file", -1, false, 1, 1, -1, true},
      {"counted 3 by others", 3, true, 4, 4, 3, false},
      {"system file nobody counted", -1, true, 2, 2, 1, false},
      {"count of 0 left behind", 0, true, 1, 1, -1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    MapStore store;
    if (c.before >= 0) store.counts["C:\\WINDOWS\\SYSTEM32\\X.DLL"] = static_cast<uint32_t>(c.before);
    core::Vector<SharedFile> files;
    files.append(shared("C:\\Windows\\System32\\x.dll", shared_marker::None, c.existed_before));

    core::String text = count_shared_files(store, "", files);
    EXPECT_EQ(store.count_of("C:\\Windows\\System32\\x.dll"), c.installed);
    // The file is there now whatever it was before.
    files[0].existed_before = true;
    text = count_shared_files(store, text, files);
    EXPECT_EQ(store.count_of("C:\\Windows\\System32\\x.dll"), c.reinstalled);

    core::Vector<SharedFile> unused = release_shared_files(store, text);
    EXPECT_EQ(store.count_of("C:\\Windows\\System32\\x.dll"), c.uninstalled);
    EXPECT_EQ(unused.count(), c.deleted ? 1 : 0);
  }
}

TEST(SharedCountRules, InstallationWritesTheListText) {
  MapStore store;
  core::Vector<SharedFile> files;
  files.append(shared("C:\\S\\a.dll"));
  files.append(shared("C:\\S\\b.ocx", shared_marker::ComServer));
  files.append(shared("C:\\S\\a.dll"));  // listed twice: counted twice
  core::String text = count_shared_files(store, "", files);
  EXPECT_STREQ(text.text(), "\"C:\\S\\a.dll\";\"C:\\S\\b.ocx^\";\"C:\\S\\a.dll\"");
  EXPECT_EQ(store.count_of("C:\\S\\a.dll"), 2);
  EXPECT_EQ(store.count_of("C:\\S\\b.ocx"), 1);
  EXPECT_EQ(store.counts.size(), 2u);
}

TEST(SharedCountRules, ReinstallationReleasesThePreviousList) {
  MapStore store;
  store.counts["C:\\S\\OLD.DLL"] = 1;   // only the previous installation used it
  store.counts["C:\\S\\KEPT.DLL"] = 5;  // used by others too
  core::Vector<SharedFile> files;
  files.append(shared("C:\\S\\kept.dll", shared_marker::None, true));
  files.append(shared("C:\\S\\new.dll"));
  core::String text = count_shared_files(store, "\"C:\\S\\old.dll\";\"C:\\S\\kept.dll\"", files);
  EXPECT_EQ(store.count_of("C:\\S\\old.dll"), -1);
  EXPECT_EQ(store.count_of("C:\\S\\kept.dll"), 5);
  EXPECT_EQ(store.count_of("C:\\S\\new.dll"), 1);
  EXPECT_STREQ(text.text(), "\"C:\\S\\kept.dll\";\"C:\\S\\new.dll\"");

  // A previous text that is not a list releases nothing.
  count_shared_files(store, "C:\\S\\kept.dll", core::Vector<SharedFile>());
  EXPECT_EQ(store.count_of("C:\\S\\kept.dll"), 5);
}

TEST(SharedCountRules, UninstallationReportsUnusedFilesButNeverPermanentOnes) {
  MapStore store;
  store.counts["C:\\S\\A.DLL"] = 1;
  store.counts["C:\\S\\B.OCX"] = 1;
  store.counts["C:\\S\\C.TLB"] = 2;
  store.counts["C:\\S\\D.DLL"] = 1;
  // E.DLL has no count at all: nobody can say it is unused.
  core::Vector<SharedFile> unused = release_shared_files(
      store, "\"C:\\S\\a.dll\";\"C:\\S\\b.ocx^\";\"C:\\S\\c.tlb\xA9\";\"C:\\S\\d.dll \";\"C:\\S\\e.dll\"");
  ASSERT_EQ(unused.count(), 2);
  EXPECT_STREQ(unused[0].target.text(), "C:\\S\\a.dll");
  EXPECT_EQ(unused[0].marker, shared_marker::None);
  EXPECT_STREQ(unused[1].target.text(), "C:\\S\\b.ocx");
  EXPECT_EQ(unused[1].marker, shared_marker::ComServer);
  EXPECT_EQ(store.count_of("C:\\S\\c.tlb"), 1);
  EXPECT_EQ(store.count_of("C:\\S\\d.dll"), -1);  // its count goes, the file stays
  EXPECT_EQ(store.count_of("C:\\S\\e.dll"), -1);
  EXPECT_EQ(store.counts.size(), 1u);
}

}  // namespace
}  // namespace install
