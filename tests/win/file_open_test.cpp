// The File object's opening: results and their texts, retries on locked files, name
// rules for temporary files, the existence test, and required files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/win/file.h"
#include "file_test_support.h"
#include "support/fatal_capture.h"

namespace core {
namespace {

using test_support::exists;
using test_support::file_bytes;
using test_support::Holder;
using test_support::PauseRecorder;
using test_support::put_file;
using test_support::ScratchDirectory;

std::string text_of(const String& s) { return std::string(s.text(), static_cast<size_t>(s.length())); }

TEST(FileOpen, ResultsNameTheCause) {
  ScratchDirectory dir;
  ASSERT_TRUE(put_file(dir / "present.txt", "data"));
  ASSERT_TRUE(put_file(dir / "readonly.txt", "data"));
  SetFileAttributesA((dir / "readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(put_file(dir / "held.txt", "data"));
  Holder holder(dir / "held.txt");
  ASSERT_TRUE(holder.holds());
  CreateDirectoryA((dir / "sub").c_str(), nullptr);
  // Wine run by root writes to read-only files; there the row shows only that the file
  // opens (the mapping itself is tested below).
  HANDLE probe = CreateFileA((dir / "readonly.txt").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  bool read_only_enforced = probe == INVALID_HANDLE_VALUE;
  if (!read_only_enforced) {
    CloseHandle(probe);
  }

  struct Case {
    const char* label;
    std::string name;
    uint32_t flags;
    OpenResult result;
  };
  const Case cases[] = {
      {"existing file, read shared", dir / "present.txt", file_open::ReadShared, OpenResult::Opened},
      {"missing file", dir / "missing.txt", file_open::ReadShared, OpenResult::NotFound},
      {"missing directory", dir / "nowhere\\missing.txt", file_open::ReadShared, OpenResult::NoDirectory},
      {"empty name", "", file_open::ReadShared, OpenResult::InvalidName},
      {"invalid character", dir / "a<b", file_open::ReadShared, OpenResult::InvalidName},
      {"create new over an existing file", dir / "present.txt", file_open::CreateNew, OpenResult::AlreadyExists},
      {"read-only file for writing", dir / "readonly.txt", file_open::ReadWrite,
       read_only_enforced ? OpenResult::ReadOnly : OpenResult::Opened},
      {"read-only file for reading", dir / "readonly.txt", file_open::ReadShared, OpenResult::Opened},
      {"a directory for writing", dir / "sub", file_open::ReadWrite, OpenResult::AccessDenied},
      {"held without sharing", dir / "held.txt", file_open::ReadShared | file_open::NoSharingRetry,
       OpenResult::Locked},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    File file;
    EXPECT_EQ(file.open(c.name.c_str(), c.flags), c.result);
    EXPECT_EQ(file.is_open(), c.result == OpenResult::Opened);
  }
  SetFileAttributesA((dir / "readonly.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileOpen, SystemErrorsMapToResults) {
  const uint32_t read_only = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE;
  const uint32_t unknown = INVALID_FILE_ATTRIBUTES;
  struct Case {
    uint32_t error;
    bool write_asked;
    uint32_t attributes;
    OpenResult result;
  };
  const Case cases[] = {
      {ERROR_INVALID_NAME, true, unknown, OpenResult::InvalidName},
      {ERROR_FILE_NOT_FOUND, false, unknown, OpenResult::NotFound},
      {ERROR_PATH_NOT_FOUND, false, unknown, OpenResult::NoDirectory},
      {ERROR_SHARING_VIOLATION, true, FILE_ATTRIBUTE_NORMAL, OpenResult::Locked},
      {ERROR_TOO_MANY_OPEN_FILES, true, unknown, OpenResult::TooManyOpen},
      {ERROR_INVALID_PARAMETER, true, unknown, OpenResult::InvalidParameter},
      {ERROR_FILE_EXISTS, true, FILE_ATTRIBUTE_NORMAL, OpenResult::AlreadyExists},
      {ERROR_ACCESS_DENIED, true, read_only, OpenResult::ReadOnly},
      {ERROR_ACCESS_DENIED, false, read_only, OpenResult::AccessDenied},  // reading was refused
      {ERROR_ACCESS_DENIED, true, FILE_ATTRIBUTE_NORMAL, OpenResult::AccessDenied},
      {ERROR_ACCESS_DENIED, true, unknown, OpenResult::AccessDenied},
      {ERROR_LOCK_VIOLATION, true, unknown, OpenResult::UnknownError},
      {ERROR_ALREADY_EXISTS, true, unknown, OpenResult::UnknownError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "error " << c.error << (c.write_asked ? " writing" : " reading"));
    EXPECT_EQ(open_result_of_error(c.error, c.write_asked, c.attributes), c.result);
  }
}

TEST(FileOpen, EveryResultHasItsText) {
  struct Case {
    int code;
    const char* text;
  };
  const Case cases[] = {
      {0, "The file was successfully opened."},
      {1, "An unknown error occurred."},
      {2, "The filename is invalid."},
      {3, "The file was not found."},
      {4, "The directory does not exist."},
      {5, "The file is locked by another application."},
      {6, "Failed to read the file into memory."},
      {7, "Too many files are already open."},
      {8, "An invalid parameter was used."},
      {9, "The file already exists."},
      {10, "Too many indexed files exist."},
      {11, "Access denied."},
      {12, "The file's Read-Only attribute is set."},
      {13, "The file's Read-Only attribute is set."},  // outside the table: the last text
      {-1, "The file's Read-Only attribute is set."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_STREQ(File::message(c.code), c.text);
  }
}

// Releases the held file at the second wait.
void release_at_second_pause(PauseRecorder& recorder) {
  if (recorder.pauses.size() == 2) static_cast<Holder*>(recorder.context)->release();
}

TEST(FileOpen, RetriesFollowTheFlagWord) {
  ScratchDirectory dir;
  ASSERT_TRUE(put_file(dir / "held.txt", "data"));
  struct Case {
    const char* label;
    const char* name;
    uint32_t flags;
    bool release_midway;
    OpenResult result;
    std::vector<uint32_t> pauses;
  };
  const uint32_t read = file_open::ReadShared;
  const Case cases[] = {
      {"locked: six attempts", "held.txt", read, false, OpenResult::Locked, {100, 100, 100, 100, 100}},
      {"locked, retry once: four attempts", "held.txt", read | file_open::RetryOnce, false, OpenResult::Locked,
       {150, 100, 100}},
      {"locked, no sharing retry", "held.txt", read | file_open::NoSharingRetry, false, OpenResult::Locked, {}},
      {"locked, both", "held.txt", read | file_open::NoSharingRetry | file_open::RetryOnce, false,
       OpenResult::Locked, {150}},
      {"missing: no retry", "missing.txt", read, false, OpenResult::NotFound, {}},
      {"missing, retry once", "missing.txt", read | file_open::RetryOnce, false, OpenResult::NotFound, {150}},
      {"released during the retries", "held.txt", read, true, OpenResult::Opened, {100, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Holder holder(dir / "held.txt");
    ASSERT_TRUE(holder.holds());
    PauseRecorder recorder;
    if (c.release_midway) {
      recorder.context = &holder;
      recorder.on_pause = release_at_second_pause;
    }
    File file;
    EXPECT_EQ(file.open((dir / c.name).c_str(), c.flags), c.result);
    EXPECT_EQ(recorder.pauses, c.pauses);
  }
}

TEST(FileOpen, ExistenceTestClosesAtOnce) {
  ScratchDirectory dir;
  ASSERT_TRUE(put_file(dir / "present.txt", "data"));
  ASSERT_TRUE(put_file(dir / "held.txt", "data"));
  Holder holder(dir / "held.txt");
  struct Case {
    const char* name;
    bool exists;
  };
  const Case cases[] = {{"present.txt", true}, {"held.txt", true}, {"missing.txt", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PauseRecorder recorder;
    File file;
    OpenResult result = file.open((dir / c.name).c_str(), file_open::ExistenceTest);
    // A file held elsewhere may answer either way; both mean it is there.
    EXPECT_EQ(result == OpenResult::Opened || result == OpenResult::Locked, c.exists);
    EXPECT_FALSE(file.is_open());
    // Nothing stays open: the file can be replaced right away.
    if (c.exists && std::string(c.name) != "held.txt") {
      EXPECT_TRUE(put_file(dir / c.name, "new"));
    }
  }
}

TEST(FileOpen, NameRulesMakeTemporaryFiles) {
  ScratchDirectory dir;
  char temp[MAX_PATH + 1];
  std::string temp_dir(temp, GetTempPathA(sizeof(temp), temp) - 1);
  struct Case {
    const char* label;
    std::string name;
    uint32_t flags;
    std::string directory;  // where the file must be
    const char* file_name;  // its exact name, or null for a name chosen by the system
  };
  const Case cases[] = {
      {"temporary file in the temporary directory", "", file_open::TempInTempDirectory, temp_dir, nullptr},
      {"temporary file in a given directory", dir.path(), file_open::TempInDirectory, dir.path(), nullptr},
      {"temporary file beside a name", dir / "ignored.txt", file_open::TempBesideName, dir.path(), nullptr},
      {"name relative to the temporary directory", dir.path().substr(temp_dir.size() + 1) + "\\given.txt",
       file_open::InTempDirectory | file_open::CreateAlways, dir.path(), "given.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    File file;
    ASSERT_EQ(file.open(c.name.c_str(), c.flags), OpenResult::Opened);
    std::string path = text_of(file.path());
    size_t slash = path.rfind('\\');
    ASSERT_NE(slash, std::string::npos);
    EXPECT_EQ(CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, path.c_str(), static_cast<int>(slash),
                             c.directory.c_str(), static_cast<int>(c.directory.size())),
              CSTR_EQUAL)
        << path;
    std::string name = path.substr(slash + 1);
    if (c.file_name != nullptr) {
      EXPECT_EQ(name, c.file_name);
    } else {
      EXPECT_EQ(name.substr(0, 3), "QVT") << name;
    }
    EXPECT_TRUE(file.write_block("xyz", 3));
    file.close();
    EXPECT_EQ(file_bytes(path), "xyz");
    DeleteFileA(path.c_str());
  }
}

TEST(FileOpen, RequiredFilesEndTheProgram) {
  ScratchDirectory dir;
  std::string missing = dir / "missing.txt";
  File file;
  std::string message = test_support::capture_fatal([&] {
    file.open_required(missing.c_str(), file_open::ReadShared | file_open::Required);
  });
  EXPECT_EQ(message, "Failed to open required file:\r\n" + missing + "\r\n\r\nThe file was not found.");

  // Without the required bit the code is returned and its text kept.
  File optional_file;
  message = test_support::capture_fatal([&] {
    EXPECT_EQ(optional_file.open_required(missing.c_str(), file_open::ReadShared), OpenResult::NotFound);
  });
  EXPECT_EQ(message, "");
  EXPECT_EQ(text_of(optional_file.error_text()), "The file was not found.");
  EXPECT_FALSE(exists(missing));
}

}  // namespace
}  // namespace core
