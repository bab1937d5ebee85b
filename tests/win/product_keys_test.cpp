// The product's registry keys below both roots, and the report when they cannot be made.
#include "install/product_keys.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/win/phase_context.h"

namespace install {
namespace {

constexpr const char* kProductKey = "Software\\qvin-test-product";

bool key_exists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

class ProductKeysTest : public ::testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) RegDeleteTreeA(root, kProductKey);
  }
};

TEST_F(ProductKeysTest, CreatesTheKeyBelowBothRoots) {
  test_support::PhaseContext phase;
  phase.settings.product_registry = "qvin-test-product\\Tools\\Demo";
  create_product_keys(phase.context);
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    EXPECT_TRUE(key_exists(root, std::string(kProductKey) + "\\Tools\\Demo"));
  }
  EXPECT_TRUE(phase.records.error_report.is_empty());
}

TEST_F(ProductKeysTest, NoPathNoKeys) {
  test_support::PhaseContext phase;
  create_product_keys(phase.context);
  EXPECT_TRUE(phase.records.error_report.is_empty());
}

TEST_F(ProductKeysTest, AKeyThatCannotBeMadeIsReported) {
  test_support::PhaseContext phase;
  // Longer than any key name may be.
  std::string path = "qvin-test-product\\" + std::string(300, 'k');
  phase.settings.product_registry = path.c_str();
  create_product_keys(phase.context);
  EXPECT_EQ(std::string(phase.records.error_report.text()), "Error creating registry keys:\r\n" + path + "\r\n\r\n");
}

}  // namespace
}  // namespace install
