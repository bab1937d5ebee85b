// Raising the shared-file counts in the SharedDLLs key.
#include "install/shared_counts.h"

#include "core/typed_value.h"
#include "core/win/registry.h"
#include "install/shared_count_rules.h"
#include "ui/run_state.h"

namespace install {

const char kSharedDllsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

RegistryCountStore::RegistryCountStore(core::RegistryKey& key) : key_(key) {}

bool RegistryCountStore::read_count(const core::String& path, uint32_t& count) {
  core::TypedValue value;
  if (!key_.read_value(path.text(), value)) return false;
  count = static_cast<uint32_t>(value.as_int());
  return true;
}

void RegistryCountStore::write_count(const core::String& path, uint32_t count) {
  key_.write_int(path.text(), static_cast<int32_t>(count));
}

void RegistryCountStore::remove_count(const core::String& path) { key_.delete_value(path.text()); }

core::String update_shared_counts(const core::String& previous_text, const core::Vector<SharedFile>& files,
                                  RunRecords& records) {
  core::RegistryKey key;
  if (key.open(HKEY_LOCAL_MACHINE, kSharedDllsKey) == core::KeyOpenResult::Failed) {
    records.error_report.append("Registry error: unable to increment shared file reference counts.\r\n\r\n");
    return previous_text;
  }
  RegistryCountStore store(key);
  return count_shared_files(store, previous_text, files);
}

core::String update_shared_counts(const InstallContext& context) {
  if (!context.has_flag(archive::flag::UninstallSupport)) return core::String();
  const ui::RunState& state = ui::run_state();
  return update_shared_counts(state.reinstall ? state.previous_shared_files : core::String(),
                              context.records.shared_files, context.records);
}

}  // namespace install
