// The installer's command-line grammar, case by case.
#include <gtest/gtest.h>

#include <string>

#include "app/command_line.h"

namespace app {
namespace {

std::string str(const core::String& s) { return std::string(s.text(), static_cast<size_t>(s.length())); }

struct Case {
  const char* label;
  const char* arguments;
  bool automatic;
  const char* directory;
  const char* name;
  bool uninstall;
  const char* uninstall_name;
  const char* run_after;
  const char* batch1;
};

TEST(CommandLine, AcceptedLines) {
  const Case cases[] = {
      {"empty", "", false, "", "", false, "", "", ""},
      {"blanks only", " \t\r\n ", false, "", "", false, "", "", ""},
      {"automatic", "/a", true, "", "", false, "", "", ""},
      {"lower case with dash", "-A", true, "", "", false, "", "", ""},
      {"quoted directory", "/d:\"C:\\Program Files\\Hello\"", false, "C:\\Program Files\\Hello", "", false, "", "",
       ""},
      {"dash and lower case directory", "-d:\"C:\\x y\"", false, "C:\\x y", "", false, "", "", ""},
      {"unquoted directory", "/D:C:\\Apps", false, "C:\\Apps", "", false, "", "", ""},
      {"product name", "/n:\"Hello World\"", false, "", "Hello World", false, "", "", ""},
      {"later atom replaces earlier", "/n:One /n:Two", false, "", "Two", false, "", "", ""},
      {"uninstall with colon", "/u:\"Hello World\"", false, "", "", true, "Hello World", "", ""},
      {"uninstall without colon", "/uHello", false, "", "", true, "Hello", "", ""},
      {"run after with backquotes", "/r:\"notepad.exe `read me.txt`\"", false, "", "", false, "",
       "notepad.exe \"read me.txt\"", ""},
      {"batch lines", "/b1:\"echo one~~echo `two`\"", false, "", "", false, "", "", "echo one\r\necho \"two\""},
      {"lone slash ignored", "/ /a", true, "", "", false, "", "", ""},
      {"directory keeps inner blanks", "/a /d:\"C:\\a b\\c\" /n:x", true, "C:\\a b\\c", "x", false, "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    CommandLine line;
    core::String message;
    ASSERT_TRUE(parse_command_line(c.arguments, line, message)) << str(message);
    EXPECT_EQ(line.automatic, c.automatic);
    EXPECT_EQ(str(line.install_directory), c.directory);
    EXPECT_EQ(str(line.product_name), c.name);
    EXPECT_EQ(line.uninstall, c.uninstall);
    EXPECT_EQ(str(line.uninstall_name), c.uninstall_name);
    EXPECT_EQ(str(line.run_after), c.run_after);
    EXPECT_EQ(str(line.batch_additions[0]), c.batch1);
  }
}

TEST(CommandLine, BatchAdditionsGoToTheirOwnBatch) {
  CommandLine line;
  core::String message;
  ASSERT_TRUE(parse_command_line("/b2:\"two\" /B3:\"three\"", line, message));
  EXPECT_EQ(str(line.batch_additions[0]), "");
  EXPECT_EQ(str(line.batch_additions[1]), "two");
  EXPECT_EQ(str(line.batch_additions[2]), "three");
}

TEST(CommandLine, UsageErrors) {
  const struct {
    const char* label;
    const char* arguments;
    const char* message;
  } cases[] = {
      {"bare word", "setup", "Unexpected command line parameter:\nsetup"},
      {"bare word after an atom", "/a hello", "Unexpected command line parameter:\nhello"},
      {"unknown letter", "/X", "Illegal command line atom:\nX"},
      {"directory without colon", "/d", "Illegal command line atom:\nd"},
      {"run after without quote", "/r:prog", "Illegal command line atom:\nr:prog"},
      {"lone uninstall", "/u", "Product name required"},
      {"uninstall with empty quotes", "/u:\"\"", "Product name required"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    CommandLine line;
    core::String message;
    EXPECT_FALSE(parse_command_line(c.arguments, line, message));
    EXPECT_EQ(str(message), c.message);
  }
}

TEST(CommandLine, OnlyTheFirstNineteenAtomsCount) {
  std::string arguments;
  for (int i = 0; i < 19; ++i) arguments += "/n:" + std::to_string(i) + " ";
  arguments += "/n:late /X /a /a /a /a";  // atoms 20 to 25: never read
  CommandLine line;
  core::String message;
  ASSERT_TRUE(parse_command_line(arguments.c_str(), line, message)) << str(message);
  EXPECT_EQ(str(line.product_name), "18");
  EXPECT_FALSE(line.automatic);
}

TEST(CommandLine, UsageTextNamesTheMessageAndTheProgram) {
  const std::string text = str(usage_text("Product name required", "setup.exe"));
  EXPECT_EQ(text.rfind("Product name required\r\n\r\nUsage:\r\nsetup.exe [/a] [/b1:\"commands\"]", 0), 0u);
  EXPECT_NE(text.find("/u:\"name\"\tUninstall product by name.\r\n"), std::string::npos);
  const std::string last = "\r\n/r:\"program\"\tRun the specified program after a successful installation.";
  EXPECT_EQ(text.substr(text.size() - last.size()), last);
}

TEST(CommandLine, ArgumentsFollowTheProgramName) {
  const struct {
    const char* label;
    const char* command_line;
    const char* arguments;
  } cases[] = {
      {"plain name", "setup.exe /a", "/a"},
      {"name alone", "setup.exe", ""},
      {"quoted name with blanks", "\"C:\\My Files\\setup.exe\" /d:\"C:\\x\"", "/d:\"C:\\x\""},
      {"quotes inside the name", "C:\\\"My Files\"\\setup.exe  /a", "/a"},
      {"unclosed quote takes the rest", "\"C:\\setup.exe /a", ""},
      {"tabs and line ends after the name", "setup.exe\t\r\n/a /n:x", "/a /n:x"},
      {"characters beyond ASCII in the name", "C:\\Gr\xfc\xdf" "e\\setup.exe /a", "/a"},
      {"empty line", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_STREQ(arguments_after_program_name(c.command_line), c.arguments);
  }
  EXPECT_STREQ(arguments_after_program_name(nullptr), "");
}

}  // namespace
}  // namespace app
