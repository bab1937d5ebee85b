// Directory listings (entries, skipped names, order by modification time), file time
// conversions, and disk space with and without the extended query.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/win/directory_listing.h"
#include "core/win/disk_space.h"
#include "core/win/file.h"
#include "core/win/file_time_win.h"
#include "core/win/optional_functions.h"
#include "file_test_support.h"

namespace core {
namespace {

using test_support::put_file;
using test_support::ScratchDirectory;

std::string text_of(const String& s) { return std::string(s.text(), static_cast<size_t>(s.length())); }

void stamp(const std::string& path, FileTimeRecord time) {
  File file;
  ASSERT_EQ(file.open(path.c_str(), file_open::ReadWrite), OpenResult::Opened);
  ASSERT_TRUE(file.set_modified_time(time));
}

// Under Wine, a directory with names no Windows program can create: made through the
// Unix side of the file system. Empty when that is not possible (real Windows).
std::string unix_side_of(const std::string& windows_path) {
  using GetUnixName = char*(CDECL*)(const WCHAR*);
  auto get_unix_name = reinterpret_cast<GetUnixName>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (get_unix_name == nullptr) return "";
  WCHAR wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, windows_path.c_str(), -1, wide, MAX_PATH);
  char* unix_name = get_unix_name(wide);
  if (unix_name == nullptr) return "";
  std::string result = "\\\\?\\unix" + std::string(unix_name);
  HeapFree(GetProcessHeap(), 0, unix_name);
  for (char& c : result) {
    if (c == '/') c = '\\';
  }
  return result;
}

TEST(Listing, EntriesCarryNamesSizesAndTimes) {
  ScratchDirectory dir;
  ASSERT_TRUE(put_file(dir / "a long file name.text", std::string(5000, 'x')));
  CreateDirectoryA((dir / "sub").c_str(), nullptr);
  stamp(dir / "a long file name.text", {2010, 7, 4, 9, 30, 15});

  DirectoryListing listing;
  DirectoryEntry entry;
  std::vector<std::string> names;
  for (bool found = listing.find_first((dir / "*.*").c_str(), entry); found; found = listing.find_next(entry)) {
    names.push_back(text_of(entry.name));
    if (text_of(entry.name) == "a long file name.text") {
      EXPECT_EQ(entry.size, 5000u);
      EXPECT_FALSE(entry.is_directory());
      EXPECT_EQ(compare_file_times(entry.last_write_time, FileTimeRecord{2010, 7, 4, 9, 30, 15}), 0);
      EXPECT_TRUE(entry.creation_time.has_date());
      EXPECT_TRUE(entry.last_access_time.has_date());
    }
    if (text_of(entry.name) == "sub") {
      EXPECT_TRUE(entry.is_directory());
    }
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "a long file name.text", "sub"}));
  listing.find_close();
  listing.find_close();  // harmless twice
  EXPECT_FALSE(listing.find_next(entry));
  EXPECT_FALSE(listing.find_first((dir / "none*").c_str(), entry));
}

TEST(Listing, NamesNoPathMayHoldAreSkipped) {
  ScratchDirectory dir;
  std::string unix_dir = unix_side_of(dir.path());
  if (unix_dir.empty()) GTEST_SKIP() << "names with these characters can only be made under Wine";
  const char* odd[] = {"a:b", "what?", "x*y", "semi;colon", "p|q", "l<m", "g>h", "quote\"d"};
  for (const char* name : odd) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(put_file(unix_dir + "\\" + name, "x"));
  }
  ASSERT_TRUE(put_file(dir / "plain.txt", "x"));
  DirectoryListing listing;
  DirectoryEntry entry;
  std::vector<std::string> names;
  for (bool found = listing.find_first((dir / "*").c_str(), entry); found; found = listing.find_next(entry)) {
    names.push_back(text_of(entry.name));
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "plain.txt"}));
  // A pattern that matches only skipped names lists nothing.
  EXPECT_FALSE(listing.find_first((dir / "a*").c_str(), entry));
  EXPECT_FALSE(listing.find_first((dir / "what*").c_str(), entry));
  for (const char* name : odd) DeleteFileA((unix_dir + "\\" + name).c_str());
}

TEST(Listing, PathsSortByModificationTime) {
  ScratchDirectory dir;
  const char* names[] = {"middle", "newest", "oldest"};
  const FileTimeRecord times[] = {{2005, 6, 1, 12, 0, 0}, {2020, 1, 1, 0, 0, 0}, {1999, 2, 3, 4, 5, 6}};
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(put_file(dir / names[i], "x"));
    stamp(dir / names[i], times[i]);
  }
  struct Case {
    bool oldest_first;
    std::vector<std::string> order;
  };
  const Case cases[] = {
      {true, {"oldest", "middle", "newest", "missing"}},
      {false, {"missing", "newest", "middle", "oldest"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.oldest_first ? "oldest first" : "newest first");
    Vector<String> paths;
    for (const char* name : {"newest", "missing", "oldest", "middle"}) paths.append(String((dir / name).c_str()));
    sort_by_modified_time(paths, c.oldest_first);
    std::vector<std::string> order;
    for (const String& path : paths) order.push_back(text_of(path).substr(dir.path().size() + 1));
    EXPECT_EQ(order, c.order);
  }
}

TEST(FileTimes, LocalRecordsRoundTrip) {
  struct Case {
    FileTimeRecord record;
    bool converts;
  };
  const Case cases[] = {
      {{2006, 3, 5, 14, 7, 9}, true},  {{1980, 1, 1, 0, 0, 0}, true},  {{2038, 12, 31, 23, 59, 59}, true},
      {{2006, 0, 5, 14, 7, 9}, false}, {{2006, 3, 5, -1, 0, 0}, false}, {{2006, 2, 30, 1, 0, 0}, false},
      {{1200, 1, 1, 0, 0, 0}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.record.year << "-" << c.record.month << "-" << c.record.day << " "
                                    << c.record.hour);
    FILETIME time{};
    ASSERT_EQ(to_file_time(c.record, time), c.converts);
    if (c.converts) {
      EXPECT_EQ(compare_file_times(from_file_time(time), c.record), 0);
    }
  }
  FILETIME unconvertible{0xFFFFFFFF, 0xFFFFFFFF};
  EXPECT_FALSE(from_file_time(unconvertible).has_date());
}

TEST(DiskSpace, FallbackWhenTheExtendedQueryIsMissing) {
  DWORD sectors = 0, bytes = 0, free_clusters = 0, clusters = 0;
  ASSERT_TRUE(GetDiskFreeSpaceA("C:\\", &sectors, &bytes, &free_clusters, &clusters));
  int64_t cluster = static_cast<int64_t>(sectors) * bytes;
  for (bool absent : {false, true}) {
    SCOPED_TRACE(absent ? "GetDiskFreeSpaceExA absent" : "GetDiskFreeSpaceExA present");
    force_absent(Optional::GetDiskFreeSpaceExA, absent);
    int64_t free = -5, total = -5;
    EXPECT_TRUE(disk_space("C:\\", free, total));
    EXPECT_GT(total, 0);
    EXPECT_GE(free, 0);
    EXPECT_LE(free, total);
    if (absent) {
      // The older query's own figures (the disk may change between the two calls).
      EXPECT_EQ(total, cluster * clusters);
      EXPECT_EQ(free % cluster, 0);
    }
    EXPECT_GE(free_space("C:\\anything"), 0);
    // Outputs stay untouched on failure.
    free = total = -5;
    EXPECT_FALSE(disk_space("\\\\nowhere\\none\\", free, total));
    EXPECT_EQ(free, -5);
    EXPECT_EQ(total, -5);
  }
  force_absent(Optional::GetDiskFreeSpaceExA, false);
}

TEST(DiskSpace, DrivesByTheirLetter) {
  struct Case {
    const char* path;
    bool known;
  };
  const Case cases[] = {{"C:\\Program Files", true}, {"c:", true}, {"\\\\server\\share", false}, {"", false},
                        {"7:\\", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    int64_t cluster = cluster_size(c.path);
    int64_t free = free_space(c.path);
    if (c.known) {
      EXPECT_GT(cluster, 0);
      EXPECT_EQ(cluster & (cluster - 1), 0);  // a power of two
      EXPECT_GE(free, 0);
    } else {
      EXPECT_EQ(cluster, -1);
      EXPECT_EQ(free, -1);
    }
  }
  EXPECT_EQ(cluster_size(nullptr), -1);
  EXPECT_EQ(free_space(nullptr), -1);
}

}  // namespace
}  // namespace core
