// Placeholder until the deletion rules are built.
#include "install/deletion_rules.h"

namespace install {

void apply_deletion_rules(const core::Array<archive::FileDeletion>&, const core::ProcessEnvironment&,
                          const core::InstallationDirectories&, RunRecords&) {}

}  // namespace install
