// The settings table: every row is named once and documented in its section of the
// project file's documentation.
#include <gtest/gtest.h>

#include <set>

#include "qvin/project/settings_keys.h"
#include "tool/documented_project.h"

namespace {

// The keys of the table that follows "## `[section]`" in the documentation.
std::set<std::string> documented_keys(const std::string& doc, std::string_view section) {
  std::set<std::string> keys;
  const size_t start = doc.find("## `[" + std::string(section) + "]`");
  if (start == std::string::npos) return keys;
  const size_t end = doc.find("\n## ", start + 1);
  for (size_t at = doc.find("\n| `", start); at < end; at = doc.find("\n| `", at + 1)) {
    const size_t from = at + 4;
    keys.insert(doc.substr(from, doc.find('`', from) - from));
  }
  return keys;
}

TEST(SettingsKeys, EveryRowIsDocumentedInItsSection) {
  const std::string doc = qvin_test::read_file(qvin_test::source_root() / "docs" / "project-file.md");
  std::set<std::string> rows;
  for (const qvin::SettingKey& key : qvin::setting_keys()) {
    EXPECT_TRUE(rows.insert(qvin::qualified_key(key)).second) << qvin::qualified_key(key) << " twice";
    EXPECT_EQ(documented_keys(doc, key.section).count(std::string(key.key)), 1u) << qvin::qualified_key(key);
  }
}

}  // namespace
