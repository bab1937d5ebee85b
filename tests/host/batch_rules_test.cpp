// The batch file's text: SET lines that keep values as data, PAUSE lines dropped in quiet
// runs, CR LF line ends, and the interpreter's command line.
#include "install/batch_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace install {
namespace {

std::string text_of(const core::String& text) { return std::string(text.text(), static_cast<size_t>(text.length())); }

TEST(BatchRules, SetLinesKeepValuesAsData) {
  struct Case {
    const char* label;
    const char* value;
    const char* expected;
  };
  const Case cases[] = {
      {"plain", "C:\\Program Files\\Tool", "SET \"InstallDir=C:\\Program Files\\Tool\"\r\n"},
      {"ampersand stays inside the quotes", "C:\\Users\\Tom&Jerry", "SET \"InstallDir=C:\\Users\\Tom&Jerry\"\r\n"},
      {"percent doubled", "C:\\100%\\x", "SET \"InstallDir=C:\\100%%\\x\"\r\n"},
      {"a variable reference is not expanded", "%PATH%", "SET \"InstallDir=%%PATH%%\"\r\n"},
      {"redirection and caret", "C:\\a>b|c^d", "SET \"InstallDir=C:\\a>b|c^d\"\r\n"},
      {"line ends dropped", "C:\\a\r\necho bad", "SET \"InstallDir=C:\\aecho bad\"\r\n"},
      {"empty", "", "SET \"InstallDir=\"\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(text_of(batch_set_line("InstallDir", c.value)), c.expected);
  }
}

TEST(BatchRules, FileText) {
  core::Vector<BatchVariable> variables;
  variables.append(BatchVariable{"InstallDir", "C:\\App"});
  variables.append(BatchVariable{"InstallDrive", "C:"});
  const char* commands = "echo one\n@ pause\nPAUSE \r\ncall pause.bat\rpause now\n";
  struct Case {
    const char* label;
    bool drop_pause;
    const char* body;
  };
  const Case cases[] = {
      {"attended and visible: kept, line ends made CR LF", false,
       "echo one\r\n@ pause\r\nPAUSE \r\ncall pause.bat\r\npause now\r\n"},
      {"automatic or hidden: PAUSE lines dropped", true, "echo one\r\ncall pause.bat\r\npause now\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::string expected = std::string("@echo off\r\nSET \"InstallDir=C:\\App\"\r\nSET \"InstallDrive=C:\"\r\n") + c.body;
    EXPECT_EQ(text_of(batch_file_text(variables, commands, c.drop_pause)), expected);
  }
}

TEST(BatchRules, CommandLine) {
  struct Case {
    const char* label;
    const char* interpreter;
    const char* batch;
    const char* line;
    const char* program;
  };
  const Case cases[] = {
      {"plain", "C:\\windows\\system32\\cmd.exe", "C:\\App\\QVINBAT.BAT",
       "C:\\windows\\system32\\cmd.exe /e:5000 /c \"\"C:\\App\\QVINBAT.BAT\"\"", "C:\\windows\\system32\\cmd.exe"},
      {"interpreter with blanks, quoted once", "\"C:\\Program Files\\sh.exe\"", "C:\\Tom&Jerry\\QVINBAT.BAT",
       "\"C:\\Program Files\\sh.exe\" /e:5000 /c \"\"C:\\Tom&Jerry\\QVINBAT.BAT\"\"", "C:\\Program Files\\sh.exe"},
      {"unquoted interpreter with blanks gets its quotes", "C:\\Program Files\\sh.exe", "C:\\A B\\QVINBAT.BAT",
       "\"C:\\Program Files\\sh.exe\" /e:5000 /c \"\"C:\\A B\\QVINBAT.BAT\"\"", "C:\\Program Files\\sh.exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(text_of(batch_command_line(c.interpreter, c.batch)), c.line);
    EXPECT_EQ(text_of(interpreter_program(c.interpreter)), c.program);
  }
}

}  // namespace
}  // namespace install
