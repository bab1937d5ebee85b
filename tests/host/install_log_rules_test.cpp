// The installation log's block and the closing message.
#include <gtest/gtest.h>

#include "install/install_log_rules.h"

namespace install {
namespace {

InstallLogBlock sample_block() {
  InstallLogBlock block;
  block.product_name = "Demo";
  block.date = "5-Mar-06 2:07:09p";
  block.uninstall_support = true;
  block.install_location = "C:\\Demo";
  block.product_version = "1.2";
  block.log = "Deleted file: C:\\Demo\\old.txt\r\n";
  block.errors = "Failed to associate file type:  \".demo\".\r\n\r\n";
  return block;
}

TEST(InstallLogRules, Block) {
  struct Case {
    const char* label;
    void (*change)(InstallLogBlock&);
    const char* text;
  };
  const Case cases[] = {
      {"every line", [](InstallLogBlock&) {},
       "\r\nInstallation log for: Demo\r\nInstall date: 5-Mar-06 2:07:09p\r\nInstall type: New\r\n"
       "Install location: C:\\Demo\r\nInstaller version: 13.2\r\nProduct version: 1.2\r\n\r\n"
       "Deleted file: C:\\Demo\\old.txt\r\n\r\nFailed to associate file type:  \".demo\".\r\n\r\n"},
      {"a reinstallation", [](InstallLogBlock& b) { b.reinstall = true; },
       "\r\nInstallation log for: Demo\r\nInstall date: 5-Mar-06 2:07:09p\r\nInstall type: Reinstall\r\n"
       "Install location: C:\\Demo\r\nInstaller version: 13.2\r\nProduct version: 1.2\r\n\r\n"
       "Deleted file: C:\\Demo\\old.txt\r\n\r\nFailed to associate file type:  \".demo\".\r\n\r\n"},
      {"no uninstall support, no version, blank log",
       [](InstallLogBlock& b) {
         b.uninstall_support = false;
         b.reinstall = true;
         b.product_version = " ";
         b.log = "\r\n";
         b.errors = "Installation complete\r\n\r\n";
       },
       "\r\nInstallation log for: Demo\r\nInstall date: 5-Mar-06 2:07:09p\r\n"
       "Install location: C:\\Demo\r\nInstaller version: 13.2\r\n\r\nInstallation complete\r\n\r\n"},
      // Texts from outside are copied, never read as formats.
      {"percent signs stay", [](InstallLogBlock& b) {
         b.product_name = "100%s %d";
         b.log = "%s%s%s%n\r\n";
         b.errors = "%x";
       },
       "\r\nInstallation log for: 100%s %d\r\nInstall date: 5-Mar-06 2:07:09p\r\nInstall type: New\r\n"
       "Install location: C:\\Demo\r\nInstaller version: 13.2\r\nProduct version: 1.2\r\n\r\n"
       "%s%s%s%n\r\n\r\n%x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    InstallLogBlock block = sample_block();
    c.change(block);
    EXPECT_STREQ(install_log_block(block).text(), c.text);
  }
}

TEST(InstallLogRules, ClosingMessageAndBlock) {
  struct Case {
    bool errors;
    bool automatic;
    bool no_completion_message;
    ClosingMessage message;
  };
  const Case cases[] = {
      {false, false, false, ClosingMessage::Completed},
      {false, true, false, ClosingMessage::None},
      {false, false, true, ClosingMessage::None},
      {true, false, false, ClosingMessage::OfferLog},
      {true, false, true, ClosingMessage::OfferLog},
      {true, true, false, ClosingMessage::None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.errors << c.automatic << c.no_completion_message);
    EXPECT_EQ(closing_message(c.errors, c.automatic, c.no_completion_message), c.message);
  }
  EXPECT_FALSE(log_block_due(false, false));
  EXPECT_TRUE(log_block_due(false, true));
  EXPECT_TRUE(log_block_due(true, false));
}

}  // namespace
}  // namespace install
