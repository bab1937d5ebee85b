// The system's shared-file reference counts (the SharedDLLs key of HKEY_LOCAL_MACHINE) for
// the files of the run's shared-file list.
#pragma once

#include "core/array.h"
#include "core/string.h"
#include "core/win/registry.h"
#include "install/install_context.h"
#include "install/run_records.h"
#include "install/shared_count_rules.h"

namespace install {

// The key below HKEY_LOCAL_MACHINE, "Software\Microsoft\Windows\CurrentVersion\SharedDLLs".
extern const char kSharedDllsKey[];

// The counts as REG_DWORD values of the open SharedDLLs key, read as unsigned; the
// installation raises them through it and the uninstallation lowers them.
class RegistryCountStore final : public SharedCountStore {
 public:
  explicit RegistryCountStore(core::RegistryKey& key);
  bool read_count(const core::String& path, uint32_t& count) override;
  void write_count(const core::String& path, uint32_t count) override;
  void remove_count(const core::String& path) override;

 private:
  core::RegistryKey& key_;
};

// With uninstall support: on a reinstallation releases the counts that the previous
// installation's "SharedFiles" text names, then raises the count of every file of the
// run's list. Returns the new "SharedFiles" text. When the key cannot be opened, the error
// report says so, no count is touched and the previous text is returned (empty for a first
// installation). Without uninstall support nothing is counted and the text is empty.
core::String update_shared_counts(const InstallContext& context);

// The same for an explicit previous text (empty: nothing to release) and list.
core::String update_shared_counts(const core::String& previous_text, const core::Vector<SharedFile>& files,
                                  RunRecords& records);

}  // namespace install
