// The protected-folder set on text: comparable paths, folders and their ancestors, and the
// deletion patterns it refuses.
#include "install/protected_folder_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace install {
namespace {

TEST(ProtectedFolderRules, ComparablePaths) {
  struct Case {
    const char* path;
    const char* comparable;
  };
  const Case cases[] = {
      {"C:\\Windows", "C:\\WINDOWS"},
      {"c:/windows/", "C:\\WINDOWS"},
      {"C:\\\\Windows\\\\System32\\", "C:\\WINDOWS\\SYSTEM32"},
      {"C:\\Program Files\\App\\..\\..", "C:"},
      {"C:\\..\\..\\Windows", "C:\\WINDOWS"},  // never above the root
      {"C:\\.\\Windows\\.", "C:\\WINDOWS"},
      {"C:\\Windows. \\", "C:\\WINDOWS"},       // trailing dots and blanks are ignored by the system
      {"C:\\", "C:"},
      {"\\\\Server\\Share\\Dir", "\\\\SERVER\\SHARE\\DIR"},
      {"\\\\Server\\Share\\..\\..", "\\\\SERVER\\SHARE"},
      {"Windows", ""},  // relative: no fixed folder
      {"C:Windows", ""},
      {"\\Windows", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(std::string(comparable_path(c.path).text()), c.comparable);
  }
}

ProtectedFolderSet sample_set() {
  ProtectedFolderSet folders;
  folders.add("C:\\Windows");
  folders.add("C:\\Windows\\System32");
  folders.add("C:\\Program Files");
  folders.add("C:\\PROGRA~1");
  folders.add("C:\\Users\\Tom&Jerry\\AppData\\Local\\Temp");
  folders.add("relative");  // ignored
  folders.add("");
  return folders;
}

TEST(ProtectedFolderRules, FoldersAndTheirAncestors) {
  ProtectedFolderSet folders = sample_set();
  EXPECT_EQ(folders.count(), 5);
  struct Case {
    const char* path;
    bool is_protected;         // no deletion may reach into it
    bool is_protected_folder;  // a walk may not enter it
  };
  const Case cases[] = {
      {"C:\\", true, true},
      {"D:", true, true},
      {"\\\\server\\share", true, true},
      {"c:\\windows", true, true},
      {"C:\\Windows\\System32\\", true, true},
      {"C:\\progra~1", true, true},
      {"C:\\Users", true, false},                        // ancestor of the temporary directory
      {"C:\\Users\\Tom&Jerry\\AppData", true, false},
      {"C:\\Windows\\System32\\drivers", false, false},  // below a folder: its own files are not ours to
      {"C:\\Program Files\\Tool", false, false},         //   guard, the folder itself is
      {"C:\\Program Files\\..\\Program Files", true, true},
      {"C:\\Program Files\\Tool\\..", true, true},
      {"C:\\Windowsx", false, false},
      {"C:\\Win", false, false},
      {"relative\\dir", true, true},  // names no fixed folder
      {"", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(folders.is_protected(c.path), c.is_protected);
    EXPECT_EQ(folders.is_protected_folder(c.path), c.is_protected_folder);
  }
}

TEST(ProtectedFolderRules, DeletionPatterns) {
  ProtectedFolderSet folders = sample_set();
  auto is_protected = [&](const core::String& directory) { return folders.is_protected(directory.text()); };
  struct Case {
    const char* pattern;
    bool allowed;
  };
  const Case cases[] = {
      {"C:\\Program Files\\Tool\\*.tmp /s", true},
      {"C:\\Program Files\\Tool\\*.*", true},
      {"C:\\Windows\\System32\\oldlib.dll", true},  // one named file may go
      {"C:\\Windows\\System32\\*.dll", false},
      {"C:\\Windows\\oldlib.dll /S", false},        // a walk of the whole Windows tree
      {"\\*.* /s", false},                          // what an empty %SharedDir% would leave
      {"C:\\*.* /s", false},
      {"C:\\*.txt", false},
      {"C:\\Users\\*.* /s", false},                  // an ancestor
      {"C:\\Program Files\\Tool\\..\\*.* /s", false},
      {"C:\\PROGRA~1\\*.*", false},
      {"*.tmp", false},                             // relative
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(deletion_pattern_allowed(core::String(c.pattern), is_protected), c.allowed);
  }
}

}  // namespace
}  // namespace install
